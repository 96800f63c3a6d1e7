#!/usr/bin/env bash
# Fuzzes the soundtrack reader for SECONDS (default 60) with libFuzzer, starting from small MP3s
# made here with sox and lame: mono and stereo, 22.05, 44.1 and 48 kHz, cut mid-frame, with ID3
# tags. Inputs that crash it are kept in build-fuzz/findings/.
#   scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
cmake -S fuzz -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build-fuzz -j"$(nproc)" >/dev/null

seeds=build-fuzz/seeds
corpus=build-fuzz/corpus
mkdir -p "$seeds" "$corpus" build-fuzz/findings
tone() { # NAME RATE CHANNELS SECONDS [lame options...]
    local name=$1 rate=$2 channels=$3 length=$4
    shift 4
    [[ -s $seeds/$name.mp3 ]] ||
        sox -n -r "$rate" -c "$channels" -t wav - synth "$length" sine 440 |
        lame --quiet "$@" - "$seeds/$name.mp3"
}
tone mono-22k 22050 1 0.3
tone stereo-44k 44100 2 0.3
tone stereo-48k 48000 2 0.3
tone mono-48k-vbr 48000 1 0.3 -V 5
tone stereo-44k-no-header 44100 2 0.2 -t
tone tagged 44100 2 0.2 --add-id3v2 --tt Title --ta Artist --ty 2022
tone tagged-v1 22050 2 0.2 --id3v1-only --tt Title
head -c 1000 "$seeds/stereo-44k.mp3" >"$seeds/cut-mid-frame.mp3"
head -c 700 "$seeds/tagged.mp3" >"$seeds/tagged-cut.mp3"


build-fuzz/soundtrack_fuzz -max_total_time="$seconds" -max_len=8192 \
    -timeout=20 -print_final_stats=1 -artifact_prefix=build-fuzz/findings/ "$corpus" "$seeds"
