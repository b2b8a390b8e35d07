#include "hosts/win32/WinEditBrowse.h"

#include "hosts/win32/WinAccessibility.h"
#include "platform/windows/WinText.h"

#include <algorithm>
#include <utility>

namespace brimwell {

void WinEditBrowse::SetBrowseHandler(std::function<void()> onBrowse) {
    m_onBrowse = std::move(onBrowse);
    UpdateButton();
}

void WinEditBrowse::SetBrowseName(const std::string& name) {
    SetAccessibleName(m_button, WideFromUtf8(name));
}

void WinEditBrowse::UpdateButton() const {
    EnableWindow(m_button, m_onBrowse && IsWindowEnabled(m_edit));
}

void WinEditBrowse::Click() const {
    if (m_onBrowse) {
        // A copy: the handler may replace itself.
        const std::function<void()> run = m_onBrowse;
        run();
    }
}

void WinEditBrowse::Move(int left, int top, int width, int height) const {
    RECT button{};
    GetWindowRect(m_button, &button);
    const int buttonWidth = std::min<int>(button.right - button.left, width / 2);
    MoveWindow(m_edit, left, top, width - buttonWidth, height, TRUE);
    MoveWindow(m_button, left + width - buttonWidth, top, buttonWidth, height, TRUE);
}

} // namespace brimwell
