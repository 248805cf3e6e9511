# Wine machine for the tests and the demo; source it, then call
#   wine_machine_start BUILD_DIR [--fresh]   # display, prefix, persistent wineserver
#   wine_machine_stop                        # ends what start began
#
# The prefix lives in BUILD_DIR/wine/prefix. --fresh makes a new one (the
# tests do, once per run); otherwise an existing prefix is reused. Without a
# usable DISPLAY (or with TIQORA_HEADLESS=1) an Xvfb server is started, of the
# size TIQORA_SCREEN gives (default 1280x800x24), on a display it chooses;
# when it does not start, wine_machine_start says why and returns 1 (the
# callers run under "set -e" and stop there).
# Wine's own output goes to files in BUILD_DIR/wine/, never to pipes: its
# helper processes would keep a pipe open.

wine_machine_log() { printf '[wine] %s\n' "$*"; }

wine_machine_start() {
  local build=$1 fresh=${2:-}
  mkdir -p "$build"
  WINE_MACHINE_DIR=$(cd "$build" && pwd)/wine
  mkdir -p "$WINE_MACHINE_DIR"
  export WINEPREFIX=$WINE_MACHINE_DIR/prefix
  export WINEDEBUG=-all
  export WINEARCH=win64
  export WINEDLLOVERRIDES="mscoree,mshtml="   # no Mono or Gecko installer prompts
  export LANG=C.UTF-8                         # else non-ASCII command lines arrive mangled
  WINE_MACHINE_XVFB_PID=

  if [ -z "${DISPLAY:-}" ] || [ "${TIQORA_HEADLESS:-0}" = 1 ]; then
    # Xvfb picks a free display itself and writes its number to the pipe once
    # it accepts connections. A number chosen by looking at /tmp can already
    # be held through an abstract socket by a server that this file system
    # does not show (one in a chroot beside the host), and two runs starting
    # together could choose the same one.
    local ready=$WINE_MACHINE_DIR/xvfb.display n=
    rm -f "$ready"
    mkfifo "$ready"
    Xvfb -displayfd 3 -screen 0 "${TIQORA_SCREEN:-1280x800x24}" -nolisten tcp \
      </dev/null >"$WINE_MACHINE_DIR/xvfb.log" 2>&1 3>"$ready" &
    WINE_MACHINE_XVFB_PID=$!
    # Returns with the number, or at once with nothing when Xvfb ends
    # without one (its end closes the pipe).
    read -r -t 30 n <"$ready" || true
    rm -f "$ready"
    if ! [[ $n =~ ^[0-9]+$ ]] || ! kill -0 "$WINE_MACHINE_XVFB_PID" 2>/dev/null; then
      # Every program with a window would end before its first one: stop
      # here, with Xvfb's own words.
      wine_machine_log "the X server did not start; Xvfb said ($WINE_MACHINE_DIR/xvfb.log):"
      sed 's/^/[wine]   /' "$WINE_MACHINE_DIR/xvfb.log" >&2
      wine_machine_stop
      return 1
    fi
    export DISPLAY=":$n"
    wine_machine_log "Xvfb on $DISPLAY"
  fi

  local new=
  if [ "$fresh" = --fresh ] || [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX"
    new=1
  fi
  mkdir -p "$WINEPREFIX"
  # A persistent server makes each program start in ~50 ms instead of ~0.4 s.
  # Started first, so that everything below uses it.
  wineserver -p </dev/null >"$WINE_MACHINE_DIR/wineserver.log" 2>&1
  if [ -n "$new" ]; then
    wine_machine_log "new prefix $WINEPREFIX"
    # -u (create and update), not -i: after "wineboot -i" the next program
    # starts a second wineboot, and with it a second services.exe; RpcSs can
    # then never start, and every CoInitialize waits 10 s for it.
    wineboot -u </dev/null >"$WINE_MACHINE_DIR/wineboot.log" 2>&1
    # No window manager: unmanaged windows close at once instead of waiting 2 s.
    # A crash ends the process with a code instead of showing a dialog.
    # No debugger attaches to a crashed program: with AeDebug's "Debugger"
    # empty (and "Auto" 1), Wine starts nothing and the process ends at once
    # with its exception code (measured: 0xC0000005 about 0.3 s after the
    # start of a program that writes through null). Wine's own setting,
    # "winedbg --auto %ld %ld", kept such a process about 2 s and printed a
    # dump, and without the value Wine falls back to that same winedbg
    # command; winedbg may also fail to attach and leave the process
    # holding its files.
    cat >"$WINE_MACHINE_DIR/settings.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\AeDebug]
"Debugger"=""
"Auto"="1"
REG
    wine regedit /S "$(winepath -w "$WINE_MACHINE_DIR/settings.reg" 2>/dev/null)" \
      </dev/null >"$WINE_MACHINE_DIR/regedit.log" 2>&1
  fi

  wine cmd /c exit 0 </dev/null >"$WINE_MACHINE_DIR/warmup.log" 2>&1 || true

  # Wine ends its desktop process soon after the last window closes and
  # starts it again for the next program with a window (about 1.2 s each
  # time); one hidden window held for the machine's life keeps it, as
  # Windows keeps its desktop. Ended by wine_machine_stop with the rest.
  local root keeper
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  keeper=${TIQORA_BUILD:-$root/build}/win/machine/desktop_keeper.exe
  if [ -f "$keeper" ]; then
    wine "$keeper" </dev/null >/dev/null 2>&1 &
    disown
  else
    wine_machine_log "no $keeper yet: each program with a window may wait for Wine's desktop"
  fi
}

# Runs a Windows program in the machine with its standard output in OUT and
# its errors in ERR (files, never pipes), CR LF line ends made LF; returns the
# program's exit code.
#   wine_run OUT ERR program.exe [arguments...]
wine_run() {
  local out=$1 err=$2 rc=0
  shift 2
  wine "$@" </dev/null >"$out.crlf" 2>"$err.crlf" || rc=$?
  tr -d '\r' <"$out.crlf" >"$out"
  tr -d '\r' <"$err.crlf" >"$err"
  rm -f "$out.crlf" "$err.crlf"
  return $rc
}

wine_machine_stop() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1 || true
  if [ -n "${WINE_MACHINE_XVFB_PID:-}" ]; then
    kill "$WINE_MACHINE_XVFB_PID" 2>/dev/null || true
    wait "$WINE_MACHINE_XVFB_PID" 2>/dev/null || true
    WINE_MACHINE_XVFB_PID=
  fi
}
