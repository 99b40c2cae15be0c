#!/usr/bin/env bash
# The real spoolscope.exe under a datagram flood: bursts of datagrams of
# random lengths and contents, mixed with presence replies from thousands of
# addresses and status tables, sent over loopback as fast as the socket takes
# them, first while the monitor polls, then across a discovery. The monitor
# must stay alive with bounded memory, answer within a second throughout,
# and show the right servers and printers once the flood is over.
#
#   flood_test.sh BUILD_DIR SPOOLSCOPE_EXE SSINSPECT_EXE STANDIN_EXE SIM FLOOD [COUNT [SECONDS]]
#
# COUNT (default 200000) datagrams at least, for SECONDS (default 6) at least,
# in each of the two bursts.
set -u
build=$1
spoolscope=$2
inspector=$3
standin=$4
sim=$5
flood=$6
count=${7:-200000}
seconds=${8:-6}
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(cd "$(mktemp -d /tmp/spoolscope-flood.XXXXXX)" && pwd -P)
status=0

. "$root/tests/e2e/e2elib.sh"

# The resident memory of the monitor's process, in KiB.
monitor_kib() {
  local pid
  for pid in $(pgrep -x spoolscope.exe); do
    if tr '\0' '\n' <"/proc/$pid/cmdline" 2>/dev/null | grep -qF "${run_dir##*/}"; then
      awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status"
      return 0
    fi
  done
  echo 0
}

# One burst, with the monitor probed ten times a second while it lasts.
burst() { # WHAT SEED SOURCES REPLIES [ACTION...]
  local what=$1 seed=$2 sources=$3 replies=$4 sender
  shift 4
  echo "== a burst $what"
  "$flood" --count "$count" --seconds "$seconds" --seed "$seed" --sources "$sources" --replies "$replies" >"$work/flood-$seed.txt" 2>&1 &
  sender=$!
  [ $# -eq 0 ] || inspect "$@" >/dev/null || fail "$what: $*"
  inspect responsive "$seconds" || fail "$what: the monitor did not answer within a second"
  wait "$sender" || fail "$what: the flood failed: $(cat "$work/flood-$seed.txt")"
  cat "$work/flood-$seed.txt"
  running "$monitor" || abort "$what: the monitor's process is gone"
}

tree_polled='ZQ5518LB
  127.0.0.61 [expanded]
    Annex
    Inkwell
    Laser2F
  127.0.0.62'

start_sim --announce 127.0.0.1:60000 --interval 500 \
  --server 127.0.0.61 --printer Laser2F,jobs=3 --printer Inkwell,state=0xA0 --printer Annex \
  --server 127.0.0.62 --printer Other62
start_monitor flood
inspect --timeout 20 wait-tree "$tree_polled" || abort "the servers and printers before the flood"
before_kib=$(monitor_kib)

burst "while polling" 1 5000 10
# A third of the burst are presence replies, from 1,000 addresses.
burst "across a discovery" 2 1000 300 click 1003
servers=$(inspect --timeout 30 --plain tree | grep -c '^  [^ ]')
echo "servers in the tree after the flooded discovery: $servers"
[ "$servers" -gt 2 ] && [ "$servers" -le 1002 ] || fail "expected up to 1,002 servers, found $servers"

# The caps hold: a few thousand addresses and some tables, never the flood.
after_kib=$(monitor_kib)
echo "resident memory: $before_kib KiB before the flood, $after_kib KiB after"
[ "$before_kib" -gt 0 ] || fail "the monitor's process was not found in /proc"
[ $((after_kib - before_kib)) -lt 65536 ] || fail "the monitor grew by more than 64 MiB"

echo "== after the flood: a discovery, then polls"
inspect --timeout 30 click 1003 wait-tree "$tree_polled" || fail "the servers and printers after the flood"
inspect close wait-gone || fail "the close box did not close the window"
expect_exit "after the flood" "$monitor"

[ $status -eq 0 ] && echo "the monitor came through the flood"
exit $status
