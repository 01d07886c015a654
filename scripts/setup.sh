#!/usr/bin/env bash
# Installs what building and testing Cricklet need on Debian 12, then
# configures and builds. Run as root or with sudo available.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
    build-essential cmake ninja-build pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev qt6-svg-dev qt6-translations-l10n libgl-dev
    fonts-wqy-microhei
    lame python3 python3-mutagen libtag1-dev ffmpeg flac id3v2
    xvfb xauth xdotool
    clang libclang-rt-14-dev
    desktop-file-utils appstream lintian file
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

build_dir=${CRICKLET_BUILD_DIR:-build}
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCRICKLET_WERROR=ON "$@"
cmake --build "$build_dir"
