#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those that are missing.
set -euo pipefail
packages=(cmake g++ make pkg-config libgtest-dev libgmock-dev
          qt6-base-dev qt6-svg-dev libqt6svg6 qt6-qpa-plugins libgl-dev
          libsqlite3-dev libsdl2-mixer-dev libcurl4-openssl-dev desktop-file-utils appstream shared-mime-info
          kdegames-card-data-kf5 timgm6mb-soundfont
          clang libclang-rt-14-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
