#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the tools need, when
# any of them is missing. Needs root (apt-get).
set -euo pipefail

packages=(build-essential cmake ninja-build pkg-config git
          libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
          clang libclang-rt-14-dev libsqlite3-dev python3-dbfread
          qt6-base-dev libxlsxwriter-dev fonts-dejavu-core fonts-dejavu-extra zlib1g-dev
          poppler-utils python3-openpyxl
          dpkg-dev desktop-file-utils man-db
          xvfb openbox xdotool x11-utils imagemagick python3)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
