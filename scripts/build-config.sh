#!/usr/bin/env bash
# Configures and builds one configuration: scripts/build-config.sh DIR [cmake options...]
# The output goes to DIR.configure.log and DIR.build.log; warnings and errors are shown, and the
# time it took. Under a make jobserver (scripts/setup.mk) the build takes its share of the cores.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
dir="$1"; shift
began=$(date +%s)
cmake -S . -B "$dir" "$@" >"$dir.configure.log" 2>&1 || { cat "$dir.configure.log"; exit 1; }
jobs=()
[[ "${MAKEFLAGS:-}" == *jobserver* ]] || jobs=(-j"$(nproc)")
if [ -f "$dir/Makefile" ]; then
  build=(make -C "$dir" "${jobs[@]}")
else
  build=(cmake --build "$dir" "${jobs[@]}")
fi
status=0
"${build[@]}" >"$dir.build.log" 2>&1 || status=$?
grep -E 'error|warning:|Error' "$dir.build.log" || true
[ $status -eq 0 ] || { echo "setup: $dir failed to build (see $dir.build.log)"; exit $status; }
echo "setup: $dir configured and built in $(( $(date +%s) - began )) s"
