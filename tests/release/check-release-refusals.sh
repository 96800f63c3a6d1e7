#!/usr/bin/env bash
# Checks that scripts/release.sh refuses, in one line and before building anything, a release
# without a manual page or an icon, of a version the changelog does not tell of, or with a
# Maintainer that is not "Name <address>"; and that
# it leaves no archive behind then. It runs a copy of the script in a scratch tree of its own,
# where the first step past the checks, installing packages, is a stand-in that ends it with 42.
set -euo pipefail
source=$(cd "$(dirname "$0")/../.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
status=0

# Runs the release in a fresh copy without `missing`, with `maintainer` set; prints its stderr,
# and a line more when an older archive is left, and returns its status.
release() {
    local missing=$1 maintainer=$2 version=${3:-} tree code=0
    tree=$(mktemp -d -p "$scratch")
    mkdir -p "$tree/scripts" "$tree/dist"
    cp "$source/scripts/release.sh" "$tree/scripts/"
    printf '#!/bin/sh\nexit 42\n' >"$tree/scripts/install-deps.sh"
    chmod +x "$tree/scripts/install-deps.sh"
    cp -r "$source/packaging" "$source/CMakeLists.txt" "$tree/"
    touch "$tree/dist/ombra_0_amd64.deb"
    [[ -z $missing ]] || rm "$tree/$missing"
    [[ -z $version ]] || sed -i -E "s/^(project\(ombra VERSION )[0-9.]+/\1$version/" "$tree/CMakeLists.txt"
    OMBRA_MAINTAINER=$maintainer "$tree/scripts/release.sh" 2>&1 >/dev/null || code=$?
    [[ ! -e $tree/dist ]] || echo "(an older archive left in dist/)"
    return $code
}

# Wants the release to stop with `line` alone on stderr.
refuses() {
    local missing=$1 maintainer=$2 line=$3 version=${4:-} err code=0
    err=$(release "$missing" "$maintainer" "$version") || code=$?
    if ((code == 0 || code == 42)); then
        echo "release.sh went on without $missing, maintainer \"$maintainer\"" >&2 && status=1
    elif [[ $err != "$line" ]]; then
        echo "release.sh said \"$err\", not \"$line\"" >&2 && status=1
    fi
}

for file in packaging/man/ombra.6 packaging/man/ombra-capture.1 packaging/icons/ombra-48.png \
    packaging/icons/ombra-128.png packaging/icons/ombra-256.png packaging/icons/ombra.ico; do
    refuses "$file" "" "release.sh: $file is missing; no archive made"
done
for maintainer in "The OMBRA developers" "<a@b.org>" "A B <a@b>" "A, B <a@b.org>" "A B a@b.org"; do
    refuses "" "$maintainer" \
        "release.sh: OMBRA_MAINTAINER is \"$maintainer\", not \"Name <address>\""
done
# A version the changelog does not yet tell of.
refuses "" "" "release.sh: packaging/changelog's latest entry is for \"1.1\", not 9.9" 9.9

# Names and addresses as Debian sees them well formed go on to the build.
for maintainer in "" "Ada Lovelace <ada@example.org>" "Jean-Luc O'Neill <j.l+ombra@mail.example.co.uk>"; do
    code=0
    release "" "$maintainer" >/dev/null || code=$?
    ((code == 42)) || { echo "release.sh refused maintainer \"$maintainer\"" >&2 && status=1; }
done
((status == 0)) && echo "release.sh refuses a release without its pages or icons, or a bad Maintainer"
exit $status
