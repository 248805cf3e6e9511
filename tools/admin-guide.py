#!/usr/bin/env python3
"""Writes docs/administrators.md, the administrator's guide, from
docs/admin-guide/guide.md (the prose) and docs/admin-guide/log-lines.txt (what
each log line means), with the log lines themselves read from the sources
(tools/log_lines.py).

    python3 tools/admin-guide.py            write the guide
    python3 tools/admin-guide.py --check    fail when the guide lacks a log line the
                                            program can write, or differs from what
                                            would be written now (the test run's check)
    python3 tools/admin-guide.py --list     every log line with the calls that write it
    --src DIR                               read the sources from DIR instead of src/

Every line the program can write needs an entry in log-lines.txt: a failure
has a cause and what to check, any other line says what it tells. A line
without one stops the guide from being written.
"""

import argparse
import os
import sys

import log_lines

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PROSE = "docs/admin-guide/guide.md"
MEANINGS = "docs/admin-guide/log-lines.txt"
GUIDE = "docs/administrators.md"
LOG_FOLDER = "c:\\qx\\"
MARKERS = {"<!-- log lines: failures -->": "failures", "<!-- log lines: informational -->": "informational"}
HEADER = ("<!-- Written by tools/admin-guide.py from docs/admin-guide/guide.md and "
          "docs/admin-guide/log-lines.txt: edit those and run `python3 tools/admin-guide.py`. -->\n\n")


class Entry:
    def __init__(self, log, where):
        self.log, self.where, self.keys = log, where, {}


def read_meanings(path):
    """The entries of log-lines.txt, in order, keyed by (log, line)."""
    entries, errors, log, entry, key = {}, [], None, None, None
    with open(path, encoding="utf-8") as f:
        for n, raw in enumerate(f, 1):
            line = raw.rstrip("\n")
            where = f"{MEANINGS}:{n}"
            if line.startswith("#"):
                continue
            if not line.strip():
                entry = key = None
            elif line.startswith("[") and line.endswith("]"):
                log, entry, key = line[1:-1], None, None
            elif line[0] in " \t" and key:
                entry.keys[key] += " " + line.strip()
            elif ":" in line and line.split(":", 1)[0] in ("line", "cause", "check", "info"):
                key, text = (part.strip() for part in line.split(":", 1))
                if key == "line":
                    entry = Entry(log, where)
                    if log is None:
                        errors.append(f"{where}: an entry before the first [log] heading")
                    elif (log, text) in entries:
                        errors.append(f"{where}: a second entry for `{text}`")
                    entries[(log, text)] = entry
                elif entry is None:
                    errors.append(f"{where}: '{key}:' outside an entry (each entry starts with 'line:')")
                    continue
                entry.keys[key] = text
            else:
                errors.append(f"{where}: not an entry line (line:, cause:, check:, info:, or an indented "
                              "continuation)")
    for (_, text), entry in entries.items():
        keys = set(entry.keys) - {"line"}
        if keys not in ({"cause", "check"}, {"info"}) or not all(entry.keys[k] for k in keys):
            errors.append(f"{entry.where}: `{text}` needs either 'cause:' and 'check:' (a failure) or 'info:'")
    return entries, errors


def code(text):
    fence = "``" if "`" in text else "`"
    return f"{fence}{text}{fence}".replace("|", "\\|")


def cell(text):
    return text.replace("|", "\\|")


def tables(kind, found, entries):
    """The failure or informational tables, one per log, in the order of log-lines.txt."""
    out = []
    for log in dict.fromkeys(e.log for e in entries.values()):
        rows = []
        for (entry_log, text), entry in entries.items():
            if entry_log != log or (log, text) not in found or ("info" in entry.keys) != (kind == "informational"):
                continue
            if kind == "failures":
                rows.append(f"| {code(text)} | {cell(entry.keys['cause'])} | {cell(entry.keys['check'])} |")
            else:
                rows.append(f"| {code(text)} | {cell(entry.keys['info'])} |")
        if not rows:
            continue
        head = "| Log line | Likely cause | What to check |\n|---|---|---|" if kind == "failures" else \
            "| Log line | What it tells |\n|---|---|"
        out.append(f"### `{LOG_FOLDER}{log}`\n\n{head}\n" + "\n".join(rows) + "\n")
    return "\n".join(out)


def render(found, entries):
    with open(os.path.join(ROOT, PROSE), encoding="utf-8") as f:
        prose = f.read()
    for marker, kind in MARKERS.items():
        if marker not in prose:
            raise SystemExit(f"{PROSE}: the marker {marker} is missing")
        prose = prose.replace(marker, tables(kind, found, entries).rstrip("\n"))
    return HEADER + prose


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--check", action="store_true")
    parser.add_argument("--list", action="store_true")
    parser.add_argument("--src", default=os.path.join(ROOT, "src"))
    args = parser.parse_args()

    try:
        lines = log_lines.extract(args.src)
    except log_lines.ExtractionError as error:
        print(f"tools/admin-guide.py: cannot read the log lines: {error}", file=sys.stderr)
        return 1
    found = {(line.log, line.text): line for line in lines}
    entries, errors = read_meanings(os.path.join(ROOT, MEANINGS))

    if args.list:
        for line in lines:
            state = "" if (line.log, line.text) in entries else "   (no entry)"
            print(f"{line.log}: {line.text}{state}\n    {' '.join(line.sites)}")
        return 0

    unexplained = [line for line in lines if (line.log, line.text) not in entries]
    if unexplained:
        errors.append(f"{MEANINGS} has no entry for {len(unexplained)} log line(s) the program can write; "
                      "add one for each ('cause:' and 'check:' for a failure, else 'info:'):")
        errors += [f"  [{line.log}] line: {line.text}\n      written at {' '.join(line.sites)}" for line in unexplained]
    for (log, text), entry in entries.items():
        if (log, text) not in found:
            print(f"note: {entry.where}: `{text}` is no log line the program writes now; it is left out",
                  file=sys.stderr)

    path = os.path.join(ROOT, GUIDE)
    if args.check:
        committed = open(path, encoding="utf-8").read() if os.path.exists(path) else ""
        missing = [line for line in lines if code(line.text) not in committed]
        if missing:
            errors.insert(0, f"{GUIDE} lacks {len(missing)} log line(s) the program can write:")
            errors[1:1] = [f"  {line.log}: {line.text}   ({' '.join(line.sites)})" for line in missing]
        if not errors and render(found, entries) != committed:
            errors.append(f"{GUIDE} differs from what tools/admin-guide.py writes now: run "
                          "`python3 tools/admin-guide.py` and commit the result")
    if errors:
        print("\n".join(errors), file=sys.stderr)
        return 1
    if not args.check:
        with open(path, "w", encoding="utf-8") as f:
            f.write(render(found, entries))
        print(f"wrote {GUIDE}: {len(lines)} log lines")
    return 0


if __name__ == "__main__":
    sys.exit(main())
