#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The figures that matter to a player and to us, in one run on a private X server: the
# simulation step at a typical and at the full population, drawn frames of menu and chase
# against an empty frame, the world's start-up, the real game's time to its first frame and
# its peak memory over a few seconds of the menu; then the real game's own logged frame rate
# in the menu and in a chase against a window that only clears and swaps, at 640x480 and at
# 1920x1080, with the peak memory of both. The empty window is measured twice: opened as the
# game opens its own, drawn into straight, and as SDL 1.2 opens one by default, where
# sdl12-compat copies every frame into the window from a framebuffer of its own.
# Usage: bench/figures.sh [RUNS]   (after tools/build.sh; RUNS repeats the frame rates, 1 by
# default, for a range on a busy machine)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"
runs=${1:-1}
for program in bench/tobrin_bench bench/tobrin_empty_frame tobrin; do
    [ -x "$build/$program" ] || { echo "build first: tools/build.sh"; exit 1; }
done
command -v xdotool > /dev/null || { echo "needs xdotool (Debian package xdotool)"; exit 1; }

# Mesa's software renderer, as a player without a graphics card has it; no sound card needed.
export LIBGL_ALWAYS_SOFTWARE=1 SDL_AUDIODRIVER=dummy
# The window as the game chooses it, whatever the caller's environment asks of sdl12-compat.
unset SDL12COMPAT_OPENGL_SCALING
exec xvfb-run --auto-servernum --server-args="-screen 0 1920x1080x24" \
    bash -s "$root" "$build" "$runs" <<'RUN'
set -euo pipefail
root=$1
build=$2
runs=$3
"$build/bench/tobrin_bench" --benchmark_filter='Simulate|ActorsUpdate|DrawnFrame|WorldTaskStart' \
    2>/dev/null | grep -E '^(BM_|Benchmark|-)'

scratch=$(mktemp -d)
trap 'jobs -p | xargs -r kill 2> /dev/null; rm -rf "$scratch"' EXIT

# A fresh folder for one run of the game: its pictures and sounds, and settings for a window
# of the given size that does not wait for the display's refresh.
game_folder() {
    local folder
    folder=$(mktemp -d "$scratch/game.XXXX")
    cp -r "$root/resources" "$folder/"
    printf 'VIDEO_WIDTH=%s\nVIDEO_HEIGHT=%s\nVIDEO_VSYNC=0\n' "$1" "$2" > "$folder/tobrin.cfg"
    echo "$folder"
}

work=$(game_folder 640 480)
cd "$work"
"$build/tobrin" > /dev/null 2>&1 &
game=$!
sleep 6
peak=$(awk '/VmHWM/ {print $2, $3}' "/proc/$game/status")
kill -TERM "$game"
wait "$game" || true
echo
grep -m1 "First frame after" log.txt
echo "Peak memory over six seconds of the menu: $peak"
grep -m1 "Log info: FPS" log.txt

# The log's lines as they appear, each after the moment it was seen, in seconds, until the
# process with the given id has ended.
stamp_lines() {
    tail --pid="$2" -s 0.2 -n +1 -F "$1" 2> /dev/null | while IFS= read -r line; do
        echo "$EPOCHREALTIME $line"
    done
}

# Waits until the program (awk) finds what it looks for in the stamped log; false after the
# timeout in seconds.
wait_for() {
    local program=$1 timeout=$2 tries=0
    until awk "$program" stamped; do
        sleep 0.2
        tries=$((tries + 1))
        [ "$tries" -lt $((timeout * 5)) ] || return 1
    done
}

# Each logged rate covers the five seconds before its line. The chase's is the first of the
# last game that starts once the circle has opened on it and ends before the game is over.
CHASE='/Game started/ { start = $1; over = 0; rate = "" }
    /Game over/ && start { over = $1 }
    / FPS: / && start && !over && $1 - 5 > start + 1.5 && rate == "" { rate = $NF }'
CHASE_RATE="$CHASE"' END { if (rate == "") exit 1; print rate }'
CHASE_ENDED="$CHASE"' END { exit rate == "" && !over }'

