#include "app/PageFactory.h"

#include "app/CBrimwellDlg.h"
#include "resources/DialogTemplates.h"

namespace brimwell {

CFuncDlg* CreatePage(int nDialogId, int nPageArg, CBrimwellDlg* pParent) {
    (void)pParent;
    (void)nPageArg;
    switch (nDialogId) {
    default:
        return nullptr;
    }
}

} // namespace brimwell
