#!/usr/bin/python3
"""Draws the artwork of TiqoraDesk.exe into res/art/ and lists it in
res/artwork.rc: the dialog skins, the hover-button strips, the small field
icons, the application icon and the hand cursor.

The pictures are committed, so a build never runs this script: it is a
developer tool. It needs Debian's Python with Pillow and the DejaVu fonts:

    apt-get install -y python3-pil fonts-dejavu-core
    /usr/bin/python3 tools/make-artwork.py                       # writes res/art/*, res/artwork.rc
    /usr/bin/python3 tools/make-artwork.py --preview build/art-preview.png

--preview also renders a contact sheet of every piece (number, file and size
under each; strips with their three frames) for a look before committing.

How the program uses the pictures shapes them:
- A skin is stretched over the whole client area of its dialog, so it is made
  of flat bands and panels that survive a non-uniform stretch. None of the
  skinned dialogs has a caption bar: the skin's top band carries the title and
  sits behind the close and minimise buttons. Labels and check boxes paint
  themselves with a white brush, so everywhere below the band is white.
- A hover button draws nothing but one frame of its strip (normal, pressed,
  mouse over, side by side), so every strip carries its own label, and its
  corners are painted in the colour of what lies behind the button: the band
  for close and minimise, white for the rest.
- Strips are loaded with LR_LOADMAP3DCOLORS, which swaps the three exact
  greys 128, 192 and 223 for the system's 3-D colours; strips never use them.
- Field icons sit on the white panel beside the edit fields: 20 x 20 pixels,
  a pale teal tile with a teal pictogram.
"""
import argparse
import math
import os
import struct
import sys

from PIL import Image, ImageDraw, ImageFilter, ImageFont

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ART = os.path.join(ROOT, "res", "art")
RC = os.path.join(ROOT, "res", "artwork.rc")
FONT_DIR = "/usr/share/fonts/truetype/dejavu"

# ---------------------------------------------------------------- palette
# Calm teal family, anchored on the application icon's shield.
BAND = (18, 94, 112)          # title bands, the shield
BAND_DARK = (11, 66, 80)      # outer frame line, pressed primary buttons
TEAL = (22, 118, 134)         # primary buttons, pictograms
TEAL_LIGHT = (40, 150, 160)   # accent line under the band, hovered buttons
TEAL_PALE = (226, 241, 243)   # footers, tiles, hovered secondary buttons
TEAL_MIST = (240, 248, 249)   # hover halos
LINE = (204, 222, 226)        # panel outlines
LINE_STRONG = (150, 188, 196)  # secondary button outline
INK = (33, 47, 57)            # dark text
ON_BAND = (186, 224, 230)     # subtitles on the band
WHITE = (255, 255, 255)
GREEN = (39, 150, 90)
GREEN_PALE = (231, 245, 236)
RED = (204, 58, 52)
RED_DARK = (160, 38, 34)
RED_PALE = (252, 236, 234)
CHAT_GREEN = (36, 158, 98)

# Faces of the five ratings, horrible to excellent: (face colour, feature colour).
RATING_COLOURS = [
    ((226, 86, 70), (120, 30, 24)),
    ((240, 140, 62), (124, 58, 14)),
    ((242, 196, 64), (120, 86, 10)),
    ((146, 196, 78), (52, 92, 20)),
    ((48, 170, 104), (14, 78, 44)),
]

SS = 4  # supersampling factor of the shape layer


def font(size, bold=False, condensed=False):
    name = "DejaVuSans" + ("Condensed" if condensed else "") + ("-Bold" if bold else "") + ".ttf"
    return ImageFont.truetype(os.path.join(FONT_DIR, name), size)


def mix(a, b, t):
    """Colour a blended towards b by t (0..1)."""
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def darker(c, t=0.25):
    return mix(c, (0, 0, 0), t)


def lighter(c, t=0.25):
    return mix(c, WHITE, t)


# ---------------------------------------------------------------- canvas
class Canvas:
    """A picture drawn in two layers: shapes at SS x resolution (smooth edges
    once reduced) and text at the final resolution (crisp hinted glyphs).
    Coordinates are final pixels; a rectangle (0, 0, 28, 23) covers 28 x 23."""

    def __init__(self, w, h, bg=WHITE, ss=SS):
        self.w, self.h, self.ss = w, h, ss
        self.img = Image.new("RGB", (w * ss, h * ss), bg)
        self.d = ImageDraw.Draw(self.img)
        self.texts = []
        self.pastes = []

    def _box(self, x0, y0, x1, y1):
        s = self.ss
        return [round(x0 * s), round(y0 * s), round(x1 * s) - 1, round(y1 * s) - 1]

    def rect(self, x0, y0, x1, y1, fill):
        self.d.rectangle(self._box(x0, y0, x1, y1), fill=fill)

    def rrect(self, x0, y0, x1, y1, r, fill=None, outline=None, width=1):
        self.d.rounded_rectangle(self._box(x0, y0, x1, y1), radius=round(r * self.ss),
                                 fill=fill, outline=outline,
                                 width=max(1, round(width * self.ss)) if outline else 0)

    def ellipse(self, x0, y0, x1, y1, fill=None, outline=None, width=1):
        self.d.ellipse(self._box(x0, y0, x1, y1), fill=fill, outline=outline,
                       width=max(1, round(width * self.ss)) if outline else 0)

    def circle(self, cx, cy, r, fill=None, outline=None, width=1):
        self.ellipse(cx - r, cy - r, cx + r, cy + r, fill, outline, width)

    def polygon(self, pts, fill):
        s = self.ss
        self.d.polygon([(x * s, y * s) for x, y in pts], fill=fill)

    def line(self, pts, fill, width):
        """Polyline with round caps and joints."""
        s = self.ss
        sp = [(x * s, y * s) for x, y in pts]
        self.d.line(sp, fill=fill, width=max(1, round(width * s)), joint="curve")
        r = width * s / 2
        for x, y in sp:
            self.d.ellipse([x - r, y - r, x + r, y + r], fill=fill)

    def arc(self, x0, y0, x1, y1, start, end, fill, width):
        s = self.ss
        self.d.arc([x0 * s, y0 * s, x1 * s, y1 * s], start, end, fill=fill,
                   width=max(1, round(width * s)))
        # round caps
        cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
        rx, ry = (x1 - x0) / 2 - width / 2, (y1 - y0) / 2 - width / 2
        for a in (start, end):
            t = math.radians(a)
            px, py = cx + rx * math.cos(t), cy + ry * math.sin(t)
            self.circle(px, py, width / 2, fill=fill)

    def chord(self, x0, y0, x1, y1, start, end, fill):
        s = self.ss
        self.d.chord([x0 * s, y0 * s, x1 * s, y1 * s], start, end, fill=fill)

    def text(self, x, y, s, size, fill, bold=False, anchor="mm", condensed=False):
        self.texts.append((x, y, s, font(size, bold, condensed), fill, anchor))

    def paste(self, img, x, y):
        """Pastes a finished RGBA picture at final resolution (after shapes)."""
        self.pastes.append((img, x, y))

    def result(self):
        out = self.img.resize((self.w, self.h), Image.BOX)
        for img, x, y in self.pastes:
            out.paste(img, (x, y), img)
        d = ImageDraw.Draw(out)
        for x, y, s, f, fill, anchor in self.texts:
            d.text((x, y), s, font=f, fill=fill, anchor=anchor)
        return out