# The game's frame rate in the menu and in a chase, its time to the first frame and its peak
# memory, at one window size: sets menu, chase, peak and first.
measure_game() {
    local folder window keys stamper started
    folder=$(game_folder "$1" "$2")
    cd "$folder"
    "$build/tobrin" > /dev/null 2>&1 &
    game=$!
    stamp_lines log.txt "$game" > stamped &
    stamper=$!
    window=$(xdotool search --sync --onlyvisible --pid "$game" --name '^Tobrin and the Fish$' |
        head -n1)
    xdotool windowfocus --sync "$window" 2> /dev/null || true
    # The first rate covers the start-up; the second is the menu alone.
    wait_for '/ FPS: / { n++ } END { exit n < 2 }' 20
    menu=$(awk '/ FPS: / { n++ } n == 2 { print $NF; exit }' stamped)
    # Space mashed in a steady beat keeps the submarine fast and about level, so the chase
    # lasts; should the fish win before a rate was logged, the next game counts.
    while :; do
        xdotool keydown space sleep 0.15 keyup space sleep 0.15 2> /dev/null || true
    done &
    keys=$!
    chase=""
    for _ in 1 2 3; do
        started=$(grep -c 'Game started' stamped || true)
        xdotool keydown Return
        wait_for '/Game started/ { n++ } END { exit n <= '"$started"' }' 10 || true
        xdotool keyup Return
        wait_for "$CHASE_ENDED" 40 || true
        if chase=$(awk "$CHASE_RATE" stamped); then
            break
        fi
    done
    kill "$keys"
    wait "$keys" 2> /dev/null || true
    peak=$(awk '/VmHWM/ {print $2}' "/proc/$game/status")
    kill -TERM "$game"
    wait "$game" || true
    wait "$stamper" || true
    first=$(grep -m1 -o 'First frame after [0-9]* ms' log.txt || echo "no first frame")
    cd "$scratch"
}

# The gap between two peaks in kB, in MB.
megabytes() {
    awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", (a - b) / 1024 }'
}

ratio() {
    awk -v game="$1" -v empty="$2" 'BEGIN { if (game == "") print "n/a"; else printf "%.2f", game / empty }'
}

renderer=$("$build/bench/tobrin_empty_frame" 64 48 0.1 | sed -n 's/^Renderer: //p')
printf '\nThe real game against an empty frame on %s, frames per second. Straight: the empty
window opened as the game opens its own; copied: as SDL 1.2 opens one by default.\n' "$renderer"
printf '%-4s %-10s %8s %8s %8s %8s %13s %14s %11s %12s %14s %12s %10s %12s\n' run size \
    straight copied menu chase menu/straight chase/straight menu/copied chase/copied \
    "straight peak" "copied peak" "game peak" "first frame"
for run in $(seq "$runs"); do
    for size in 640x480 1920x1080; do
        width=${size%x*}
        height=${size#*x}
        empty_out=$("$build/bench/tobrin_empty_frame" "$width" "$height" 5)
        empty=$(awk '/^FPS:/ {print $2}' <<< "$empty_out")
        empty_peak=$(awk '/^VmHWM:/ {print $2}' <<< "$empty_out")
        copied_out=$(SDL12COMPAT_OPENGL_SCALING=1 "$build/bench/tobrin_empty_frame" "$width" \
            "$height" 5)
        copied=$(awk '/^FPS:/ {print $2}' <<< "$copied_out")
        copied_peak=$(awk '/^VmHWM:/ {print $2}' <<< "$copied_out")
        measure_game "$width" "$height"
        printf '%-4s %-10s %8.1f %8.1f %8.1f %8s %13s %14s %11s %12s %11s kB %9s kB %7s kB %12s\n' \
            "$run" "$size" "$empty" "$copied" "$menu" \
            "$(printf '%.1f' "${chase:-0}" | sed 's/^0.0$/n\/a/')" "$(ratio "$menu" "$empty")" \
            "$(ratio "$chase" "$empty")" "$(ratio "$menu" "$copied")" \
            "$(ratio "$chase" "$copied")" "$empty_peak" "$copied_peak" "$peak" \
            "${first#First frame after }"
        echo "$size $(ratio "$menu" "$empty") $(ratio "$chase" "$empty")" \
            "$(ratio "$menu" "$copied") $(ratio "$chase" "$copied")" \
            "$(megabytes "$peak" "$empty_peak") $(megabytes "$peak" "$copied_peak")" \
            >> "$scratch/rows"
    done
done

# One column of the rows kept for a size, the numbers only, smallest first.
sorted_column() {
    awk -v size="$1" -v c="$2" '$1 == size && $c ~ /^[0-9.-]+$/ { print $c }' "$scratch/rows" |
        sort -n
}

median() {
    awk '{ v[NR] = $1 }
        END { printf "%.2f", NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# One run on a busy machine can be far from the others: over several, the median of each
# ratio and the largest gap in peak memory.
if [ "$runs" -gt 1 ]; then
    printf '\nOver %s runs, medians of the ratios and the largest gaps in peak memory:\n' "$runs"
    printf '%-10s %13s %14s %11s %12s %18s %16s\n' size menu/straight chase/straight \
        menu/copied chase/copied "game - straight" "game - copied"
    for size in 640x480 1920x1080; do
        columns=()
        for column in 2 3 4 5; do
            columns+=("$(sorted_column "$size" "$column" | median)")
        done
        for column in 6 7; do
            columns+=("$(sorted_column "$size" "$column" | tail -n1) MB")
        done
        printf '%-10s %13s %14s %11s %12s %18s %16s\n' "$size" "${columns[@]}"
    done
fi
RUN
