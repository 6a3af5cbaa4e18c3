#!/usr/bin/env bash
# Runs every test of the native, sanitizer and windows configurations (setting up first when needed).
set -uo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
scripts/setup.sh --no-run || exit 1
jobs=$(nproc)

# One display and one persistent wineserver for the whole run: starting either per test costs seconds.
. scripts/wine-env.sh
export WINEPREFIX="$repo/$win_build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="   # no Mono/Gecko install prompts
. scripts/display.sh
start_display 90 140 || exit 1
cleanup() { wineserver -k >/dev/null 2>&1 || true; kill "$xvfb_pid" 2>/dev/null || true; }
trap cleanup EXIT
mkdir -p "$WINEPREFIX"
[ -f "$WINEPREFIX/system.reg" ] || timeout 300 wineboot -i >/dev/null 2>&1
wineserver -p >/dev/null 2>&1 || true

status=0
[ "$win_build" = build-win ] || echo "== this machine runs no 32-bit code: the windows tests run on the 64-bit build"
for dir in build build-asan "$win_build"; do
  echo "== tests: $dir"
  ctest --test-dir "$dir" -j"$jobs" --output-on-failure || status=1
done

# Benchmarks: a short run for the figures, not gating.
echo "== benchmark: GIF decoding (quick)"
build/bench/gif_decode_bench --quick || echo "gif_decode_bench did not finish"
echo "== benchmark: resampling (quick)"
build/bench/resample_bench --quick || echo "resample_bench did not finish"
echo "== benchmark: JPEG and PNG codecs (quick)"
build/bench/codec_bench --quick || echo "codec_bench did not finish"
if [ -f "$win_build/bench/sorvik_play_bench.exe" ]; then
  echo "== benchmark: Sorvik frame timing on the screen under Wine (quick)"
  cmake/wine-run.sh "$win_build/bench/sorvik_play_bench.exe" --quick || echo "sorvik_play_bench did not finish"
fi
echo "== benchmark: Talvena against plain ffmpeg (quick)"
timeout -k 10 300 bench/talvena_bench.sh --quick || echo "talvena_bench did not finish"
exit $status
