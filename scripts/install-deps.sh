#!/usr/bin/env bash
# Installs, idempotently, every Debian package that building, running and testing Lyrandel needs.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config git
  libsdl2-dev libepoxy-dev libpango1.0-dev libcairo2-dev libpng-dev zlib1g-dev libopenal-dev
  libsndfile1-dev
  fonts-ipaexfont-gothic libgl1-mesa-dri libegl1 libegl-mesa0
  libsndfile1-dev libgdk-pixbuf-2.0-dev libarchive-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  python3
  desktop-file-utils appstream lintian dpkg-dev
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  echo "installing: ${missing[*]}"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
