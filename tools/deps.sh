#!/usr/bin/env bash
# Installs the Debian packages that the build and the tests need (as root, or through sudo).
set -euo pipefail
SUDO=""
[ "$(id -u)" = 0 ] || SUDO=sudo
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends cmake g++ make pkg-config \
  zlib1g-dev libssl-dev libpng-dev libgtest-dev libgmock-dev libbenchmark-dev \
  libgl-dev libegl-dev libgl1-mesa-dri libegl-mesa0 \
  libsdl2-dev libglm-dev libepoxy-dev libstb-dev libimgui-dev \
  libopenmpt-dev libfluidsynth-dev timgm6mb-soundfont libespeak-ng-dev \
  libavcodec-dev libavformat-dev libswresample-dev \
  nlohmann-json3-dev libfmt-dev libassimp-dev lua5.4 fonts-dejavu-core >/dev/null
