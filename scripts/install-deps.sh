#!/usr/bin/env bash
# Installs every Debian package that building, testing, fuzzing and running the editor need.
# Safe to run again: when everything is present it does nothing.
set -euo pipefail

packages=(
  g++ cmake make
  clang libclang-rt-dev
  libgtest-dev googletest libgmock-dev
  libbenchmark-dev
  qt6-base-dev libgl-dev
  xvfb xauth imagemagick
  fonts-dejavu-core
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
