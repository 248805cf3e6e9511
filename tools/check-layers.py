#!/usr/bin/env python3
"""Checks that every include in src/ runs down the layers, never back up.

    check-layers.py [SRC]     (SRC defaults to the src/ folder beside tools/)

The first folder of a file's path under src/ is its layer:

    core/      portable rules: the C++ standard library and core/ only
    win/       Windows services: handle owners, files, configuration, text
               conversions, the logs, the suite's libraries, the network
    ui/        the dialog base and the control kit
    features/  each feature's Windows side (delivery, records, pages), no dialog
    forms/     each dialog's wiring, with its .rc beside it
    app/       start-up and dispatch, the one place that ends the process

A file may include its own layer and the layers its row names below. An
include of a project file names it by its path under src/ ("win/ticket_log.h");
"resource.h" (res/, the resource ids) is for the layers that show windows.
Prints each include that breaks a rule with its file and line; exit code 1
when there is one, 0 otherwise.
"""
import re
import sys
from pathlib import Path

ALLOWED = {
    "core": {"core"},
    "win": {"core", "win"},
    "ui": {"core", "win", "ui", "resource"},
    "features": {"core", "win", "features"},
    "forms": {"core", "win", "ui", "features", "forms", "resource"},
    "app": {"core", "win", "ui", "features", "forms", "app", "resource"},
}
SOURCE_SUFFIXES = {".h", ".cpp", ".rc"}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def layer_of_include(name):
    """The layer a quoted include names, or None when it names none."""
    if name == "resource.h":
        return "resource"
    first = name.split("/", 1)[0]
    return first if first in ALLOWED and "/" in name else None


def problems_in(src):
    src = Path(src)
    found = []
    for path in sorted(src.rglob("*")):
        if path.suffix not in SOURCE_SUFFIXES or not path.is_file():
            continue
        relative = path.relative_to(src)
        layer = relative.parts[0] if len(relative.parts) > 1 else None
        if layer not in ALLOWED:
            found.append(f"{relative}: not inside a layer folder ({', '.join(ALLOWED)})")
            continue
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            bracket, name = match.groups()
            where = f"{relative}:{number}"
            if bracket == "<":
                # The core is built natively as well: a system header of any
                # kind (windows.h, wininet.h, ...) would tie it to one system.
                if layer == "core" and name.endswith(".h"):
                    found.append(f"{where}: the portable core includes the system header <{name}>")
                continue
            target = layer_of_include(name)
            if path.suffix == ".rc" and target is None:
                continue  # a resource script's own pictures and manifests
            if target is None:
                found.append(f'{where}: "{name}" names no layer; include a project file by its path under src/')
            elif target not in ALLOWED[layer]:
                found.append(f'{where}: {layer}/ includes "{name}", which runs back up the layers')
    return found


def main(argv):
    src = Path(argv[1]) if len(argv) > 1 else Path(__file__).resolve().parent.parent / "src"
    found = problems_in(src)
    for problem in found:
        print(problem)
    if found:
        print(f"{len(found)} include(s) break the layers of {src}")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
