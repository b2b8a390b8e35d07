#include "platform/win/WinServices.h"

#include "platform/win/WinText.h"
#include "resources/StringTable.h"

#include <vector>

namespace brimwell {
namespace {

int g_waitDepth = 0;
HCURSOR g_savedCursor = nullptr;

} // namespace

MsgResult WinMessageBox::Show(const std::string& textUtf8, MsgIcon icon, MsgButtons buttons) {
    const std::wstring text = WideFromUtf8(textUtf8);
    const std::wstring caption = WideFromUtf8(LoadStringResource(IDS_APP_TITLE));
    UINT type = icon == MsgIcon::Error ? MB_ICONERROR : MB_ICONWARNING;
    type |= buttons == MsgButtons::OkCancel ? MB_OKCANCEL : MB_OK;
    const int pressed = MessageBoxW(GetActiveWindow(), text.c_str(), caption.c_str(), type);
    if (buttons == MsgButtons::Ok) {
        return MsgResult::Ok;
    }
    // Escape and the close button answer IDCANCEL; a box that could not be shown answers 0.
    return pressed == IDOK ? MsgResult::Ok : MsgResult::Cancel;
}

std::wstring NativeFileFilter(const std::string& filter) {
    std::vector<std::string> parts;
    std::string part;
    for (const char c : filter) {
        if (c == '|') {
            parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    parts.push_back(part);
    std::wstring out;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].empty() || parts[i + 1].empty()) {
            break;
        }
        out += WideFromUtf8(parts[i]);
        out += L'\0';
        out += WideFromUtf8(parts[i + 1]);
        out += L'\0';
    }
    out += L'\0';
    return out;
}

namespace {

using GetOpenFileNameFn = BOOL(WINAPI*)(LPOPENFILENAMEW);

// comdlg32 is loaded the first time the dialog is wanted, not at start: it brings winspool,
// which lists the system's printers as it loads (some milliseconds under Wine, with CUPS).
GetOpenFileNameFn OpenFileNameFunction() {
    static const GetOpenFileNameFn fn = [] {
        HMODULE comdlg = LoadLibraryW(L"comdlg32.dll");
        return comdlg ? reinterpret_cast<GetOpenFileNameFn>(reinterpret_cast<void (*)()>(
                            GetProcAddress(comdlg, "GetOpenFileNameW")))
                      : nullptr;
    }();
    return fn;
}

} // namespace

std::optional<std::string> WinFileDialog::GetOpenFileName(const std::string& initialName,
                                                          const std::string& defaultExt,
                                                          const std::string& filter) {
    // Long paths fit; a longer initial name is not offered at all rather than cut.
    std::vector<wchar_t> file(32768, L'\0');
    const std::wstring initial = WideFromUtf8(initialName);
    if (initial.size() < file.size()) {
        std::copy(initial.begin(), initial.end(), file.begin());
    }
    const std::wstring nativeFilter = NativeFileFilter(filter);
    const std::wstring ext = WideFromUtf8(defaultExt);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = GetActiveWindow();
    ofn.lpstrFilter = nativeFilter.size() > 1 ? nativeFilter.c_str() : nullptr;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrDefExt = ext.empty() ? nullptr : ext.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                OFN_NOCHANGEDIR | OFN_ENABLESIZING;
    const auto open = OpenFileNameFunction();
    if (!open || !open(&ofn)) {
        return std::nullopt;
    }
    return Utf8FromWide(std::wstring(file.data()));
}

void WinWaitCursor::Begin() {
    if (g_waitDepth++ == 0) {
        g_savedCursor = SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
    }
}

void WinWaitCursor::End() {
    if (g_waitDepth <= 0) {
        return;
    }
    if (--g_waitDepth == 0) {
        SetCursor(g_savedCursor ? g_savedCursor
                                : LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)));
        g_savedCursor = nullptr;
    }
}

bool WaitCursorShown() {
    return g_waitDepth > 0;
}

} // namespace brimwell
