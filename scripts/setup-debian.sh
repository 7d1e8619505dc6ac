#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the demo manual and the tests need.
# Runs apt-get only when something is missing.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ pkg-config qt6-base-dev qt6-multimedia-dev libarchive-dev zlib1g-dev
  libgtest-dev libgmock-dev libbenchmark-dev libzip-dev
  # fuzzing and the sanitizer build
  clang libclang-rt-14-dev
  # media back end, sound server and display for the tests
  gstreamer1.0-plugins-good gstreamer1.0-libav pulseaudio xvfb xauth
  # end-to-end tests: pointer and window queries under Xvfb, a headless
  # Wayland compositor and Qt's Wayland platform plugin
  xdotool x11-utils weston qt6-wayland
  # fixtures, visual checks and the demo manual's assets
  sox libsox-fmt-mp3 ffmpeg imagemagick x11-apps poppler-utils libarchive-tools
  fonts-dejavu-core fonts-liberation2
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y --no-install-recommends "${missing[@]}"
fi
