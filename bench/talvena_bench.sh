#!/usr/bin/env bash
# Talvena's cost per file over the encoder: converts a handful of GIFs in one unattended run of
# Talvena.exe (the windows build that runs here) and with plain ffmpeg (the command the stand-in encoder runs for the
# default preset), both in this run, and prints the ratio. A run whose only file is missing gives
# the program's own start and close, so the cost of each row can be told apart from it.
#   bench/talvena_bench.sh [--quick]     (quick: three GIFs, best of two rounds; else every GIF, best of three)
# Needs the windows configuration built, Wine, and ffmpeg. Uses WINEPREFIX and DISPLAY when set.
set -uo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
quick=0
[ "${1:-}" = "--quick" ] && quick=1
. scripts/wine-env.sh
talvena=$win_build/bin/Talvena.exe
[ -f "$talvena" ] || { echo "talvena_bench: $talvena is not built"; exit 1; }
command -v ffmpeg >/dev/null || { echo "talvena_bench: no ffmpeg"; exit 1; }

data=""
for folder in "${BENCH_DATA:-}" "$repo/../shared/bench-data" /work/shared/bench-data; do
  [ -n "$folder" ] && [ -f "$folder/muybridge.gif" ] && { data=$folder; break; }
done
if [ -n "$data" ]; then
  names=(muybridge.gif harvesters.gif hat.gif gifplayer-muybridge.gif hippopotamus.interlaced.gif)
  [ $quick -eq 1 ] && names=(muybridge.gif harvesters.gif hat.gif)
  gifs=(); for n in "${names[@]}"; do gifs+=("$data/$n"); done
else
  gifs=(tools/modules/tests/data/short.gif viewer/tests/data/sample.gif)
fi
rounds=3
[ $quick -eq 1 ] && rounds=2

export WINEPREFIX="${WINEPREFIX:-$repo/$win_build/wineprefix}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
work=$(mktemp -d)
xvfb_pid=""
cleanup() {
  [ -n "${settings_saved:-}" ] && restore_settings
  [ -n "$xvfb_pid" ] && { wineserver -k >/dev/null 2>&1; kill "$xvfb_pid" 2>/dev/null; }
  rm -rf "$work"
}
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
  . scripts/display.sh
  start_display 241 280 || exit 1
fi
mkdir -p "$WINEPREFIX"
[ -f "$WINEPREFIX/system.reg" ] || timeout 300 wineboot -i >/dev/null 2>&1
wine_fonts_once wine
# A wineserver that stays: its start is no part of a conversion.
wineserver -p >/dev/null 2>&1 || true

windows_path() { local p; p=$(cd "$(dirname "$1")" && pwd)/$(basename "$1"); printf 'Z:%s' "${p//\//\\}"; }
now() { date +%s%N; }

key='HKCU\Software\Brenmoor\Talvena\Settings'
read_setting() { wine reg query "$key" /v "$1" 2>/dev/null | awk -v n="$1" '$1 == n { print $3 }' | tr -d '\r'; }
set_setting() { wine reg add "$key" /v "$1" /t REG_DWORD /d "$2" /f >/dev/null 2>&1; }
restore_settings() {
  for name in AutoStart AutoClose Overwrite; do
    local old=${saved[$name]}
    if [ -n "$old" ]; then set_setting "$name" "$old"; else wine reg delete "$key" /v "$name" /f >/dev/null 2>&1; fi
  done
}
declare -A saved
for name in AutoStart AutoClose Overwrite; do saved[$name]=$(read_setting "$name"); done
settings_saved=1
set_setting AutoStart 1
set_setting AutoClose 1
set_setting Overwrite 12
# Xvfb has no window manager, and Wine then waits two seconds for one whenever a managed window
# is hidden, as the main window is when it closes; on a desktop the manager answers at once.
wine reg add 'HKCU\Software\Wine\AppDefaults\Talvena.exe\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1

sources=()
for gif in "${gifs[@]}"; do cp "$gif" "$work/"; sources+=("$(windows_path "$work/$(basename "$gif")")"); done
mkdir -p "$work/ffmpeg" "$work/talvena"

# One unattended run with the given sources: its milliseconds in run_ms, its exit status in run_status.
talvena_run() {
  rm -f "$work"/talvena/*
  local start; start=$(now)
  timeout -k 10 600 wine "$talvena" "$@" /o "$(windows_path "$work/talvena")" >/dev/null 2>&1
  run_status=$?
  run_ms=$(( ($(now) - start) / 1000000 ))
}
# The same encoding with plain ffmpeg: milliseconds in run_ms.
ffmpeg_run() {
  local start; start=$(now)
  for gif in "${gifs[@]}"; do
    ffmpeg -nostdin -hide_banner -nostats -loglevel error -i "$work/$(basename "$gif")" -f mp4 -vcodec libx264 \
      -crf 18 -an -y -pix_fmt yuv420p -vf 'scale=trunc(iw/2)*2:trunc(ih/2)*2' \
      "$work/ffmpeg/$(basename "$gif" .gif).mp4" || return 1
  done
  run_ms=$(( ($(now) - start) / 1000000 ))
}
best() { local b=$1; shift; for v; do [ "$v" -lt "$b" ] && b=$v; done; echo "$b"; }

plain=(); whole=(); empty=()
for _ in $(seq 1 $rounds); do
  ffmpeg_run || { echo "talvena_bench: ffmpeg failed"; exit 1; }
  plain+=("$run_ms")
  talvena_run "$(windows_path "$work/missing.gif")"
  empty+=("$run_ms")
  talvena_run "${sources[@]}"
  [ "$run_status" -eq 0 ] || { echo "talvena_bench: Talvena exited with $run_status"; exit 1; }
  whole+=("$run_ms")
done
made=$(ls "$work"/talvena/*.mp4 2>/dev/null | wc -l)
[ "$made" -eq "${#gifs[@]}" ] || { echo "talvena_bench: Talvena made $made of ${#gifs[@]} videos"; exit 1; }

n=${#gifs[@]}
p=$(best "${plain[@]}"); t=$(best "${whole[@]}"); e=$(best "${empty[@]}")
awk -v n="$n" -v p="$p" -v t="$t" -v e="$e" 'BEGIN {
  printf "talvena_bench: %d GIFs, best of the rounds\n", n
  printf "  plain ffmpeg            %7.3f s\n", p / 1000
  printf "  Talvena, one run        %7.3f s   ratio %.2f\n", t / 1000, t / p
  printf "  Talvena start and close %7.3f s   (a run with nothing to convert)\n", e / 1000
  printf "  overhead per file       %7.3f s   over ffmpeg, start and close included\n", (t - p) / n / 1000
  printf "  overhead per row        %7.3f s   over ffmpeg, start and close left out\n", (t - e - p) / n / 1000
}'
