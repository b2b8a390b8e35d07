// The Win32 host tests' start: the common controls and RichEdit 2.0 as the program loads them.
// With --at-dpi=N first, the program runs itself again with the screen at N dots per inch
// (under Wine only, which reads the value from its registry when a process starts), and puts
// the registry value back afterwards; the run then sees BRIMWELL_TEST_DPI=N.
#include "hosts/win32/WinLabelPreview.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

bool UnderWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

std::wstring Quoted(const std::wstring& arg) {
    std::wstring out = L"\"";
    for (const wchar_t c : arg) {
        if (c == L'"') {
            out += L'\\';
        }
        out += c;
    }
    return out + L"\"";
}

// The desktop's LogPixels, as Wine reads it at a process's start.
class ScopedLogPixels {
public:
    explicit ScopedLogPixels(DWORD dpi) {
        if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0,
                            KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &m_key,
                            nullptr) != ERROR_SUCCESS) {
            m_key = nullptr;
            return;
        }
        DWORD size = sizeof m_old;
        DWORD type = 0;
        m_had = RegQueryValueExW(m_key, L"LogPixels", nullptr, &type,
                                 reinterpret_cast<BYTE*>(&m_old), &size) == ERROR_SUCCESS &&
                type == REG_DWORD;
        m_set = RegSetValueExW(m_key, L"LogPixels", 0, REG_DWORD,
                               reinterpret_cast<const BYTE*>(&dpi), sizeof dpi) == ERROR_SUCCESS;
    }
    ~ScopedLogPixels() {
        if (!m_key) {
            return;
        }
        if (m_had) {
            RegSetValueExW(m_key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&m_old),
                           sizeof m_old);
        } else {
            RegDeleteValueW(m_key, L"LogPixels");
        }
        RegCloseKey(m_key);
    }
    ScopedLogPixels(const ScopedLogPixels&) = delete;
    ScopedLogPixels& operator=(const ScopedLogPixels&) = delete;
    bool Set() const { return m_set; }

private:
    HKEY m_key = nullptr;
    DWORD m_old = 0;
    bool m_had = false;
    bool m_set = false;
};

int RunAtDpi(int dpi, int argc, wchar_t** argv) {
    if (!UnderWine()) {
        // On Windows the value would change the user's own setting, at the next sign-in.
        std::printf("--at-dpi runs under Wine only: nothing run\n");
        return 0;
    }
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring commandLine = Quoted(self);
    for (int i = 2; i < argc; ++i) {
        commandLine += L" " + Quoted(argv[i]);
    }
    SetEnvironmentVariableW(L"BRIMWELL_TEST_DPI", std::to_wstring(dpi).c_str());
    const ScopedLogPixels logPixels(static_cast<DWORD>(dpi));
    if (!logPixels.Set()) {
        std::fprintf(stderr, "cannot set the desktop's LogPixels\n");
        return 1;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(self, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::fprintf(stderr, "cannot run the tests again: error %lu\n", GetLastError());
        return 1;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc > 1 && std::wcsncmp(argv[1], L"--at-dpi=", 9) == 0) {
        const int dpi = static_cast<int>(std::wcstol(argv[1] + 9, nullptr, 10));
        if (dpi < 48 || dpi > 960) {
            std::fprintf(stderr, "--at-dpi wants 48 to 960\n");
            return 2;
        }
        return RunAtDpi(dpi, argc, argv);
    }
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_WIN95_CLASSES;
    InitCommonControlsEx(&controls);
    LoadLibraryW(L"Riched20.dll");
    brimwell::RegisterWinControls();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
