#!/usr/bin/env bash
# Installs the Debian packages VantRep needs to build, run and test, when any is
# missing. Runs apt-get as root, or through sudo for another user.
set -euo pipefail

PACKAGES=(
  g++ cmake ninja-build pkg-config
  libgtest-dev
  qt6-base-dev
  python3 python3-dbf python3-dbfread fonts-liberation2 poppler-utils
  qt6-svg-dev adwaita-icon-theme xvfb xauth xdotool imagemagick
  qt6-charts-dev libxlsxwriter-dev python3-openpyxl dbus-daemon libglib2.0-bin python3-gi x11-utils fonts-wine
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  as_root=(sudo)
fi
echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq "${missing[@]}"
