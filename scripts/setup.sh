#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds every configuration and, unless --no-run is given,
# runs the main job on a sample GIF. Prints what each step took and the whole at its end.
# The cross-built libraries and the configurations are built at once, under one make jobserver
# that shares the machine's cores among them (scripts/setup.mk).
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
run_main=1
[ "${1:-}" = "--no-run" ] && run_main=0

began=$(date +%s)
step_began=$began
step_done() {
  local now
  now=$(date +%s)
  echo "setup: $1 took $((now - step_began)) s"
  step_began=$now
}

scripts/install-packages.sh --build
step_done "packages"
# Wine's 32-bit half, where this kernel cannot run it, comes while the builds run (they need none of it).
wine32_pid=""
if ! dpkg-query -W -f='${Status}\n' wine32:i386 2>/dev/null | grep -q 'install ok installed'; then
  scripts/install-packages.sh --wine32 >wine32-install.log 2>&1 &
  wine32_pid=$!
fi

. scripts/wine-env.sh
win_builds=build-win
if [ "$win_build" = build-win64 ]; then
  echo "setup: this machine runs no 32-bit code; the windows programs are also built as 64-bit ones to run here"
  win_builds="build-win build-win64"
fi
mkdir -p out
make -s -f scripts/setup.mk -j"$(nproc)" WIN_BUILDS="$win_builds"
step_done "libraries and configurations"
if [ -n "$wine32_pid" ]; then
  wait "$wine32_pid" || { cat wine32-install.log; echo "setup: Wine's 32-bit half did not install"; exit 1; }
  step_done "Wine's 32-bit half (installed meanwhile)"
fi

if [ $run_main -eq 1 ]; then
  scripts/main-job.sh
  step_done "main job"
fi
total=$(( $(date +%s) - began ))
echo "setup: finished in $((total / 60)) min $((total % 60)) s"
