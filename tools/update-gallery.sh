#!/usr/bin/env bash
# Copies the demo tour's screenshots into docs/gallery/ and rewrites the
# README's gallery (between "<!-- gallery -->" and "<!-- /gallery -->") from
# the tour's own list of what each picture shows. Run it after
# `TIQORA_HEADLESS=1 make demo`; the pictures in docs/gallery/ are committed.
#
#   tools/update-gallery.sh          (BUILD is $TIQORA_BUILD, else build/)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${TIQORA_BUILD:-$ROOT/build}
SHOTS=$BUILD/demo/screenshots
TOUR_LOG=$BUILD/demo/tour.log
GALLERY=$ROOT/docs/gallery
# The pictures shown again as the tour took them at 144 DPI.
AT_144_DPI="01-request-form.png 07-it-ticket-form.png 17-ticket-history-selected.png 21-feedback-form-rated.png"

[ -f "$TOUR_LOG" ] || { echo "no tour log at $TOUR_LOG: run TIQORA_HEADLESS=1 make demo first" >&2; exit 1; }
rm -rf "$GALLERY"
mkdir -p "$GALLERY/144dpi"
cp "$SHOTS"/*.png "$GALLERY/"
for picture in $AT_144_DPI; do cp "$SHOTS/144dpi/$picture" "$GALLERY/144dpi/"; done

python3 - "$ROOT/README.md" "$TOUR_LOG" "$AT_144_DPI" <<'PY'
import sys
readme_path, tour_log, at_144 = sys.argv[1], sys.argv[2], sys.argv[3].split()
shows = {}
listing = False
for line in open(tour_log, encoding="utf-8", errors="replace"):
    line = line.rstrip("\r\n")
    if line.startswith("Screenshots:"):
        listing = True
        continue
    if listing and line.startswith("  ") and ".png" in line:
        name, _, what = line.strip().partition("  ")
        shows[name] = what.strip()

def cell(name, folder=""):
    return f'<img src="docs/gallery/{folder}{name}" width="260" alt="{shows[name]}">'

rows = ["| picture | what it shows |", "|---|---|"]
for name in sorted(shows):
    rows.append(f"| {cell(name)} | {shows[name]} |")
rows += ["", "The same dialogs at 144 DPI (the tour's second pass, `build/demo/screenshots/144dpi/`):", "",
         "| picture | what it shows |", "|---|---|"]
for name in at_144:
    rows.append(f"| {cell(name, '144dpi/')} | {shows[name]}, at 144 DPI |")

readme = open(readme_path, encoding="utf-8").read()
start, end = "<!-- gallery -->", "<!-- /gallery -->"
before, rest = readme.split(start, 1)
_, after = rest.split(end, 1)
open(readme_path, "w", encoding="utf-8").write(before + start + "\n" + "\n".join(rows) + "\n" + end + after)
PY
echo "docs/gallery/ and the README's gallery updated from $SHOTS"
