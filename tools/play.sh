#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# One command from a fresh clone to the game: installs what building and playing need, builds
# the game alone, and plays. Arguments go to the game, e.g.
#   tools/play.sh VIDEO_WIDTH=1024 VIDEO_HEIGHT=768
# The game reads resources/ and keeps tobrin.cfg and log.txt in the repository's top folder.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install_deps.sh --play
tools/build.sh --play
exec ./build/tobrin "$@"
