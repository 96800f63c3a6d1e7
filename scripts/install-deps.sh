#!/usr/bin/env bash
# Installs the Debian packages OMBRA needs to build, play and test, or those named as arguments,
# skipping what is there.
set -euo pipefail

packages=(
    build-essential cmake pkg-config clang-format
    freeglut3-dev libglew-dev libgl-dev libgl1-mesa-dri libxrandr-dev
    libopenal-dev libmpg123-dev libpng-dev libcli11-dev
    libgtest-dev libbenchmark-dev
    xvfb xauth x11-utils xdotool lame sox ffmpeg time pulseaudio
    dpkg-dev zip unzip file lintian desktop-file-utils icoutils man-db
    clang libclang-rt-14-dev gcovr ccache
)
if (($# > 0)); then
    packages=("$@")
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
if ((${#missing[@]} == 0)); then
    exit 0
fi

sudo=()
if ((EUID != 0)); then
    sudo=(sudo)
fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}"
