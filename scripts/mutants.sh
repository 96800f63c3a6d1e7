#!/usr/bin/env bash
# Plants one-line faults (mutants) one at a time in a scratch copy of the code, rebuilds it, runs
# the test suite (cheapest programs first, stopping at the first failure, no sanitizer build) and
# reports for each whether a test caught it, it survived, or it did not compile.
#
#   scripts/mutants.sh [--list FILE] [--only REGEX] [--skip TESTS] [--scratch DIR] [--check]
#
# The list (scripts/mutants.txt by default) holds blocks separated by blank lines:
#   path/to/file.cpp:LINE
#   - text before
#   + text after
#   = equivalent: why the fault cannot be observed     (optional)
# A mutant replaces the first occurrence of the text before on the line holding it nearest to LINE,
# so the list survives code moving up and down. --only keeps the mutants whose "file:line" or
# texts match REGEX. Results go to stdout and to RESULTS (mutants-results.txt in the scratch dir).
# --skip leaves out the tests matching TESTS (one that fails unmutated on this machine, say).
# --check builds nothing: it names the mutants whose text before is no longer in their file.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
list=$root/scripts/mutants.txt
only=.
scratch=${TMPDIR:-/tmp}/ombra-mutants
check=0
skip=
while (($#)); do
    case $1 in
    --list) list=$(realpath "$2") && shift ;;
    --only) only=$2 && shift ;;
    --skip) skip=${2:+|$2} && shift ;;
    --scratch) scratch=$2 && shift ;;
    --check) check=1 ;;
    *) sed -n '2,18s/^# \{0,1\}//p' "$0" && exit 2 ;;
    esac
    shift
done

# Prints the mutants as "file<TAB>line<TAB>before<TAB>after<TAB>equivalence" records.
read_list() {
    python3 - "$list" <<'EOF'
import re, sys
for block in re.split(r"\n\s*\n", open(sys.argv[1]).read()):
    lines = [l for l in block.strip().splitlines() if not l.startswith("#")]
    if not lines:
        continue
    fields = {l[:2]: l[2:] for l in lines[1:]}
    where, line = lines[0].rsplit(":", 1)
    print("\t".join([where, line, fields["- "], fields["+ "], fields.get("= ", "")]))
EOF
}

if ((check)); then
    stale=0
    while IFS=$'\t' read -r -u 3 file line before _; do
        grep -qF -- "$before" "$root/$file" 2>/dev/null || {
            echo "NOT FOUND  $file:$line  $before" && stale=1
        }
    done 3< <(read_list)
    exit $stale
fi

# The tests open windows: one virtual display for the whole run.
if [[ -z ${OMBRA_MUTANTS_DISPLAY:-} ]]; then
    exec env OMBRA_MUTANTS_DISPLAY=1 xvfb-run -a -s "-screen 0 1024x768x24" "$0" --list "$list" \
        --only "$only" --skip "${skip#|}" --scratch "$scratch"
fi
export ALSOFT_DRIVERS=null
trap 'trap - INT TERM; kill 0' INT TERM # its builds and tests go with it

src=$scratch/src
build=$scratch/build
results=$scratch/mutants-results.txt
# The scratch copy holds the committed files plus whatever is being worked on, never build dirs;
# the files keep their times, so the build dir kept from an earlier run rebuilds only what changed.
rm -rf "$src"
mkdir -p "$src"
(cd "$root" && git ls-files -z --cached --others --exclude-standard) |
    (cd "$root" && tar --null -T - -cf -) | tar -xf - -C "$src"
# A run cut off in the middle of a mutant leaves that fault compiled in the kept build dir, newer
# than the file copied back: that file is rebuilt.
[[ ! -f $scratch/mutated ]] || touch -c "$src/$(cat "$scratch/mutated")"
export CCACHE_BASEDIR=$scratch CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER:-ccache}
cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=Release -DOMBRA_BENCHMARKS=OFF >/dev/null
build_all() { cmake --build "$build" -j"$(nproc)" </dev/null >"$scratch/build.log" 2>&1; }
build_all || { echo "the unmutated copy does not build: $scratch/build.log" >&2 && exit 1; }

