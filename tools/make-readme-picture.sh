#!/usr/bin/env bash
# Makes docs/ombra.png, the README's picture of the production: one frame of each Scene, rendered
# by the offline renderer (build/ombra-capture, under a virtual display) and tiled three by two.
set -euo pipefail
cd "$(dirname "$0")/.."

# A moment of each Scene at 60 frames a second: squares, title, sign-off, credits, greetings, card.
frames=330,1000,2800,4500,6800,7800
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

xvfb-run -a build/ombra-capture --out "$scratch" --frames "$frames" --seed 1 --quiet
ffmpeg -loglevel error -y -pattern_type glob -i "$scratch/frame_*.png" \
    -vf "scale=240:180:flags=area,tile=3x2" -frames:v 1 docs/ombra.png
echo "docs/ombra.png: $(stat -c %s docs/ombra.png) bytes"
