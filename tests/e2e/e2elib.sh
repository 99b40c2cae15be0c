# Helpers of the end-to-end scripts, which set build, spoolscope, inspector,
# standin, sim, root and work, and start with status=0 before sourcing this.
# shellcheck shell=bash
monitor= # the wine-run process of the latest monitor
run_dir= # its program folder

fail() {
  echo "FAIL: $*"
  status=1
}

# Ends the test: after a wait that timed out there is nothing sensible to check.
abort() {
  fail "$@"
  exit 1
}

check() { # WHAT EXPECTED ACTUAL
  [ "$2" == "$3" ] && return 0
  fail "$1"
  echo "  expected:"
  printf '%s\n' "$2" | sed 's/^/    | /'
  echo "  actual:"
  printf '%s\n' "$3" | sed 's/^/    | /'
  return 1
}

# The Windows name of a Unix path (Wine's drive Z: is /).
winpath() { printf 'Z:%s' "${1//\//\\}"; }

running() {
  local st
  st=$(ps -o stat= -p "$1" 2>/dev/null) || return 1
  [[ $st != Z* ]]
}

kill_tree() {
  local child
  for child in $(pgrep -P "$1"); do kill_tree "$child"; done
  kill "$1" 2>/dev/null
}

# Everything this script started runs as one of its jobs.
cleanup() {
  local pid
  for pid in $(jobs -p); do kill_tree "$pid"; done
  if [ $status -eq 0 ]; then
    rm -rf "$work"
  else
    echo "files kept in $work"
  fi
}
trap cleanup EXIT
trap 'exit 1' INT TERM

inspect() {
  "$root/scripts/wine-run" --build "$build" "$inspector" --exe "$run_dir/spoolscope.exe" "$@" 3<&-
}

# Starts the monitor from a new program folder, with the working directory
# elsewhere ($work), so that launches from the program folder show.
start_monitor() { # NAME [ARGS...]
  run_dir=$work/$1
  shift
  mkdir -p "$run_dir"
  cp "$spoolscope" "$run_dir/spoolscope.exe"
  cp "$standin" "$run_dir/procfix.exe"
  cp "$standin" "$run_dir/qinstall.exe"
  (cd "$work" && exec "$root/scripts/wine-run" --build "$build" "$run_dir/spoolscope.exe" "$@") \
    >"$run_dir/monitor.log" 2>&1 3<&- &
  monitor=$!
}

# The monitor's process must end by itself, with exit code 0.
expect_exit() { # WHAT PID
  local deadline=$((SECONDS + 10)) rc
  while running "$2"; do
    if [ $SECONDS -ge $deadline ]; then
      fail "$1: the monitor's process did not end within 10 s of its window closing"
      kill_tree "$2"
      return
    fi
    sleep 0.1
  done
  wait "$2"
  rc=$?
  [ $rc -eq 0 ] || fail "$1: the monitor exited with $rc"
}

# Repeats an inspect command until it prints EXPECTED.
wait_for_output() { # WHAT SECONDS EXPECTED ARGS...
  local what=$1 deadline=$((SECONDS + $2)) expected=$3 actual=
  shift 3
  while [ $SECONDS -lt $deadline ]; do
    actual=$(inspect --timeout 1 "$@" 2>&1) && [ "$actual" == "$expected" ] && return 0
    sleep 0.1
  done
  check "$what" "$expected" "$actual"
  abort "gave up waiting for: $what"
}

# The launches recorded so far, sorted: the stand-ins run concurrently.
launches() { sort "$run_dir/launches.txt" 2>/dev/null; }

wait_for_launches() { # WHAT EXPECTED
  local deadline=$((SECONDS + 5))
  while [ $SECONDS -lt $deadline ]; do
    [ "$(launches)" == "$2" ] && return 0
    sleep 0.1
  done
  check "$1" "$2" "$(launches)"
}

# Starts the simulator (its arguments) as a job and waits until it has bound
# its sockets.
start_sim() {
  "$sim" --quiet --exit-with-parent --lifetime 900 --ready-file "$work/sim.ready" "$@" &
  for _ in $(seq 50); do
    [ -s "$work/sim.ready" ] && return 0
    sleep 0.1
  done
  abort "the simulator did not bind its sockets within 5 s"
}
