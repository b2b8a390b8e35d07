#pragma once
// The Windows services of the window: message box, file-open dialog and wait cursor.
// First of all: commdlg.h names the ANSI or wide function by the macro GetOpenFileName, which
// would rename the file dialog interface's method in what follows.
#include <windows.h>

#include <commdlg.h>
#undef GetOpenFileName

#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/WaitCursor.h"

#include <string>

namespace brimwell {

// MessageBoxW with the application title as caption, owned by the active window.
class WinMessageBox : public IMessageBox {
public:
    MsgResult Show(const std::string& textUtf8, MsgIcon icon, MsgButtons buttons) override;
};

// GetOpenFileNameW: an existing file, the filter's descriptions in the type list.
class WinFileDialog : public IFileDialog {
public:
    std::optional<std::string> GetOpenFileName(const std::string& initialName,
                                               const std::string& defaultExt,
                                               const std::string& filter) override;
};

// The "A|*.a|B|*.b||" filter as OPENFILENAMEW wants it: "A\0*.a\0B\0*.b\0\0". A description
// without its pattern list is dropped; an empty description ends the list.
std::wstring NativeFileFilter(const std::string& filter);

// The hourglass while a job runs: counted, the arrow back after the last End. The host's
// windows keep it while it is shown (WM_SETCURSOR).
class WinWaitCursor : public IWaitCursor {
public:
    void Begin() override;
    void End() override;
};

// True while a WinWaitCursor shows the wait cursor.
bool WaitCursorShown();

} // namespace brimwell
