#!/usr/bin/env bash
# Builds the libraries of OMBRA's Windows programs with Debian's MinGW-w64 compiler, once, into a
# cache outside the work tree keyed by this script and the toolchain, and prints that folder.
# Each library comes from Debian's source tarball, checked against the SHA-256 pinned below.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=2 # the machine's cores are shared: libraries build on two at most

# Package, the suite that holds the wanted version, its .orig tarball and that tarball's SHA-256.
# OpenAL Soft 1.19.1's tarball is gone from Debian 12's pool; 1.24.2 is in the next release's.
sources=(
    "freeglut bookworm freeglut_3.4.0.orig.tar.gz 3c0bcb915d9b180a97edaebd011b7a1de54583a838644dcd42bb0ea0c6f3eaec"
    "glew bookworm glew_2.2.0.orig.tar.xz 971e9bd3e3561e2c33cd1722129a1a44186790e93f4a79e843a0dc8bd1fb1db1"
    "mpg123 bookworm mpg123_1.31.2.orig.tar.bz2 b17f22905e31f43b6b401dfdf6a71ed11bb7d056f68db449d70b9f9ae839c7de"
    "libpng1.6 bookworm libpng1.6_1.6.39.orig.tar.gz a00e9d2f2f664186e4202db9299397f851aea71b36a35e74910b8820e380d441"
    "openal-soft trixie openal-soft_1.24.2.orig.tar.gz 7efd383d70508587fbc146e4c508771a2235a5fc8ae05bf6fe721c20a348bd7c"
)
toolchain=$PWD/scripts/mingw-w64-toolchain.cmake

cache=${XDG_CACHE_HOME:-$HOME/.cache}/ombra-windows
key=$(cat "$0" "$toolchain" | sha256sum | cut -c1-16)
prefix=$cache/$key

# The machine's own Debian archive, as its apt sources name it, for the source packages.
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
    local keyring=/usr/share/keyrings/debian-archive-keyring.gpg
    printf 'deb-src [signed-by=%s] %s %s main\n' "$keyring" "$archive" bookworm "$keyring" \
        "$archive" trixie >"$dir/sources/ombra.list"
    local updated=
    for entry in "${sources[@]}"; do
        read -r package suite file sha256 <<<"$entry"
        [[ -f $cache/sources/$file ]] && continue
        if [[ -z $updated ]]; then
            private_apt update >/dev/null
            updated=1
        fi
        local uri
        uri=$(private_apt --print-uris source "$package/$suite" | awk -v f="$file" '$2 == f {
            gsub("\047", "", $1); print $1 }')
        [[ -n $uri ]] || { echo "$file: not in Debian's $suite sources" >&2; exit 1; }
        /usr/lib/apt/apt-helper download-file "$uri" "$cache/sources/$file.part" \
            "SHA256:$sha256" 2>&1 | grep -v 'unsandboxed' || true
        echo "$sha256  $cache/sources/$file.part" | sha256sum -c --quiet
        mv "$cache/sources/$file.part" "$cache/sources/$file"
    done
}

# Unpacks a tarball into the work folder and prints the folder it made.
unpack() {
    local file=$cache/sources/$1
    tar -xf "$file" -C "$work"
    tar -tf "$file" | head -1 | cut -d/ -f1 | sed "s|^|$work/|"
}

# Configures, builds and installs one CMake project for Windows, its output kept in a log that is
# shown when a step fails. The files are installed under the staging folder with the prefix's
# final path in them, so that the .pc files point where the libraries will be.
cmake_library() {
    local source=$1 name=$2
    shift 2
    local log=$work/$name.log
    if ! {
        cmake -S "$source" -B "$work/build-$name" -G "Unix Makefiles" -DCMAKE_BUILD_TYPE=Release \
            -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$prefix" "$@" &&
            cmake --build "$work/build-$name" -j"$jobs" &&
            DESTDIR=$work/dest cmake --install "$work/build-$name"
    } >"$log" 2>&1; then
        tail -40 "$log" >&2
        echo "Building $name for Windows failed" >&2
        exit 1
    fi
}

build_libraries() {
    work=$(mktemp -d "$cache/work.XXXXXX")
    staging=$work/dest$prefix
    trap 'rm -rf "$work"' EXIT
    echo "Building the Windows libraries into $prefix (once)"
    local zlib=/usr/x86_64-w64-mingw32/lib/libz.a
    cmake_library "$(unpack libpng1.6_1.6.39.orig.tar.gz)" libpng -DPNG_SHARED=OFF \
        -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DZLIB_LIBRARY="$zlib" \
        -DZLIB_INCLUDE_DIR=/usr/x86_64-w64-mingw32/include
    cmake_library "$(unpack freeglut_3.4.0.orig.tar.gz)" freeglut -DFREEGLUT_BUILD_SHARED_LIBS=OFF \
        -DFREEGLUT_BUILD_STATIC_LIBS=ON -DFREEGLUT_BUILD_DEMOS=OFF
    cmake_library "$(unpack glew_2.2.0.orig.tar.xz)/build/cmake" glew -DBUILD_SHARED_LIBS=OFF \
        -DBUILD_UTILS=OFF
    cmake_library "$(unpack mpg123_1.31.2.orig.tar.bz2)/ports/cmake" mpg123 -DBUILD_SHARED_LIBS=ON \
        -DBUILD_LIBOUT123=OFF -DNETWORK=OFF
    # libmpg123 is built with 64-bit file offsets and names its functions for them (mpg123_open_64
    # and so on); its header picks those names where _FILE_OFFSET_BITS says so.
    sed -i 's|^Cflags: .*|& -D_FILE_OFFSET_BITS=64|' "$staging/lib/pkgconfig/libmpg123.pc"
    cmake_library "$(unpack openal-soft_1.24.2.orig.tar.gz)" openal -DLIBTYPE=SHARED \
        -DALSOFT_UTILS=OFF -DALSOFT_EXAMPLES=OFF -DALSOFT_TESTS=OFF -DALSOFT_INSTALL_EXAMPLES=OFF \
        -DALSOFT_INSTALL_UTILS=OFF
    # CLI11 is a header-only library: Debian's copy, which the Linux build uses, serves as is.
    mkdir -p "$staging/include" "$staging/share/cmake"
    cp -r /usr/include/CLI "$staging/include/"
    cp -r /usr/share/cmake/CLI11 "$staging/share/cmake/"
    copy_licences
    rm -rf "$prefix"
    mv "$staging" "$prefix"
}

# The licences of everything the Windows programs hold or load, for the release archive.
copy_licences() {
    local to=$staging/licences
    mkdir -p "$to"
    cp "$work"/libpng-1.6.39/LICENSE "$to/libpng.txt"
    cp "$work"/freeglut-3.4.0/COPYING "$to/freeglut.txt"
    cp "$work"/glew-2.2.0/LICENSE.txt "$to/glew.txt"
    cp "$work"/mpg123-1.31.2/COPYING "$to/mpg123.txt"
    cp "$work"/openal-soft-1.24.2/COPYING "$to/openal-soft.txt"
    cp /usr/share/doc/libcli11-dev/copyright "$to/cli11.txt"
    cp /usr/share/doc/libz-mingw-w64-dev/copyright "$to/zlib.txt"
    cp /usr/share/doc/gcc-mingw-w64-base/copyright "$to/gcc-runtime.txt"
    cp /usr/share/doc/mingw-w64-x86-64-dev/copyright "$to/mingw-w64.txt"
}

if [[ ! -f $prefix/.complete ]]; then
    fetch_sources >&2
    build_libraries >&2
    touch "$prefix/.complete"
fi
echo "$prefix"

