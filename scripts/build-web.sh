#!/usr/bin/env bash
# Builds OMBRA for the browser into build-web/: index.html (the page), ombra.js and ombra.wasm,
# which any static web server serves as they are. It installs Debian's Emscripten and CMake where
# they are missing (as root, or through sudo), has scripts/build-web-libraries.sh build libmpg123
# for WebAssembly (once; it is cached), and builds with emcmake and make on two cores, again only
# what changed.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh emscripten cmake

# Debian's Emscripten wants Debian's Python and Node.js modules, and Node.js 18 and later without
# their own fetch, which Emscripten's generated code would take for a browser's.
export EMSDK_PYTHON=/usr/bin/python3
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
export NODE_OPTIONS="--no-experimental-fetch${NODE_OPTIONS:+ $NODE_OPTIONS}"

mpg123=$(scripts/build-web-libraries.sh)
emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release -DOMBRA_MPG123_PREFIX="$mpg123" \
    >/dev/null
cmake --build build-web -j2
echo "build-web/index.html, ombra.js and ombra.wasm: serve build-web/ (python3 -m http.server -d build-web)"
