# Sourced by the scripts that run Windows programs: start_display FIRST LAST starts an Xvfb of
# our own on a free display number in the range, exports DISPLAY and sets xvfb_pid.
# A number is taken when its lock file, its socket file or its abstract socket exists: programs
# with a /tmp of their own share the abstract sockets, and two servers on one number would have
# one run's tests drawing on another run's server.
display_taken() {
  [ -e "/tmp/.X$1-lock" ] || [ -e "/tmp/.X11-unix/X$1" ] || grep -q "@/tmp/.X11-unix/X$1\$" /proc/net/unix 2>/dev/null
}

# The server on the number is ours once it listens and its lock file holds its process id: two
# runs that try one number at once both see a socket come up, but only one server got the lock.
display_is_ours() {
  local n="$1" pid="$2"
  for _ in $(seq 1 100); do
    kill -0 "$pid" 2>/dev/null || return 1
    if grep -q "@/tmp/.X11-unix/X$n\$" /proc/net/unix 2>/dev/null; then
      [ "$(tr -d ' \n' <"/tmp/.X$n-lock" 2>/dev/null)" = "$pid" ]
      return
    fi
    sleep 0.05
  done
  return 1
}

# Runs started at once begin their search at different numbers, so they seldom race for one.
start_display() {
  local first="$1" last="$2" span offset i n
  span=$((last - first + 1))
  offset=$((RANDOM % span))
  for i in $(seq 0 $((span - 1))); do
    n=$((first + (offset + i) % span))
    display_taken "$n" && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    if display_is_ours "$n" "$xvfb_pid"; then
      export DISPLAY=":$n"
      return 0
    fi
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  done
  echo "no free display in $first..$last" >&2
  return 1
}
