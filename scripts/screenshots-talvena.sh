#!/usr/bin/env bash
# Screenshots of Talvena's main window, from the real program under Wine on a display of our own,
# into docs/: empty, with rows, during a run and finished, and its settings, format and media
# information dialogs. Needs the windows build (build-win, or build-win64 where 32-bit code cannot run).
# The screen is read with ffmpeg's X11 grabber and cut to the window that xdotool finds; the
# animations of the rows are drawn by scripts/demo-gifs.py (python3).
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
. scripts/wine-env.sh
program=$win_build/bin/Talvena.exe
[ -f "$program" ] || { echo "no $program: build the windows configuration first" >&2; exit 1; }
mkdir -p docs
work=$(mktemp -d)
. scripts/display.sh
export WINEPREFIX="${WINEPREFIX:-$repo/$win_build/wineprefix}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
start_display 200 240
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$WINEPREFIX"
[ -f "$WINEPREFIX/system.reg" ] || timeout 300 wineboot -i >/dev/null 2>&1
wine_fonts_once wine
# No window manager on Xvfb: Wine is told not to wait for one.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
# Settings of our own for the shots: nothing stored from earlier runs, no update check.
wine reg delete 'HKCU\Software\Brenmoor\Talvena' /f >/dev/null 2>&1 || true
wine reg add 'HKCU\Software\Brenmoor\Talvena\Settings' /v AutoCheckUpdate /t REG_DWORD /d 0 /f >/dev/null 2>&1

windows_path() {
  printf 'Z:%s' "${1//\//\\}"
}

# The program's main window, once it shows.
main_window() {
  local id
  for _ in $(seq 1 300); do
    id=$(xdotool search --name '^Talvena$' 2>/dev/null | head -1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  echo "Talvena's window did not show" >&2
  return 1
}

# Grabs the window into docs/NAME.png.
shot() {
  local window=$1 name=$2 x y w h
  eval "$(xdotool getwindowgeometry --shell "$window")"
  x=$X y=$Y w=$WIDTH h=$HEIGHT
  ffmpeg -hide_banner -loglevel error -y -f x11grab -draw_mouse 0 -video_size 1280x1024 -i "$DISPLAY" -frames:v 1 \
    -vf "crop=$w:$h:$x:$y" "docs/$name.png"
  echo "docs/$name.png"
}

close_program() {
  xdotool search --name '^Talvena$' 2>/dev/null | head -1 | xargs -r -I{} xdotool windowclose {} || true
  wait "$1" 2>/dev/null || true
}

# Empty: no files given.
out=$work/out
mkdir -p "$out"
timeout -k 5 120 wine "$program" /o "$(windows_path "$out")" >/dev/null 2>&1 &
pid=$!
window=$(main_window)
sleep 2
shot "$window" talvena-empty
close_program "$pid"

# With rows, then a run and its end: the animations drawn for Sorvik's shots and a long test
# animation in the middle that gives the run time to be seen, converted by the stand-in encoder.
python3 scripts/demo-gifs.py "$work"
cp tools/modules/tests/data/long.gif "$work/3-timelapse.gif"
args=()
for name in 1-plasma 2-sunset 3-timelapse 4-spiral 5-stripes; do
  args+=("$(windows_path "$work/$name.gif")")
done
timeout -k 5 300 wine "$program" "${args[@]}" /o "$(windows_path "$out")" >/dev/null 2>&1 &
pid=$!
window=$(main_window)
sleep 3
shot "$window" talvena-rows
# Enter presses the default button, Convert.
xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
xdotool key --window "$window" Return
sleep 1.5
shot "$window" talvena-running
for _ in $(seq 1 240); do
  [ "$(ls "$out"/*.mp4 2>/dev/null | wc -l)" -ge 5 ] && break
  sleep 0.5
done
sleep 3
shot "$window" talvena-finished
close_program "$pid"

# The settings, format manager, format settings and media information dialogs, opened in the
# real program by its dialog test, which drives them through their controls and holds each for
# its shot: it writes "<name>.ready" with the window's rectangle and waits for "<name>.done".
shots=$work/shots
mkdir -p "$shots"
TALVENA_SHOTS=$(windows_path "$shots") timeout -k 5 300 wine "$win_build/converter/app/talvena_dialogs_tests.exe" \
  >"$work/dialogs.log" 2>&1 &
pid=$!
while kill -0 "$pid" 2>/dev/null; do
  for ready in "$shots"/*.ready; do
    [ -f "$ready" ] || continue
    name=$(basename "$ready" .ready)
    [ -f "$shots/$name.done" ] && continue
    read -r x y w h <"$ready"
    ffmpeg -hide_banner -loglevel error -y -f x11grab -draw_mouse 0 -video_size 1280x1024 -i "$DISPLAY" -frames:v 1 \
      -vf "crop=$w:$h:$x:$y" "docs/$name.png"
    echo "docs/$name.png"
    touch "$shots/$name.done"
  done
  sleep 0.2
done
wait "$pid" || { cat "$work/dialogs.log" >&2; echo "the dialog test failed" >&2; exit 1; }
