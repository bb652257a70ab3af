#!/usr/bin/env bash
# Installs the game into a temporary prefix and plays it from there as a new user would: the
# desktop entry and metainfo validate, the user's settings land in their own data folder, the
# installed resources are found through it, and nothing is written into the install folders.
# Usage: install_test.sh BUILD_DIR
set -euo pipefail
build=$1
here=$(dirname "$(readlink -f "$0")")
work=$(mktemp -d)
xvfb=""
trap '[ -z "$xvfb" ] || kill "$xvfb"; rm -rf "$work"' EXIT
# An X server of its own, whose number the server picks and tells: a number chosen beforehand
# (xvfb-run --auto-servernum) can be taken by another suite starting at the same moment.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3> "$work/display" 2> /dev/null &
xvfb=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || { echo "FAIL: Xvfb did not start (Debian package xvfb)"; exit 1; }
export DISPLAY=":$(head -n 1 "$work/display")"
passed=0
failed=0
check() {
    if "$@"; then passed=$((passed + 1)); else echo "FAIL: $*"; failed=$((failed + 1)); fi
}

prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" > /dev/null
check desktop-file-validate "$prefix"/share/applications/*.desktop
check appstreamcli validate --no-net --pedantic "$prefix"/share/metainfo/*.metainfo.xml > /dev/null
check test -f "$prefix/share/icons/hicolor/256x256/apps/tobrin.png"
check test -x "$prefix/libexec/tobrin/tobrin"
find "$prefix" -printf '%p %s %T@\n' | sort > "$work/before"

mkdir -p "$work/home"
check "$here/play_installed.sh" "$prefix/games/tobrin" "$work/home" VIDEO_WIDTH=320 VIDEO_HEIGHT=240
folder="$work/home/.local/share/tobrin"
check test "$(readlink -f "$folder/resources")" = "$(readlink -f "$prefix/share/games/tobrin/resources")"
# A second start keeps the user's settings.
check "$here/play_installed.sh" "$prefix/games/tobrin" "$work/home"
check grep -qx VIDEO_WIDTH=320 "$folder/tobrin.cfg"
# A recording named from where the command is typed is still found once the game plays in the
# user's folder (this one is refused: it is no recording).
echo "no recording" > "$work/sent.replay"
status=0
(cd "$work" && env -u XDG_DATA_HOME HOME="$work/home" SDL_AUDIODRIVER=dummy \
    "$prefix/games/tobrin" --watch sent.replay > /dev/null 2> "$work/watch.err") || status=$?
check test "$status" -eq 1
check grep -q "recording $work/sent.replay is refused: not a recording of this game" "$work/watch.err"

# The installation moved elsewhere: the user's folder follows it.
mv "$prefix" "$work/moved"
check "$here/play_installed.sh" "$work/moved/games/tobrin" "$work/home"
check test "$(readlink -f "$folder/resources")" = "$(readlink -f "$work/moved/share/games/tobrin/resources")"
find "$work/moved" -printf '%p %s %T@\n' | sed "s|$work/moved|$prefix|" | sort > "$work/after"
check cmp -s "$work/before" "$work/after"  # nothing written into the install folders

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
