#!/usr/bin/env bash
# Lays out a game directory: the settings file (kept when present), the
# game data from the build with the sound directory SOUND, and the savegame
# folder.
set -euo pipefail
build=${1:?build directory}
dir=${2:?game directory}
mkdir -p "$dir/SaveGame"
if [ -d "$build/gamedata" ]; then
  cp -ru "$build/gamedata/." "$dir/"
fi
if [ ! -f "$dir/ZORVANTA.INI" ]; then
  cat > "$dir/ZORVANTA.INI" <<'INI'
[Allgemein]
FULLSCREEN=1
HARDWARE=1
AUFLOESUNG=800
GAMESPEED=12000
LANGUAGE=1
SOUNDEFFEKTE=0
SOUNDATMO=0
WIN2000=1
SOUNDPATH=SOUND
INI
fi
# A settings file from before the sound directory learns where it is.
if ! grep -q '^SOUNDPATH=' "$dir/ZORVANTA.INI"; then
  echo "SOUNDPATH=SOUND" >> "$dir/ZORVANTA.INI"
fi
