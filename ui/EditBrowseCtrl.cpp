#include "ui/EditBrowseCtrl.h"

#include "ui/DialogBase.h"
#include "ui/Services.h"

namespace brimwell {

bool CEditBrowseCtrl::SubclassDlgItem(int nID, CDialogBase& owner) {
    if (!owner.Dialog().BrowseEdit(nID)) {
        return false;
    }
    m_pOwner = &owner;
    m_nID = nID;
    return true;
}

void CEditBrowseCtrl::EnableFileBrowseButton(const std::string& defaultExt,
                                             const std::string& filter,
                                             const std::string& buttonName) {
    m_bFileMode = true;
    m_defaultExt = defaultExt;
    m_filter = filter;
    if (m_pOwner) {
        if (IBrowseEditCtrl* edit = m_pOwner->Dialog().BrowseEdit(m_nID)) {
            edit->SetBrowseHandler([this] { OnBrowse(); });
            if (!buttonName.empty()) {
                edit->SetBrowseName(buttonName);
            }
        }
    }
}

std::string CEditBrowseCtrl::GetWindowText() const {
    return m_pOwner ? m_pOwner->Dialog().ItemText(m_nID) : std::string();
}

void CEditBrowseCtrl::OnBrowse() {
    if (!m_bFileMode || !m_pOwner) {
        return;
    }
    IDialog& dialog = m_pOwner->Dialog();
    const std::string current = dialog.ItemText(m_nID);
    const auto chosen = GetServices().fileDialog->GetOpenFileName(current, m_defaultExt, m_filter);
    if (chosen && *chosen != current) {
        dialog.SetItemText(m_nID, *chosen);
    }
    dialog.FocusItem(m_nID);
}

} // namespace brimwell
