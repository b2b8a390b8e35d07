#pragma once
#include "ui/Dialog.h"

#include <string>

namespace brimwell {

class CDialogBase;

// The file-browse edit of a page: an edit control of the page's template with a browse button
// beside it. Bound to its control with SubclassDlgItem; in file-browse mode the button runs
// OnBrowse, which asks the platform's file-open dialog. The edit's text is the page's to read
// and write like any other item's, and every change of it reaches the page as EditChanged.
class CEditBrowseCtrl {
public:
    virtual ~CEditBrowseCtrl() = default;

    // Binds to control `nID` of the page `owner`; false when the page has no such browse edit.
    bool SubclassDlgItem(int nID, CDialogBase& owner);
    // `buttonName` is what a screen reader calls the browse button.
    void EnableFileBrowseButton(const std::string& defaultExt, const std::string& filter,
                                const std::string& buttonName = {});

    bool IsFileBrowseMode() const { return m_bFileMode; }
    const std::string& DefaultExt() const { return m_defaultExt; }
    const std::string& Filter() const { return m_filter; }
    int ControlId() const { return m_nID; }

    // The edit's text ("" when unbound).
    std::string GetWindowText() const;

    // What the browse button does. The base behaviour: ask for a file with the current text
    // as the initial name, put the chosen path into the edit when it differs and give the
    // edit the focus.
    virtual void OnBrowse();
    // Runs after the browse action put a chosen path into the edit; does nothing here.
    virtual void OnAfterUpdate() {}

protected:
    CDialogBase* Owner() const { return m_pOwner; }

private:
    CDialogBase* m_pOwner = nullptr;
    int m_nID = 0;
    bool m_bFileMode = false;
    std::string m_defaultExt;
    std::string m_filter;
};

} // namespace brimwell
