#!/usr/bin/env bash
# Cross-builds OMBRA for 64-bit Windows into build-windows/: ombra.exe, ombra-capture.exe and the
# two LGPL libraries they load as DLLs (OpenAL Soft, mpg123), with Debian's MinGW-w64 compiler.
set -euo pipefail
cd "$(dirname "$0")/.."
toolchain=$PWD/scripts/mingw-w64-toolchain.cmake

scripts/install-deps.sh g++-mingw-w64-x86-64-posix libz-mingw-w64-dev wine wine64 \
    cmake pkg-config bzip2 xz-utils
prefix=$(scripts/build-windows-libraries.sh)

# pkg-config finds the cross-built libraries alone, never the machine's own.
PKG_CONFIG_LIBDIR=$prefix/lib/pkgconfig cmake -S . -B build-windows -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DOMBRA_WINDOWS_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix" -DOMBRA_TESTS=OFF \
    -DOMBRA_BENCHMARKS=OFF >/dev/null
cmake --build build-windows -j2 --target ombra ombra-capture
# The LGPL libraries are DLLs beside the programs, where a user may swap them for others.
for dll in OpenAL32 libmpg123; do
    x86_64-w64-mingw32-strip -o "build-windows/$dll.dll" "$prefix/bin/$dll.dll"
done
echo "Built build-windows/ombra.exe and build-windows/ombra-capture.exe"
