#!/usr/bin/env bash
# Builds the offline renderer with AddressSanitizer and LeakSanitizer into build-asan/, for the
# test that plays the whole production under them.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOMBRA_SANITIZE=ON \
    -DOMBRA_TESTS=OFF -DOMBRA_BENCHMARKS=OFF >/dev/null
cmake --build build-asan -j"$(nproc)" --target ombra-capture
