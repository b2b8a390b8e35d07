#pragma once
#include <windows.h>

namespace brimwell {

// The program's own module, the instance its windows, classes and resources belong to.
inline HINSTANCE ThisModule() {
    return GetModuleHandleW(nullptr);
}

} // namespace brimwell
