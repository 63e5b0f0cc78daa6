#!/usr/bin/env bash
# Installs what Kirrow needs to build, play and test on Debian 12; does nothing when all is there.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  libsfml-dev libfmt-dev libmpg123-dev libmp3lame-dev libcairo2-dev fonts-dejavu-core libopenal-dev libx11-dev
  libgtest-dev libbenchmark-dev
  xvfb xauth xdotool imagemagick iproute2 util-linux
  clang libclang-rt-14-dev
)

if ! dpkg -s "${packages[@]}" >/dev/null 2>&1; then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y "${packages[@]}"
fi
