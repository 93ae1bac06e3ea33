#!/usr/bin/env bash
# Draws one frame of the generated game data in a real window under Xvfb
# and saves it as a PNG:  scripts/showcase.sh [build dir] [output.png]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
out=${2:-$build/showcase.png}
cmake --build "$build" --target gamedata zor_showcase >/dev/null
bmp=$(mktemp --suffix=.bmp)
trap 'rm -f "$bmp"' EXIT
xvfb-run -a -s "-screen 0 1024x768x16" "$build/bin/zor_showcase" "$build/gamedata" "$bmp"
convert "$bmp" "$out"
echo "$out"
