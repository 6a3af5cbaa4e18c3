#!/usr/bin/env bash
# Runs a Windows program under Wine with a private prefix, no debug chatter, a display and a time limit.
# Wine waits forever instead of failing when a window is made without a display, so a display
# (Xvfb) is always provided and every run has a timeout.
set -u
prog="$1"; shift
. "$(dirname "${BASH_SOURCE[0]}")/wine-loader.sh"
loader=$(wine_loader_for "$prog")
[ "$loader" = wine ] || export WINELOADER=$loader
limit="${WINE_RUN_TIMEOUT:-300}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
if [ -z "${WINEPREFIX:-}" ]; then
  build=$(cd "$(dirname "$prog")" && pwd)
  while [ "$build" != "/" ] && [ ! -f "$build/CMakeCache.txt" ]; do build=$(dirname "$build"); done
  [ "$build" = "/" ] && build=$(dirname "$prog")
  export WINEPREFIX="$build/wineprefix"
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  (
    flock 9
    [ -f "$WINEPREFIX/system.reg" ] || timeout 300 "$loader" wineboot -i >/dev/null 2>&1
  ) 9>"$WINEPREFIX.lock"
fi
wine_link_cjk_font "$loader"
# Output goes through a file: Wine's helper processes (services, explorer) may outlive the program,
# and they must not hold the caller's pipe open, or ctest would wait for them until its timeout.
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if [ -n "${DISPLAY:-}" ]; then
  timeout -k 10 "$limit" "$loader" "$prog" "$@" >"$log" 2>&1 </dev/null
else
  xvfb-run -a -s "-screen 0 1280x1024x24" timeout -k 10 "$limit" "$loader" "$prog" "$@" >"$log" 2>&1 </dev/null
fi
rc=$?
cat "$log"
exit $rc