def text_width(s, size, bold=False, condensed=False):
    return font(size, bold, condensed).getlength(s)


# ---------------------------------------------------------------- shield mark
def shield_points(x, y, w, h, steps=40):
    """Outline of the product's shield inside the box (x, y, w, h): flat top
    with rounded shoulders, straight sides, a curved point at the bottom."""
    right = []
    for i in range(steps + 1):
        v = i / steps
        if v < 0.55:
            half = 0.5
        else:
            half = 0.5 * math.sqrt(max(0.0, 1 - ((v - 0.55) / 0.45) ** 2))
        right.append((x + w * (0.5 + half), y + h * v))
    left = [(x + w - (px - x), py) for px, py in reversed(right)]
    return right + left


def draw_shield(c, x, y, w, h, body, mark):
    """Shield with a 'T' mark: the product's emblem."""
    c.polygon(shield_points(x, y, w, h), body)
    bar_h = h * 0.13
    c.rect(x + w * 0.22, y + h * 0.2, x + w * 0.78, y + h * 0.2 + bar_h, mark)
    c.rect(x + w * 0.5 - w * 0.085, y + h * 0.2, x + w * 0.5 + w * 0.085, y + h * 0.78, mark)


def app_icon_image(size):
    """RGBA application icon: teal shield with a soft vertical gradient, a thin
    light rim and the white 'T'."""
    s = 16
    big = size * s
    pad = size * 0.06
    box = (pad + size * 0.04, pad, size - 2 * pad - size * 0.08, size - 2 * pad)
    mask = Image.new("L", (big, big), 0)
    ImageDraw.Draw(mask).polygon([(px * s, py * s) for px, py in shield_points(*box)], fill=255)
    grad = Image.new("RGB", (big, big))
    gd = ImageDraw.Draw(grad)
    for yy in range(big):
        gd.line([(0, yy), (big, yy)], fill=mix(TEAL_LIGHT, BAND, yy / big))
    # light rim: the shield minus a slightly smaller shield
    if size >= 32:
        inner = Image.new("L", (big, big), 0)
        ib = (box[0] + size * 0.05, box[1] + size * 0.045, box[2] - size * 0.1, box[3] - size * 0.09)
        ImageDraw.Draw(inner).polygon([(px * s, py * s) for px, py in shield_points(*ib)], fill=255)
        rim = Image.new("RGB", (big, big), lighter(TEAL_LIGHT, 0.35))
        grad = Image.composite(grad, rim, inner)
    gd = ImageDraw.Draw(grad)
    x, y, w, h = box
    bar_h = h * (0.14 if size > 16 else 0.17)
    stem = w * (0.09 if size > 16 else 0.11)
    gd.rectangle([(x + w * 0.2) * s, (y + h * 0.2) * s, (x + w * 0.8) * s, (y + h * 0.2 + bar_h) * s], fill=WHITE)
    gd.rectangle([(x + w * 0.5 - stem) * s, (y + h * 0.2) * s, (x + w * 0.5 + stem) * s, (y + h * 0.78) * s], fill=WHITE)
    img = grad.convert("RGBA")
    img.putalpha(mask)
    return img.resize((size, size), Image.BOX)


# ---------------------------------------------------------------- pictograms
# Small line drawings used in strips, field icons and bands. Each takes the
# canvas, a centre, a nominal size (the glyph's box edge) and a colour.
def g_close(c, cx, cy, s, col, w=None):
    w = w or s * 0.16
    h = s / 2
    c.line([(cx - h, cy - h), (cx + h, cy + h)], col, w)
    c.line([(cx - h, cy + h), (cx + h, cy - h)], col, w)


def g_minus(c, cx, cy, s, col, w=None):
    w = w or s * 0.16
    c.line([(cx - s / 2, cy), (cx + s / 2, cy)], col, w)


def g_tick(c, cx, cy, s, col, w=None):
    w = w or s * 0.16
    c.line([(cx - s * 0.45, cy + s * 0.02), (cx - s * 0.12, cy + s * 0.33), (cx + s * 0.48, cy - s * 0.32)], col, w)


def g_send(c, cx, cy, s, col, bg):
    """Paper plane: sends the request."""
    p = [(cx - s * 0.5, cy - s * 0.1), (cx + s * 0.5, cy - s * 0.5), (cx + s * 0.1, cy + s * 0.5),
         (cx - s * 0.04, cy + s * 0.06)]
    c.polygon(p, col)
    c.line([(cx - s * 0.04, cy + s * 0.06), (cx + s * 0.42, cy - s * 0.42)], bg, s * 0.09)


def g_clock(c, cx, cy, s, col, bg):
    r = s / 2
    c.circle(cx, cy, r, outline=col, width=s * 0.13)
    c.line([(cx, cy - r * 0.55), (cx, cy), (cx + r * 0.45, cy + r * 0.25)], col, s * 0.12)


