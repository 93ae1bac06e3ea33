#!/usr/bin/env bash
# Installs the Debian packages the build needs, once: apt runs only when
# something is missing.
set -euo pipefail
packages=(
  build-essential cmake ninja-build ccache pkg-config
  libsdl1.2-dev libsdl-mixer1.2-dev
  # SDL_mixer plays MIDI music through FluidSynth with the system's default
  # General MIDI soundfont, which this small one provides.
  timgm6mb-soundfont
  libgtest-dev googletest libbenchmark-dev
  libcairo2-dev libfreetype-dev fonts-dejavu-core
  clang-14 libclang-rt-14-dev
  libboost-graph-dev
  xvfb x11-apps imagemagick xdotool
  python3
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y "${missing[@]}"
fi
