#!/usr/bin/env bash
# Builds the release archives into dist/: ombra_<version>_amd64.deb for Debian and
# ombra-<version>-windows-x64.zip for Windows, and checks that every DLL the zip's programs and
# libraries import is in the zip or is one of Windows' own.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh dpkg-dev zip unzip
scripts/build.sh ombra ombra-capture
scripts/build-windows.sh >/dev/null

rm -rf dist
cpack --config build/CPackConfig.cmake -B dist >/dev/null
cpack --config build-windows/CPackConfig.cmake -B dist >/dev/null
rm -rf dist/_CPack_Packages

zip=$(ls dist/ombra-*-windows-x64.zip)
system_dlls=" advapi32 avrt comdlg32 gdi32 glu32 imm32 kernel32 msvcrt ole32 oleaut32 opengl32 "
system_dlls+=" setupapi shell32 shlwapi user32 version winmm ws2_32 "
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
unzip -q "$zip" -d "$unpacked"
shipped=$(find "$unpacked" -iname '*.dll' -printf '%f\n' | tr 'A-Z' 'a-z')
status=0
while read -r binary; do
    for dll in $(x86_64-w64-mingw32-objdump -p "$binary" | awk '/DLL Name:/ { print tolower($3) }'); do
        if [[ $system_dlls != *" ${dll%.dll} "* ]] && ! grep -qx "$dll" <<<"$shipped"; then
            echo "${binary#"$unpacked"/} imports $dll, which is neither in the zip nor Windows'" >&2
            status=1
        fi
    done
done < <(find "$unpacked" -iname '*.exe' -o -iname '*.dll')
((status == 0)) || exit 1
ls -l dist
