#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian 12 packages that are missing, so running it again costs nothing.
# Needs root (or sudo) for apt-get.
#   tools/install_deps.sh          what building, playing, testing and packaging the game need
#   tools/install_deps.sh --play   only what building and playing the game need
#   tools/install_deps.sh --web    only what building the browser build needs
set -euo pipefail

# Building and running the game. xfonts-base: SDL2's message box, which tells of a failed
# start, cannot open without the X core fonts.
PLAY_PACKAGES=(
    cmake g++ make pkg-config
    libsdl1.2-compat-dev libsdl-image1.2-dev libsdl-mixer1.2-dev
    libgl-dev libgl1-mesa-dri
    xfonts-base
)

# The browser build: Debian's Emscripten, with its own SDL and OpenGL emulation, and the tools
# that render the music modules, which browsers cannot play, to Ogg Vorbis.
WEB_PACKAGES=(
    emscripten xmp vorbis-tools python3
)

# The browser tests and benchmark drive Debian's Chromium through puppeteer-core from npm
# (tests/web/package-lock.json), which downloads no browser of its own.
WEB_TEST_PACKAGES=(
    chromium
)

# The tests, benchmarks, sanitizers and fuzzer, and checking the Debian package. The last
# line is what the classic SDL 1.2 library loads: the package check plays against it too.
TEST_PACKAGES=(
    libx11-dev
    googletest libgtest-dev libbenchmark-dev
    xvfb xauth xdotool
    xmp sox
    desktop-file-utils appstream
    clang libclang-rt-14-dev
    dpkg-dev lintian
    libasound2 libcaca0 libpulse0 libx11-6 libxext6
)

case "${1:-}" in
    --play) PACKAGES=("${PLAY_PACKAGES[@]}") ;;
    --web) PACKAGES=("${WEB_PACKAGES[@]}") ;;
    "") PACKAGES=("${PLAY_PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${WEB_PACKAGES[@]}"
                  "${WEB_TEST_PACKAGES[@]}") ;;
    *) echo "usage: $0 [--play | --web]" >&2; exit 2 ;;
esac

missing=()
for package in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

# Node.js comes with Emscripten; npm may come with that Node.js already, or else from Debian.
if [ "${1:-}" != "--play" ] && [ "${1:-}" != "--web" ] && ! command -v npm > /dev/null; then
    missing+=(npm)
fi

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    SUDO=""
    if [ "$(id -u)" -ne 0 ]; then
        SUDO="sudo"
    fi
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The browser tests' driver, as the lock file pins it, again only when the lock file changed.
if [ -z "${1:-}" ]; then
    web_tests="$(dirname "$0")/../tests/web"
    if [ ! -f "$web_tests/node_modules/.package-lock.json" ] ||
        [ "$web_tests/package-lock.json" -nt "$web_tests/node_modules/.package-lock.json" ]; then
        (cd "$web_tests" && npm ci --no-audit --no-fund --loglevel=error)
    fi
fi
