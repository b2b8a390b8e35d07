#include "hosts/win32/WinMessageBox.h"

#include "hosts/win32/WinDialog.h"

#include "platform/windows/WinText.h"
#include "resources/StringTable.h"

#include <windows.h>

namespace brimwell {

MsgResult WinMessageBox::Show(const std::string& textUtf8, MsgIcon icon, MsgButtons buttons) {
    const std::wstring text = WideFromUtf8(textUtf8);
    const std::wstring caption = WideFromUtf8(LoadStringResource(IDS_APP_TITLE));
    UINT type = icon == MsgIcon::Error ? MB_ICONERROR : MB_ICONWARNING;
    type |= buttons == MsgButtons::OkCancel ? MB_OKCANCEL : MB_OK;
    // Owned by the main window, whichever window is active: the box disables it, so nothing
    // behind the box can be pressed, even when the user had switched to another program.
    const int pressed = MessageBoxW(MainWindow(), text.c_str(), caption.c_str(), type);
    if (buttons == MsgButtons::Ok) {
        return MsgResult::Ok;
    }
    // Escape and the close button answer IDCANCEL; a box that could not be shown answers 0.
    return pressed == IDOK ? MsgResult::Ok : MsgResult::Cancel;
}

} // namespace brimwell