def g_camera(c, cx, cy, s, col, bg):
    w, h = s, s * 0.72
    c.rrect(cx - w / 2, cy - h / 2 + s * 0.08, cx + w / 2, cy + h / 2 + s * 0.08, s * 0.12, fill=col)
    c.rrect(cx - s * 0.2, cy - h / 2 - s * 0.06, cx + s * 0.2, cy - h / 2 + s * 0.14, s * 0.05, fill=col)
    c.circle(cx, cy + s * 0.1, s * 0.22, fill=bg)
    c.circle(cx, cy + s * 0.1, s * 0.12, fill=col)


def g_open(c, cx, cy, s, col, bg):
    """A window with an arrow leaving it: opens a page."""
    h = s / 2
    c.rrect(cx - h, cy - h + s * 0.12, cx + h - s * 0.12, cy + h, s * 0.12, outline=col, width=s * 0.12)
    c.rect(cx, cy - h - s * 0.05, cx + h + s * 0.05, cy + s * 0.05, bg)
    c.line([(cx - s * 0.05, cy + s * 0.05), (cx + h, cy - h)], col, s * 0.13)
    c.line([(cx + h * 0.15, cy - h), (cx + h, cy - h), (cx + h, cy - h * 0.15)], col, s * 0.13)


def g_person(c, cx, cy, s, col, w):
    c.circle(cx, cy - s * 0.2, s * 0.2, outline=col, width=w)
    c.arc(cx - s * 0.4, cy + s * 0.12, cx + s * 0.4, cy + s * 0.95, 180, 360, col, w)


def g_mobile(c, cx, cy, s, col, w):
    c.rrect(cx - s * 0.3, cy - s * 0.48, cx + s * 0.3, cy + s * 0.48, s * 0.1, outline=col, width=w)
    c.circle(cx, cy + s * 0.3, s * 0.065, fill=col)


def g_mail(c, cx, cy, s, col, w):
    x0, y0, x1, y1 = cx - s * 0.5, cy - s * 0.34, cx + s * 0.5, cy + s * 0.34
    c.rrect(x0, y0, x1, y1, s * 0.06, outline=col, width=w)
    c.line([(x0 + w * 0.8, y0 + w * 0.8), (cx, cy + s * 0.05), (x1 - w * 0.8, y0 + w * 0.8)], col, w)


def g_city(c, cx, cy, s, col, w):
    base = cy + s * 0.48
    c.rect(cx - s * 0.45, cy - s * 0.1, cx - s * 0.05, base, col)
    c.rect(cx + s * 0.02, cy - s * 0.48, cx + s * 0.45, base, col)
    for i in range(3):
        for j in range(2):
            x = cx + s * (0.1 + 0.17 * j)
            y = cy - s * (0.36 - 0.2 * i)
            c.rect(x, y, x + s * 0.09, y + s * 0.1, TEAL_PALE)
    c.rect(cx - s * 0.34, cy + s * 0.05, cx - s * 0.16, cy + s * 0.15, TEAL_PALE)
    c.rect(cx - s * 0.34, cy + s * 0.24, cx - s * 0.16, cy + s * 0.34, TEAL_PALE)


def g_pin(c, cx, cy, s, col, w):
    r = s * 0.3
    top = cy - s * 0.15
    c.circle(cx, top, r, fill=col)
    c.polygon([(cx - r * 0.92, top + r * 0.4), (cx + r * 0.92, top + r * 0.4), (cx, cy + s * 0.5)], col)
    c.circle(cx, top, r * 0.42, fill=TEAL_PALE)


def g_house(c, cx, cy, s, col, w):
    c.polygon([(cx - s * 0.5, cy - s * 0.02), (cx, cy - s * 0.48), (cx + s * 0.5, cy - s * 0.02)], col)
    c.rect(cx - s * 0.34, cy - s * 0.06, cx + s * 0.34, cy + s * 0.46, col)
    c.rect(cx - s * 0.09, cy + s * 0.14, cx + s * 0.09, cy + s * 0.46, TEAL_PALE)


def g_tag(c, cx, cy, s, col, w):
    p = [(cx - s * 0.48, cy - s * 0.3), (cx + s * 0.16, cy - s * 0.3), (cx + s * 0.5, cy),
         (cx + s * 0.16, cy + s * 0.3), (cx - s * 0.48, cy + s * 0.3)]
    c.polygon(p, col)
    c.circle(cx + s * 0.12, cy, s * 0.08, fill=TEAL_PALE)


def g_note(c, cx, cy, s, col, w):
    x0, y0, x1, y1 = cx - s * 0.38, cy - s * 0.48, cx + s * 0.38, cy + s * 0.48
    c.rrect(x0, y0, x1, y1, s * 0.07, outline=col, width=w)
    for i in range(3):
        y = y0 + s * (0.27 + 0.22 * i)
        c.line([(x0 + s * 0.18, y), (x1 - s * 0.18 - (s * 0.14 if i == 2 else 0), y)], col, w * 0.85)


def g_flag(c, cx, cy, s, col, w):
    c.line([(cx - s * 0.36, cy - s * 0.46), (cx - s * 0.36, cy + s * 0.48)], col, w)
    c.polygon([(cx - s * 0.36, cy - s * 0.46), (cx + s * 0.46, cy - s * 0.46), (cx + s * 0.24, cy - s * 0.2),
               (cx + s * 0.46, cy + s * 0.06), (cx - s * 0.36, cy + s * 0.06)], col)


def g_ticket(c, cx, cy, s, col, w):
    x0, y0, x1, y1 = cx - s * 0.5, cy - s * 0.32, cx + s * 0.5, cy + s * 0.32
    c.rrect(x0, y0, x1, y1, s * 0.06, fill=col)
    c.circle(x0, cy, s * 0.12, fill=TEAL_PALE)
    c.circle(x1, cy, s * 0.12, fill=TEAL_PALE)
    for i in range(4):
        y = y0 + s * (0.1 + 0.13 * i)
        c.rect(cx + s * 0.12, y, cx + s * 0.16, y + s * 0.07, TEAL_PALE)


