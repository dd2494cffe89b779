#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the game need; quiet when all are present.
set -euo pipefail

packages=(
  g++ cmake ninja-build make pkg-config
  libgtest-dev libgmock-dev clang-format
  libsdl2-dev libopenal-dev libopenal1 libepoxy-dev libstb-dev
  libgl-dev libegl-dev libgl1-mesa-dri libegl-mesa0 libglx-mesa0
  fonts-dejavu-core xvfb
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
