#!/usr/bin/env bash
# Installs every package the two configurations need on Debian 12 (run as root, or with sudo).
#   scripts/install-packages.sh          everything
#   scripts/install-packages.sh --build  everything but Wine's 32-bit half, when this kernel runs
#                                        no 32-bit code (the builds need none of it); and then
#   scripts/install-packages.sh --wine32 Wine's 32-bit half (wine32 with the i386 architecture,
#                                        some 170 packages), which set-up installs meanwhile
# Where the kernel has no ia32 emulation Wine's 32-bit loader cannot start and the windows tests
# run on the 64-bit build (scripts/wine-env.sh), so nothing waits for the 32-bit half there.
set -euo pipefail
as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo -E "$@"; fi; }
packages=(
  build-essential cmake pkg-config ca-certificates xz-utils
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 libz-mingw-w64-dev
  wine wine64 fonts-wine xvfb xauth xdotool
  libjpeg-dev libpng-dev zlib1g-dev libpugixml-dev libgtest-dev googletest libstb-dev libgif-dev
  ffmpeg
  fonts-wqy-microhei
  python3 openssl
)

# A 32-bit x86 program of a few bytes that only exits with status 0: the kernel runs it, or
# answers "Exec format error" when it has no ia32 emulation.
runs_32bit_code() {
  local probe
  probe=$(mktemp)
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08' >"$probe"
  printf '\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00' >>"$probe"
  printf '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00' >>"$probe"
  printf '\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' >>"$probe"   # exit(0)
  chmod +x "$probe"
  local status=0
  "$probe" 2>/dev/null || status=$?
  rm -f "$probe"
  return $status
}

only="${1:-}"
wine32=(wine32:i386)
case "$only" in
  --build) runs_32bit_code && packages+=("${wine32[@]}") ;;
  --wine32) packages=("${wine32[@]}") ;;
  *) packages+=("${wine32[@]}") ;;
esac
dpkg --print-foreign-architectures | grep -qx i386 || as_root dpkg --add-architecture i386
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  # The lists are fetched once, with the i386 architecture's, by the first of the two steps.
  [ "$only" = --wine32 ] && [ -n "$(ls /var/lib/apt/lists/*i386_Packages* 2>/dev/null)" ] || as_root apt-get update -q
  as_root apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
