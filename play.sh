#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds OMBRA and plays it. Put Ombra.mp3 beside this script
# for the music; without it the production plays in silence.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo "No display here: run this on a desktop, or render the production with build/ombra-capture." >&2
    exit 1
fi
exec build/ombra