def g_bell(c, cx, cy, s, col):
    c.chord(cx - s * 0.36, cy - s * 0.44, cx + s * 0.36, cy + s * 0.35, 180, 360, col)
    c.polygon([(cx - s * 0.36, cy - s * 0.05), (cx + s * 0.36, cy - s * 0.05),
               (cx + s * 0.46, cy + s * 0.3), (cx - s * 0.46, cy + s * 0.3)], col)
    c.circle(cx, cy + s * 0.4, s * 0.11, fill=col)


def g_handset(c, cx, cy, s, col):
    """Telephone receiver: ear and mouth pieces joined by a curved handle."""
    r = s * 0.36
    ox, oy = cx + s * 0.14, cy - s * 0.14
    c.arc(ox - r, oy - r, ox + r, oy + r, 95, 175, col, s * 0.2)
    for a in (88, 182):
        t = math.radians(a)
        px, py = ox + (r - s * 0.1) * math.cos(t), oy + (r - s * 0.1) * math.sin(t)
        c.circle(px + (s * 0.06 if a == 88 else 0), py - (s * 0.06 if a == 182 else 0), s * 0.15, fill=col)


def g_chat_phone(c, cx, cy, s, col, bg):
    """Rounded speech bubble with a telephone receiver in it: chat by phone."""
    x0, y0, x1, y1 = cx - s * 0.5, cy - s * 0.46, cx + s * 0.5, cy + s * 0.34
    c.rrect(x0, y0, x1, y1, s * 0.26, fill=col)
    c.polygon([(cx - s * 0.34, y1 - s * 0.1), (cx - s * 0.04, y1 - s * 0.1), (cx - s * 0.42, cy + s * 0.56)], col)
    g_handset(c, cx, cy - s * 0.06, s * 0.74, bg)


def g_remote(c, cx, cy, s, col, bg):
    """Monitor with arrows both ways on its screen: remote support."""
    x0, y0, x1, y1 = cx - s * 0.52, cy - s * 0.42, cx + s * 0.52, cy + s * 0.28
    c.rrect(x0, y0, x1, y1, s * 0.08, fill=col)
    c.rect(x0 + s * 0.09, y0 + s * 0.09, x1 - s * 0.09, y1 - s * 0.09, bg)
    c.rect(cx - s * 0.07, y1, cx + s * 0.07, y1 + s * 0.12, col)
    c.rrect(cx - s * 0.28, y1 + s * 0.11, cx + s * 0.28, y1 + s * 0.2, s * 0.04, fill=col)
    a, t = s * 0.3, s * 0.085
    ya, yb = cy - s * 0.2, cy + s * 0.02
    c.line([(cx - a, ya), (cx + a * 0.55, ya)], col, t)
    c.polygon([(cx + a + s * 0.04, ya), (cx + a * 0.4, ya - s * 0.12), (cx + a * 0.4, ya + s * 0.12)], col)
    c.line([(cx + a, yb), (cx - a * 0.55, yb)], col, t)
    c.polygon([(cx - a - s * 0.04, yb), (cx - a * 0.4, yb - s * 0.12), (cx - a * 0.4, yb + s * 0.12)], col)


# ---------------------------------------------------------------- skins
def band_title(c, band, title, subtitle=None, logo=True, size=None):
    """Product shield and the dialog's title on the left of the band."""
    x = 12
    if logo:
        lh = min(26, band - 12)
        lw = lh * 0.86
        draw_shield(c, x, (band - lh) / 2, lw, lh, WHITE, BAND)
        x += lw + 9
    size = size or (16 if band >= 40 else 13)
    if subtitle:
        c.text(x, band / 2 - 7, title, size, WHITE, bold=True, anchor="lm")
        c.text(x, band / 2 + 10, subtitle, 11, ON_BAND, anchor="lm")
    else:
        c.text(x, band / 2, title, size, WHITE, bold=True, anchor="lm")


def band_fill(c, w, band):
    """The title band: teal, a little lighter behind the title on the left and
    flat from the middle on, where the close and minimise buttons sit (their
    strips' corners are painted in BAND)."""
    c.rect(0, 0, w, band, BAND)
    flat = w * 0.55
    left = mix(BAND, TEAL_LIGHT, 0.2)
    steps = int(flat)
    for x in range(steps):
        t = x / flat
        c.rect(x, 0, x + 1, band, mix(left, BAND, t * t * (3 - 2 * t)))


def skin_frame(w, h, band, footer=6, panel=True):
    """Common body of a skin: band, accent line, white body with a soft
    rounded panel outline, a pale footer strip and a dark frame line."""
    c = Canvas(w, h, WHITE)
    band_fill(c, w, band)
    c.rect(0, band, w, band + 2, TEAL_LIGHT)
    if panel:
        c.rrect(7, band + 9, w - 7, h - footer - 7, 8, outline=LINE, width=1)
    c.rect(0, h - footer, w, h, TEAL_PALE)
    c.rect(0, h - footer, w, h - footer + 1, LINE)
    c.rrect(0, 0, w, h, 0, outline=BAND_DARK, width=1)
    return c


def make_skin(w, h, band, title, subtitle=None):
    def make():
        c = skin_frame(w, h, band)
        band_title(c, band, title, subtitle)
        return c.result()
    return make


def make_message_skin(positive):
    """Message box skin: band with the product mark, an accent line in the
    message's colour, a tinted column on the left with the badge (green tick
    or red exclamation) and a white area on the right for the text."""
    def make():
        w, h, band, footer = 419, 195, 30, 6
        col, pale = (GREEN, GREEN_PALE) if positive else (RED, RED_PALE)
        c = Canvas(w, h, WHITE)
        band_fill(c, w, band)
        c.rect(0, band, w, band + 3, col)
        column = 104
        c.rect(0, band + 3, column, h - footer, pale)
        c.rect(column, band + 3, column + 1, h - footer, mix(pale, col, 0.25))
        c.rect(0, h - footer, w, h, TEAL_PALE)
        c.rect(0, h - footer, w, h - footer + 1, LINE)
        c.rrect(0, 0, w, h, 0, outline=BAND_DARK, width=1)
        bx, by = column / 2, band + 3 + (h - footer - band - 3) / 2
        c.circle(bx, by, 36, fill=mix(pale, col, 0.18))
        c.circle(bx, by, 29, fill=col)
        if positive:
            g_tick(c, bx + 1, by + 1, 28, WHITE, 6)
        else:
            c.line([(bx, by - 15), (bx, by + 4)], WHITE, 6.5)
            c.circle(bx, by + 14, 3.8, fill=WHITE)
        band_title(c, band, "Tiqora Desk", size=12)
        return c.result()
    return make


