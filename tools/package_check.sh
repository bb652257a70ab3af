#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package as a packager would and holds it to Debian's policy with lintian;
# installs it with apt, plays the installed game once as a new user on SDL2's compatibility
# layer and once on the classic SDL 1.2 library, which apt chooses for libsdl1.2debian on a
# fresh Debian 12; then removes the package again.
# Needs root (apt-get) and the network (apt-get download); starts its own X servers.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install_deps.sh
package=$(tools/package.sh)
echo "package: $package"
dpkg-deb --field "$package" Depends

work=$(mktemp -d)
cleanup() {
    DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq tobrin > /dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT

passed=0
failed=0
check() {
    if "$@"; then passed=$((passed + 1)); else echo "FAIL: $*"; failed=$((failed + 1)); fi
}

# Errors and warnings fail; informational and pedantic tags are shown.
lint() {
    local status=0
    lintian --pedantic --display-info --display-experimental --fail-on error,warning \
        "$package" > "$work/lintian.txt" 2>&1 || status=$?
    grep -v '^running with root privileges' "$work/lintian.txt" || true
    return "$status"
}
check lint

# Reinstalled, should a package of the same version be there already.
DEBIAN_FRONTEND=noninteractive apt-get install --reinstall -y -qq "./$package" > /dev/null
check test -x /usr/games/tobrin
check test "$(/usr/games/tobrin --version)" = "tobrin $(dpkg-deb --field "$package" Version)"
check desktop-file-validate /usr/share/applications/io.github.tobrin.TobrinAndTheFish.desktop
check appstreamcli validate --no-net --pedantic \
    /usr/share/metainfo/io.github.tobrin.TobrinAndTheFish.metainfo.xml > /dev/null

# Plays as a new user named for the run; further arguments are variables to set.
play() {
    local home="$work/home-$1"
    shift
    mkdir -p "$home"
    env "$@" xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24 -noreset" \
        tests/play_installed.sh /usr/games/tobrin "$home" &&
        test -f "$home/.local/share/tobrin/tobrin.cfg"
}
check play compat

# The classic library, unpacked beside the system's compatibility layer (the two cannot be
# installed together). The loader's record shows which one the game ran on.
(cd "$work" && apt-get download -qq -o APT::Sandbox::User=root libsdl1.2debian)
dpkg-deb -x "$work"/libsdl1.2debian_*.deb "$work/classic"
classic_lib=$(dirname "$(find "$work/classic" -name 'libSDL-1.2.so.0' | head -n 1)")
played_classic() {
    grep -qs "calling init: $classic_lib/libSDL-1.2.so.0" "$work"/loader.*
}
check play classic LD_LIBRARY_PATH="$classic_lib" LD_DEBUG=libs LD_DEBUG_OUTPUT="$work/loader"
check played_classic
# Started with no display at all (from a text console, say), it fails its start (status 1)
# on that library too and says why, rather than crash or hand the console to one of the
# library's text-mode drivers.
no_display() {
    local status=0
    env -u DISPLAY -u WAYLAND_DISPLAY LD_LIBRARY_PATH="$classic_lib" SDL_AUDIODRIVER=dummy \
        HOME="$work/home-classic" /usr/games/tobrin > "$work/no_display" 2>&1 || status=$?
    test "$status" -eq 1 && grep -q "Cannot initialise SDL video subsystem" "$work/no_display"
}
check no_display

echo "package: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
