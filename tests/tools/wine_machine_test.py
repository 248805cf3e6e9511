#!/usr/bin/env python3
"""tools/wine-machine.sh's X server: the display is one that Xvfb itself
found free, and a machine whose X server does not start stops at once with
Xvfb's own words. Wine's tools are stand-ins here (only the X server is
under test); Xvfb is the real one, except where it is made to fail.

The held-display case runs in a network and mount namespace of its own (as
root, as the tests run): there the displays 0-99 are held through abstract
sockets alone, with nothing in /tmp/.X11-unix, as a server in a chroot beside
the host holds one. Nothing of it is seen by other X servers on this
machine."""
import ctypes
import os
import socket
import struct
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
MACHINE = ROOT / "tools" / "wine-machine.sh"

# Wine's tools as stand-ins that note each call.
WINE_TOOLS = ("wine", "wineserver", "wineboot", "winepath")
# What Xvfb prints when its display is held (seen in a chroot beside the host).
HELD_XVFB = """#!/bin/sh
echo '_XSERVTransSocketUNIXCreateListener: ...SocketCreateListener() failed'
echo '_XSERVTransMakeAllCOTSServerListeners: server already running'
echo 'Fatal server error:'
echo "(EE) Cannot establish any listening sockets - Make sure an X server isn't already running(EE)"
exit 1
"""

# Starts a machine, says its display, waits for a line on its input, stops.
START = """set -euo pipefail
source "$1"
wine_machine_start "$2" --fresh
echo "display $DISPLAY"
read -r _
wine_machine_stop
"""


def stand_ins(folder, xvfb=None):
    folder.mkdir()
    for tool in WINE_TOOLS:
        script = folder / tool
        script.write_text('#!/bin/sh\necho "%s $*" >>"%s"\n' % (tool, folder / "calls"))
        script.chmod(0o755)
    if xvfb:
        (folder / "Xvfb").write_text(xvfb)
        (folder / "Xvfb").chmod(0o755)
    return folder


def machine(folder, tools):
    """Starts tools/wine-machine.sh's machine headless in `folder`."""
    environment = {key: value for key, value in os.environ.items() if key != "DISPLAY"}
    environment.update(PATH="%s:%s" % (tools, environment["PATH"]), TIQORA_BUILD=str(folder / "build"))
    return subprocess.Popen(["bash", "-c", START, "machine", str(MACHINE), str(folder / "build")],
                            stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                            text=True, env=environment)


def x_server_answers(display):
    """True when an X server accepts a connection on `display`'s socket in
    /tmp: the first byte of its reply to the connection set-up is 1."""
    with socket.socket(socket.AF_UNIX) as connection:
        connection.settimeout(10)
        connection.connect("/tmp/.X11-unix/X%d" % display)
        connection.sendall(b"l\0" + struct.pack("<HHHH", 11, 0, 0, 0) + b"\0\0")
        return connection.recv(1) == b"\x01"


def own_namespaces():
    """A network namespace (abstract sockets are per network namespace) and a
    mount namespace with an empty X socket folder of its own, for this
    process. Only that folder is hidden: the rest of /tmp stays, since the
    checkout itself may lie there."""
    libc = ctypes.CDLL(None, use_errno=True)
    clone_newns, clone_newnet, ms_rec, ms_private = 0x00020000, 0x40000000, 1 << 14, 1 << 18
    if libc.unshare(clone_newns | clone_newnet) != 0:
        raise OSError(ctypes.get_errno(), "unshare (the tests run as root)")
    os.makedirs("/tmp/.X11-unix", mode=0o1777, exist_ok=True)
    if libc.mount(b"none", b"/", None, ms_rec | ms_private, None) != 0 or \
            libc.mount(b"tmpfs", b"/tmp/.X11-unix", b"tmpfs", 0, b"mode=1777") != 0:
        raise OSError(ctypes.get_errno(), "mount of an X socket folder of its own")


class WineMachineDisplay(unittest.TestCase):
    def test_an_x_server_that_does_not_start_stops_the_machine_with_its_reason(self):
        with tempfile.TemporaryDirectory() as name:
            folder = Path(name)
            tools = stand_ins(folder / "tools", xvfb=HELD_XVFB)
            run = machine(folder, tools)
            output, _ = run.communicate("\n", timeout=60)
            self.assertNotEqual(run.returncode, 0, output)
            self.assertNotIn("display ", output)
            self.assertIn("the X server did not start", output)
            self.assertIn("Cannot establish any listening sockets", output)
            calls = (tools / "calls").read_text().splitlines() if (tools / "calls").exists() else []
            # Only the stop's "wineserver -k", which ends nothing that runs.
            self.assertEqual([call for call in calls if call != "wineserver -k"], [],
                             "Wine was started without an X server")

    def test_a_display_held_through_its_abstract_socket_alone_is_not_taken(self):
        # In a child, so that the namespaces end with it.
        child = subprocess.run([sys.executable, __file__, "--held-displays"], capture_output=True, text=True)
        self.assertEqual(child.returncode, 0, child.stdout + child.stderr)


def held_displays():
    own_namespaces()
    held = []
    for display in range(100):
        holder = socket.socket(socket.AF_UNIX)
        holder.bind("\0/tmp/.X11-unix/X%d" % display)
        holder.listen()
        held.append(holder)
    with tempfile.TemporaryDirectory() as name:
        folder = Path(name)
        run = machine(folder, stand_ins(folder / "tools"))
        said = []
        while not (said and (said[-1].startswith("display :") or said[-1] == "")):
            said.append(run.stdout.readline())
        line = said[-1].strip()
        try:
            if not line.startswith("display :"):
                print("the machine did not start: " + "".join(said))
                return 1
            display = int(line.split(":")[1])
            if display < len(held):
                print("took display %d, held by another server" % display)
                return 1
            if not x_server_answers(display):
                print("no X server answers on display %d" % display)
                return 1
        finally:
            run.communicate("\n", timeout=60)
    return 0


if __name__ == "__main__":
    if sys.argv[1:] == ["--held-displays"]:
        sys.exit(held_displays())
    unittest.main()
