#!/usr/bin/env bash
# The demo (make demo): builds, lays out a sample suite installation in a Wine
# machine of its own (BUILD/demo, kept between runs) and runs Tiqora Desk there.
# Installs what is missing first (through tools/build.sh).
#
# With a display (DISPLAY set and TIQORA_HEADLESS not 1) it runs TiqoraDesk.exe
# from the install folder with the arguments in TIQORA_ARGS and waits until you
# close it:
#   make demo                                   the support request form
#   make demo TIQORA_ARGS=/sys                  the IT ticket form
#   make demo TIQORA_ARGS=/feedback             the feedback form
#   make demo TIQORA_ARGS=/SAReply=L,1234,abc   a reply notification for ticket 1234
#
# Without a display (or with TIQORA_HEADLESS=1) it runs a scripted tour in Xvfb
# that saves a PNG of every dialog into BUILD/demo/screenshots/ and lists the
# files with what each shows, then takes the same tour at 144 DPI into
# BUILD/demo/screenshots/144dpi/. Exits non-zero when a step fails.
#
# TIQORA_BUILD chooses the build tree (default: build), as for tools/build.sh.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${TIQORA_BUILD:-$ROOT/build}
cd "$ROOT"

headless=0
if [ -z "${DISPLAY:-}" ] || [ "${TIQORA_HEADLESS:-0}" = 1 ]; then headless=1; fi

bash tools/build.sh
BUILD=$(cd "$BUILD" && pwd)
DEMO=$BUILD/demo
TOUR=$BUILD/win/bin/demo_tour.exe
SCREENSHOTS=$DEMO/screenshots
INSTALLED_PROGRAM='C:\Program Files\Kelvane\Orvantis\TiqoraDesk.exe'
mkdir -p "$DEMO"

# Runs a Windows program with its output in a file (Wine's helper processes
# would hold a pipe open), then shows that output without Wine's CRs.
#   run_logged LOG PROGRAM [ARGS...]   returns the program's exit code
run_logged() {
  local log=$1 rc=0
  shift
  wine "$@" </dev/null >"$log" 2>&1 || rc=$?
  tr -d '\r' <"$log"
  return $rc
}

lay_out_installation() {
  echo "== sample suite installation"
  run_logged "$DEMO/layout.log" "$TOUR" --layout
}

run_interactive() {
  local args=() rc=0
  read -r -a args <<<"${TIQORA_ARGS:-}"
  echo "== TiqoraDesk.exe ${args[*]} (close it to end the demo)"
  (cd "$WINEPREFIX/drive_c/Program Files/Kelvane/Orvantis" &&
    run_logged "$DEMO/program.log" "$INSTALLED_PROGRAM" "${args[@]}") || rc=$?
  echo "TiqoraDesk.exe ended with exit code $rc"
  return $rc
}

run_tour() {
  echo "== tour: a screenshot of every dialog"
  rm -rf "$SCREENSHOTS"
  mkdir -p "$SCREENSHOTS"
  local rc=0
  run_logged "$DEMO/tour.log" "$TOUR" --tour "$(winepath -w "$SCREENSHOTS" 2>/dev/null)" || rc=$?
  if [ $rc -ne 0 ]; then
    echo "tour failed (exit code $rc)" >&2
    return $rc
  fi
  echo "(in $SCREENSHOTS)"
  echo "== tour at 144 DPI"
  mkdir -p "$SCREENSHOTS/144dpi"
  run_logged "$DEMO/tour-144dpi.log" "$TOUR" --tour "$(winepath -w "$SCREENSHOTS/144dpi" 2>/dev/null)" --dpi 144 || rc=$?
  if [ $rc -ne 0 ]; then
    echo "tour at 144 DPI failed (exit code $rc)" >&2
    return $rc
  fi
  echo "(in $SCREENSHOTS/144dpi)"
  echo "== gallery: the program's own message box"
  run_logged "$DEMO/gallery.log" "$BUILD/win/bin/kit_gallery.exe" "$(winepath -w "$SCREENSHOTS/gallery" 2>/dev/null)" || rc=$?
  if [ $rc -ne 0 ]; then
    echo "gallery failed (exit code $rc)" >&2
    return $rc
  fi
  echo "(in $SCREENSHOTS/gallery)"
}

# What the local vendor services received during the run, one line a request.
print_vendor_journal() {
  echo "== what the vendor services received"
  local entry count=0
  for entry in "$TIQORA_VENDOR_DIR"/journal/*/request.txt; do
    [ -f "$entry" ] || continue
    count=$((count + 1))
    printf '  %s %s (port %s%s, agent %s)\n' \
      "$(sed -n 's/^method: //p' "$entry")" "$(sed -n 's/^path: //p' "$entry")" \
      "$(sed -n 's/^port: //p' "$entry")" "$(grep -qx 'tls: yes' "$entry" && echo ', over TLS')" \
      "$(sed -n 's/^header.user-agent: //p' "$entry")"
  done
  [ $count -gt 0 ] || echo "  (nothing)"
}

# The tour's virtual screen is a full-HD one, the usual screen of a 144-DPI
# setting: the tallest form (feedback) is 820 pixels high there.
export TIQORA_SCREEN=${TIQORA_SCREEN:-1920x1080x24}
source tools/wine-machine.sh
source tools/vendor-services.sh
trap 'vendor_services_stop; wine_machine_stop' EXIT
wine_machine_start "$DEMO"
# The vendor's services and the LAN server run on loopback; the installation
# laid out next points the program and the suite's libraries at them.
rm -rf "$DEMO/vendor"
vendor_services_start "$DEMO/vendor"
vendor_services_trust_root "$BUILD/win/bin"

lay_out_installation

status=0
if [ $headless = 1 ]; then
  run_tour || status=$?
else
  run_interactive || status=$?
fi
print_vendor_journal
exit $status
