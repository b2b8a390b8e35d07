#pragma once
#include "ui/EditBrowseCtrl.h"

namespace brimwell {

// The logo pages' file-browse edit. Its browse action differs from the base's in three points:
// the chosen path is taken even when it equals the current text (so choosing the loaded file
// again loads it afresh), the current text goes to the dialog unchecked, and the keyboard focus
// stays where it is.
class CMyEditBrowseCtrl : public CEditBrowseCtrl {
public:
    void OnBrowse() override;
};

} // namespace brimwell
