#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need, when missing.
# Usage: scripts/deps.sh build|test
set -euo pipefail
want=(cmake ninja-build g++ pkg-config
      qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
      qt6-svg-dev qt6-multimedia-dev qt6-charts-dev libqt6opengl6-dev libarchive-dev nettle-dev gstreamer1.0-plugins-good libgl-dev fonts-dejavu-core fonts-liberation)
if [ "${1:-build}" = test ]; then
    want+=(libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth poppler-utils imagemagick
           desktop-file-utils appstream clang libclang-rt-14-dev libreoffice-calc-nogui
           at-spi2-core python3-pyatspi dbus-daemon dbus-bin
           sqlite3 time python3) # the last three for bench/export_vs_sqlite.sh, run once by the tests
fi
missing=()
for p in "${want[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installazione dei pacchetti mancanti: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
