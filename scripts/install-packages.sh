#!/usr/bin/env bash
# Installs every package the two configurations need on Debian 12 (run as root, or with sudo).
set -euo pipefail
as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo -E "$@"; fi; }
packages=(
  build-essential cmake pkg-config ca-certificates xz-utils
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 libz-mingw-w64-dev
  wine wine32 wine64 xvfb xauth xdotool
  libjpeg-dev libpng-dev zlib1g-dev libpugixml-dev libgtest-dev googletest libstb-dev libgif-dev
  ffmpeg
  fonts-wqy-microhei
  python3 openssl
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  as_root dpkg --add-architecture i386
  missing+=(wine32)
fi
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  as_root apt-get update -q
  as_root apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
