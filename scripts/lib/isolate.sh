# Runs a command in a network namespace of its own, when we may (root, and
# unshare works): loopback, plus a veth pair as the default route that takes
# the monitor's discovery broadcast, so that nothing the Windows programs send
# leaves the machine. Elsewhere the command runs as it is.
#
#   run_isolated COMMAND [ARGS...]
# Sourced by scripts/test and scripts/demo. A Wine session must be started
# inside (its wineserver owns the sockets): stop any session of the build
# folder before.

can_isolate() {
  [ "$(id -u)" -eq 0 ] && command -v unshare >/dev/null 2>&1 && command -v ip >/dev/null 2>&1 &&
    unshare --net true 2>/dev/null
}

run_isolated() {
  if ! can_isolate; then
    "$@"
    return
  fi
  SPOOLSCOPE_ISOLATED=1 unshare --net bash -c '
    set -e
    ip link set lo up
    ip link add ssink0 type veth peer name ssink1
    ip addr add 192.0.2.1/24 dev ssink0
    ip link set ssink0 up
    ip link set ssink1 up
    ip route add default dev ssink0
    set +e
    exec "$@"' isolated "$@"
}
