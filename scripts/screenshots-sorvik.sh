#!/usr/bin/env bash
# Screenshots of Sorvik's main window for README, taken from the real program under Wine on an
# Xvfb display of our own: playing a GIF, the playlist of thumbnails, and full screen.
# Writes docs/sorvik-playing.png, docs/sorvik-grid.png and docs/sorvik-full-screen.png.
# Needs the windows configuration built (build-win, or build-win64 where 32-bit code cannot run), xdotool,
# ffmpeg and python3.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
. scripts/wine-env.sh
sorvik=$win_build/viewer/Sorvik.exe
[ -f "$sorvik" ] || { echo "build the windows configuration first ($sorvik is missing)" >&2; exit 1; }
for tool in xdotool ffmpeg wine python3; do
  command -v "$tool" >/dev/null || { echo "$tool is needed" >&2; exit 1; }
done

export WINEPREFIX="${WINEPREFIX:-$repo/$win_build/wineprefix}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
. scripts/display.sh
start_display 200 240 || exit 1
work=$(mktemp -d)
sorvik_pid=""
cleanup() {
  [ -n "$sorvik_pid" ] && kill "$sorvik_pid" 2>/dev/null || true
  wineserver -k >/dev/null 2>&1 || true
  kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$WINEPREFIX" docs
[ -f "$WINEPREFIX/system.reg" ] || timeout 300 wineboot -i >/dev/null 2>&1
wine_fonts_once wine

# A folder of colourful animations drawn for the shots (nothing from elsewhere in the pictures).
gifs="$work/gifs"
python3 scripts/demo-gifs.py "$gifs"

# A clean profile: one pane at a time, the first file plays and stays on its last frame.
settings='HKCU\Software\Brenmoor\Sorvik\Settings'
wine reg delete 'HKCU\Software\Brenmoor\Sorvik' /f >/dev/null 2>&1 || true
for value in AutoCheckUpdate=0 LoadLastPlaylist=0 AutoAdvance=0 Repeat=1 ViewLayout=2 AlwaysShowControlBar=0; do
  wine reg add "$settings" /v "${value%=*}" /t REG_DWORD /d "${value#*=}" /f >/dev/null 2>&1
done

windows_path() { printf 'Z:%s' "${1//\//\\}"; }
wine "$sorvik" "$(windows_path "$gifs")" >/dev/null 2>&1 &
sorvik_pid=$!

# The main window is the visible one whose title names the playing file (" - 1/").
window=""
for _ in $(seq 1 150); do
  window=$(xdotool search --onlyvisible --name ' - [0-9]+/[0-9]+$' 2>/dev/null | head -1 || true)
  [ -n "$window" ] && break
  sleep 0.2
done
[ -n "$window" ] || { echo "Sorvik's window did not come up" >&2; exit 1; }

# Grabs the window (or, with "screen", the whole display) into docs/$1.png.
shot() {
  local name="$1" area="${2:-window}" X Y WIDTH HEIGHT
  if [ "$area" = screen ]; then
    X=0 Y=0 WIDTH=1280 HEIGHT=1024
  else
    eval "$(xdotool getwindowgeometry --shell "$window")"
  fi
  ffmpeg -loglevel error -y -f x11grab -draw_mouse 0 -video_size "${WIDTH}x${HEIGHT}" -i "$DISPLAY+$X,$Y" -frames:v 1 "docs/$name.png"
  echo "docs/$name.png"
}
key() {
  xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
  xdotool key --window "$window" "$1"
  sleep "${2:-2}"
}

xdotool windowsize --sync "$window" 960 640 >/dev/null 2>&1 || true
xdotool windowmove --sync "$window" 160 120 >/dev/null 2>&1 || true
sleep 3
shot sorvik-playing
key F6 3          # the playlist pane: every file with its thumbnail
shot sorvik-grid
key F6 1          # back to the play pane, then full screen
key F11 2
shot sorvik-full-screen screen
key Escape 1
