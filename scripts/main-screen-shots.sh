#!/usr/bin/env bash
# Renders the main screen with its bar, a tool menu and the thematic map in
# German and English at 800 x 600 and 1024 x 768, and the building palette,
# into docs/.
#   scripts/main-screen-shots.sh [build dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
cmake --build "$build" --target gamedata zor_mainshot >/dev/null
data=$(realpath "$build/gamedata")
tool=$(realpath "$build/bin/zor_mainshot")
docs=$(realpath docs)
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
for size in 800x600 1024x768; do
  width=${size%x*}
  for language in 0 1; do
    name=$([ "$language" = 0 ] && echo de || echo en)
    printf '[Allgemein]\nWADPATH=%s\nFULLSCREEN=0\nAUFLOESUNG=%s\nLANGUAGE=%s\n' "$data" "$width" "$language" \
      > "$dir/ZORVANTA.INI"
    # 800 x 600: the thematic map with its city page, the networks and stops
    # menus; 1024 x 768: the zoning menu with its residential densities and
    # the services menu
    windows="201 202 20 21"
    [ "$width" = 1024 ] && windows="200 35 25"
    # shellcheck disable=SC2086
    (cd "$dir" && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$tool" "$docs/main-screen-$name-$size.png" $windows)
  done
done
# The building palette open over the town, with the town groups and the
# schools' sizes, in English.
printf '[Allgemein]\nWADPATH=%s\nFULLSCREEN=0\nAUFLOESUNG=800\nLANGUAGE=1\n' "$data" > "$dir/ZORVANTA.INI"
(cd "$dir" && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$tool" "$docs/building-palette.png" 23 57 34)
# Pictures for the docs stay below 300 KB: a larger one keeps its 256 most
# used colours (the game's 16-bit frames hold a few thousand).
for f in "$docs"/main-screen-*.png "$docs/building-palette.png"; do
  if [ "$(stat -c %s "$f")" -gt 300000 ]; then convert "$f" +dither -colors 256 "PNG8:$f"; fi
done
ls -l "$docs"/main-screen-*.png "$docs/building-palette.png"