def make_popup_skin():
    """Reply notification: a band with a bell and the title, a white body for
    the blinking banner, the text and the open button."""
    def make():
        w, h, band = 347, 165, 30
        c = skin_frame(w, h, band, footer=5, panel=False)
        g_bell(c, 21, band / 2, 16, WHITE)
        c.text(38, band / 2, "New Reply", 13, WHITE, bold=True, anchor="lm")
        c.rrect(6, band + 7, w - 6, h - 5 - 6, 7, outline=LINE, width=1)
        return c.result()
    return make


# ---------------------------------------------------------------- strips
STATES = ("normal", "pressed", "hover")


def strip(fw, fh, draw):
    """Three frames side by side; draw(canvas, state, shift) paints one frame
    in a canvas of fw x fh, shift being 1 for the pressed frame, whose content
    moves one pixel right and down."""
    out = Image.new("RGB", (fw * 3, fh))
    for i, state in enumerate(STATES):
        c = Canvas(fw, fh, WHITE)
        shift = 1 if state == "pressed" else 0
        draw(c, state, shift)
        out.paste(c.result(), (i * fw, 0))
    return avoid_3d_greys(out)


def avoid_3d_greys(img):
    """LR_LOADMAP3DCOLORS replaces exact 128, 192 and 223 greys; nudge them."""
    px = img.load()
    for y in range(img.height):
        for x in range(img.width):
            r, g, b = px[x, y]
            if r == g == b and r in (128, 192, 223):
                px[x, y] = (r, g, b + 1)
    return img


def band_button(fw, fh, glyph, vis=None, round_=False):
    """Close/minimise button on the title band. vis is the visible box inside
    the frame (the rest shows the band)."""
    def draw(c, state, d):
        c.rect(0, 0, fw, fh, BAND)
        x0, y0, x1, y1 = vis or (2, 2, fw - 2, fh - 2)
        x0, y0, x1, y1 = x0 + d, y0 + d, x1 + d, y1 + d
        danger = glyph == "close"
        if state == "normal":
            fill = mix(BAND, WHITE, 0.12)
        elif state == "hover":
            fill = RED if danger else TEAL_LIGHT
        else:
            fill = RED_DARK if danger else BAND_DARK
        cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
        if round_:
            r = min(x1 - x0, y1 - y0) / 2
            if state == "normal":
                c.circle(cx, cy, r, outline=mix(BAND, WHITE, 0.55), width=1.3)
            else:
                c.circle(cx, cy, r, fill=fill)
        else:
            c.rrect(x0, y0, x1, y1, 4, fill=fill)
        if glyph == "close":
            g_close(c, cx, cy, 8 if round_ else 9, WHITE, 1.9)
        else:
            g_minus(c, cx, cy + 3, 10, WHITE, 2.1)
    return draw


def text_button(fw, fh, label, glyph=None, primary=False, size=12):
    """Push button on the white panel with its label and a small pictogram:
    primary (teal, white text) or secondary (white, teal outline and text)."""
    def draw(c, state, d):
        c.rect(0, 0, fw, fh, WHITE)
        x0, y0, x1, y1 = 0.5 + d, 0.5 + d, fw - 0.5 - (1 - d), fh - 0.5 - (1 - d)
        if primary:
            fill = {"normal": TEAL, "hover": TEAL_LIGHT, "pressed": BAND_DARK}[state]
            c.rrect(x0, y0, x1, y1, 5, fill=darker(fill, 0.18))
            c.rrect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, 4, fill=fill)
            c.rect(x0 + 3, y0 + 1, x1 - 3, y0 + (y1 - y0) * 0.45, lighter(fill, 0.06))
            fg = WHITE
        else:
            fill = {"normal": WHITE, "hover": TEAL_PALE, "pressed": mix(TEAL_PALE, TEAL, 0.14)}[state]
            edge = {"normal": LINE_STRONG, "hover": TEAL_LIGHT, "pressed": TEAL}[state]
            c.rrect(x0, y0, x1, y1, 5, fill=edge)
            c.rrect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, 4, fill=fill)
            fg = BAND if state != "normal" else TEAL
        gs = min(12, round(fh * 0.46))
        gap = 5
        tw = text_width(label, size, bold=True, condensed=True)
        show_glyph = glyph is not None and tw + gs + gap <= fw - 10
        total = tw + (gs + gap if show_glyph else 0)
        left = (fw - total) / 2 + d
        cy = fh / 2 + d
        if show_glyph:
            glyph(c, left + gs / 2, cy, gs, fg, fill)
            left += gs + gap
        c.text(left, cy + 0.5, label, size, fg, bold=True, anchor="lm", condensed=True)
    return draw


def face(c, cx, cy, r, level, fill, feat):
    """One rating face, level 1 (horrible) to 5 (excellent)."""
    c.circle(cx, cy, r, fill=fill)
    w = max(1.6, r * 0.15)
    ex, ey, er = r * 0.36, cy - r * 0.2, r * 0.13
    if level == 5:
        for sx in (-1, 1):
            c.arc(cx + sx * ex - er * 1.6, ey - er * 0.9, cx + sx * ex + er * 1.6, ey + er * 2.4, 200, 340, feat, w * 0.9)
    else:
        c.circle(cx - ex, ey, er, fill=feat)
        c.circle(cx + ex, ey, er, fill=feat)
    if level == 1:
        for sx in (-1, 1):
            c.line([(cx + sx * ex * 1.45, ey - r * 0.3), (cx + sx * ex * 0.45, ey - r * 0.16)], feat, w * 0.85)
        c.arc(cx - r * 0.45, cy + r * 0.25, cx + r * 0.45, cy + r * 0.95, 205, 335, feat, w)
    elif level == 2:
        c.arc(cx - r * 0.42, cy + r * 0.32, cx + r * 0.42, cy + r * 0.8, 215, 325, feat, w)
    elif level == 3:
        c.line([(cx - r * 0.34, cy + r * 0.4), (cx + r * 0.34, cy + r * 0.4)], feat, w)
    elif level == 4:
        c.arc(cx - r * 0.45, cy - r * 0.12, cx + r * 0.45, cy + r * 0.6, 30, 150, feat, w)
    else:
        c.chord(cx - r * 0.52, cy - r * 0.02, cx + r * 0.52, cy + r * 0.66, 0, 180, feat)


