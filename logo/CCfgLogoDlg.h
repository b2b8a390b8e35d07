#pragma once
#include "logo/CLogoPreviewCtrl.h"
#include "logo/CMyEditBrowseCtrl.h"
#include "logo/LogoFmtHandler.h"
#include "logo/LogoJob.h"
#include "printer/CFuncDlg.h"
#include "text/Translate.h"

namespace brimwell {

// The logo file filter of the browse edit.
inline constexpr const char* LOGO_FILE_FILTER =
    N_("Logo files (*.bmp; *.pcx)|*.bmp;*.pcx|All Files|*.*||");

// The pass (page argument 0) or fail (any other) logo page (IDD_CFG_LOGO): a file-browse edit
// that loads the logo on every change of its text, the label preview, and buttons that turn
// and invert the logo and store it on the printer as "LOGO1.PCX" or "FAIL.PCX".
class CCfgLogoDlg : public CFuncDlg {
public:
    CCfgLogoDlg(IPageHost* pParent, int nPageArg);
    ~CCfgLogoDlg() override;

    void OnPrinterAvailability(bool bAvailable) override;
    void OnCommand(int nID, Notify code) override;

    int PageArg() const { return m_nPageArg; }
    LogoKind Kind() const { return m_nPageArg == 0 ? LogoKind::Pass : LogoKind::Fail; }
    const CLogoFmtHandler& Logo() const { return m_logo; }
    const CMyEditBrowseCtrl& BrowseEdit() const { return m_browse; }
    const CLogoPreviewCtrl& Preview() const { return m_preview; }

    // The size the page takes in `window` when made from `tmpl`: the template's, grown by what
    // the buttons move down to clear the preview's fixed size (KeepButtonsClearOfPreview).
    static DlgSize FitSize(const IDialog& window, const DialogTemplate& tmpl);

protected:
    bool OnInitDialog() override;

private:
    // Binds the template's controls IDC_LOGO_FILE and IDC_LOGO_PREVIEW to the page's own control
    // classes.
    void DoDataExchange();
    void KeepButtonsClearOfPreview(int templateBottom);
    void UpdateButtons();
    void OnChangeLogoFile();
    void OnRotate();
    void OnInvert();
    void OnSend();

    int m_nPageArg;
    CMyEditBrowseCtrl m_browse;
    CLogoFmtHandler m_logo;
    CLogoPreviewCtrl m_preview{&m_logo};
};

} // namespace brimwell
