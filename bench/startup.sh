#!/usr/bin/env bash
# Times the demo from its start to its first frame against a bare GLUT program that opens the same
# surface and compiles the same shaders (bench/bare_window.cpp), under a virtual display, and
# prints the medians and the demo's own share. Usage: bench/startup.sh [RUNS] (default 21).
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-21}
build=$PWD/build

# Runs "$@" once and prints the milliseconds to its first frame.
first_frame() {
    OMBRA_LAUNCH_NS=$(date +%s%N) LD_PRELOAD="$build/bench/libfirst_frame_shim.so" \
        "$@" 2>&1 >/dev/null | sed -n 's/^first frame after \([0-9.]*\) ms$/\1/p'
}

median() {
    sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'
}

measure() {
    local scratch
    scratch=$(mktemp -d)
    for ((i = 0; i < runs; ++i)); do
        first_frame "$build/bench/bare_window" >>"$scratch/bare"
        (cd "$scratch" && first_frame "$build/ombra") >>"$scratch/demo"
    done
    bare=$(median <"$scratch/bare")
    demo=$(median <"$scratch/demo")
    rm -rf "$scratch"
    echo "bare GLUT program, same surface and shaders: ${bare} ms to the first frame (median of $runs)"
    echo "the demo: ${demo} ms to the first frame"
    awk -v d="$demo" -v b="$bare" 'BEGIN {printf "the demo'"'"'s own share: %.1f ms\n", d - b}'
}

if [[ -z "${DISPLAY:-}" ]]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
measure
