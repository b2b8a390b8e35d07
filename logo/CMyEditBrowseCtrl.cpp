#include "logo/CMyEditBrowseCtrl.h"

#include "platform/Services.h"

namespace brimwell {

CMyEditBrowseCtrl::CMyEditBrowseCtrl(QWidget* pParent) : CEditBrowseCtrl(pParent) {}

CMyEditBrowseCtrl::~CMyEditBrowseCtrl() = default;

void CMyEditBrowseCtrl::OnBrowse() {
    if (!IsFileBrowseMode()) {
        return;
    }
    const QString current = text();
    const auto chosen =
        GetServices().fileDialog->GetOpenFileName(current.toStdString(), DefaultExt(), Filter());
    if (chosen) {
        const QString path = QString::fromStdString(*chosen);
        if (path == current) {
            // The edit raises no change for an unchanged text; the page still has to load the
            // file again.
            emit textChanged(path);
        } else {
            setText(path);
        }
        Edit()->setModified(true);
        OnAfterUpdate();
    }
    if (QWidget* parent = parentWidget()) {
        parent->update();
    }
}

} // namespace brimwell