def rating_button(level, selected):
    """Rating face, 40 x 40 frames. Unchosen faces are soft pastels that come
    to full colour under the mouse; chosen ones sit in a teal ring."""
    col, feat = RATING_COLOURS[level - 1]

    def draw(c, state, d):
        c.rect(0, 0, 40, 40, WHITE)
        cx, cy = 20 + d, 20 + d
        if selected:
            ring = {"normal": TEAL, "hover": TEAL_LIGHT, "pressed": BAND_DARK}[state]
            c.circle(cx, cy, 19.5, fill=ring)
            c.circle(cx, cy, 17, fill=TEAL_PALE if state != "pressed" else mix(TEAL_PALE, TEAL, 0.15))
            fill = col if state != "pressed" else darker(col, 0.12)
            face(c, cx, cy, 14.5, level, fill, feat)
        else:
            if state == "normal":
                face(c, cx, cy, 15, level, mix(col, WHITE, 0.32), mix(feat, WHITE, 0.18))
            elif state == "hover":
                c.circle(cx, cy, 19.5, fill=TEAL_MIST)
                c.circle(cx, cy, 19.5, outline=LINE, width=1)
                face(c, cx, cy, 16, level, col, feat)
            else:
                c.circle(cx, cy, 19, fill=mix(TEAL_PALE, TEAL, 0.1))
                face(c, cx, cy, 15, level, darker(col, 0.12), feat)
    return draw


def tile_button(fw, fh, base, glyph):
    """Square coloured button with a white pictogram (chat, remote support)."""
    def draw(c, state, d):
        c.rect(0, 0, fw, fh, WHITE)
        fill = {"normal": base, "hover": lighter(base, 0.2), "pressed": darker(base, 0.22)}[state]
        s = min(fw, fh) - 2
        x0, y0 = (fw - s) / 2 + d, (fh - s) / 2 + d
        if state == "hover":
            c.rrect(x0 - 0.5, y0 - 0.5, x0 + s + 0.5, y0 + s + 0.5, 7.5, fill=mix(base, WHITE, 0.55))
        c.rrect(x0 + 0.5, y0 + 0.5, x0 + s - 0.5, y0 + s - 0.5, 6.5, fill=fill)
        glyph(c, x0 + s / 2, y0 + s / 2, s * 0.62, WHITE, fill)
    return draw


def make_strip(fw, fh, draw):
    return lambda: strip(fw, fh, draw)


# ---------------------------------------------------------------- field icons
FIELD = 20  # field icons are FIELD x FIELD pixels


def make_field_icon(glyph):
    def make():
        c = Canvas(FIELD, FIELD, WHITE, ss=8)
        c.rrect(0.5, 0.5, FIELD - 0.5, FIELD - 0.5, 5, fill=TEAL_PALE)
        glyph(c, FIELD / 2, FIELD / 2, 12, TEAL, 1.5)
        return c.result()
    return make


# ---------------------------------------------------------------- hand cursor
CURSOR = 32
HOTSPOT = (11, 1)  # tip of the index finger


def hand_cursor_image():
    """RGBA pointing hand: white with a black outline, index finger up, its
    tip at HOTSPOT."""
    s = 8
    mask = Image.new("L", (CURSOR * s, CURSOR * s), 0)
    md = ImageDraw.Draw(mask)

    def rr(x0, y0, x1, y1, r):
        md.rounded_rectangle([x0 * s, y0 * s, x1 * s - 1, y1 * s - 1], radius=r * s, fill=255)

    rr(8.6, 2, 13.6, 18, 2.5)            # index finger
    rr(13.4, 9.5, 17.4, 19, 2)           # middle finger knuckle
    rr(17.2, 10.5, 21.2, 19, 2)          # ring finger
    rr(21, 12, 24.6, 20, 1.8)            # little finger
    rr(8.6, 14, 24.6, 26, 3.5)           # palm
    rr(10, 23, 23.4, 30, 1.5)            # wrist
    # thumb, resting on the left
    md.line([(4.2 * s, 15.2 * s), (9.5 * s, 21.5 * s)], fill=255, width=int(4.6 * s))
    md.ellipse([(4.2 - 2.3) * s, (15.2 - 2.3) * s, (4.2 + 2.3) * s, (15.2 + 2.3) * s], fill=255)
    outline = mask.filter(ImageFilter.MaxFilter(2 * s + 1 - 2))
    col = Image.new("RGB", mask.size, (0, 0, 0))
    white = Image.new("RGB", mask.size, WHITE)
    col = Image.composite(white, col, mask)
    cd = ImageDraw.Draw(col)
    # creases between the folded fingers
    for x, y0, y1 in ((13.5, 11, 17), (17.3, 12, 17.5), (21.1, 13.5, 18)):
        cd.line([(x * s, y0 * s), (x * s, y1 * s)], fill=(0, 0, 0), width=s)
    img = col.convert("RGBA")
    img.putalpha(outline)
    return img.resize((CURSOR, CURSOR), Image.BOX)


# ---------------------------------------------------------------- file writers
def write_bmp(path, img):
    img.convert("RGB").save(path, "BMP")  # 24 bits per pixel


