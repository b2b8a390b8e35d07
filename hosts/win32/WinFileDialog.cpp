#include "hosts/win32/WinFileDialog.h"

#include "platform/windows/WinText.h"

#include <algorithm>
#include <vector>

namespace brimwell {

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

} // namespace brimwell
