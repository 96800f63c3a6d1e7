#!/bin/sh
# Run after the end-to-end tests: fails when an Xvfb server that one of them started (its
# environment names this build) is still running a minute after the last test ended.
build="$1"
left() {
    for environ in /proc/[0-9]*/environ; do
        dir=${environ%/environ}
        [ "$(cat "$dir/comm" 2>/dev/null)" = Xvfb ] || continue
        if tr '\0' '\n' < "$environ" 2>/dev/null | grep -qx "OMBRA_TEST_BUILD=$build"; then
            echo "${dir#/proc/}"
        fi
    done
}
tries=0
while [ -n "$(left)" ] && [ "$tries" -lt 60 ]; do
    sleep 1
    tries=$((tries + 1))
done
servers=$(left)
if [ -n "$servers" ]; then
    echo "Xvfb servers the tests started are still running:" $servers >&2
    exit 1
fi
