#!/usr/bin/env bash
# Installs every Debian package that building, testing, fuzzing and running the editor need.
# Safe to run again: when everything is present it does nothing.
set -euo pipefail

# yabasic is only the peer that `make bench` times zorvant-run against.
packages=(
  g++ cmake make
  clang libclang-rt-dev
  libgtest-dev googletest libgmock-dev
  libbenchmark-dev
  libexpat1-dev
  qt6-base-dev libgl-dev qt6-charts-dev libqt6opengl6-dev
  xvfb xauth imagemagick time
  # The window under a real window manager, driven from outside, for pictures of the screen.
  openbox xdotool
  fonts-dejavu-core
  locales
  desktop-file-utils appstream groff-base dpkg-dev file
  yabasic
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "install-deps: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# A locale whose decimal separator is a comma: the tests check that programs read and print
# numbers the same under it.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  echo "install-deps: generating the de_DE.UTF-8 locale"
  $SUDO sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi
