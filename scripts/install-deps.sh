#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Valmedo 4 need.
# Runs apt-get only when something is missing, so a second run costs nothing.
set -euo pipefail

packages=(
  g++ cmake make pkg-config
  qt6-base-dev libqt6sql6-sqlite libqt6sql6-psql qt6-multimedia-dev libgl-dev
  libsqlite3-dev zlib1g-dev
  postgresql-15 postgresql-client-15
  fonts-liberation2
  qt6-translations-l10n qt6-charts-dev
  libxlsxwriter-dev liborcus-dev
  poppler-utils zbar-tools python3-openpyxl python3-odf unrtf
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y "${missing[@]}"
# The Debian package starts a cluster of its own; the tests run a private one instead.
