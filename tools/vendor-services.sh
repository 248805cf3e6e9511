# Local vendor services (tests/fakes/vendor_services.py) for the tests and the
# demo; source it, then call
#   vendor_services_start STATE_DIR   # starts the services on two free ports
#   vendor_services_stop              # ends them
#
# start exports
#   TIQORA_VENDOR_DIR   absolute Linux path of STATE_DIR (ports, scenario,
#                       journal/, received/, server.log)
#   TIQORA_VENDOR_PORT  port of the vendor's services
#   TIQORA_LAN_PORT     port of the LAN server
# The process writes to STATE_DIR/server.log, never to a pipe: a pipe held by
# a background process keeps ctest (or a CI runner) waiting.

vendor_services_log() { printf '[vendor] %s\n' "$*"; }

vendor_services_start() {
  local state=$1 root
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  if ! mkdir -p "$state" || ! state=$(cd "$state" && pwd) || [ -z "$state" ]; then
    vendor_services_log "cannot use $1 as the state folder"
    return 1
  fi
  rm -f "$state/ports"
  python3 "$root/tests/fakes/vendor_services.py" --state "$state" --port 0 --port 0 \
    </dev/null >"$state/server.log" 2>&1 &
  VENDOR_SERVICES_PID=$!

  local i ports=()
  for i in $(seq 1 200); do
    if [ -f "$state/ports" ]; then
      mapfile -t ports <"$state/ports"
      [ "${#ports[@]}" -ge 2 ] && break
    fi
    if ! kill -0 "$VENDOR_SERVICES_PID" 2>/dev/null; then break; fi
    sleep 0.05
  done
  if [ "${#ports[@]}" -lt 2 ]; then
    vendor_services_log "the services did not start; see $state/server.log"
    vendor_services_stop
    return 1
  fi
  export TIQORA_VENDOR_DIR=$state
  export TIQORA_VENDOR_PORT=${ports[0]}
  export TIQORA_LAN_PORT=${ports[1]}
  vendor_services_log "vendor port $TIQORA_VENDOR_PORT, LAN port $TIQORA_LAN_PORT, state $state"
}

vendor_services_stop() {
  if [ -n "${VENDOR_SERVICES_PID:-}" ]; then
    kill "$VENDOR_SERVICES_PID" 2>/dev/null || true
    wait "$VENDOR_SERVICES_PID" 2>/dev/null || true
    VENDOR_SERVICES_PID=
  fi
}