def dib_32(img):
    """BITMAPINFOHEADER + 32-bit BGRA rows bottom-up + AND mask, as icons and
    cursors store them."""
    size = img.width
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    px = img.load()
    xor = bytearray()
    for y in reversed(range(size)):
        for x in range(size):
            r, g, b, a = px[x, y]
            xor += bytes((b, g, r, a))
    row = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in reversed(range(size)):
        bits = bytearray(row)
        for x in range(size):
            if px[x, y][3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(xor) + bytes(mask)


def write_icon_file(path, images, cursor_hotspot=None):
    """.ico (type 1) or, with a hotspot, .cur (type 2)."""
    dibs = [dib_32(im) for im in images]
    kind = 2 if cursor_hotspot else 1
    out = bytearray(struct.pack("<HHH", 0, kind, len(dibs)))
    offset = 6 + 16 * len(dibs)
    for im, dib in zip(images, dibs):
        s = im.width % 256
        a, b = cursor_hotspot if cursor_hotspot else (1, 32)
        out += struct.pack("<BBBBHHII", s, s, 0, 0, a, b, len(dib), offset)
        offset += len(dib)
    for dib in dibs:
        out += dib
    with open(path, "wb") as f:
        f.write(out)


# ---------------------------------------------------------------- the set
class Piece:
    def __init__(self, ids, rtype, name, what, make, kind, size=None, order=None):
        self.ids, self.rtype, self.name, self.what = ids, rtype, name, what
        self.make, self.kind, self.size = make, kind, size
        self.order = order if order is not None else ids[0]  # place on the contact sheet


def pieces():
    P = []

    def skin(i, name, what, w, h, make):
        P.append(Piece([i], "BITMAP", name, what, make, "skin", (w, h)))

    def strp(ids, name, what, w, h, draw, order=None):
        P.append(Piece(ids, "BITMAP", name, what, make_strip(w // 3, h, draw), "strip", (w, h), order))

    def field(i, name, what, glyph):
        P.append(Piece([i], "BITMAP", name, what, make_field_icon(glyph), "field", (FIELD, FIELD)))

    # Skins: band heights keep the top controls (close, minimise) on the band
    # and everything else below it.
    skin(139, "skin_request_form.bmp", "support request form", 450, 546,
         make_skin(450, 546, 46, "Tiqora Desk", "VEXO Help Desk \u00b7 request a call back"))
    skin(142, "skin_request_history.bmp", "request history", 698, 365,
         make_skin(698, 365, 40, "Request History", "Your support requests from this computer"))
    skin(146, "skin_it_ticket.bmp", "IT ticket form", 440, 475,
         make_skin(440, 475, 40, "IT Ticket", "Ask your system administrator for help"))
    skin(164, "skin_message_ok.bmp", "message, good news", 419, 195, make_message_skin(True))
    skin(165, "skin_message_error.bmp", "message, bad news", 419, 195, make_message_skin(False))
    skin(172, "skin_feedback.bmp", "feedback form", 486, 561,
         make_skin(486, 561, 44, "Feedback", "VEXO Help Desk"))
    skin(192, "skin_ticket_history.bmp", "ticket history", 432, 465,
         make_skin(432, 465, 36, "Ticket History"))
    skin(206, "skin_reply_popup.bmp", "reply notification", 347, 165, make_popup_skin())

    strp([140], "strip_close.bmp", "Close (X) on a band", 84, 23, band_button(28, 23, "close"))
    strp([141], "strip_minimize.bmp", "Minimise on the band", 108, 30,
         band_button(36, 30, "min", vis=(10, 2, 34, 21)))
    strp([150], "strip_cancel.bmp", "Cancel", 216, 24, text_button(72, 24, "Cancel", None))
    strp([152], "strip_screenshot.bmp", "Screenshot", 288, 24, text_button(96, 24, "Screenshot", g_camera))
    strp([155], "strip_submit.bmp", "Submit", 216, 24, text_button(72, 24, "Submit", g_send, primary=True))
    strp([162], "strip_ok.bmp", "OK", 174, 22, text_button(58, 22, "OK", lambda c, x, y, s, f, b: g_tick(c, x, y, s * 0.9, f, 2), primary=True))
    strp([167], "strip_close_round.bmp", "Close (X), round, on a band", 84, 23,
         band_button(28, 23, "close", vis=(3.5, 1.5, 24.5, 21.5), round_=True))
    strp([170], "strip_history.bmp", "History / Ticket History", 216, 24, text_button(72, 24, "History", g_clock))
    for n, (i, word) in enumerate(zip(range(173, 178), ("horrible", "bad", "average", "good", "excellent"))):
        strp([i], "rating_%d.bmp" % (n + 1), "rating %d, %s" % (n + 1, word), 120, 40, rating_button(n + 1, False),
             order=1000 + 10 * n)
    strp([179], "strip_whatsapp.bmp", "W: chat by phone", 84, 30, tile_button(28, 30, CHAT_GREEN, g_chat_phone))
    # The selected faces: B1..B5 use 186, 183, 182, 185, 184.
    for i, n in ((182, 3), (183, 2), (184, 5), (185, 4), (186, 1)):
        strp([i], "rating_%d_selected.bmp" % n, "rating %d chosen" % n, 120, 40, rating_button(n, True),
             order=1000 + 10 * (n - 1) + 5)
    strp([187], "strip_remote_support.bmp", "TS: remote support", 84, 30, tile_button(28, 30, TEAL, g_remote))
    strp([194], "strip_open_ticket.bmp", "Open Ticket", 288, 30,
         text_button(96, 30, "Open Ticket", g_open, primary=True))

    field(129, "field_description.bmp", "issue description", g_note)
    field(130, "field_name.bmp", "name / host name", g_person)
    field(131, "field_email.bmp", "e-mail", g_mail)
    field(132, "field_contact.bmp", "contact number", g_mobile)
    field(133, "field_city.bmp", "city", g_city)
    field(134, "field_state.bmp", "state", g_pin)
    field(135, "field_issue_type.bmp", "issue type / title", g_tag)
    field(136, "field_customer_type.bmp", "customer type", g_house)
    field(147, "field_priority.bmp", "priority", g_flag)
    field(149, "field_ticket.bmp", "ticket", g_ticket)

    P.append(Piece([128, 138], "ICON", "app.ico", "application icon 16/32/48",
                   lambda: [app_icon_image(s) for s in (16, 32, 48)], "icon"))
    P.append(Piece([190], "CURSOR", "hand.cur", "hand cursor, hotspot %d,%d" % HOTSPOT,
                   lambda: [hand_cursor_image()], "cursor", (CURSOR, CURSOR)))
    P.sort(key=lambda p: p.ids[0])
    return P


def write_rc(P):
    lines = [
        "// Artwork of TiqoraDesk.exe: dialog skins, hover-button strips (three",
        "// frames side by side: normal, pressed, mouse over), field icons, the",
        "// application icon and the hand cursor, by resource number.",
        "// Generated by tools/make-artwork.py together with the files in art/;",
        "// change the script and run it again rather than editing this list.",
        "",
    ]
    rows = []
    for p in P:
        for i in p.ids:
            rows.append((i, p))
    rows.sort(key=lambda r: r[0])
    for i, p in rows:
        lines.append('%-4d %-7s "art/%s"  // %s' % (i, p.rtype, p.name, p.what))
    with open(RC, "w", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


# ---------------------------------------------------------------- preview
def preview(P, made, path):
    """Contact sheet: skins at real size, strips at 2x with their three frames
    labelled, field icons at 1x and 3x, icons and the cursor."""
    W = 1560
    bg = (236, 239, 241)
    label_font, small = font(13, True), font(11)
    tiles = []  # (section, image, caption lines)
    for p in sorted(P, key=lambda p: p.order):
        ids = "/".join(str(i) for i in p.ids)
        img = made[p.name]
        if p.kind == "skin":
            tiles.append(("Skins (real size)", img, ["%s  %s" % (ids, p.name), "%dx%d  %s" % (img.width, img.height, p.what)]))
        elif p.kind == "strip":
            fw = img.width // 3
            z = 2
            big = img.resize((img.width * z, img.height * z), Image.NEAREST)
            sheet = Image.new("RGB", (big.width + 2 * 4, big.height + 16), bg)
            for k in range(3):
                sheet.paste(big.crop((k * fw * z, 0, (k + 1) * fw * z, big.height)), (k * (fw * z + 4), 0))
                ImageDraw.Draw(sheet).text((k * (fw * z + 4) + fw * z / 2, big.height + 2), STATES[k], font=small, fill=(90, 100, 110), anchor="mt")
            tiles.append(("Button strips (2x: normal, pressed, mouse over)", sheet,
                          ["%s  %s" % (ids, p.name), "%dx%d (frame %dx%d)  %s" % (img.width, img.height, fw, img.height, p.what)]))
        elif p.kind == "field":
            sheet = Image.new("RGB", (img.width * 4 + 8, img.height * 3), bg)
            sheet.paste(img, (0, img.height * 2))
            sheet.paste(img.resize((img.width * 3, img.height * 3), Image.NEAREST), (img.width + 8, 0))
            tiles.append(("Field icons (1x and 3x)", sheet, ["%s %s" % (ids, p.name[6:-4]), "%dx%d" % img.size]))
        else:
            imgs = img
            wsum = sum(i.width * 2 + 10 for i in imgs)
            sheet = Image.new("RGB", (max(wsum, 120), max(i.height for i in imgs) * 2), bg)
            x = 0
            for im in imgs:
                for bgc, zz in ((bg, 2),):
                    z2 = im.resize((im.width * zz, im.height * zz), Image.NEAREST)
                    sheet.paste(z2, (x, 0), z2)
                    x += z2.width + 10
            if p.kind == "cursor":
                d = ImageDraw.Draw(sheet)
                hx, hy = HOTSPOT[0] * 2 + 1, HOTSPOT[1] * 2 + 1
                d.ellipse([hx - 3, hy - 3, hx + 3, hy + 3], outline=(220, 40, 40))
            sizes = ", ".join("%d" % i.width for i in imgs)
            tiles.append(("Icons and cursor (2x)", sheet, ["%s  %s" % (ids, p.name), "%s px  %s" % (sizes, p.what)]))
    # flow layout by section, sections in a fixed order
    order = ["Skins", "Button", "Field", "Icons"]
    tiles.sort(key=lambda t: [k for k, o in enumerate(order) if t[0].startswith(o)][0])
    sections = []
    for sec, img, cap in tiles:
        if not sections or sections[-1][0] != sec:
            sections.append((sec, []))
        sections[-1][1].append((img, cap))
    y = 20
    placed = []
    for sec, items in sections:
        placed.append(("title", sec, 20, y))
        y += 28
        x, row_h = 20, 0
        for img, cap in items:
            cw = int(max(img.width, max(label_font.getlength(c) for c in cap))) + 24
            if x + cw > W and x > 20:
                x, y = 20, y + row_h
                row_h = 0
            placed.append(("img", img, x, y))
            for k, line in enumerate(cap):
                placed.append(("cap" if k == 0 else "note", line, x, y + img.height + 6 + 16 * k))
            x += cw
            row_h = max(row_h, img.height + 6 + 16 * len(cap) + 18)
        y += row_h + 10
    sheet = Image.new("RGB", (W, y + 10), bg)
    d = ImageDraw.Draw(sheet)
    for kind, obj, x, yy in placed:
        if kind == "title":
            d.text((x, yy), obj, font=font(17, True), fill=BAND)
        elif kind == "img":
            sheet.paste(obj, (x, yy))
        else:
            d.text((x, yy), obj, font=label_font if kind == "cap" else small, fill=INK)
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    sheet.save(path)


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--preview", metavar="OUT.png", help="also render a contact sheet of every piece")
    args = ap.parse_args()
    os.makedirs(ART, exist_ok=True)
    P = pieces()
    made = {}
    for p in P:
        img = p.make()
        made[p.name] = img
        path = os.path.join(ART, p.name)
        if p.kind == "icon":
            write_icon_file(path, img)
        elif p.kind == "cursor":
            write_icon_file(path, img, cursor_hotspot=HOTSPOT)
        else:
            assert img.size == p.size, (p.name, img.size, p.size)
            write_bmp(path, img)
    write_rc(P)
    if args.preview:
        preview(P, made, args.preview)
    print("wrote %d files to %s and %s" % (len(P), os.path.relpath(ART, ROOT), os.path.relpath(RC, ROOT)))


if __name__ == "__main__":
    sys.exit(main())
