#!/usr/bin/env bash
# Installs the Debian 12 packages the game needs to build, run and be tested, and only
# those that are missing, so running it again costs nothing. Needs root for apt-get.
set -euo pipefail

PACKAGES=(
    cmake g++ make pkg-config
    libsdl1.2-compat-dev libsdl-image1.2-dev libsdl-mixer1.2-dev
    libgl-dev libgl1-mesa-dri libx11-dev zlib1g-dev
    googletest libgtest-dev libbenchmark-dev
    xvfb xauth xdotool xfonts-base
    xmp sox
    desktop-file-utils appstream
    clang libclang-rt-14-dev
)

missing=()
for package in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
