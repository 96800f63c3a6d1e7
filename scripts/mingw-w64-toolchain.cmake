# CMake toolchain for 64-bit Windows with Debian's MinGW-w64 cross compiler (POSIX threads): the
# libraries' builds and OMBRA's own use it. OMBRA_WINDOWS_PREFIX names the cross-built libraries.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_ASM_COMPILER ${triple}-gcc-posix)

set(OMBRA_WINDOWS_PREFIX "$ENV{OMBRA_WINDOWS_PREFIX}" CACHE PATH "Cross-built libraries")
set(CMAKE_FIND_ROOT_PATH /usr/${triple} ${OMBRA_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# zlib is linked in, as every library but the two LGPL ones is.
set(ZLIB_USE_STATIC_LIBS ON)

# The GCC runtime (libgcc, libstdc++, winpthread) is linked in, so that the programs and the DLLs
# built here load no MinGW DLL.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")
