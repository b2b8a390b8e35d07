// The Win32 host tests' start: the common controls and RichEdit 2.0 as the program loads them.
#include "platform/win/WinControls.h"

#include <commctrl.h>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_WIN95_CLASSES;
    InitCommonControlsEx(&controls);
    LoadLibraryW(L"Riched20.dll");
    brimwell::RegisterWinControls();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
