#!/usr/bin/env bash
# Checks the release archives in dist/ as their users get them. The Debian package: lintian finds
# nothing at its default level; installed with apt, its manual pages, menu entry and icons are in
# place, both programs run from /usr/games, the renderer taking its soundtrack from
# /usr/share/games/ombra; purged, nothing of it is left. The Windows zip: both programs carry the
# icon and a version resource, and, unpacked into an empty folder, they run under Wine in a fresh
# prefix with nothing else beside them. The web zip holds the build and the licences of what its
# WebAssembly holds. Needs an X display.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
scripts/install-deps.sh lintian desktop-file-utils man-db icoutils ffmpeg
version=$(sed -nE 's/^project\(ombra VERSION ([0-9.]+) .*/\1/p' CMakeLists.txt)
deb=dist/ombra_${version}_amd64.deb
sudo=()
((EUID == 0)) || sudo=(sudo)
folder=$(mktemp -d)
data=/usr/share/games/ombra
made=() # the folders the test makes for the soundtrack, deepest first, and removes again
for dir in /usr/share/games "$data"; do
    [[ -d $dir ]] || made=("$dir" "${made[@]}")
done
remove_soundtrack() {
    "${sudo[@]}" rm -f "$data/Ombra.mp3"
    for dir in "${made[@]}"; do
        "${sudo[@]}" rmdir "$dir" 2>/dev/null || :
    done
}
trap 'cd /; WINEPREFIX=$folder/wine wineserver -k 2>/dev/null || :; rm -rf "$folder"
    remove_soundtrack; "${sudo[@]}" apt-get purge -y -qq ombra >/dev/null 2>&1 || :' EXIT
fail() {
    echo "$1" >&2
    exit 1
}

lintian --fail-on error,warning "$deb" 2>/dev/null || fail "lintian finds the above in $deb"

"${sudo[@]}" apt-get install -y -qq -o DPkg::Lock::Timeout=600 "./$deb" >/dev/null
mapfile -t installed < <(dpkg -L ombra)
[[ $(man -w ombra) == /usr/share/man/man6/ombra.6.gz ]] || fail "man finds no ombra(6)"
[[ $(man -w ombra-capture) == /usr/share/man/man1/ombra-capture.1.gz ]] ||
    fail "man finds no ombra-capture(1)"
desktop=/usr/share/applications/ombra.desktop
desktop-file-validate "$desktop" || fail "$desktop is not valid"
[[ -x /usr/games/$(sed -n 's/^Exec=//p' "$desktop") ]] || fail "$desktop starts no installed program"
icon=$(sed -n 's/^Icon=//p' "$desktop")
for size in 48 128 256; do
    [[ $(file -b "/usr/share/icons/hicolor/${size}x$size/apps/$icon.png") == \
        "PNG image data, $size x $size,"* ]] || fail "no $size-pixel icon $icon"
done
[[ $(/usr/games/ombra --version) == "ombra $version" ]] || fail "/usr/games/ombra --version"
[[ $(/usr/games/ombra-capture --version) == "ombra-capture $version" ]] ||
    fail "/usr/games/ombra-capture --version"

# The soundtrack where a user places it for every account, and no other on the way.
"${sudo[@]}" mkdir -p "$data"
sox -n -r 44100 -c 2 -t wav - synth 1 sine 440 2>/dev/null | "${sudo[@]}" lame --quiet - "$data/Ombra.mp3"
(cd "$folder" && XDG_DATA_HOME=$folder/none XDG_DATA_DIRS=$folder/none \
    /usr/games/ombra-capture --out frames --video v.mp4 --frames 0-9 --quiet >/dev/null)
[[ $(file -b "$folder/frames/frame_000009.png") == "PNG image data, 640 x 480, 8-bit/color RGB"* ]] ||
    fail "/usr/games/ombra-capture rendered no frames"
[[ $(ffprobe -v error -select_streams a -show_entries stream=codec_name -of csv=p=0 \
    "$folder/v.mp4") == aac ]] || fail "/usr/games/ombra-capture took no sound from $data"
remove_soundtrack

"${sudo[@]}" apt-get purge -y -qq ombra >/dev/null
for path in "${installed[@]}"; do
    # A folder other packages share stays; nothing else of the package may.
    if [[ -e $path ]] && ! { [[ -d $path ]] && dpkg -S "$path" >/dev/null 2>&1; }; then
        fail "$path is left after apt-get purge ombra"
    fi
done

unzip -q "dist/ombra-$version-windows-x64.zip" -d "$folder"
cd "$folder/ombra-$version-windows-x64"
for program in ombra ombra-capture; do
    # Resource types 14 and 16: a group icon and a version.
    [[ $(wrestool -l --type=14 "$program.exe") == *"--type=14"* ]] || fail "$program.exe: no icon"
    [[ $(wrestool -x --raw --type=16 "$program.exe" | iconv -f UTF-16LE -t UTF-8 -c |
        tr -c '[:print:]' ' ' | tr -s ' ') == *"FileDescription OMBRA"*"ProductVersion $version "* ]] ||
        fail "$program.exe: no description or version $version"
done
"$root/tests/wine/make-prefix.sh" "$folder/wine" >/dev/null 2>&1
export WINEPREFIX=$folder/wine WINEDEBUG=-all
wine=/usr/lib/wine/wine64
[[ $($wine ombra.exe --version | tr -d '\r') == "ombra $version" ]]
$wine ombra-capture.exe --out frames --frames 30 --quiet >/dev/null
[[ $(file -b frames/frame_000030.png) == "PNG image data, 640 x 480, 8-bit/color RGB"* ]]

# The web zip: the page, its script and WebAssembly (the build's own bytes), the README and the
# licences of what the WebAssembly holds, and nothing else.
cd "$root"
unzip -q "dist/ombra-$version-web.zip" -d "$folder/web"
web=$folder/web/ombra-$version-web
[[ $(cd "$web" && find . -type f | sort | tr '\n' ' ') == "./README.txt ./index.html \
./licences/emscripten.txt ./licences/mpg123.txt ./licences/ombra.txt ./ombra.js ./ombra.wasm " ]] ||
    fail "the web zip holds other files: $(cd "$web" && find . -type f | sort | tr '\n' ' ')"
for file in index.html ombra.js ombra.wasm; do
    cmp -s "$web/$file" "build-web/$file" || fail "the web zip's $file is not build-web's"
done
grep -q "LESSER GENERAL PUBLIC LICENSE" "$web/licences/mpg123.txt" || fail "no LGPL for libmpg123"
echo "The release archives pass lintian, install, run and leave nothing behind"
