#!/usr/bin/env bash
# The discovery probe on a real network: the monitor's service runs under Wine
# in one network namespace, a simulated print server in another, joined by a
# veth pair. Checks that the probe goes to 255.255.255.255:60000 as 0xAA and
# seven zeros, and that the server's presence reply is collected.
#
#   broadcast_test.sh BUILD_DIR NET_TESTS_EXE SIM
# Exits 77 (skipped) where namespaces cannot be made (not root, no ip).
set -u
build=$1
tests_exe=$2
sim=$3
root=$(cd "$(dirname "$0")/../.." && pwd)

if [ "$(id -u)" -ne 0 ] || ! command -v ip >/dev/null 2>&1; then
  echo "SKIP: network namespaces need root and iproute2"
  exit 77
fi

tag=ss$$
mon=${tag}mon
srv=${tag}srv
work=$(mktemp -d /tmp/spoolscope-netns.XXXXXX)
state=$build/netns  # a Wine session of its own: wineserver owns the sockets
pids=()

cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  ip netns exec "$mon" "$root/scripts/wine-run" --build "$state" --stop >/dev/null 2>&1
  ip netns del "$mon" 2>/dev/null
  ip netns del "$srv" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

if ! ip netns add "$mon" 2>"$work/err" || ! ip netns add "$srv" 2>>"$work/err"; then
  echo "SKIP: cannot create network namespaces here: $(cat "$work/err")"
  exit 77
fi
set -e
ip link add "${tag}a" netns "$mon" type veth peer name "${tag}b" netns "$srv"
ip -n "$mon" link set lo up
ip -n "$srv" link set lo up
ip -n "$mon" addr add 192.0.2.1/24 dev "${tag}a"
ip -n "$srv" addr add 192.0.2.2/24 dev "${tag}b"
ip -n "$mon" link set "${tag}a" up
ip -n "$srv" link set "${tag}b" up
ip -n "$mon" route add default via 192.0.2.2 dev "${tag}a"

# The server binds the wildcard: a socket bound to a unicast address never
# sees a broadcast. A second socket bound to the broadcast address receives
# only broadcasts, and so proves where the probe was sent.
ip netns exec "$srv" "$sim" --quiet --server 0.0.0.0 --printer NetnsPrinter \
  --ready-file "$work/ready" --log "$work/sim.log" --lifetime 120 &
pids+=($!)
ip netns exec "$srv" python3 -c '
import socket, sys
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
s.bind(("255.255.255.255", 60000))
open(sys.argv[1] + ".ready", "w").close()
data, src = s.recvfrom(2048)
with open(sys.argv[1], "w") as f:
    f.write("%s:%d %s\n" % (src[0], src[1], data.hex()))
' "$work/broadcast.log" &
pids+=($!)
for _ in $(seq 100); do
  [ -s "$work/ready" ] && [ -e "$work/broadcast.log.ready" ] && break
  sleep 0.1
done
set +e

SPOOLSCOPE_NETNS_SERVER=192.0.2.2 ip netns exec "$mon" "$root/scripts/wine-run" --build "$state" \
  "$tests_exe" --gtest_filter='NetnsTest.*' --gtest_also_run_disabled_tests
rc=$?
for _ in $(seq 50); do [ -s "$work/broadcast.log" ] && break; sleep 0.1; done

echo "probe seen by the broadcast socket: $(cat "$work/broadcast.log" 2>/dev/null)"
if ! grep -qx '192.0.2.1:60000 aa00000000000000' "$work/broadcast.log" 2>/dev/null; then
  echo "FAIL: no probe 0xAA + 7 zeros from 192.0.2.1:60000 to 255.255.255.255:60000"
  rc=1
fi
exit $rc
