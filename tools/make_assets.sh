#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Rebuilds every picture and sound of the game from its sources under assets/.
# The results in resources/ are committed, so playing needs none of this.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/make_images.sh
python3 tools/make_audio.py
