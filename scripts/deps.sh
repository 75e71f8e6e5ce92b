#!/usr/bin/env bash
# Installs the Debian packages Tonalyx builds and tests with, when missing.
# Usage: scripts/deps.sh [build|test|bench|fuzz|desktop]
# (desktop: what the screenshots under scripts/screenshots.sh need)
set -euo pipefail
what=${1:-build}

pkgs=(build-essential cmake ninja-build pkg-config
      libsqlite3-dev zlib1g-dev libpng-dev libfreetype-dev libfontconfig-dev
      nettle-dev libpugixml-dev fonts-liberation qt6-base-dev)
case "$what" in
  test) pkgs+=(libgtest-dev libgmock-dev sqlite3 libxml2-utils pngcheck qpdf poppler-utils mupdf-tools libwmf-bin fonts-urw-base35 libcairo2-dev) ;;
  bench) pkgs+=(libbenchmark-dev libcairo2-dev xvfb) ;;
  desktop) pkgs+=(xvfb imagemagick) ;;
  fuzz) pkgs+=(clang) ;;
esac

missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd=sudo
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
