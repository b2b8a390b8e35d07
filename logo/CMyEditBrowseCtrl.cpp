#include "logo/CMyEditBrowseCtrl.h"

#include "ui/DialogBase.h"
#include "ui/Services.h"

namespace brimwell {

void CMyEditBrowseCtrl::OnBrowse() {
    CDialogBase* owner = Owner();
    if (!IsFileBrowseMode() || !owner) {
        return;
    }
    IDialog& dialog = owner->Dialog();
    const std::string current = dialog.ItemText(ControlId());
    const auto chosen = GetServices().fileDialog->GetOpenFileName(current, DefaultExt(), Filter());
    if (!chosen) {
        return;
    }
    if (*chosen == current) {
        // The edit raises no change for an unchanged text; the page still has to load the
        // file again.
        owner->OnCommand(ControlId(), Notify::EditChanged);
    } else {
        dialog.SetItemText(ControlId(), *chosen);
    }
    OnAfterUpdate();
}

} // namespace brimwell
