# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (package g++-mingw-w64-x86-64-posix).
# Test programs run under Wine, CMake's emulator for the target.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(BRIMWELL_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${BRIMWELL_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${BRIMWELL_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${BRIMWELL_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${BRIMWELL_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Self-contained programs: the C++ runtime, libgcc and winpthreads are linked in, so an .exe
# runs on Windows (and under Wine) without the MinGW DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

find_program(BRIMWELL_WINE NAMES wine wine64)
if(BRIMWELL_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${BRIMWELL_WINE})
endif()
