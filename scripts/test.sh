#!/usr/bin/env bash
# Runs every test of the native, sanitizer and windows configurations (setting up first when
# needed), then the benchmarks' quick runs. Prints what each stage took and the whole at its end.
# The windows test programs run side by side, each with a display and a Wine prefix of its own
# (cmake/wine-run.sh).
set -uo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
began=$(date +%s)
stage_began=$began
stages=()
stage_done() {
  local now
  now=$(date +%s)
  stages+=("$1: $((now - stage_began)) s")
  echo "== $1 took $((now - stage_began)) s"
  stage_began=$now
}

scripts/setup.sh --no-run || exit 1
stage_done "set-up"
jobs=$(nproc)
. scripts/wine-env.sh
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="   # no Mono/Gecko install prompts

# The windows tests wait on their windows much of the time: the native and sanitizer tests run
# meanwhile, one configuration after the other on half the cores. Each ctest writes a log of its
# own, shown when the tests are over.
status=0
[ "$win_build" = build-win ] || echo "== this machine runs no 32-bit code: the windows tests run on the 64-bit build"
logs=$(mktemp -d)
run_tests() {
  local dir="$1" parallel="$2" began
  began=$(date +%s)
  ctest --test-dir "$dir" -j"$parallel" --output-on-failure >"$logs/$dir.log" 2>&1
  local rc=$?
  echo "tests: $dir: $(( $(date +%s) - began )) s" >"$logs/$dir.time"
  return $rc
}
echo "== tests: build, build-asan and $win_build at once"
run_tests "$win_build" "$jobs" &
windows=$!
{ run_tests build $((jobs / 2)); native=$?; run_tests build-asan $((jobs / 2)); exit $((native | $?)); } &
native=$!
wait "$windows" || status=1
wait "$native" || status=1
for dir in build build-asan "$win_build"; do
  echo "== tests: $dir"
  cat "$logs/$dir.log"
  stages+=("$(cat "$logs/$dir.time")")
done
rm -rf "$logs"
stage_done "tests"

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
stage_done "benchmarks"

total=$(( $(date +%s) - began ))
printf '== %s\n' "${stages[@]}"
echo "== test.sh finished in $((total / 60)) min $((total % 60)) s"
exit $status
