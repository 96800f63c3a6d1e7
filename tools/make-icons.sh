#!/usr/bin/env bash
# Makes the programs' icon, packaging/icons/ombra-{48,128,256}.png for the desktop's menu and
# packaging/icons/ombra.ico for the Windows programs: the middle square of a frame of the opening
# scene's four squares, rendered by the offline renderer (build/ombra-capture, under a virtual
# display) and scaled down. The icons are checked in; this makes them again.
set -euo pipefail
cd "$(dirname "$0")/.."

frame=330 # 5.5 s in: the four squares of the opening, in their places
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

xvfb-run -a build/ombra-capture --out "$scratch" --frames "$frame" --seed 1 --quiet >/dev/null
pngs=()
for size in 48 128 256; do
    png=packaging/icons/ombra-$size.png
    ffmpeg -loglevel error -y -i "$scratch/frame_000$frame.png" \
        -vf "crop=480:480:80:0,scale=$size:$size:flags=area" "$png"
    pngs+=("$png")
done
# The largest kept as PNG inside the icon, as Windows reads it, the smaller ones as bitmaps.
icotool -c -o packaging/icons/ombra.ico "${pngs[0]}" "${pngs[1]}" -r "${pngs[2]}"
ls -l packaging/icons
