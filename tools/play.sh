#!/usr/bin/env bash
# One command from a fresh clone to the game: installs what is missing, builds, and plays.
# Arguments are settings, e.g. tools/play.sh VIDEO_WIDTH=1024 VIDEO_HEIGHT=768
# The game reads resources/ and keeps tobrin.cfg and log.txt in the repository's top folder.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install_deps.sh
tools/build.sh
exec ./build/tobrin "$@"
