#!/usr/bin/env bash
# Fails when a C++ file of the project differs from what clang-format makes of it.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if ((${#files[@]} == 0)); then
    exit 0
fi
if ! clang-format --dry-run --Werror "${files[@]}"; then
    echo "Unformatted code: run clang-format -i on the files above." >&2
    exit 1
fi
