#!/usr/bin/env bash
# Runs a Windows program under Wine with no debug chatter, a display and a time limit.
# Wine waits forever instead of failing when a window is made without a display, so a display
# (Xvfb) is always provided and every run has a timeout.
#
# Each run has a display and a Wine prefix of its own, so that test programs run side by side:
# nothing they draw, focus, read from the screen or write to the registry meets another's. The
# prefix is a copy of one booted once per build folder (wineboot takes half a minute, a copy a
# moment) and goes when the program ends.
#   WINE_RUN_TIMEOUT   seconds the program may run (300)
#   WINE_RUN_UNMANAGED 1: Wine places the windows of the prefix's programs itself instead of
#                      leaving them to a window manager (the test display has none)
#   WINE_RUN_KEEP      1: the prefix stays for a look afterwards (its path is printed)
#   WINE_RUN_SHARED    1: run in $WINEPREFIX (default: the build folder's wineprefix) on $DISPLAY
#                      as they are, as a developer does by hand
# "wine-run.sh --boot BUILD" only boots the build folder's template (the tests' first fixture).
set -u
boot_only=0
if [ "${1:-}" = --boot ]; then
  boot_only=1
  shift
fi
prog="$1"; shift
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/wine-loader.sh"
. "$here/../scripts/display.sh"
loader=$(wine_loader_for "$prog")
[ "$loader" = wine ] || export WINELOADER=$loader
limit="${WINE_RUN_TIMEOUT:-300}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

build=$(cd "$(dirname "$prog")" 2>/dev/null && pwd || echo /)
while [ "$build" != "/" ] && [ ! -f "$build/CMakeCache.txt" ]; do build=$(dirname "$build"); done
[ "$build" = "/" ] && build=$(cd "$(dirname "$prog")" 2>/dev/null && pwd || pwd)

# What a booted prefix depends on: a new Wine would update every copy at its first start, and
# Wine's own fonts and the CJK font are put into it.
wine_stamp() {
  echo "$("$loader" --version 2>/dev/null) $(stat -c %Y /usr/share/wine/wine.inf 2>/dev/null)" \
    "$(ls /usr/share/wine/fonts 2>/dev/null | wc -l)" "$(ls "$cjk_font" 2>/dev/null)"
}

# Boots the template $1 once for this Wine (under a lock: runs side by side wait for the first)
# and lets its wineserver end, so that its registry is on disk before anyone copies it.
boot_template() {
  local prefix="$1" stamp
  stamp=$(wine_stamp)
  [ "$(cat "$prefix/.booted" 2>/dev/null)" = "$stamp" ] && return 0
  mkdir -p "$(dirname "$prefix")"
  (
    flock 9
    [ "$(cat "$prefix/.booted" 2>/dev/null)" = "$stamp" ] && exit 0
    rm -rf "$prefix"
    mkdir -p "$prefix"
    WINEPREFIX="$prefix" timeout 300 "$loader" wineboot -i >/dev/null 2>&1 &&
      wine_own_fonts "$prefix" &&
      WINEPREFIX="$prefix" wine_link_cjk_font "$loader" &&
      WINEPREFIX="$prefix" timeout 60 wineserver -w &&
      echo "$stamp" >"$prefix/.booted"
  ) 9>"$prefix.lock"
  [ "$(cat "$prefix/.booted" 2>/dev/null)" = "$stamp" ] || { echo "wine-run: could not boot $prefix" >&2; return 1; }
}

# A copy of the template: the program files are hard links (Wine only reads them), everything it
# may write (registry, ini and inf files, the user's folders) is copied.
clone_prefix() {
  local template="$1" prefix="$2"
  cp -al "$template/." "$prefix/" || return 1
  rm -f "$prefix/.booted"
  (cd "$template" && find . -type f ! -regex '.*\.\(dll\|exe\|sys\|drv\|ocx\|cpl\|acm\|ax\|tlb\|ds\|nls\|msstyles\|com\)' -print0) |
    (cd "$prefix" && while IFS= read -r -d '' file; do cp -p --remove-destination "$template/$file" "$file" || exit 1; done)
}

if [ $boot_only = 1 ]; then
  build=$(cd "$prog" && pwd)
  boot_template "$build/wineprefix-template"
  exit
fi

xvfb_pid=""
prefix=""
cleanup() {
  if [ -n "$prefix" ]; then
    WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1
    WINEPREFIX="$prefix" timeout 20 wineserver -w >/dev/null 2>&1
    if [ "${WINE_RUN_KEEP:-0}" = 1 ]; then echo "wine-run: prefix kept in $prefix"; else rm -rf "$prefix"; fi
  fi
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  [ -n "${log:-}" ] && rm -f "$log"
}
child=""
trap cleanup EXIT
trap '[ -n "$child" ] && kill "$child" 2>/dev/null; exit 143' TERM INT

if [ "${WINE_RUN_SHARED:-0}" = 1 ]; then
  export WINEPREFIX="${WINEPREFIX:-$build/wineprefix}"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    (flock 9; [ -f "$WINEPREFIX/system.reg" ] || timeout 300 "$loader" wineboot -i >/dev/null 2>&1) 9>"$WINEPREFIX.lock"
  fi
  wine_fonts_once "$loader"
  [ -n "${DISPLAY:-}" ] || { start_display 400 999 || exit 1; }
else
  boot_template "$build/wineprefix-template" || exit 1
  mkdir -p "$build/wineprefixes"
  prefix=$(mktemp -d "$build/wineprefixes/$(basename "$prog" .exe).XXXXXX")
  clone_prefix "$build/wineprefix-template" "$prefix" || { echo "wine-run: could not copy the prefix" >&2; exit 1; }
  export WINEPREFIX="$prefix"
  start_display 400 999 || exit 1
fi

if [ "${WINE_RUN_UNMANAGED:-0}" = 1 ]; then
  "$loader" reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /d N /f >/dev/null 2>&1
fi

# Output goes through a file: Wine's helper processes (services, explorer) may outlive the program,
# and they must not hold the caller's pipe open, or ctest would wait for them until its timeout.
# It runs in the background so that a TERM from ctest ends it at once, and Wine and the display
# with it.
log=$(mktemp)
timeout -k 10 "$limit" "$loader" "$prog" "$@" >"$log" 2>&1 </dev/null &
child=$!
wait "$child"
rc=$?
child=""
cat "$log"
exit $rc
