#!/usr/bin/env bash
# The monitor end to end: the real spoolscope.exe runs under Wine as a
# program of its own, against three simulated print servers on loopback,
# while ssinspect.exe reads and drives its window from outside. Each run
# uses a folder of its own holding a copy of spoolscope.exe and stand-ins
# (a recorder, standin.exe) named procfix.exe, qinstall.exe and, in the
# first run, explorer.exe: the monitor starts them, and each appends its
# name, working directory, arguments and show command to launches.txt.
#
#   monitor_test.sh BUILD_DIR SPOOLSCOPE_EXE SSINSPECT_EXE STANDIN_EXE SIM
set -u
build=$1
spoolscope=$2
inspector=$3
standin=$4
sim=$5
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(cd "$(mktemp -d /tmp/spoolscope-e2e.XXXXXX)" && pwd -P)
status=0

. "$root/tests/e2e/e2elib.sh"

# ---- The servers ----

# 127.0.0.41 answers first, so it is the one polled; the others also have
# printers, which must never show.
start_sim --log "$work/sim.log" --announce 127.0.0.1:60000 --interval 200 \
  --server 127.0.0.41 --printer Laser2F,ip=192.168.0.200,type=1,state=0x8C,jobs=3,percent=50 \
  --printer Inkwell,state=0xA0 --printer Annex,state=0x00 \
  --server 127.0.0.43 --printer Other43 \
  --server 127.0.0.42 --printer Other42

tree_discovered='ZQ5518LB
  127.0.0.41
  127.0.0.42
  127.0.0.43'
tree_polled='ZQ5518LB
  127.0.0.41 [expanded]
    Annex
    Inkwell
    Laser2F
  127.0.0.42
  127.0.0.43'
all_enabled=$(printf '%s\tenabled\n' 1000 1001 1002 1003 1004 1 2)
busy=$(printf '1000\tdisabled\n1001\tdisabled\n1002\tdisabled\n1003\tdisabled\n1004\tenabled\n1\tdisabled\n2\tdisabled')
columns=$(printf 'Printer\tStatus\tJobs in Queue\tPercent')
rows=$(printf 'Laser2F\tBUSY\t3\t50\nInkwell\tPAPER OUT\t0\t0\nAnnex\tOFF-LINE\t0\t0')
info_laser='Printer Name:\t\tLaser2F \t\t\t\t   \r\nUser IP:\t\t\t192.168.0.200 \t\t\t\t   \r\nPrinter Type:\t\tLPT \t\t\t\t   \r\nPrinter State:\t\tBUSY \t\t\t\t   \r\nJob Number:\t\t3'
info_inkwell='Printer Name:\t\tInkwell \t\t\t\t   \r\nUser IP:\t\t\t0.0.0.0 \t\t\t\t   \r\nPrinter Type:\t\tBi-direction \t\t\t\t   \r\nPrinter State:\t\tPAPER OUT \t\t\t\t   \r\nJob Number:\t\t0'

# ---- The first run: discovery, polls, the views and every action ----

echo "== discovery, polls, views and actions; closed with the close box"
start_monitor main
cp "$standin" "$run_dir/explorer.exe" # found before Wine's own: the program's folder is searched first
main_win=$(winpath "$run_dir")

wait_for_output "the six controls disabled, Reset enabled, while discovering" 8 "$busy" enabled
inspect click 1004 || fail "Reset during the discovery"
inspect --timeout 10 wait-tree "$tree_discovered" || abort "the servers, without printers, after the discovery"
check "all controls enabled after the discovery" "$all_enabled" "$(inspect enabled)"
inspect --timeout 10 wait-tree "$tree_polled" ||
  abort "the first server's printers, sorted and expanded, after a poll"
wait_for_launches "procfix.exe started from the program folder, during the discovery" \
  "procfix.exe cwd=$main_win args= show=0"

