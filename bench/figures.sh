#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The figures that matter to a player and to us, in one run on a private X server: the
# simulation step at a typical and at the full population, drawn frames of menu and chase
# against an empty frame, the world's start-up, the real game's time to its first frame and
# its peak memory over a few seconds of the menu.
# Usage: bench/figures.sh   (after tools/build.sh)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"
[ -x "$build/bench/tobrin_bench" ] || { echo "build first: tools/build.sh"; exit 1; }

exec xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24" bash -s "$root" "$build" <<'RUN'
set -euo pipefail
root=$1
build=$2
"$build/bench/tobrin_bench" --benchmark_filter='Simulate|ActorsUpdate|DrawnFrame|WorldTaskStart' \
    2>/dev/null | grep -E '^(BM_|Benchmark|-)'

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$root/resources" "$work/"
cd "$work"
SDL_AUDIODRIVER=dummy "$build/tobrin" > /dev/null 2>&1 &
game=$!
sleep 6
peak=$(awk '/VmHWM/ {print $2, $3}' "/proc/$game/status")
kill -TERM "$game"
wait "$game" || true
echo
grep -m1 "First frame after" log.txt
echo "Peak memory over six seconds of the menu: $peak"
grep -m1 "Log info: FPS" log.txt
RUN
