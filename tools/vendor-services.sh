# Local vendor services (tests/fakes/vendor_services.py) for the tests and the
# demo; source it, then call
#   vendor_services_start STATE_DIR   # starts the services on nine free ports
#   vendor_services_trust_root BIN    # trusts the test authority in the Wine
#                                     # machine, with BIN/trust_root.exe
#   vendor_services_stop              # ends them
#
# start makes a test certificate authority afresh in STATE_DIR/tls
# (tools/test-ca.sh) and exports
#   TIQORA_VENDOR_DIR   absolute Linux path of STATE_DIR (ports, scenario,
#                       journal/, received/, tls/, server.log)
#   TIQORA_VENDOR_PORT  port of the vendor's services (plain HTTP only; the
#                       redirect-to-http scenario sends TLS posts here)
#   TIQORA_LAN_PORT     port of the LAN server (plain HTTP only)
#   TIQORA_TLS_PORT     the vendor's services over TLS only (a plain HTTP
#                       request fails the handshake), with a certificate for
#                       localhost from the test authority
#   TIQORA_TLS_ELSEWHERE_PORT   the same with a certificate from the test
#                       authority for another host name
#   TIQORA_TLS_STRANGER_PORT    the same with a certificate for localhost from
#                       an authority that is never trusted
#   TIQORA_TLS_EXPIRED_PORT     the same with a certificate for localhost from
#                       the test authority whose validity ended 2 days ago
#   TIQORA_TLS_NOT_YET_VALID_PORT  the same with one whose validity begins in
#                       2 days
#   TIQORA_TLS_CLIENT_ONLY_PORT    the same with one for client
#                       authentication only, not for a server
#   TIQORA_TLS_SELF_SIGNED_PORT    the same with a certificate for localhost
#                       signed by its own key, from no authority
#   TIQORA_TEST_ROOT    the test authority's certificate (PEM, Linux path)
# The process writes to STATE_DIR/server.log, never to a pipe: a pipe held by
# a background process keeps ctest (or a CI runner) waiting.

vendor_services_log() { printf '[vendor] %s\n' "$*"; }
source "$(dirname "${BASH_SOURCE[0]}")/test-ca.sh"

vendor_services_start() {
  local state=$1 root
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  if ! mkdir -p "$state" || ! state=$(cd "$state" && pwd) || [ -z "$state" ]; then
    vendor_services_log "cannot use $1 as the state folder"
    return 1
  fi
  rm -f "$state/ports"
  test_ca_make "$state/tls" || return 1
  # Two plain ports (vendor, LAN), then a TLS port for each certificate, in
  # the order of the exports below.
  local tls=$state/tls name tls_ports=()
  local certificates=(localhost elsewhere stranger expired not-yet-valid client-only self-signed)
  for name in "${certificates[@]}"; do
    tls_ports+=(--tls "0,$tls/$name.pem,$tls/$name.key")
  done
  local count=$(( 2 + ${#certificates[@]} ))
  python3 "$root/tests/fakes/vendor_services.py" --state "$state" --port 0 --port 0 "${tls_ports[@]}" \
    </dev/null >"$state/server.log" 2>&1 &
  VENDOR_SERVICES_PID=$!

  local i ports=()
  for i in $(seq 1 200); do
    if [ -f "$state/ports" ]; then
      mapfile -t ports <"$state/ports"
      [ "${#ports[@]}" -ge "$count" ] && break
    fi
    if ! kill -0 "$VENDOR_SERVICES_PID" 2>/dev/null; then break; fi
    sleep 0.05
  done
  if [ "${#ports[@]}" -lt "$count" ]; then
    vendor_services_log "the services did not start; see $state/server.log"
    vendor_services_stop
    return 1
  fi
  export TIQORA_VENDOR_DIR=$state
  export TIQORA_VENDOR_PORT=${ports[0]}
  export TIQORA_LAN_PORT=${ports[1]}
  export TIQORA_TLS_PORT=${ports[2]}
  export TIQORA_TLS_ELSEWHERE_PORT=${ports[3]}
  export TIQORA_TLS_STRANGER_PORT=${ports[4]}
  export TIQORA_TLS_EXPIRED_PORT=${ports[5]}
  export TIQORA_TLS_NOT_YET_VALID_PORT=${ports[6]}
  export TIQORA_TLS_CLIENT_ONLY_PORT=${ports[7]}
  export TIQORA_TLS_SELF_SIGNED_PORT=${ports[8]}
  export TIQORA_TEST_ROOT=$tls/root.pem
  vendor_services_log "vendor port $TIQORA_VENDOR_PORT, LAN port $TIQORA_LAN_PORT, TLS ports" \
    "$TIQORA_TLS_PORT (localhost), $TIQORA_TLS_ELSEWHERE_PORT (another host), $TIQORA_TLS_STRANGER_PORT" \
    "(untrusted authority), $TIQORA_TLS_EXPIRED_PORT (expired), $TIQORA_TLS_NOT_YET_VALID_PORT (not yet valid)," \
    "$TIQORA_TLS_CLIENT_ONLY_PORT (client use only), $TIQORA_TLS_SELF_SIGNED_PORT (self-signed), state $state"
}

# Adds the test authority to the trusted roots of the running Wine machine
# (WINEPREFIX), as an administrator deploys a company authority.
vendor_services_trust_root() {
  local bin=$1 said rc=0
  said=$(wine "$bin/trust_root.exe" "$(winepath -w "$TIQORA_TEST_ROOT")" </dev/null 2>&1) || rc=$?
  vendor_services_log "${said//$'\r'/}"
  if [ $rc -ne 0 ]; then
    vendor_services_log "the test authority could not be trusted in $WINEPREFIX"
    return 1
  fi
}

vendor_services_stop() {
  if [ -n "${VENDOR_SERVICES_PID:-}" ]; then
    kill "$VENDOR_SERVICES_PID" 2>/dev/null || true
    wait "$VENDOR_SERVICES_PID" 2>/dev/null || true
    VENDOR_SERVICES_PID=
  fi
}