# Cheapest test programs first; the sanitizer build's own test is not part of a mutant run.
programs=(ombra_unit_tests ombra_release_tests ombra_gl_tests ombra_e2e_tests ombra_production_tests)
first_failure() {
    local label
    for label in "${programs[@]}"; do
        if ! ctest --test-dir "$build" -L "^$label\$" -E "^Sanitizers\\.$skip" -j"$(nproc)" \
            --stop-on-failure --timeout 600 </dev/null >"$scratch/ctest.log" 2>&1; then
            awk '/Test +#[0-9]+: / && !/Passed/ {print $4; exit}' "$scratch/ctest.log" | grep . ||
                echo "$label (see ctest.log)"
            return
        fi
    done
}

# Replaces the text before with the text after on the matching line nearest to the hint.
apply_mutant() {
    python3 - "$@" <<'EOF'
import sys
path, hint, before, after = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4]
lines = open(path).read().split("\n")
found = [i for i, l in enumerate(lines) if before in l]
if not found:
    sys.exit(f"{path}: no line holds {before!r}")
i = min(found, key=lambda i: abs(i + 1 - hint))
lines[i] = lines[i].replace(before, after, 1)
open(path, "w").write("\n".join(lines))
print(i + 1)
EOF
}

# A suite that fails without a fault would have every mutant "caught".
unmutated_failure=$(first_failure)
[[ -z $unmutated_failure ]] || { echo "the unmutated copy fails $unmutated_failure" >&2 && exit 1; }

: >"$results"
declare -A caught survived equivalent broken
start=$SECONDS
while IFS=$'\t' read -r -u 3 file line before after equivalence; do
    grep -qE -- "$only" <<<"$file:$line"$'\n'"$before"$'\n'"$after" || continue
    folder=${file%/*}
    mutant_start=$SECONDS
    cp "$src/$file" "$scratch/unmutated"
    echo "$file" >"$scratch/mutated"
    at=$(apply_mutant "$src/$file" "$line" "$before" "$after") || {
        rm "$scratch/mutated" && echo "NOT FOUND  $file:$line" | tee -a "$results" && continue
    }
    if ! build_all; then
        verdict="NO BUILD"
        broken[$folder]=$((${broken[$folder]:-0} + 1))
    elif failing=$(first_failure) && [[ -n $failing ]]; then
        verdict="CAUGHT     by $failing"
        caught[$folder]=$((${caught[$folder]:-0} + 1))
    elif [[ -n $equivalence ]]; then
        verdict="EQUIVALENT"
        equivalent[$folder]=$((${equivalent[$folder]:-0} + 1))
    else
        verdict="SURVIVED"
        survived[$folder]=$((${survived[$folder]:-0} + 1))
    fi
    cp "$scratch/unmutated" "$src/$file"
    rm "$scratch/mutated"
    printf '%-10s %s:%s  %s  ->  %s  (%ds)\n' "${verdict%% *}" "$file" "$at" "$before" "$after" \
        $((SECONDS - mutant_start)) | tee -a "$results"
    [[ $verdict != CAUGHT* ]] || echo "           ${verdict#CAUGHT     }" >>"$results"
done 3< <(read_list)
build_all

{
    printf '\n%-20s %7s %9s %11s %9s\n' folder caught survived equivalent "no build"
    for folder in $(printf '%s\n' "${!caught[@]}" "${!survived[@]}" "${!equivalent[@]}" \
        "${!broken[@]}" | sort -u); do
        printf '%-20s %7d %9d %11d %9d\n' "$folder" "${caught[$folder]:-0}" \
            "${survived[$folder]:-0}" "${equivalent[$folder]:-0}" "${broken[$folder]:-0}"
    done
    echo "took $((SECONDS - start)) s"
} | tee -a "$results"
