#pragma once
#include <windows.h>

namespace brimwell {

// The program's own module, the instance its windows, classes and resources belong to.
inline HINSTANCE ThisModule() {
    return GetModuleHandleW(nullptr);
}

// Called first thing in a program: every DLL loaded from now on, also those the system loads
// for us, is looked for in the system folder only, never beside the program or in the current
// folder (a portable copy is often run from a downloads folder where anything may lie).
inline void SearchSystemFolderOnly() {
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

// Loads a system DLL from the system folder, whatever lies beside the program.
inline HMODULE LoadSystemLibrary(const wchar_t* name) {
    return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

// Function `name` of `module` as a pointer of type Fn; nullptr when the module is missing or
// lacks it (a function newer than the oldest Windows the program starts on).
template <class Fn>
Fn ModuleFunction(HMODULE module, const char* name) {
    return module ? reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)))
                  : nullptr;
}

} // namespace brimwell