# 'list info' prints the rows, then the information box on one line.
inspect expand ZQ5518LB select ZQ5518LB/127.0.0.41/Laser2F || abort "selecting a printer"
check "after selecting Laser2F: the list's columns and rows, the information box" \
  "$columns"$'\n'"$rows"$'\n'"$info_laser" "$(inspect columns list info)"
sysmenu=$(inspect sysmenu)
check "the system menu ends with a separator and the About item" "$(printf -- '-\n16\t&About spoolscope...')" \
  "$(tail -n 2 <<<"$sysmenu")"
grep -q "^61536	&Close" <<<"$sysmenu" || fail "the system menu lost its Close item: $sysmenu"

inspect dblclick ZQ5518LB/127.0.0.42 || abort "double-clicking a server"
check "after double-clicking 127.0.0.42 (never polled): no rows, an empty box" "" "$(inspect list info)"
inspect dblclick ZQ5518LB/127.0.0.41/Inkwell || abort "double-clicking a printer"
check "after double-clicking Inkwell: its server's rows, Inkwell in the box" "$rows"$'\n'"$info_inkwell" \
  "$(inspect list info)"
inspect dblclick ZQ5518LB || abort "double-clicking the root"
check "after double-clicking the root: no rows, an empty box" "" "$(inspect list info)"

inspect click 1004 || fail "Reset after the discovery"
wait_for_launches "explorer for the server, qinstall.exe for the printer, procfix.exe for each Reset" \
  "$(printf '%s\n' "explorer.exe cwd=$(winpath "$work") args=http://127.0.0.42 show=1" \
    "procfix.exe cwd=$main_win args= show=0" "procfix.exe cwd=$main_win args= show=0" \
    "qinstall.exe cwd=$main_win args= show=0" | sort)"

inspect close wait-gone || fail "the close box did not close the window"
queries=$(cat "$work/sim.log")
expect_exit "close box" "$monitor"

# Only the first server that answered is queried: 0x55 alone, from the
# monitor's port, every two seconds.
check "datagrams other than the query 0x55 from 127.0.0.1:60000 to 127.0.0.41" "" \
  "$(grep -v '^[0-9]* 127\.0\.0\.41 127\.0\.0\.1:60000 1 55$' <<<"$queries")"
awk 'NR > 1 && ($1 - last < 1500 || $1 - last > 2500) { bad = 1 } { last = $1 } END { exit bad || NR < 2 }' \
  <<<"$queries" || fail "the queries are not two seconds apart: $queries"

# ---- Closing, four more ways ----

# Arguments change nothing; the server's page is asked of Wine's own
# explorer, after which the monitor must still answer; Enter reaches the
# dialog through the focused tree, Escape with no control focused.
# Without a window manager Wine takes two seconds to hide a window, so each
# run closes in the background while the next one starts (the newest
# monitor's socket gets the datagrams).
closer=
finish_close() {
  [ -n "$closer" ] || return 0
  wait "$closer" || fail "$closed_name did not close the window"
  expect_exit "$closed_name" "$closed_monitor"
  closer=
}
while IFS='|' read -r name args before close <&3; do
  echo "== closed by $name"
  # shellcheck disable=SC2086
  start_monitor "$name" $args
  finish_close
  inspect --timeout 15 wait-tree "$tree_discovered" || abort "$name: the tree after the discovery"
  if [ -n "$before" ]; then
    # shellcheck disable=SC2086
    inspect $before >/dev/null || abort "$name: $before"
  fi
  # shellcheck disable=SC2086
  inspect $close wait-gone &
  closer=$!
  closed_name=$name
  closed_monitor=$monitor
done 3<<'RUNS'
OK, started with arguments|/discover 127.0.0.99 --help x||click 1
Cancel, after the browser was asked for a server's page||expand ZQ5518LB dblclick ZQ5518LB/127.0.0.43 list info|click 2
Escape||enabled|key escape
Enter, with the focus in the tree||dblclick ZQ5518LB|key enter
RUNS
finish_close

[ $status -eq 0 ] && echo "all end-to-end checks passed"
exit $status
