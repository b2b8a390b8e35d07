#pragma once
// The file-browse edit: the template's edit with its browse button beside it (a push button
// of id BrowseButtonId, made by WinDialogTemplate), placed as one item.
#include "ui/Dialog.h"

#include <windows.h>

#include <functional>

namespace brimwell {

// The browse button is enabled while it has a handler and the edit is enabled; a click runs
// the handler.
class WinEditBrowse final : public IBrowseEditCtrl {
public:
    WinEditBrowse(HWND edit, HWND button) : m_edit(edit), m_button(button) {}

    void SetBrowseHandler(std::function<void()> onBrowse) override;
    void SetBrowseName(const std::string& name) override;

    HWND Button() const { return m_button; }
    // The button follows the edit's and the handler's state.
    void UpdateButton() const;
    // The button was clicked.
    void Click() const;
    // Places the edit and the button over `left, top, width, height` (physical pixels of the
    // dialog): the button keeps its width, but takes at most half, the edit the rest.
    void Move(int left, int top, int width, int height) const;

private:
    HWND m_edit;
    HWND m_button;
    std::function<void()> m_onBrowse;
};

} // namespace brimwell
