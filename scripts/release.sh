#!/usr/bin/env bash
# Builds the release archives into dist/: ombra_<version>_amd64.deb for Debian,
# ombra-<version>-windows-x64.zip for Windows and ombra-<version>-web.zip for a web server, and
# checks that every DLL the zip's programs and
# libraries import is in the zip or is one of Windows' own.
#
# Settings, from the environment, for facts only the owner can give:
#   OMBRA_MAINTAINER  the Debian package's Maintainer, "Name <address>"
#                     (default: OMBRA developers <ombra@example.org>)
#   OMBRA_HOMEPAGE    the package's Homepage, a URL (default: none)
set -euo pipefail
cd "$(dirname "$0")/.."

# What the archives cannot be without: a missing one stops the release before anything is built.
rm -rf dist
for file in packaging/man/ombra.6 packaging/man/ombra-capture.1 packaging/ombra.desktop \
    packaging/icons/ombra-48.png packaging/icons/ombra-128.png packaging/icons/ombra-256.png \
    packaging/icons/ombra.ico packaging/copyright packaging/changelog; do
    [[ -s $file ]] || { echo "release.sh: $file is missing; no archive made" >&2 && exit 1; }
done
version=$(sed -nE 's/^project\(ombra VERSION ([0-9.]+) .*/\1/p' CMakeLists.txt)
logged=$(sed -nE '1s/^ombra \(([^)]*)\).*/\1/p' packaging/changelog)
if [[ $logged != "$version" ]]; then
    echo "release.sh: packaging/changelog's latest entry is for \"$logged\", not $version" >&2
    exit 1
fi
contact='^[^<>,@]+ <[^<>@ ]+@[^<>@ ]+\.[^<>@ ]+>$'
if [[ -n ${OMBRA_MAINTAINER:-} && ! $OMBRA_MAINTAINER =~ $contact ]]; then
    echo "release.sh: OMBRA_MAINTAINER is \"$OMBRA_MAINTAINER\", not \"Name <address>\"" >&2
    exit 1
fi

scripts/install-deps.sh dpkg-dev zip unzip
scripts/build.sh ombra ombra-capture
# A setting left out takes its default, whatever an earlier release set.
settings=()
for setting in OMBRA_MAINTAINER OMBRA_HOMEPAGE; do
    if [[ -n ${!setting:-} ]]; then
        settings+=("-D$setting=${!setting}")
    else
        settings+=("-U$setting")
    fi
done
cmake -S . -B build "${settings[@]}" >/dev/null
scripts/build-windows.sh >/dev/null
scripts/build-web.sh >/dev/null

cpack --config build/CPackConfig.cmake -B dist >/dev/null
cpack --config build-windows/CPackConfig.cmake -B dist >/dev/null
rm -rf dist/_CPack_Packages
# The browser build: the page, its script and its WebAssembly, with a few lines on serving them.
web=$(mktemp -d)
trap 'rm -rf "$web"' EXIT
mkdir "$web/ombra-$version-web"
cp build-web/index.html build-web/ombra.js build-web/ombra.wasm "$web/ombra-$version-web/"
cp packaging/README-web.txt "$web/ombra-$version-web/README.txt"
# The licences of what the WebAssembly holds: OMBRA's own terms with CLI11's and the bitmap
# fonts', libmpg123's (linked in unchanged), and Emscripten's runtime and libraries.
licences=$web/ombra-$version-web/licences
mkdir "$licences"
cp packaging/copyright "$licences/ombra.txt"
cp "$(scripts/build-web-libraries.sh 2>/dev/null)/licences/mpg123.txt" "$licences/mpg123.txt"
cp /usr/share/doc/emscripten/copyright "$licences/emscripten.txt"
(cd "$web" && zip -qr "$OLDPWD/dist/ombra-$version-web.zip" "ombra-$version-web")

zip=$(ls dist/ombra-*-windows-x64.zip)
system_dlls=" advapi32 avrt comdlg32 gdi32 glu32 imm32 kernel32 msvcrt ole32 oleaut32 opengl32 "
system_dlls+=" setupapi shell32 shlwapi user32 version winmm ws2_32 "
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked" "$web"' EXIT
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
