#!/usr/bin/env bash
# Renders the whole production with the offline renderer and prints, per Scene and outro, the
# median, 95th percentile and worst frame render time from frames.csv, and the 99th percentile of
# all frames but the first; then makes the whole production as a video with its sound and prints
# the time taken as a multiple of the production's length, and the render's peak memory.
# Usage: bench/production.sh [--size WxH] [--preset NAME] [--no-video]
set -euo pipefail
cd "$(dirname "$0")/.."
capture=$PWD/build/ombra-capture
size=640x480
preset=()
video=yes
arguments=("$@")
usage="usage: bench/production.sh [--size WxH] [--preset NAME] [--no-video]"
while (($#)); do
    case $1 in
    --size) size=${2:?$usage}; shift 2 ;;
    --preset) preset=(--preset "${2:?$usage}"); shift 2 ;;
    --no-video) video=no; shift ;;
    *) echo "$usage" >&2; exit 2 ;;
    esac
done
if [[ ! -x $capture ]]; then
    echo "bench/production.sh: build the programs first (scripts/build.sh)" >&2
    exit 1
fi
if [[ -z "${DISPLAY:-}" ]]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "${arguments[@]}"
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# The renderer refuses a frame past the end and names the last one.
last=$("$capture" --out "$scratch/probe" --frames 999999999 2>&1 >/dev/null |
    sed -n 's/.*last frame at 60 fps is \([0-9]*\).*/\1/p' || true)
rm -rf "$scratch/probe"

echo "$(nproc) cores, load average $(cut -d' ' -f1 /proc/loadavg) before the run"
echo "Frame render times at $size, in milliseconds from the frame's start to glFinish:"
"$capture" --out "$scratch/frames" --frames "$last" --seed 1 --quiet --size "$size" >/dev/null
# Every frame's time in its group, the groups in the production's order, fastest first, so that
# each group's list comes out sorted; the first frame, which builds the Scenes' caches, is left out
# of the whole production's figure.
tail -n +2 "$scratch/frames/frames.csv" | sort -t, -k6,6g | awk -F, '
    { group = "Scene " $3 ($4 == "play" ? "" : " outro"); times[group, ++count[group]] = $6
      if ($1 != 0) times["all", ++count["all"]] = $6 }
    function report(group, label,   n) {
        n = count[group]
        printf "  %-22s median %6.2f   95%% %6.2f   99%% %6.2f   worst %6.2f   (%d frames)\n", label,
            times[group, int((n + 1) / 2)], times[group, int(n * 0.95 + 0.999)],
            times[group, int(n * 0.99 + 0.999)], times[group, n], n
    }
    END {
        for (scene = 1; scene <= 6; ++scene) {
            report("Scene " scene, "Scene " scene); report("Scene " scene " outro", "Scene " scene " outro")
        }
        report("all", "all but the first")
    }'

if [[ $video == yes ]]; then
    # The video carries Ombra.mp3 from the working directory; without it, a stand-in of the
    # production's length, so that the sound's decoding and encoding are paid for as well.
    if [[ -f Ombra.mp3 ]]; then
        ln -s "$PWD/Ombra.mp3" "$scratch/Ombra.mp3"
    else
        sox -n -r 44100 -c 2 -b 16 "$scratch/tone.wav" synth 140 sine 220 vol 0.3
        lame --quiet -b 192 "$scratch/tone.wav" "$scratch/Ombra.mp3"
    fi
    cd "$scratch"
    start=$(date +%s.%N)
    /usr/bin/time -f "%M" -o "$scratch/peak" \
        "$capture" --video "$scratch/production.mp4" --seed 1 --quiet --size "$size" \
        "${preset[@]}" >/dev/null
    end=$(date +%s.%N)
    awk -v s="$start" -v e="$end" -v f="$((last + 1))" -v kb="$(cat "$scratch/peak")" 'BEGIN {
        printf "Whole production as an H.264 video at '"$size"': %.1f s for %.2f s shown, %.2fx its length; peak memory %.0f MB (the larger of the renderer and ffmpeg)\n",
            e - s, f / 60, (e - s) / (f / 60), kb / 1024 }'
fi
