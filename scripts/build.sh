#!/usr/bin/env bash
# Configures and builds OMBRA into build/ (Release): everything, or only the targets named, such
# as ombra and ombra-capture.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
targets=()
for target in "$@"; do
    targets+=(--target "$target")
done
cmake --build build -j"$(nproc)" "${targets[@]}"
