#include "logo/CCfgLogoDlg.h"

#include "resources/StringTable.h"
#include "ui/Services.h"

#include <algorithm>
#include <iterator>

namespace brimwell {
namespace {

constexpr int kButtons[] = {IDC_LOGO_SEND, IDC_LOGO_ROTATE, IDC_LOGO_INVERT};

} // namespace

CCfgLogoDlg::CCfgLogoDlg(IPageHost* pParent, int nPageArg)
    : CFuncDlg(IDD_CFG_LOGO, pParent), m_nPageArg(nPageArg), m_logo(*GetServices().fileSource) {}

CCfgLogoDlg::~CCfgLogoDlg() = default;

void CCfgLogoDlg::DoDataExchange() {
    m_browse.SubclassDlgItem(IDC_LOGO_FILE, *this);
    m_preview.SubclassDlgItem(IDC_LOGO_PREVIEW, *this);
}

bool CCfgLogoDlg::OnInitDialog() {
    DoDataExchange();
    IDialog& dialog = Dialog();
    m_browse.EnableFileBrowseButton(
        "", Tr(LOGO_FILE_FILTER),
        LoadStringResource(m_nPageArg == 0 ? IDS_BROWSE_PASS_LOGO : IDS_BROWSE_FAIL_LOGO));
    const char* word = LoadStringResource(m_nPageArg == 0 ? IDS_PASS : IDS_FAIL);
    for (const int id : {IDC_LOGO_FILE_CAPTION, IDC_LOGO_PREVIEW_CAPTION, IDC_LOGO_SEND}) {
        if (!dialog.HasItem(id)) {
            continue;
        }
        std::string text = dialog.ItemText(id);
        if (const auto at = text.find("%s"); at != std::string::npos) {
            text.replace(at, 2, word ? word : "");
            dialog.SetItemText(id, text);
        }
    }
    // The preview is named by its caption, which the page has just completed.
    m_preview.SetName(NameFromLabel(dialog.ItemText(IDC_LOGO_PREVIEW_CAPTION)));
    if (dialog.LabelPreview(IDC_LOGO_PREVIEW)) {
        DlgRect preview = dialog.ItemRect(IDC_LOGO_PREVIEW);
        const int templateBottom = preview.Bottom();
        preview.cx = PREVIEW_WIDTH;
        preview.cy = PREVIEW_HEIGHT;
        dialog.MoveItem(IDC_LOGO_PREVIEW, preview);
        KeepButtonsClearOfPreview(templateBottom);
        m_preview.LogoChanged();
    }

    UpdateButtons();
    return true;
}

DlgSize CCfgLogoDlg::FitSize(const IDialog& window, const DialogTemplate& tmpl) {
    DlgSize size = window.ChildClientSize(tmpl);
    const bool anyButton = std::any_of(std::begin(kButtons), std::end(kButtons),
                                       [&tmpl](int id) { return tmpl.Find(id) != nullptr; });
    if (tmpl.Find(IDC_LOGO_PREVIEW) && anyButton) {
        const DlgRect preview = window.ChildItemRect(tmpl, IDC_LOGO_PREVIEW);
        size.cy += std::max(0, preview.y + PREVIEW_HEIGHT - preview.Bottom());
    }
    return size;
}

void CCfgLogoDlg::KeepButtonsClearOfPreview(int templateBottom) {
    // The template leaves a gap between the preview and the buttons. Where this platform's
    // dialog font makes the template smaller than the preview's fixed size, the buttons move
    // down (and the page grows) so that the preview does not run under them.
    IDialog& dialog = Dialog();
    const int previewBottom = dialog.ItemRect(IDC_LOGO_PREVIEW).Bottom();
    int shift = 0;
    for (const int id : kButtons) {
        if (dialog.HasItem(id)) {
            const int y = dialog.ItemRect(id).y;
            const int gap = y - templateBottom;
            shift = std::max(shift, previewBottom + gap - y);
        }
    }
    if (shift <= 0) {
        return;
    }
    for (const int id : kButtons) {
        if (dialog.HasItem(id)) {
            DlgRect rect = dialog.ItemRect(id);
            rect.y += shift;
            dialog.MoveItem(id, rect);
        }
    }
    DlgSize size = dialog.ClientSize();
    size.cy += shift;
    dialog.ResizeClient(size);
}

void CCfgLogoDlg::UpdateButtons() {
    const bool loaded = m_logo.IsLoaded();
    IDialog& dialog = Dialog();
    dialog.EnableItem(IDC_LOGO_ROTATE, loaded);
    dialog.EnableItem(IDC_LOGO_INVERT, loaded);
    dialog.EnableItem(IDC_LOGO_SEND, loaded && m_bPrinterAvailable);
}

void CCfgLogoDlg::OnPrinterAvailability(bool bAvailable) {
    CFuncDlg::OnPrinterAvailability(bAvailable);
    UpdateButtons();
}

void CCfgLogoDlg::OnCommand(int nID, Notify code) {
    if (nID == IDC_LOGO_FILE && code == Notify::EditChanged) {
        OnChangeLogoFile();
    } else if (code != Notify::Clicked) {
        CFuncDlg::OnCommand(nID, code);
    } else if (nID == IDC_LOGO_ROTATE) {
        OnRotate();
    } else if (nID == IDC_LOGO_INVERT) {
        OnInvert();
    } else if (nID == IDC_LOGO_SEND) {
        OnSend();
    }
}

void CCfgLogoDlg::OnChangeLogoFile() {
    // Every change loads, so while a path is typed each keystroke is a load of its own.
    m_logo.LoadFile(m_browse.GetWindowText());
    m_preview.ClearTransforms();
    UpdateButtons();
    m_preview.LogoChanged();
}

void CCfgLogoDlg::OnRotate() {
    if (!m_logo.IsLoaded()) {
        return;
    }
    if (m_logo.Rotate()) {
        m_preview.AddQuarterTurn();
    }
    UpdateButtons();
    m_preview.LogoChanged();
}

void CCfgLogoDlg::OnInvert() {
    if (!m_logo.IsLoaded()) {
        return;
    }
    m_logo.Invert();
    m_preview.ToggleInverted();
    m_preview.LogoChanged();
}

void CCfgLogoDlg::OnSend() {
    if (!m_logo.IsLoaded()) {
        return;
    }
    // The same store job as `brimwell-cli logo`, built here from the logo as the preview shows
    // it: the job carries its bytes, so turning the logo while it is sent changes nothing.
    const std::vector<std::uint8_t> job = BuildLogoJob(m_logo, Kind());
    if (!job.empty()) {
        SendJob(JOB_CONFIRM_POWER_CYCLE, std::string(job.begin(), job.end()));
    }
}

} // namespace brimwell
