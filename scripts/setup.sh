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

if [ $run_main -eq 1 ]; then
  scripts/main-job.sh
fi
