#!/usr/bin/env bash
# Fails when an include points up the layers: each folder may include its own files and those of
# folders below it, never a folder above it or beside it.
set -euo pipefail
cd "$(dirname "$0")/.."

# From the top down; folders on one line stand side by side.
layers=(
    "web"
    "app"
    "scenes"
    "transitions text curves scene"
    "shapes shaders"
    "gfx"
    "audio"
    "music clock random"
)

declare -A rank
for i in "${!layers[@]}"; do
    for folder in ${layers[$i]}; do
        rank[$folder]=$i
    done
done

status=0
while IFS=: read -r file line include; do
    from=${file%%/*}
    to=$(sed -E 's/.*#include "([^/"]+)\/.*/\1/' <<<"$include")
    [[ -n ${rank[$from]:-} && -n ${rank[$to]:-} && $from != "$to" ]] || continue
    if ((rank[$to] <= rank[$from])); then
        echo "$file:$line includes $to/, which is not below $from/" >&2
        status=1
    fi
done < <(git grep -n -E '^#include "[a-z_]+/' -- '*.cpp' '*.h')
exit $status
