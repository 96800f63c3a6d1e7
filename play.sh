#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds OMBRA's programs and plays the demo, passing on this
# script's arguments. Where no display answers, renders the whole production to ombra.mp4 on a
# virtual display instead. Put Ombra.mp3 beside this script for the music; without it the
# production plays, and the video comes out, to a soundtrack OMBRA synthesises itself.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
if [[ -n "${DISPLAY:-}" ]] && xdpyinfo >/dev/null 2>&1; then
    scripts/build.sh ombra
    exec build/ombra "$@"
fi

echo "No display here: rendering the whole production to ombra.mp4 instead." >&2
scripts/build.sh ombra-capture
xvfb-run -a -s "-screen 0 1024x768x24" build/ombra-capture --video ombra.mp4
if [[ -n "$(ffprobe -v error -select_streams a -show_entries stream=codec_name -of csv=p=0 \
    ombra.mp4)" ]]; then
    if [[ -e Ombra.mp3 ]]; then
        sound="with Ombra.mp3 as its sound"
    else
        sound="with OMBRA's own soundtrack: put Ombra.mp3 beside play.sh for the production's music"
    fi
else
    sound="silent: put a playable Ombra.mp3 beside play.sh for the music"
fi
echo "The production is in $PWD/ombra.mp4 ($sound)." >&2
echo "To play the demo itself, run ./play.sh on a desktop." >&2
