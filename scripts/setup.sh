#!/usr/bin/env bash
# Installs what Kirrow needs to build, play, test and fuzz on Debian 12; does nothing when all is
# there. The one list of the packages every other script relies on.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  libsfml-dev libfmt-dev libmpg123-dev libmp3lame-dev libcairo2-dev fonts-dejavu-core libopenal-dev libx11-dev
  libgtest-dev
  xvfb xauth xdotool imagemagick iproute2 util-linux
  clang libclang-rt-14-dev  # libFuzzer (scripts/fuzz.sh)
)

if ! dpkg -s "${packages[@]}" >/dev/null 2>&1; then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y "${packages[@]}"
fi
