// DLLs come from the system folder only: a Riched20.dll planted beside the program (this test
// program has one) is never loaded, neither by name nor by the rich-text view.
#include "platform/windows/WinModule.h"

#include <windows.h>

#include <gtest/gtest.h>
#include <string>

namespace brimwell::test {
namespace {

std::wstring Folder(const std::wstring& path) {
    return path.substr(0, path.find_last_of(L"\\/"));
}

std::wstring ModulePath(HMODULE module) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(module, path, MAX_PATH);
    return path;
}

TEST(DllSearch, APlantedRichEditBesideTheProgramIsNotLoaded) {
    const std::wstring programFolder = Folder(ModulePath(nullptr));
    ASSERT_NE(GetFileAttributesW((programFolder + L"\\Riched20.dll").c_str()),
              INVALID_FILE_ATTRIBUTES)
        << "the planted DLL is missing";
    SearchSystemFolderOnly();
    for (bool bySystemLoad : {true, false}) {
        const HMODULE riched =
            bySystemLoad ? LoadSystemLibrary(L"Riched20.dll") : LoadLibraryW(L"Riched20.dll");
        ASSERT_NE(riched, nullptr);
        EXPECT_NE(Folder(ModulePath(riched)), programFolder);
        WNDCLASSEXW cls{};
        cls.cbSize = sizeof cls;
        EXPECT_TRUE(GetClassInfoExW(riched, L"RichEdit20W", &cls)); // the real one
    }
    EXPECT_NE(LoadSystemLibrary(L"comdlg32.dll"), nullptr);
}

} // namespace
} // namespace brimwell::test
