#!/usr/bin/env bash
# Checks the release archives in dist/ as their users get them: the Debian package installed
# with apt runs from /usr/bin; the Windows zip, unpacked into an empty folder, runs under Wine
# in a fresh prefix with nothing else beside it. Needs an X display.
set -euo pipefail
cd "$(dirname "$0")/../.."
version=$(sed -nE 's/^project\(ombra VERSION ([0-9.]+) .*/\1/p' CMakeLists.txt)
sudo=()
((EUID == 0)) || sudo=(sudo)
folder=$(mktemp -d)
trap 'cd /; WINEPREFIX=$folder/wine wineserver -k 2>/dev/null || :; rm -rf "$folder"
    "${sudo[@]}" apt-get remove -y -qq ombra >/dev/null' EXIT

"${sudo[@]}" apt-get install -y -qq -o DPkg::Lock::Timeout=600 "./dist/ombra_${version}_amd64.deb" >/dev/null
[[ $(/usr/bin/ombra --version) == "ombra $version" ]]
[[ $(/usr/bin/ombra-capture --version) == "ombra-capture $version" ]]

unzip -q "dist/ombra-$version-windows-x64.zip" -d "$folder"
tests/wine/make-prefix.sh "$folder/wine" >/dev/null 2>&1
cd "$folder/ombra-$version-windows-x64"
export WINEPREFIX=$folder/wine WINEDEBUG=-all
wine=/usr/lib/wine/wine64
[[ $($wine ombra.exe --version | tr -d '\r') == "ombra $version" ]]
$wine ombra-capture.exe --out frames --frames 30 --quiet >/dev/null
[[ $(file -b frames/frame_000030.png) == "PNG image data, 640 x 480, 8-bit/color RGB"* ]]
echo "The release archives install and run"
