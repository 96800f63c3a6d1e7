#!/usr/bin/env bash
# Checks the manual pages against the programs they describe: every option a program's --help
# lists has its paragraph in its page and the page names no option --help does not, the page's version is the
# program's, it has the sections a user looks for, and man formats it without a warning.
#   check-manual-pages.sh BUILD_DIR
set -euo pipefail
build=$1
pages=$(cd "$(dirname "$0")/../../packaging/man" && pwd)
status=0
fail() {
    echo "$1" >&2
    status=1
}

check() {
    local program=$1 page=$2
    shift 2
    local help options documented section
    help=$("$build/$program" --help)
    options=$(grep -oE -- '--[a-z][a-z-]+' <<<"$help" | sort -u)
    # The options the page describes: each one's own paragraph, its name first in the tag.
    documented=$(awk '/^\.TP/ { getline; print }' "$page" | grep -oE -- '^\.B[IR]? \\-\\-[a-z\\-]+' |
        sed 's/^[^ ]* //; s/\\//g' | sort -u)
    [[ -n $options ]] || fail "$program --help lists no options"
    for option in $(comm -23 <(echo "$options") <(echo "$documented")); do
        fail "$page: no $option, which $program --help lists"
    done
    for option in $(comm -13 <(echo "$options") <(echo "$documented")); do
        fail "$page: $option, which $program --help does not list"
    done
    grep -qF "\"$("$build/$program" --version)\"" "$page" ||
        fail "$page: its header does not name $("$build/$program" --version)"
    for section in NAME SYNOPSIS DESCRIPTION OPTIONS FILES "EXIT STATUS" EXAMPLES "$@"; do
        grep -qx "\.SH \"\?$section\"\?" "$page" || fail "$page: no $section section"
    done
    # man's own check: groff's warnings about the page's markup, and lines too long to fit.
    local warnings
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 "$page" 2>&1 >/dev/null)
    [[ -z $warnings ]] || fail "$page: $warnings"
}

# GLUT's own options, passed on by the demo, are documented as such but not listed by --help.
check ombra "$pages/ombra.6" KEYS
check ombra-capture "$pages/ombra-capture.1"
((status == 0)) && echo "The manual pages list every option --help lists, and no other"
exit $status
