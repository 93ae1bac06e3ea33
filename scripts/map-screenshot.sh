#!/usr/bin/env bash
# Runs the game under Xvfb with a small town laid out by the world's factory
# (or, with "streets", street graphics placed on the map, or, with
# "streettown", a town of streets built through the street network, or,
# with "busytown", that town with lights, signs and cars on its streets, or,
# with "railtown", that town with a railway, level crossings and a station) and
# saves the frame as a PNG:
#   scripts/map-screenshot.sh [build dir] [output.png] [zoom level 1, 2 or 4] [streets | streettown | busytown | railtown]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
out=$(realpath -m "${2:-$build/map-screenshot.png}")
level=${3:-1}
what=${4:-town}
cmake --build "$build" --target gamedata zor_mapshot >/dev/null
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
data=$(realpath "$build/gamedata")
printf '[Allgemein]\nWADPATH=%s\nFULLSCREEN=1\nAUFLOESUNG=1024\n' "$data" > "$dir/ZORVANTA.INI"
(cd "$dir" && xvfb-run -a -s "-screen 0 1024x768x16" "$OLDPWD/$build/bin/zor_mapshot" frame.bmp "$level" "$what")
convert "$dir/frame.bmp" "$out"
echo "$out"
