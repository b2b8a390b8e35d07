#pragma once
#include "printer/CFuncDlg.h"
#include "text/Translate.h"
#include "ui/EditBrowseCtrl.h"

#include <string>

namespace brimwell {

// The firmware update page (IDD_UPDATE_FIRMWARE): a file-browse edit for the update file, a status
// line shown while that file is not usable, and a button that reads, filters and sends the
// file to the printer, which then runs the new label program after a power cycle.
class CUpdateFirmwareDlg : public CFuncDlg {
public:
    // The file-open dialog's filter; the platform's dialog matches the extension in any
    // letter case.
    static constexpr const char* kFileFilter = N_("Update files (*.tpl)|*.tpl|All Files|*.*||");

    explicit CUpdateFirmwareDlg(IPageHost* pParent);

    void OnPrinterAvailability(bool bAvailable) override;
    void OnCommand(int nID, Notify code) override;

    const CEditBrowseCtrl& BrowseEdit() const { return m_browse; }

protected:
    bool OnInitDialog() override;

private:
    // Shows the status line while the typed path names no regular file, and enables Send
    // only with such a file and a printer. Looks at the path; never opens or reads it.
    void UpdateFileState();
    // Reads the file now (not when it was chosen), refuses it with a message box (error
    // icon) or sends the job after the power-cycle question.
    void OnSendFirmware();

    CEditBrowseCtrl m_browse;
};

} // namespace brimwell
