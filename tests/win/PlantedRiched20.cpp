// A Riched20.dll that is not the system's: left beside a program, as anything may lie beside a
// portable copy in a downloads folder. It registers no rich-edit class.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}
