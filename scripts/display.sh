# Sourced by the scripts that run Windows programs: start_display FIRST LAST starts an Xvfb of
# our own on the first free display number in the range, exports DISPLAY and sets xvfb_pid.
# A number is taken when its lock file, its socket file or its abstract socket exists: programs
# with a /tmp of their own share the abstract sockets, and two servers on one number would have
# one run's tests drawing on another run's server.
display_taken() {
  [ -e "/tmp/.X$1-lock" ] || [ -e "/tmp/.X11-unix/X$1" ] || grep -q "@/tmp/.X11-unix/X$1\$" /proc/net/unix 2>/dev/null
}

start_display() {
  local n
  for n in $(seq "$1" "$2"); do
    display_taken "$n" && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 1 50); do
      grep -q "@/tmp/.X11-unix/X$n\$" /proc/net/unix 2>/dev/null && break
      kill -0 "$xvfb_pid" 2>/dev/null || break
      sleep 0.1
    done
    if kill -0 "$xvfb_pid" 2>/dev/null; then
      export DISPLAY=":$n"
      return 0
    fi
  done
  echo "no free display in $1..$2" >&2
  return 1
}
