#!/usr/bin/env bash
# Builds libmpg123 for the browser build (WebAssembly, with Debian's Emscripten), once, into a
# cache outside the work tree keyed by this script's text, and prints that folder.
#
# On success it prints exactly one line on stdout: the install prefix, which holds
# include/mpg123.h (with fmt123.h and mpg123's other public headers) and lib/libmpg123.a. Every
# other line, its own and the build's, goes to stderr. It installs Debian's emscripten package
# when emcc is missing (as root, or through sudo). The library comes from Debian's source
# package, each of its files checked against the SHA-256 pinned below.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=2 # the machine's cores are shared: the library builds on two at most

# The source package, the suite that holds it, and its files with their SHA-256. The upstream
# signature (.asc) is not fetched: the archive no longer serves it, and the pinned hashes stand in
# for it.
package=mpg123
suite=bookworm
version=1.31.2
files=(
    "mpg123_1.31.2-1+deb12u1.dsc a67b2daf33ecf2d2a720e0cd721ac44828f1edee644abac34d8022819abbbb1a"
    "mpg123_1.31.2.orig.tar.bz2 b17f22905e31f43b6b401dfdf6a71ed11bb7d056f68db449d70b9f9ae839c7de"
    "mpg123_1.31.2-1+deb12u1.debian.tar.xz 9fc7eeeb4be67525fb7901022955b646832f095499612672ad7c24a1b3303599"
)

cache=${XDG_CACHE_HOME:-$HOME/.cache}/ombra-web
key=$(sha256sum <"$0" | cut -c1-16)
prefix=$cache/$key

# Debian's Emscripten runs its tools with the Python and the Node.js modules Debian ships: a
# python3 earlier on PATH (pyenv, a virtualenv) or a Node.js from elsewhere would lack them.
# Node.js 18 and later answer configure's test programs with their own fetch, which Emscripten's
# generated code mistakes for a browser's; switched off, the tests run as under Debian's Node.js.
export EMSDK_PYTHON=/usr/bin/python3
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
export NODE_OPTIONS="--no-experimental-fetch${NODE_OPTIONS:+ $NODE_OPTIONS}"

as_root() {
    if [[ $(id -u) == 0 ]]; then "$@"; else sudo "$@"; fi
}

install_emscripten() {
    command -v emcc >/dev/null && return
    echo "Installing Debian's emscripten package"
    as_root apt-get -q update >/dev/null
    as_root env DEBIAN_FRONTEND=noninteractive apt-get -q install -y --no-install-recommends \
        emscripten >/dev/null
}

# The machine's own Debian archive, as its apt sources name it, for the source package.
debian_archive() {
    apt-cache policy | awk '
        $3 == "bookworm/main" && $5 == "Packages" { uri = $2; next }
        uri && /release .*o=Debian,.*l=Debian,/ { print uri; exit }
        { uri = "" }'
}

# apt with deb-src lines of its own: the system's sources and lists are left as they are.
private_apt() {
    local dir=$cache/apt
    apt-get -q -o Dir::Etc::sourcelist=/dev/null -o Dir::Etc::sourceparts="$dir/sources" \
        -o Dir::State::Lists="$dir/lists" -o Dir::Cache="$dir/cache" "$@"
}

fetch_sources() {
    local archive dir=$cache/apt
    archive=$(debian_archive)
    [[ -n $archive ]] || { echo "No Debian 12 archive among the apt sources" >&2; exit 1; }
    mkdir -p "$dir/sources" "$dir/lists/partial" "$dir/cache/archives/partial" "$cache/sources"
    printf 'deb-src [signed-by=%s] %s %s main\n' /usr/share/keyrings/debian-archive-keyring.gpg \
        "$archive" "$suite" >"$dir/sources/ombra.list"
    local uris= entry file sha256
    for entry in "${files[@]}"; do
        read -r file sha256 <<<"$entry"
        [[ -f $cache/sources/$file ]] && continue
        if [[ -z $uris ]]; then
            private_apt update >/dev/null
            uris=$(private_apt --print-uris source "$package/$suite")
        fi
        local uri
        uri=$(awk -v f="$file" '$2 == f { gsub("\047", "", $1); print $1 }' <<<"$uris")
        [[ -n $uri ]] || { echo "$file: not in Debian's $suite sources" >&2; exit 1; }
        /usr/lib/apt/apt-helper download-file "$uri" "$cache/sources/$file.part" \
            "SHA256:$sha256" 2>&1 | grep -v 'unsandboxed' || true
        echo "$sha256  $cache/sources/$file.part" | sha256sum -c --quiet
        mv "$cache/sources/$file.part" "$cache/sources/$file"
    done
}

# Runs one build step with its output in a log, shown when the step fails.
step() {
    local name=$1 log=$work/$1.log
    shift
    if ! "$@" >"$log" 2>&1; then
        tail -40 "$log" >&2
        echo "Building libmpg123 for the web failed at: $name" >&2
        exit 1
    fi
}

# The library alone, static, in portable C: no programs, no audio outputs or modules, no network
# code, and the generic decoder with floating-point synthesis (no x86 assembly in wasm). Without
# --host, configure sees emcc as a native compiler and runs its test programs under Node.js.
build_library() {
    work=$(mktemp -d "$cache/work.XXXXXX")
    trap 'rm -rf "$work"' EXIT
    echo "Building libmpg123 for the web into $prefix (once)"
    local source=$work/mpg123-$version
    step unpack dpkg-source -x --no-check "$cache/sources/${files[0]%% *}" "$source"
    cd "$source"
    step configure emconfigure ./configure --prefix="$prefix" --disable-shared --enable-static \
        --with-cpu=generic_fpu --disable-modules --with-audio=dummy --enable-network=no \
        --disable-debug CFLAGS=-O2
    step make emmake make -j"$jobs" src/libmpg123/libmpg123.la
    local staging=$work/staging
    mkdir -p "$staging/include" "$staging/lib" "$staging/licences"
    cp src/libmpg123/mpg123.h src/libmpg123/fmt123.h "$staging/include/"
    cp src/libmpg123/.libs/libmpg123.a "$staging/lib/"
    cp COPYING "$staging/licences/mpg123.txt"
    cd - >/dev/null
    rm -rf "$prefix"
    mv "$staging" "$prefix"
}

if [[ ! -f $prefix/.complete ]]; then
    install_emscripten >&2
    fetch_sources >&2
    build_library >&2
    touch "$prefix/.complete"
fi
echo "$prefix"
