#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need.
# Only missing packages are installed; apt-get runs through sudo when not root.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qt6-base-dev libqt6opengl6-dev libgl-dev libglu1-mesa-dev libgl1-mesa-dri
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth x11-utils libx11-dev libxtst-dev fonts-dejavu-core locales-all
  clang libclang-rt-14-dev
  desktop-file-utils appstream
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
