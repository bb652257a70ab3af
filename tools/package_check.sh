#!/usr/bin/env bash
# Builds the Debian package, installs it on this machine with apt, plays the installed game
# once as a user whose home is a temporary folder, and removes the package again.
# Needs root (apt-get) and starts its own X server.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install_deps.sh
tools/build.sh > /dev/null
(cd build && cpack -G DEB > /dev/null)
package=$(ls build/tobrin_*.deb | head -n 1)
echo "package: $package"
dpkg-deb --field "$package" Depends

work=$(mktemp -d)
cleanup() {
    DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq tobrin > /dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "./$package" > /dev/null

passed=0
failed=0
check() {
    if "$@"; then passed=$((passed + 1)); else echo "FAIL: $*"; failed=$((failed + 1)); fi
}
check test "$(command -v tobrin)" = /usr/bin/tobrin
check desktop-file-validate /usr/share/applications/io.github.tobrin.TobrinAndTheFish.desktop
check appstreamcli validate --no-net \
    /usr/share/metainfo/io.github.tobrin.TobrinAndTheFish.metainfo.xml > /dev/null
mkdir -p "$work/home"
check xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24" \
    tests/play_installed.sh tobrin "$work/home"
check test -f "$work/home/.local/share/tobrin/tobrin.cfg"

echo "package: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
