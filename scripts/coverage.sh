#!/usr/bin/env bash
# Line and branch coverage of the demo's and the renderer's code by the whole test suite (the
# sanitizer build's test aside): builds build-coverage/ with --coverage, runs the tests under a
# virtual display and prints, with gcovr, the figures per folder and per file. The full report
# goes to build-coverage/coverage.html.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-coverage -DCMAKE_BUILD_TYPE=Coverage -DOMBRA_BENCHMARKS=OFF \
    -DCMAKE_CXX_FLAGS_COVERAGE="-O1 -g --coverage" -DCMAKE_EXE_LINKER_FLAGS_COVERAGE=--coverage \
    >/dev/null
cmake --build build-coverage -j"$(nproc)" >/dev/null
find build-coverage -name '*.gcda' -delete
ALSOFT_DRIVERS=null xvfb-run -a -s "-screen 0 1024x768x24" \
    ctest --test-dir build-coverage -E '^Sanitizers\.' -j"$(nproc)" --timeout 600 >/dev/null ||
    echo "coverage: some tests failed; the figures below count what ran" >&2

sources=(app audio clock curves scene scenes shaders shapes text tools transitions)
filters=()
for folder in "${sources[@]}"; do
    filters+=(--filter "$folder/")
done
# Branches that only exceptions or the compiler's own checks take are left out of the count.
gcovr -r . build-coverage "${filters[@]}" --exclude-throw-branches \
    --exclude-unreachable-branches --json-summary build-coverage/coverage.json \
    --html-details build-coverage/coverage.html >/dev/null
python3 - build-coverage/coverage.json <<'EOF'
import json, sys
files = json.load(open(sys.argv[1]))["files"]
def percent(done, total):
    return f"{100 * done / total:5.1f}%" if total else "   - "
def row(name, f):
    return (f"{name:42} {percent(f['line_covered'], f['line_total'])} of {f['line_total']:5} "
            f"lines {percent(f['branch_covered'], f['branch_total'])} of {f['branch_total']:5} branches")
folders = {}
keys = ("line_covered", "line_total", "branch_covered", "branch_total")
for f in files:
    folder = f["filename"].rsplit("/", 1)[0]
    total = folders.setdefault(folder, dict.fromkeys(keys, 0))
    for key in keys:
        total[key] += f[key]
whole = {key: sum(t[key] for t in folders.values()) for key in keys}
print("Per folder:")
for folder in sorted(folders):
    print(row(folder + "/", folders[folder]))
print(row("all", whole))
print("\nPer file:")
for f in sorted(files, key=lambda f: f["filename"]):
    print(row(f["filename"], f))
EOF
