#!/usr/bin/env bash
# The main job on a sample GIF of our own making: a 2 x 2 animation of two frames, looping for ever,
# described and split into its frames by imagetool.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
mkdir -p out/sample-frames
sample=out/sample.gif
{
  printf 'GIF89a\x02\x00\x02\x00\xf0\x00\x00'            # 2 x 2 screen, two global colours
  printf '\x00\x00\x00\xff\x80\x00'                      # black, orange
  printf '\x21\xff\x0bNETSCAPE2.0\x03\x01\x00\x00\x00'    # loop for ever
  printf '\x21\xf9\x04\x04\x32\x00\x00\x00'              # 0.5 s, keep the frame
  printf '\x2c\x00\x00\x00\x00\x02\x00\x02\x00\x00'      # frame 1: orange diagonal
  printf '\x02\x03\x0c\x88\x14\x00'
  printf '\x21\xf9\x04\x04\x32\x00\x00\x00'
  printf '\x2c\x00\x00\x00\x00\x02\x00\x02\x00\x00'      # frame 2: the other diagonal
  printf '\x02\x03\x44\x18\x14\x00'
  printf '\x3b'
} >"$sample"
imagetool=build/tools/imagetool/imagetool
echo "== imagetool info $sample"
"$imagetool" info "$sample"
echo "== imagetool frames $sample out/sample-frames"
"$imagetool" frames "$sample" out/sample-frames

# The Windows programs run under Wine with a display: one of our own when there is none, made once.
. scripts/display.sh
. scripts/wine-env.sh
wine_ready=0
xvfb_pid=""
prepare_wine() {
  [ "$wine_ready" -eq 1 ] && return
  export WINEPREFIX="${WINEPREFIX:-$repo/$win_build/wineprefix}"
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  if [ -z "${DISPLAY:-}" ]; then
    start_display 150 190 || exit 1
    # Wine's helper processes of this display end with it.
    trap 'wineserver -k >/dev/null 2>&1; kill "$xvfb_pid" 2>/dev/null || true' EXIT
  fi
  mkdir -p "$WINEPREFIX"
  [ -f "$WINEPREFIX/system.reg" ] || timeout 300 wineboot -i >/dev/null 2>&1
  wine_fonts_once wine
  wine_ready=1
}

# A Windows path (drive Z: is the Unix root under Wine).
windows_path() {
  local path
  path=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
  printf 'Z:%s' "${path//\//\\}"
}

# Sorvik plays a sample GIF of our own under Wine, with a display, and is closed after a few
# seconds the way a user closes it (WM_CLOSE from a small helper that waits for it to play).
sorvik=$win_build/viewer/Sorvik.exe
closer=$win_build/viewer/SorvikCloser.exe
gif=viewer/tests/data/sample.gif
if [ -f "$sorvik" ] && [ -f "$closer" ]; then
  echo "== Sorvik.exe $gif (closed after 4 seconds)"
  prepare_wine
  timeout -k 10 90 wine "$sorvik" "$gif" >/dev/null 2>&1 &
  viewer_pid=$!
  closer_status=0
  timeout -k 10 60 wine "$closer" 4 "sample.gif - " || closer_status=$?
  viewer_status=0
  wait "$viewer_pid" || viewer_status=$?
  echo "Sorvik.exe exited with $viewer_status"
  [ "$closer_status" -eq 0 ] && [ "$viewer_status" -eq 0 ] || { echo "main job: the viewer did not play and close"; exit 1; }
else
  echo "== Sorvik.exe is not built (build-win); skipped"
fi

# Talvena converts the sample GIF into an MP4 video through the stand-in encoder in its Modules
# folder. Two of its settings let it run unattended: start converting once the command line's
# files are in ("AutoStart") and close the window when the run is completed ("AutoClose"); both
# are put back afterwards. The stand-in probe then describes the video.
talvena=$win_build/bin/Talvena.exe
if [ -f "$talvena" ]; then
  prepare_wine
  rm -rf out/video
  mkdir -p out/video
  settings='HKCU\Software\Brenmoor\Talvena\Settings'
  set_setting() { wine reg add "$settings" /v "$1" /t REG_DWORD /d "$2" /f >/dev/null 2>&1; }
  set_setting AutoStart 1
  set_setting AutoClose 1
  echo "== Talvena.exe $sample /o out/video"
  converter_status=0
  timeout -k 10 180 wine "$talvena" "$(windows_path "$sample")" /o "$(windows_path out/video)" || converter_status=$?
  set_setting AutoStart 0
  set_setting AutoClose 0
  echo "Talvena.exe exited with $converter_status"
  video=out/video/sample.mp4
  [ "$converter_status" -eq 0 ] && [ -s "$video" ] || { echo "main job: the converter made no video"; exit 1; }
  ls -l "$video"
  wine "$win_build/bin/Modules/Harrowin.exe" "$(windows_path "$video")" -o "$(windows_path out/video/sample.xml)" >/dev/null 2>&1 \
    && cat out/video/sample.xml
else
  echo "== Talvena.exe is not built (build-win); skipped"
fi
