#include "hosts/win32/WinFileDialog.h"

#include "hosts/win32/WinDialog.h"
#include "platform/windows/WinModule.h"
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
using ExtendedErrorFn = DWORD(WINAPI*)();

// comdlg32 is loaded the first time the dialog is wanted, not at start: it brings winspool,
// which lists the system's printers as it loads (some milliseconds under Wine, with CUPS).
HMODULE Comdlg() {
    static const HMODULE comdlg = LoadSystemLibrary(L"comdlg32.dll");
    return comdlg;
}

template <class Fn>
Fn ComdlgFunction(const char* name) {
    return ModuleFunction<Fn>(Comdlg(), name);
}

// Why the last dialog ended without a name: 0 when the user cancelled it.
DWORD DialogError() {
    static const auto fn = ComdlgFunction<ExtendedErrorFn>("CommDlgExtendedError");
    return fn ? fn() : 0;
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
    static const auto open = ComdlgFunction<GetOpenFileNameFn>("GetOpenFileNameW");
    if (!open) {
        return std::nullopt;
    }
    // A name the dialog refuses (characters a file name cannot hold, a folder that is gone)
    // makes it fail before it shows. Then it is opened again in the name's folder, then with
    // no name at all: the button always opens a dialog.
    const std::wstring::size_type slash = initial.find_last_of(L"\\/");
    const std::wstring folder =
        slash == std::wstring::npos ? std::wstring() : initial.substr(0, slash);
    const wchar_t* const folders[] = {nullptr, folder.empty() ? nullptr : folder.c_str(), nullptr};
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (attempt > 0) {
            std::fill(file.begin(), file.end(), L'\0');
            if (attempt == 1 && !folders[1]) {
                continue;
            }
        }
        OPENFILENAMEW ofn{};
        ofn.lStructSize = sizeof ofn;
        ofn.hwndOwner = MainWindow();
        ofn.lpstrFilter = nativeFilter.size() > 1 ? nativeFilter.c_str() : nullptr;
        ofn.nFilterIndex = 1;
        ofn.lpstrFile = file.data();
        ofn.nMaxFile = static_cast<DWORD>(file.size());
        ofn.lpstrInitialDir = folders[attempt];
        ofn.lpstrDefExt = ext.empty() ? nullptr : ext.c_str();
        ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                    OFN_NOCHANGEDIR | OFN_ENABLESIZING;
        if (open(&ofn)) {
            return Utf8FromWide(std::wstring(file.data()));
        }
        if (DialogError() == 0) {
            return std::nullopt; // cancelled
        }
    }
    return std::nullopt;
}

} // namespace brimwell
