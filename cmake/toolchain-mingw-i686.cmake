# Cross build for 32-bit Windows with Debian's MinGW-w64 (package g++-mingw-w64-i686).
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(VEXILLA_MINGW_TRIPLET i686-w64-mingw32)

# The plain names are Debian alternatives that default to the win32 thread model, which
# keeps winpthreads (and its newer-Windows imports) out of the static runtime. A machine
# switched to the posix model still gets the win32 compilers when they are installed.
find_program(VEXILLA_MINGW_GCC NAMES ${VEXILLA_MINGW_TRIPLET}-gcc-win32 ${VEXILLA_MINGW_TRIPLET}-gcc
             REQUIRED)
find_program(VEXILLA_MINGW_GXX NAMES ${VEXILLA_MINGW_TRIPLET}-g++-win32 ${VEXILLA_MINGW_TRIPLET}-g++
             REQUIRED)
set(CMAKE_C_COMPILER ${VEXILLA_MINGW_GCC})
set(CMAKE_CXX_COMPILER ${VEXILLA_MINGW_GXX})
set(CMAKE_RC_COMPILER ${VEXILLA_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VEXILLA_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
