#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Vellora needs.
# Does nothing when all of them are present already.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-qpa-plugins qt6-image-formats-plugins qt6-svg-dev
  libjpeg62-turbo-dev libjpeg-turbo-progs
  libsdl2-mixer-dev libmp3lame-dev
  libsane-dev libsane1 sane-utils
  libgtest-dev libgmock-dev libbenchmark-dev libvips-tools
  fonts-liberation2 fonts-dejavu-core
  libespeak-ng-dev libvorbis-dev
  libisofs-dev xorriso
  libheif-dev zlib1g-dev
  libavcodec-dev libavformat-dev libswscale-dev libswresample-dev libavutil-dev
  fonts-dancingscript fonts-ebgaramond fonts-lato fonts-linuxlibertine
  clang
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 wine wine64
  chromium chromium-driver python3-selenium python3-pil
  poppler-utils
  plasma-workspace-wallpapers
  dpkg-dev file desktop-file-utils appstream
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
