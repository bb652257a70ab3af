#!/usr/bin/env bash
# Plays an installed game once, as a user whose home is the given folder: starts the command
# on the display, waits for its window, quits with Escape, and checks that the user's own data
# folder now holds tobrin.cfg (with the settings given) and log.txt.
# Usage: play_installed.sh COMMAND HOME [SETTING...]
set -euo pipefail
command=$1
home=$2
shift 2

fail() { echo "FAIL: $*"; exit 1; }
[ -n "${DISPLAY:-}" ] || fail "needs a display"

env -u XDG_DATA_HOME HOME="$home" SDL_AUDIODRIVER=dummy "$command" "$@" &
game=$!

# A game that has ended is a zombie until it is waited for, which kill -0 still finds.
running() {
    local state
    state=$(sed 's/.*) //' "/proc/$game/stat" 2>/dev/null | cut -c1) || true
    [ -n "$state" ] && [ "$state" != Z ]
}

window=""
for _ in $(seq 600); do
    window=$(xdotool search --onlyvisible --pid "$game" --name '^Tobrin and the Fish$' 2>/dev/null |
             head -n 1) || true
    [ -n "$window" ] && break
    running || break
    sleep 0.1
done
[ -n "$window" ] || { kill "$game" 2>/dev/null; fail "no game window from $command"; }

# Escape is held until the game has gone: it reads held keys once a frame. The focus is given
# again each round, as a window just mapped on a loaded machine may not take it at once.
for _ in $(seq 300); do
    running || break
    xdotool windowfocus "$window" keydown Escape 2>/dev/null || true
    sleep 0.1
done
xdotool keyup Escape
status=0
wait "$game" || status=$?
[ "$status" -eq 0 ] || fail "the game ended with status $status"

folder="$home/.local/share/tobrin"
[ -f "$folder/tobrin.cfg" ] || fail "no tobrin.cfg in $folder"
[ -f "$folder/log.txt" ] || fail "no log.txt in $folder"
for setting in "$@"; do
    grep -qx -- "$setting" "$folder/tobrin.cfg" || fail "$setting was not passed on"
done
grep -q "^Settings are " "$folder/log.txt" || fail "the log shows no window"
echo "played from $folder"
