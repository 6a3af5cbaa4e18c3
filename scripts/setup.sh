#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds both configurations and, unless --no-run is given,
# runs the main job on a sample GIF.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
run_main=1
[ "${1:-}" = "--no-run" ] && run_main=0
jobs=$(nproc)

scripts/install-packages.sh
scripts/win-deps.sh
. scripts/wine-env.sh
[ "$win_build" = build-win64 ] && scripts/win-deps.sh x86_64

configure_and_build() {
  local dir="$1"; shift
  cmake -S . -B "$dir" "$@" >"$dir.configure.log" 2>&1 || { cat "$dir.configure.log"; exit 1; }
  cmake --build "$dir" -j"$jobs" 2>&1 | grep -E 'error|warning:|Error' || true
  cmake --build "$dir" -j"$jobs" >/dev/null
}
mkdir -p out
configure_and_build build
configure_and_build build-asan -DSANITIZE=ON
configure_and_build build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
if [ "$win_build" = build-win64 ]; then
  echo "setup: this machine runs no 32-bit code; the windows programs are also built as 64-bit ones to run here"
  configure_and_build build-win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake
fi

if [ $run_main -eq 1 ]; then
  scripts/main-job.sh
fi
