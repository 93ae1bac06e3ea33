#!/usr/bin/env bash
# Installs what is missing, builds, lays out the game directory and starts
# the game in it.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release -j "$(nproc)"
./scripts/layout-game.sh build/release game
cd game
exec ../build/release/bin/zorvanta
