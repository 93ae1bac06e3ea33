#!/bin/sh
# The seed table of a supplied scenario: the scenario's town grown from each
# seed given instead of its own, and the scenario's test of its plan and
# single measures played on each, one row a measure and seed.
#
#   scripts/scenario-seeds.sh <build dir> <town> <test filter> <seed>...
#   scripts/scenario-seeds.sh build/release Ringstadt \
#       'SuppliedScenario.RingstadtIsWonBy*' 1 2 3 4 5 6 7 8 9 10
#
# Each town is grown by the build's zor_startsaves from its script in
# assets/savegames with a line "seed <n>" before its growth (in place of
# the script's own seed line), beside the build's other savegames in a
# folder of its own, which the test reads through ZOR_SCENARIO_SAVES.
# Prints the rows "seed | town | measure | end | highest | margin".
set -eu
build=$(cd "$1" && pwd)
town=$2
filter=$3
shift 3
root=$(cd "$(dirname "$0")/.." && pwd)
script="$root/assets/savegames/scenario_$(echo "$town" | tr 'A-Z' 'a-z').txt"
[ -f "$script" ] || { echo "no script $script" >&2; exit 2; }
work=$(mktemp -d "${TMPDIR:-/tmp}/zor-seeds-XXXXXX")
trap 'rm -rf "$work"' EXIT
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
echo "| seed | town | measure | end | highest | margin |"
echo "|---:|---|---|---|---:|---:|"
for seed in "$@"; do
  data="$work/$seed"
  mkdir -p "$data/SaveGame" "$data/run"
  for f in "$build/gamedata/"*; do
    [ "$(basename "$f")" = SaveGame ] || ln -s "$f" "$data/"
  done
  cp "$build/gamedata/SaveGame/"* "$data/SaveGame/"
  grep -v '^seed ' "$script" | sed "s/^grow /seed $seed\ngrow /" > "$data/town.txt"
  (cd "$data/run" && "$build/bin/zor_startsaves" "$data" "$data/town.txt" "$town.SZD" > grow.log 2>&1) ||
    { echo "seed $seed: the town was not grown" >&2; continue; }
  ZOR_SCENARIO_SAVES="$data/SaveGame" "$build/bin/world_tests" --gtest_filter="$filter" 2>&1 |
    sed -n "s/^margins | /| $seed | /p" | sed 's/$/ |/'
done
