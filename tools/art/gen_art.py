#!/usr/bin/env python3
"""Draws every skin image and icon of the launcher.

    /usr/bin/python3 tools/art/gen_art.py            # writes res/...
    /usr/bin/python3 tools/art/gen_art.py --preview  # also build/art-preview.png
    /usr/bin/python3 tools/art/gen_art.py --out DIR  # writes DIR/res/... instead

Needs Debian's python3-pil and the fonts-wqy-zenhei and fonts-liberation2
packages.  The output is reproducible byte for byte: every random choice
comes from a seeded generator and the PNG writer gets no metadata, so a
rerun on an unchanged tree leaves git with nothing to commit.

Theme: a moorland at night.  Blue-black sky, peat-brown ground, heather,
mist, warm gold trim.  The gold and cream values are the ones the program
itself uses for its texts, so drawn and painted elements match.
"""

import argparse
import io
import math
import os
import random
import struct
import sys
import time

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))

CJK_FONT = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc"
SERIF_BOLD = "/usr/share/fonts/truetype/liberation2/LiberationSerif-Bold.ttf"
SANS = "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf"

# Colours the program paints its own texts with.
GOLD = (0xCB, 0xAE, 0x5B)        # version text on the login window
GOLD_PALE = (0xDA, 0xC2, 0x9D)   # message box caption and message
CREAM = (0xFF, 0xF3, 0xCD)       # server name in the title bar
CREAM_2 = (0xFF, 0xF5, 0xD3)     # mask overlay text

GOLD_BRIGHT = (0xF2, 0xDF, 0x9E)
GOLD_DEEP = (0x8C, 0x70, 0x34)
INK = (0x06, 0x08, 0x0D)
HEATHER_BLOOM = (0x8E, 0x5E, 0x92)

# Login popup geometry inside the 1351 x 747 login skin.  The popup sits at
# (240, 60); its page rectangle and its two buttons are fixed offsets in it.
SKIN_W, SKIN_H = 1351, 747
PAGE_RECT = (240, 120, 1128, 654)           # x0, y0, x1, y1 (exclusive)
POPUP_MIN_POS, POPUP_MIN_WIN = (240 + 885, 60 + 26), (32, 34)
POPUP_CLOSE_POS, POPUP_CLOSE_WIN = (240 + 907, 60 - 2), (42, 44)
VERSION_POS = (SKIN_W - 60, SKIN_H - 33)    # where the version string goes

ICON_SIZES = (16, 24, 32, 48, 64, 128)


# --------------------------------------------------------------------------
# small drawing helpers

def clamp8(v):
    return 0 if v < 0 else 255 if v > 255 else int(round(v))


def mix(c1, c2, t):
    return tuple(clamp8(a + (b - a) * t) for a, b in zip(c1, c2))


def ramp(stops, t):
    """Colour at t (0..1) along [(pos, colour), ...] sorted by pos."""
    if t <= stops[0][0]:
        return tuple(stops[0][1])
    for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
        if t <= p1:
            return mix(c0, c1, (t - p0) / (p1 - p0) if p1 > p0 else 1.0)
    return tuple(stops[-1][1])


def _flat(values, mode):
    return [v[0] for v in values] if mode == "L" else values


def vgradient(w, h, stops, mode="RGB"):
    col = Image.new(mode, (1, h))
    col.putdata(_flat([ramp(stops, (y + 0.5) / h) for y in range(h)], mode))
    return col.resize((w, h), Image.NEAREST)


def hgradient(w, h, stops, mode="RGB"):
    row = Image.new(mode, (w, 1))
    row.putdata(_flat([ramp(stops, (x + 0.5) / w) for x in range(w)], mode))
    return row.resize((w, h), Image.NEAREST)


def solid(size, colour):
    return Image.new("RGB", size, colour)


def layer(fill, mask, opacity=1.0):
    """RGBA layer: fill (RGB image or colour) shown through an L mask."""
    if not isinstance(fill, Image.Image):
        fill = solid(mask.size, fill)
    out = fill.convert("RGB").copy()
    if opacity != 1.0:
        mask = mask.point([clamp8(v * opacity) for v in range(256)])
    out.putalpha(mask)
    return out


def paint(base, fill, mask, opacity=1.0, dest=(0, 0)):
    base.alpha_composite(layer(fill, mask, opacity), dest=dest)


def scale_mask(mask, k):
    return mask.point([clamp8(v * k) for v in range(256)])


def mask_mul(a, b):
    return ImageChops.multiply(a, b)


def shrink(img, size):
    """Area-average downscale; RGBA goes through premultiplied alpha so that
    transparent pixels do not bleed their colour into the edges."""
    if img.mode == "RGBA":
        return img.convert("RGBa").resize(size, Image.BOX).convert("RGBA")
    return img.resize(size, Image.BOX)


class Canvas:
    """An L mask drawn at k-times resolution, read back antialiased.
    Coordinates are given in output pixels (floats allowed)."""

    def __init__(self, w, h, k=4):
        self.w, self.h, self.k = w, h, k
        self.img = Image.new("L", (w * k, h * k), 0)
        self.d = ImageDraw.Draw(self.img)

    def _p(self, pts):
        k = self.k
        return [(x * k, y * k) for x, y in pts]

    def _b(self, box):
        k = self.k
        x0, y0, x1, y1 = box
        return [x0 * k, y0 * k, x1 * k - 1, y1 * k - 1]

    def rect(self, box, fill=255):
        self.d.rectangle(self._b(box), fill=fill)

    def rrect(self, box, r, fill=255, outline=None, width=1.0):
        self.d.rounded_rectangle(self._b(box), radius=r * self.k, fill=fill,
                                 outline=outline,
                                 width=max(1, int(round(width * self.k))))

    def ellipse(self, box, fill=255, outline=None, width=1.0):
        self.d.ellipse(self._b(box), fill=fill, outline=outline,
                       width=max(1, int(round(width * self.k))))

    def circle(self, cx, cy, r, fill=255):
        self.ellipse((cx - r, cy - r, cx + r, cy + r), fill=fill)

    def ring(self, cx, cy, r, width, fill=255):
        self.ellipse((cx - r, cy - r, cx + r, cy + r), fill=None, outline=fill,
                     width=width)

    def poly(self, pts, fill=255):
        self.d.polygon(self._p(pts), fill=fill)

    def line(self, pts, width, fill=255, caps=True):
        k = self.k
        self.d.line(self._p(pts), fill=fill, width=max(1, int(round(width * k))),
                    joint="curve")
        if caps:
            r = width / 2.0
            for x, y in (pts[0], pts[-1]):
                self.d.ellipse([(x - r) * k, (y - r) * k, (x + r) * k - 1,
                                (y + r) * k - 1], fill=fill)

    def arc(self, cx, cy, r, start, end, width, fill=255):
        k = self.k
        self.d.arc([(cx - r) * k, (cy - r) * k, (cx + r) * k - 1, (cy + r) * k - 1],
                   start, end, fill=fill, width=max(1, int(round(width * k))))

    def mask(self):
        return self.img.resize((self.w, self.h), Image.BOX)


def font(path, size, index=0):
    return ImageFont.truetype(path, size, index=index)


def cjk(size):
    # Face 0 of the collection is the outline face; the "Sharp" face carries
    # bitmap strikes that would come out aliased.
    return font(CJK_FONT, size, 0)


def text_mask(size, text, fnt, xy, spacing=0):
    """Text drawn at integer pixel positions (crisp hinted glyphs)."""
    m = Image.new("L", size, 0)
    d = ImageDraw.Draw(m)
    if spacing == 0:
        d.text(xy, text, font=fnt, fill=255)
    else:
        x, y = xy
        for ch in text:
            d.text((x, y), ch, font=fnt, fill=255)
            x += fnt.getlength(ch) + spacing
    return m


def text_width(text, fnt, spacing=0):
    if spacing == 0:
        return fnt.getlength(text)
    return sum(fnt.getlength(c) for c in text) + spacing * (len(text) - 1)


def cjk_vcentre_offset(fnt):
    """Vertical draw offset that centres a CJK line on y = 0: uses a
    full-height ideograph so that all labels share one baseline."""
    x0, y0, x1, y1 = fnt.getbbox("国")
    return -(y0 + y1) / 2.0


def blur(img, r):
    return img.filter(ImageFilter.GaussianBlur(r))


def erode(mask, n):
    for _ in range(n):
        mask = mask.filter(ImageFilter.MinFilter(3))
    return mask


def noise2d(w, h, cell_x, cell_y, seed):
    """Smooth value noise (L image, mean about 128)."""
    rnd = random.Random(seed)
    gw, gh = int(w / cell_x) + 4, int(h / cell_y) + 4
    small = Image.new("L", (gw, gh))
    small.putdata([rnd.randrange(256) for _ in range(gw * gh)])
    big = small.resize((int(gw * cell_x), int(gh * cell_y)), Image.BICUBIC)
    ox, oy = int(cell_x * 1.5), int(cell_y * 1.5)
    return big.crop((ox, oy, ox + w, oy + h))


def fractal2d(w, h, cell, seed, octaves=3, stretch=1.0):
    acc = None
    weight = 0.0
    amp = 1.0
    for o in range(octaves):
        n = noise2d(w, h, cell * stretch, cell, seed * 31 + o)
        if acc is None:
            acc = n
        else:
            acc = Image.blend(acc, n, amp / (weight + amp))
        weight += amp
        amp *= 0.5
        cell = max(2.0, cell / 2.0)
    # stretch the narrowed range back to the full 0..255
    lo, hi = acc.getextrema()
    span = max(1, hi - lo)
    return acc.point([clamp8((v - lo) * 255.0 / span) for v in range(256)])


def noise1d(n, period, seed):
    rnd = random.Random(seed)
    pts = [rnd.uniform(-1.0, 1.0) for _ in range(int(n / period) + 3)]
    out = []
    for x in range(n):
        f = x / period
        i = int(f)
        t = f - i
        t = t * t * (3 - 2 * t)
        out.append(pts[i] + (pts[i + 1] - pts[i]) * t)
    return out


def ridge(n, base, octaves, seed):
    """Skyline heights: base + sum(amplitude * noise) per x."""
    ys = [float(base)] * n
    for j, (amp, period) in enumerate(octaves):
        nz = noise1d(n, period, seed * 17 + j)
        ys = [y + amp * v for y, v in zip(ys, nz)]
    return ys


def png_bytes(img):
    """PNG with no ancillary chunks: reproducible for equal pixels."""
    bio = io.BytesIO()
    img.save(bio, format="PNG", optimize=True)
    return bio.getvalue()


# --------------------------------------------------------------------------
# emblem: a gold ring around a moorland night with a serif Q

def emblem(size, muted=False):
    """Square RGBA emblem.  Drawn at 512 px and averaged down, with a
    bolder variant at small sizes where thin lines would vanish."""
    big = 512
    u = big / 100.0
    small = size <= 24
    img = Image.new("RGBA", (big, big), (0, 0, 0, 0))
    c = big / 2.0

    ring_outer = 49.0 * u
    ring_w = (11.0 if small else 8.0) * u
    disc_r = ring_outer - ring_w

    outer = Canvas(big, big, 1)
    outer.circle(c, c, ring_outer)
    outer_m = outer.mask()
    disc = Canvas(big, big, 1)
    disc.circle(c, c, disc_r)
    disc_m = disc.mask()

    gold_fill = vgradient(big, big, [(0.0, GOLD_BRIGHT), (0.45, GOLD),
                                     (1.0, (0x7A, 0x5E, 0x27))])
    paint(img, gold_fill, outer_m)
    # dark groove between the ring and the night disc
    groove = Canvas(big, big, 1)
    groove.circle(c, c, disc_r + 1.6 * u)
    paint(img, (0x2A, 0x1C, 0x0C), groove.mask())

    sky = vgradient(big, big, [(0.0, (0x24, 0x33, 0x55)), (0.55, (0x12, 0x1A, 0x2E)),
                               (1.0, (0x0A, 0x0E, 0x18))])
    paint(img, sky, disc_m)

    if not small:
        # moor hills inside the disc, clipped to it
        def hill(colour, height, swing, waves, phase):
            shape = Canvas(big, big, 1)
            pts = [(0, big)]
            for i in range(0, 101):
                pts.append((i * big / 100.0,
                            c + height * u - swing * u * math.sin(i / 100.0 * math.pi * waves + phase)))
            pts.append((big, big))
            shape.poly(pts)
            paint(img, colour, mask_mul(shape.mask(), disc_m))

        hill((0x2B, 0x1E, 0x2E), 22, 7, 1.3, 0.4)
        hill((0x1A, 0x11, 0x0B), 30, 5, 2.0, 2.2)
        # a few stars
        st = Canvas(big, big, 1)
        for sx, sy, sr in ((30, 30, 1.4), (70, 27, 1.1), (24, 52, 0.9), (77, 48, 1.2)):
            st.circle(sx * u, sy * u, sr * u)
        paint(img, (0xEE, 0xE6, 0xCC), mask_mul(st.mask(), disc_m), 0.9)

    # the Q: serif capital, gold with a dark keyline
    qsize = int((80 if small else 66) * u)
    qf = font(SERIF_BOLD, qsize)
    x0, y0, x1, y1 = qf.getbbox("Q")
    qx = c - (x0 + x1) / 2.0
    qy = c - (y0 + y1) / 2.0 + (2 if small else 3) * u
    keyline = Image.new("L", (big, big), 0)
    ImageDraw.Draw(keyline).text((qx, qy), "Q", font=qf, fill=255,
                                 stroke_width=int((5 if small else 3.2) * u))
    paint(img, (0x14, 0x0D, 0x06), keyline, 0.85)
    qm = Image.new("L", (big, big), 0)
    ImageDraw.Draw(qm).text((qx, qy), "Q", font=qf, fill=255)
    qfill = vgradient(big, big, [(0.2, (0xFF, 0xF2, 0xC4)), (0.5, GOLD_BRIGHT),
                                 (0.8, GOLD)])
    paint(img, qfill, qm)

    # keep everything inside the ring
    a = img.getchannel("A")
    img.putalpha(ImageChops.multiply(a, outer_m))

    if muted:
        grey = img.convert("LA").convert("RGBA")
        img = Image.blend(img, grey, 0.55)

    return shrink(img, (size, size))


def ember_cross_badge(img):
    """Red disc with a white cross at the lower right: 'remove'."""
    s = img.size[0]
    big = 512
    over = Image.new("RGBA", (big, big), (0, 0, 0, 0))
    u = big / 100.0
    cx, cy, r = (70 * u, 70 * u, 29 * u) if s <= 24 else (73 * u, 73 * u, 22 * u)
    halo = Canvas(big, big, 1)
    halo.circle(cx, cy, r + 4 * u)
    paint(over, (0x10, 0x08, 0x06), halo.mask(), 0.9)
    d = Canvas(big, big, 1)
    d.circle(cx, cy, r)
    fill = vgradient(big, big, [(0.45, (0xE8, 0x5A, 0x38)), (0.95, (0x8E, 0x1E, 0x10))])
    paint(over, fill, d.mask())
    x = Canvas(big, big, 1)
    k = r * 0.45
    w = (11 if s <= 24 else 8) * u
    x.line([(cx - k, cy - k), (cx + k, cy + k)], w)
    x.line([(cx - k, cy + k), (cx + k, cy - k)], w)
    paint(over, (0xFF, 0xF5, 0xE6), x.mask())
    out = img.copy()
    out.alpha_composite(shrink(over, (s, s)))
    return out


# --------------------------------------------------------------------------
# ICO and BMP writers (classic DIB icon entries, written by hand so that the
# layout is exactly what the resource compiler expects)

def ico_bytes(images):
    entries = []
    blobs = []
    for im in images:
        w, h = im.size
        px = im.tobytes("raw", "BGRA")
        rows = [px[y * w * 4:(y + 1) * w * 4] for y in range(h)]
        xor = b"".join(reversed(rows))
        mask_stride = ((w + 31) // 32) * 4
        alpha = im.getchannel("A").tobytes()
        mask_rows = []
        for y in range(h):
            bits = bytearray(mask_stride)
            for x in range(w):
                if alpha[y * w + x] == 0:
                    bits[x >> 3] |= 0x80 >> (x & 7)
            mask_rows.append(bytes(bits))
        and_mask = b"".join(reversed(mask_rows))
        header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0,
                             len(xor) + len(and_mask), 0, 0, 0, 0)
        blobs.append(header + xor + and_mask)
        entries.append((w, h))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for (w, h), blob in zip(entries, blobs):
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32,
                           len(blob), offset)
        offset += len(blob)
    return out + b"".join(blobs)


def green_bmp_bytes(w, h):
    # 32 bits per pixel, BI_RGB, bottom-up; the fourth byte is left 0, the
    # "unused" byte of BI_RGB.  Pure green is the popup's colour key.
    row = b"\x00\xff\x00\x00" * w
    pixels = row * h
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 32, 0, len(pixels),
                       2835, 2835, 0, 0)
    off = 14 + len(info)
    head = struct.pack("<2sIHHI", b"BM", off + len(pixels), 0, 0, off)
    return head + info + pixels


# --------------------------------------------------------------------------
# title bar (30 px): a lit top edge, a blue-black body, a gold hairline

TITLE_H = 30


def title_column():
    rows = []
    for y in range(TITLE_H):
        if y == 0:
            c = (0x34, 0x3C, 0x52)
        elif y == 1:
            c = (0x22, 0x2A, 0x3D)
        elif y <= 26:
            c = ramp([(0.0, (0x1C, 0x23, 0x35)), (1.0, (0x0E, 0x12, 0x1C))],
                     (y - 2) / 24.0)
        elif y == 27:
            c = (0x6A, 0x57, 0x2D)   # gold hairline
        elif y == 28:
            c = (0x0A, 0x0C, 0x12)
        else:
            c = (0x04, 0x05, 0x08)
        rows.append(c + (255,))
    return rows


def title_strip(w):
    col = Image.new("RGBA", (1, TITLE_H))
    col.putdata(title_column())
    return col.resize((w, TITLE_H), Image.NEAREST)


def title_mid():
    return title_strip(1)


def title_left():
    w = 203
    img = title_strip(w)
    deco = Image.new("RGBA", (w, TITLE_H), (0, 0, 0, 0))

    # emblem
    em = emblem(22)
    deco.alpha_composite(em, dest=(6, 3))

    # word mark
    f = font(SERIF_BOLD, 17)
    word = "Quellmoor"
    spacing = 0.6
    tx = 34
    x0, y0, x1, y1 = f.getbbox("Quellmoor")
    ty = int(round(14.5 - (f.getbbox("Q")[1] + f.getbbox("Q")[3]) / 2.0))
    shadow = text_mask((w, TITLE_H), word, f, (tx, ty + 1), spacing)
    paint(deco, (0, 0, 0), shadow, 0.8)
    m = text_mask((w, TITLE_H), word, f, (tx, ty), spacing)
    grad = vgradient(w, TITLE_H, [(0.25, (0xFF, 0xF0, 0xC6)), (0.5, GOLD_BRIGHT),
                                  (0.8, GOLD)])
    paint(deco, grad, m)

    # flourish: hairline with a diamond, dying out before x 190
    end_word = tx + text_width(word, f, spacing)
    fl = Canvas(w, TITLE_H, 4)
    lx0 = end_word + 7
    fl.line([(lx0 + 7, 15.0), (188, 15.0)], 0.8, caps=False)
    dx = lx0 + 3
    fl.poly([(dx - 3, 15), (dx, 12), (dx + 3, 15), (dx, 18)])
    fade2 = hgradient(w, TITLE_H, [(0.0, (255,)), ((lx0 + 8) / w, (255,)),
                                   (188.0 / w, (0,)), (1.0, (0,))], mode="L")
    paint(deco, GOLD, mask_mul(fl.mask(), fade2), 0.9)

    # the last 13 columns must equal the middle tile
    a = deco.getchannel("A")
    a.paste(0, (190, 0, w, TITLE_H))
    deco.putalpha(a)
    img.alpha_composite(deco)
    return img



def engraved_line(img, line, at, strength, shadow_at, shadow_strength):
    """A gold line with a dark line beside it, as if cut into the surface."""
    for colour, pos, amount in ((GOLD, at, strength), ((0, 0, 0), shadow_at, shadow_strength)):
        m = Image.new("L", img.size, 0)
        m.paste(line, pos)
        paint(img, colour, m, amount)

def title_right():
    w = 91
    img = title_strip(w)
    deco = Image.new("RGBA", (w, TITLE_H), (0, 0, 0, 0))
    # a slightly deeper well behind the window buttons, softly started
    well = hgradient(w, TITLE_H, [(0.0, (0,)), (0.05, (0,)), (0.16, (70,)),
                                  (1.0, (70,))], mode="L")
    band = Image.new("L", (w, TITLE_H), 0)
    band.paste(255, (0, 2, w, 27))
    paint(deco, (0, 0, 0), mask_mul(well, band), 0.55)
    # separator between the tool buttons and the window buttons
    sep = vgradient(1, TITLE_H, [(0.0, (0,)), (0.3, (150,)), (0.7, (150,)),
                                 (1.0, (0,))], mode="L")
    engraved_line(deco, sep, (2, 0), 0.8, (3, 0), 0.6)
    # right edge: the window's dark border
    edge = Image.new("L", (w, TITLE_H), 0)
    edge.paste(255, (w - 1, 0, w, TITLE_H))
    paint(deco, (0x05, 0x06, 0x0A), edge)
    a = deco.getchannel("A")
    a.paste(0, (0, 0, 2, TITLE_H))      # the seam with the middle tile
    deco.putalpha(a)
    img.alpha_composite(deco)
    return img


# --------------------------------------------------------------------------
# title bar buttons

BTN_H = 24


def glyph_button(kind, hover):
    w, h = 26, 24
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    if hover:
        plate = Canvas(w, h, 4)
        plate.rrect((1, 1, 25, 23), 3)
        pm = plate.mask()
        if kind == "close":
            fill = vgradient(w, h, [(0.0, (0xB0, 0x3A, 0x24)), (1.0, (0x70, 0x1C, 0x10))])
            edge_col = (0xE0, 0x7A, 0x58)
        else:
            fill = vgradient(w, h, [(0.0, (0x38, 0x42, 0x5C)), (1.0, (0x1F, 0x26, 0x38))])
            edge_col = GOLD
        paint(img, fill, pm, 0.95)
        ring = ImageChops.subtract(pm, erode(pm, 1))
        paint(img, edge_col, ring, 0.8)
        top = Image.new("L", (w, h), 0)
        top.paste(255, (4, 2, 22, 3))
        paint(img, (255, 255, 255), top, 0.12)
    col = CREAM if hover else GOLD_PALE
    # shadow first, then the glyph: keeps it legible over the gold hairline
    g = Image.new("L", (w, h), 0)
    d = ImageDraw.Draw(g)
    if kind == "close":
        c = Canvas(w, h, 4)
        c.line([(9.0, 7.5), (17.0, 15.5)], 1.6)
        c.line([(9.0, 15.5), (17.0, 7.5)], 1.6)
        g = c.mask()
    elif kind == "max":
        d.rectangle([8, 7, 17, 16], outline=255)
        d.line([9, 8, 16, 8], fill=255)          # heavier top edge: a window
    elif kind == "restore":
        d.line([10, 5, 18, 5], fill=255)
        d.line([10, 6, 18, 6], fill=255)
        d.line([18, 5, 18, 12], fill=255)
        d.line([10, 5, 10, 8], fill=255)
        d.line([16, 12, 18, 12], fill=255)
        d.rectangle([7, 9, 15, 17], outline=255)
        d.line([8, 10, 14, 10], fill=255)
    elif kind == "min":
        d.rectangle([8, 14, 17, 15], fill=255)
    sh = Image.new("L", (w, h), 0)
    sh.paste(g, (0, 1))
    paint(img, (0, 0, 0), sh, 0.7)
    paint(img, col, g)
    return img


def icon_mask(kind, w, h, cx, cy):
    """Small 12 px line icons for the tool buttons, centred on (cx, cy)."""
    c = Canvas(w, h, 4)
    lw = 1.15
    if kind == "server":        # globe
        c.ring(cx, cy, 5.2, lw)
        c.ellipse((cx - 2.2, cy - 5.2, cx + 2.2, cy + 5.2), fill=None,
                  outline=255, width=lw)
        c.line([(cx - 5.0, cy), (cx + 5.0, cy)], lw, caps=False)
    elif kind == "refresh":     # circular arrow
        # angles run clockwise from three o'clock; the gap is at the top
        # and the head sits on the stroke's clockwise end, pointing on
        start, end, r = 300, 235, 4.8
        c.arc(cx, cy, r, start, end, lw * 1.1)
        t = math.radians(end)
        px, py = cx + r * math.cos(t), cy + r * math.sin(t)
        dx, dy = -math.sin(t), math.cos(t)          # clockwise tangent
        nx, ny = math.cos(t), math.sin(t)           # outward normal
        c.poly([(px + dx * 3.4, py + dy * 3.4),
                (px - dx * 0.6 + nx * 2.8, py - dy * 0.6 + ny * 2.8),
                (px - dx * 0.6 - nx * 2.8, py - dy * 0.6 - ny * 2.8)])
    elif kind == "clear":       # waste bin
        c.line([(cx - 5.2, cy - 3.6), (cx + 5.2, cy - 3.6)], lw)
        c.line([(cx - 1.6, cy - 5.4), (cx + 1.6, cy - 5.4)], lw)
        c.poly([(cx - 4.0, cy - 2.4), (cx + 4.0, cy - 2.4), (cx + 3.2, cy + 5.6),
                (cx - 3.2, cy + 5.6)])
        c.d.polygon(c._p([(cx - 2.6, cy - 1.2), (cx + 2.6, cy - 1.2), (cx + 2.0, cy + 4.4),
                          (cx - 2.0, cy + 4.4)]), fill=0)
        c.line([(cx, cy - 0.6), (cx, cy + 3.6)], 0.9, caps=False)
    elif kind == "boss":        # eye with a slash: hide everything
        c.ellipse((cx - 6.0, cy - 3.6, cx + 6.0, cy + 3.6), fill=None,
                  outline=255, width=lw)
        c.circle(cx, cy, 1.8)
        c.line([(cx - 5.0, cy + 5.0), (cx + 5.0, cy - 5.0)], lw * 1.6, fill=0)
        c.line([(cx - 4.6, cy + 4.6), (cx + 4.6, cy - 4.6)], lw)
    elif kind == "full":        # four corners pushed outwards
        s, k = 5.2, 2.6
        for sx in (-1, 1):
            for sy in (-1, 1):
                x, y = cx + sx * s, cy + sy * s
                c.line([(x - sx * k, y), (x, y), (x, y - sy * k)], lw)
    return c.mask()


def text_button(w, label, icon, hover, draw_w=None):
    """Tool button: label plus a small line icon on a plate.  draw_w is the
    part that is actually visible when the button window is narrower than
    its picture."""
    h = BTN_H
    vw = draw_w or w
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    plate = Canvas(w, h, 4)
    plate.rrect((1, 1, vw - 1, 23), 3.5)
    pm = plate.mask()
    ring = ImageChops.subtract(pm, erode(pm, 1))
    if hover:
        fill = vgradient(w, h, [(0.0, (0x3A, 0x44, 0x5E)), (1.0, (0x1F, 0x26, 0x37))])
        paint(img, fill, pm, 0.96)
        paint(img, GOLD, ring, 0.9)
        top = Image.new("L", (w, h), 0)
        top.paste(255, (4, 2, vw - 4, 3))
        paint(img, CREAM, top, 0.18)
        col = CREAM
    else:
        fill = vgradient(w, h, [(0.0, (0x1E, 0x25, 0x36)), (1.0, (0x10, 0x14, 0x1E))])
        paint(img, fill, pm, 0.7)
        paint(img, GOLD, ring, 0.32)
        col = GOLD_PALE
    f = cjk(12)
    tw = text_width(label, f)
    icon_w, gap = 12, 4
    total = icon_w + gap + tw
    x0 = (vw - total) / 2.0
    cy = 12.0
    im = icon_mask(icon, w, h, x0 + icon_w / 2.0, cy)
    tx = int(round(x0 + icon_w + gap))
    ty = int(round(cy + cjk_vcentre_offset(f)))
    tm = text_mask((w, h), label, f, (tx, ty))
    both = ImageChops.lighter(im, tm)
    sh = Image.new("L", (w, h), 0)
    sh.paste(both, (0, 1))
    paint(img, (0, 0, 0), sh, 0.55)
    paint(img, GOLD if not hover else GOLD_BRIGHT, im)
    paint(img, col, tm)
    return img


# --------------------------------------------------------------------------
# message box

MSG_W, MSG_H, MSG_SHOWN_H = 256, 112, 109   # the window is 109 px high


def message_background():
    w, h, vh = MSG_W, MSG_H, MSG_SHOWN_H
    img = Image.new("RGBA", (w, h), INK + (255,))
    body = vgradient(w, vh, [(0.0, (0x1A, 0x20, 0x30)), (0.35, (0x15, 0x1A, 0x28)),
                             (1.0, (0x0D, 0x10, 0x19))])
    img.paste(body.convert("RGBA"), (0, 0))
    # caption strip, a shade warmer
    cap = vgradient(w, 32, [(0.0, (0x2A, 0x2C, 0x36)), (1.0, (0x1A, 0x1C, 0x26))])
    img.paste(cap.convert("RGBA"), (0, 0))

    # low moor hills in the body, barely lighter than the panel
    hill = Canvas(w, h, 2)
    ys = ridge(w + 1, 96, [(4, 60), (1.5, 17)], 304)
    hill.poly([(0, vh)] + [(x, ys[x]) for x in range(w + 1)] + [(w, vh)])
    paint(img, (0x1B, 0x1C, 0x25), hill.mask(), 0.9)
    hill2 = Canvas(w, h, 2)
    ys2 = ridge(w + 1, 101, [(3, 45), (1.2, 12)], 305)
    hill2.poly([(0, vh)] + [(x, ys2[x]) for x in range(w + 1)] + [(w, vh)])
    paint(img, (0x16, 0x11, 0x0E), hill2.mask())
    mist = fractal2d(w, h, 40, 306, 2, stretch=3.0)
    band = vgradient(w, h, [(0.0, (0,)), (0.62, (0,)), (0.82, (255,)), (0.97, (0,)),
                            (1.0, (0,))], mode="L")
    paint(img, (0x8A, 0x94, 0xA8), mask_mul(scale_mask(mist, 0.22), band))

    # separator under the caption: gold hairline that fades at both ends
    fade = hgradient(w, 1, [(0.0, (0,)), (0.18, (255,)), (0.82, (255,)), (1.0, (0,))],
                     mode="L")
    engraved_line(img, fade, (0, 32), 0.75, (0, 33), 0.7)

    # small emblem at the left of the caption strip
    img.alpha_composite(emblem(18), dest=(9, 7))

    # frame: dark outer line, gold inner line, brighter corners
    d = ImageDraw.Draw(img)
    d.rectangle([0, 0, w - 1, vh - 1], outline=INK + (255,))
    fr = Image.new("L", (w, h), 0)
    ImageDraw.Draw(fr).rectangle([1, 1, w - 2, vh - 2], outline=255)
    paint(img, GOLD_DEEP, fr, 0.9)
    cm = Image.new("L", (w, h), 0)
    cd = ImageDraw.Draw(cm)
    for (x, y, sx, sy) in ((1, 1, 1, 1), (w - 2, 1, -1, 1), (1, vh - 2, 1, -1),
                           (w - 2, vh - 2, -1, -1)):
        cd.line([x, y, x + sx * 9, y], fill=255)
        cd.line([x, y, x, y + sy * 9], fill=255)
        cd.point([x + sx * 2, y + sy * 2], fill=255)
    paint(img, GOLD_BRIGHT, cm)
    hl = Image.new("L", (w, h), 0)
    hl.paste(255, (2, 2, w - 2, 3))
    paint(img, (255, 255, 255), hl, 0.05)
    # rows below the visible window repeat the bottom edge
    d.rectangle([0, vh, w - 1, h - 1], fill=INK + (255,))
    return img


def dialog_button(label, primary, hover):
    w, h = 74, 26
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    outer = Canvas(w, h, 4)
    outer.rrect((0, 0, w, h), 4)
    om = outer.mask()
    inner_m = erode(om, 1)
    if primary:
        paint(img, (0x3A, 0x2A, 0x10) if not hover else (0x5A, 0x42, 0x18), om)
        stops = ([(0.0, (0xF6, 0xE2, 0xA0)), (0.5, (0xD8, 0xBC, 0x6C)), (1.0, (0xA8, 0x86, 0x3C))]
                 if hover else
                 [(0.0, (0xE8, 0xD2, 0x8C)), (0.5, (0xCB, 0xAE, 0x5B)), (1.0, (0x96, 0x78, 0x34))])
        paint(img, vgradient(w, h, stops), inner_m)
        hl = Image.new("L", (w, h), 0)
        hl.paste(255, (4, 2, w - 4, 3))
        paint(img, (255, 255, 255), hl, 0.45 if hover else 0.3)
        text_col, shadow_col, shadow_dy = (0x2A, 0x1A, 0x08), (0xFF, 0xF0, 0xC0), 1
        shadow_op = 0.35
    else:
        paint(img, GOLD if hover else GOLD_DEEP, om)
        stops = ([(0.0, (0x3A, 0x44, 0x5E)), (1.0, (0x1C, 0x22, 0x32))] if hover else
                 [(0.0, (0x2A, 0x31, 0x44)), (1.0, (0x14, 0x18, 0x24))])
        paint(img, vgradient(w, h, stops), inner_m)
        hl = Image.new("L", (w, h), 0)
        hl.paste(255, (4, 2, w - 4, 3))
        paint(img, CREAM, hl, 0.16 if hover else 0.08)
        text_col = CREAM if hover else GOLD_PALE
        shadow_col, shadow_dy, shadow_op = (0, 0, 0), 1, 0.7
    f = cjk(13)
    tw = text_width(label, f, 2)
    tx = int(round((w - tw) / 2.0))
    ty = int(round(13.0 + cjk_vcentre_offset(f)))
    sh = text_mask((w, h), label, f, (tx, ty + shadow_dy), 2)
    paint(img, shadow_col, sh, shadow_op)
    paint(img, text_col, text_mask((w, h), label, f, (tx, ty), 2))
    return img


def message_close_glyph():
    w = h = 9
    c = Canvas(w, h, 8)
    c.line([(1.2, 1.2), (7.8, 7.8)], 1.5)
    c.line([(1.2, 7.8), (7.8, 1.2)], 1.5)
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    paint(img, GOLD_PALE, c.mask())
    return img


# --------------------------------------------------------------------------
# mask overlay

def mask_pixel():
    return Image.new("RGBA", (1, 1), (0, 0, 0, 230))


def spinner_frame(phase):
    """Eight beads on a ring; the bright head advances a quarter turn per
    frame and the tail fades behind it."""
    w = h = 23
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    cx = cy = 11.5
    n = 8
    head = (phase * 2) % n
    for i in range(n):
        age = (head - i) % n               # 0 = head, 7 = oldest
        ang = -math.pi / 2 + 2 * math.pi * i / n
        x = cx + 8.0 * math.cos(ang)
        y = cy + 8.0 * math.sin(ang)
        r = 2.3 - 0.14 * age
        c = Canvas(w, h, 8)
        c.circle(x, y, r)
        colour = mix(CREAM_2, GOLD, min(1.0, age / 3.0))
        paint(img, colour, c.mask(), max(0.16, 1.0 - 0.12 * age))
    return img


# --------------------------------------------------------------------------
# login window skin

def union_shape_2x():
    """The skin outline at double resolution: a panel with a crest for the
    word mark at the top left, soft fillets where they meet and a slightly
    weathered, stone-like edge."""
    k = 2
    W, H = SKIN_W * k, SKIN_H * k
    m = Image.new("L", (W, H), 0)
    d = ImageDraw.Draw(m)
    d.rounded_rectangle([15 * k, 38 * k, 1336 * k, 733 * k], radius=26 * k, fill=255)
    d.rounded_rectangle([30 * k, 4 * k, 600 * k, 90 * k], radius=30 * k, fill=255)
    field = blur(m, 7 * k)
    # weathering: noise that only acts near the edge
    n = fractal2d(W, H, 48 * k, 319, 2)
    band = field.point([clamp8(255 - abs(v - 128) * 2.0) for v in range(256)])
    signed = ImageChops.multiply(n, band)          # 0..255, scaled by band
    half = scale_mask(band, 0.5)
    # field + (n - 0.5) * band * amplitude
    amp = 0.32
    field = ImageChops.add(field, scale_mask(signed, amp), 1.0, 0)
    field = ImageChops.subtract(field, scale_mask(half, amp), 1.0, 0)
    lut = [clamp8((v - 120) * 255.0 / 16.0) for v in range(256)]
    return field.point(lut)


def soft_circle_mask(size, cx, cy, r, falloff):
    c = Canvas(size[0], size[1], 1)
    c.circle(cx, cy, r)
    return blur(c.mask(), falloff)


def heather_clumps(size, ground, x_ranges, seed, depth, scale, density=1.0):
    """Domed clumps of heather standing on the ground line: a dark mound
    of wiry stems and a speckle of bloom that is brightest on top.
    Returns (mound mask, bloom mask)."""
    w, h = size
    rnd = random.Random(seed)
    mound = Canvas(w, h, 2)
    bloom = Canvas(w, h, 2)
    for x0, x1 in x_ranges:
        x = float(x0) + rnd.uniform(0, 6)
        while x < x1:
            base = ground[min(w - 1, max(0, int(x)))] + depth + rnd.uniform(-2, 3)
            rw = rnd.uniform(6, 12) * scale
            rh = rnd.uniform(5, 10) * scale
            mound.ellipse((x - rw, base - rh, x + rw, base + rh * 0.6))
            for _ in range(rnd.randint(4, 7)):
                dx = rnd.uniform(-rw, rw)
                top = base - rh * (1.0 - (dx / rw) ** 2) - rnd.uniform(1, 4) * scale
                mound.line([(x + dx * 0.3, base), (x + dx, top)], 0.9 * scale)
            for _ in range(int(rw * rh * 0.35)):
                ang = rnd.uniform(math.pi * 1.05, math.pi * 1.95)
                rr = math.sqrt(rnd.random())
                bx = x + math.cos(ang) * rw * rr
                by = base + math.sin(ang) * rh * rr
                lift = (base - by) / rh                      # 0 low .. 1 top
                bloom.circle(bx, by, rnd.uniform(0.6, 1.2) * scale,
                             fill=clamp8(70 + 185 * lift * rnd.uniform(0.6, 1.0)))
            x += rnd.uniform(10.0, 20.0) * scale / density
    return mound.mask(), bloom.mask()


def silhouette(W, H, ys):
    c = Canvas(W, H, 2)
    c.poly([(0, H)] + [(x, ys[x]) for x in range(0, W + 1, 2)] + [(W, H)])
    return c.mask()


def skin_scene():
    """The opaque picture inside the outline: night sky with a moon over
    the left column, a moonlit haze on the horizon, three ridges of moor
    with mist between them, standing stones on the right and heather in
    front."""
    W, H = SKIN_W, SKIN_H
    sky = vgradient(W, H, [(0.0, (0x09, 0x0E, 0x1B)), (0.35, (0x12, 0x19, 0x2B)),
                           (0.62, (0x20, 0x29, 0x40)), (0.78, (0x2C, 0x33, 0x48)),
                           (1.0, (0x2C, 0x30, 0x40))])
    # darker towards the sides, lighter under the moon
    vg = Image.radial_gradient("L").resize((W, H), Image.BICUBIC)
    vf = vg.point([clamp8(255 - max(0, v - 110) * 0.7) for v in range(256)])
    sky = Image.merge("RGB", [ImageChops.multiply(ch, vf) for ch in sky.split()])
    img = sky.convert("RGBA")

    mx, my, mr = 126, 226, 25
    paint(img, (0x3A, 0x46, 0x66), soft_circle_mask((W, H), mx, my, 60, 90), 0.55)
    paint(img, (0x8C, 0x96, 0xB0), soft_circle_mask((W, H), mx, my, mr + 6, 22), 0.40)

    # high thin clouds, lit from the moon side
    cloud = fractal2d(W, H, 80, 11, 3, stretch=5.0)
    cloud_band = vgradient(W, H, [(0.0, (60,)), (0.3, (170,)), (0.6, (90,)), (0.75, (0,)),
                                  (1.0, (0,))], mode="L")
    cl = cloud.point([clamp8((v - 120) * 1.8) for v in range(256)])
    side = hgradient(W, H, [(0.0, (255,)), (0.4, (140,)), (1.0, (90,))], mode="L")
    paint(img, (0x6A, 0x76, 0x94), mask_mul(mask_mul(cl, cloud_band), side), 0.22)

    # stars, fewer towards the horizon and none in the moon's glare
    rnd = random.Random(1351)
    stars = Canvas(W, H, 2)
    glow = Canvas(W, H, 1)
    for _ in range(520):
        x = rnd.uniform(18, W - 18)
        y = rnd.uniform(36, 500)
        if y > 160 + rnd.uniform(0, 340):
            continue
        if (x - mx) ** 2 + (y - my) ** 2 < 75 ** 2:
            continue
        bx0, by0, bx1, by1 = BUTTON_ZONE
        if bx0 - 4 <= x <= bx1 + 4 and by0 - 4 <= y <= by1 + 4:
            continue
        big = rnd.random() < 0.07
        r = rnd.uniform(0.9, 1.25) if big else rnd.uniform(0.45, 0.8)
        stars.circle(x, y, r, fill=rnd.randint(110, 255))
        if big:
            glow.circle(x, y, 3.5, fill=120)
    paint(img, (0xEC, 0xEE, 0xF6), stars.mask())
    paint(img, (0xC8, 0xD0, 0xEA), blur(glow.mask(), 2.5), 0.5)

    # the moon: warm white, a touch darker at the limb, faint maria
    moon = Canvas(W, H, 4)
    moon.circle(mx, my, mr)
    mm = moon.mask()
    paint(img, (0xE6, 0xDF, 0xC8), mm)
    core = soft_circle_mask((W, H), mx - 4, my - 5, mr - 6, 7)
    paint(img, (0xFF, 0xFA, 0xEA), mask_mul(core, mm))
    maria = fractal2d(W, H, 8, 12, 2)
    mr_m = maria.point([clamp8((v - 150) * 2.2) for v in range(256)])
    paint(img, (0xB4, 0xAC, 0x96), mask_mul(mr_m, mm), 0.35)
    # a thin cloud drifting across its lower half
    wisp = Canvas(W, H, 2)
    wisp.ellipse((mx - 80, my + 8, mx + 70, my + 14))
    wisp.ellipse((mx - 30, my + 15, mx + 95, my + 19))
    paint(img, (0x4C, 0x56, 0x72), blur(wisp.mask(), 2.5), 0.6)

    # far ridge: dark against the haze, with a faint moonlit rim
    far = ridge(W + 1, 560, [(28, 280), (10, 75), (2.5, 16)], 21)
    fm = silhouette(W, H, far)
    paint(img, vgradient(W, H, [(0.72, (0x13, 0x18, 0x25)), (0.9, (0x0E, 0x11, 0x1A))]), fm)
    rim = ImageChops.subtract(fm, ImageChops.offset(fm, 0, 2))
    paint(img, (0x7A, 0x86, 0xA6), blur(rim, 0.7), 0.22)
    # a lit cottage window on the far hill, left of the page
    cx_, cy_ = 70, int(far[70]) + 12
    paint(img, (0xF0, 0xB0, 0x50), soft_circle_mask((W, H), cx_, cy_, 2, 5), 0.6)
    lw = Image.new("L", (W, H), 0)
    lw.paste(255, (cx_ - 1, cy_ - 1, cx_ + 1, cy_ + 1))
    paint(img, (0xFF, 0xE0, 0x9A), lw)

    # mist lying in the valley
    mist = fractal2d(W, H, 100, 31, 3, stretch=3.5)
    mist_band = vgradient(W, H, [(0.0, (0,)), (0.77, (0,)), (0.83, (255,)), (0.88, (200,)),
                                 (0.94, (0,)), (1.0, (0,))], mode="L")
    mm2 = mist.point([clamp8((v - 50) * 1.4) for v in range(256)])
    paint(img, (0x8E, 0x9A, 0xB6), mask_mul(mm2, mist_band), 0.38)

    # middle ridge
    mid = ridge(W + 1, 634, [(20, 330), (8, 90), (2, 14)], 22)
    mdm = silhouette(W, H, mid)
    paint(img, vgradient(W, H, [(0.83, (0x17, 0x15, 0x1C)), (0.95, (0x10, 0x0D, 0x0D))]), mdm)
    # heather on its crest, seen against the mist (only beside the page)
    mnd, blm = heather_clumps((W, H), mid, [(10, 240), (1126, 1345)], 25, 2, 0.6, 1.3)
    paint(img, (0x15, 0x11, 0x18), mnd)
    paint(img, (0x5E, 0x44, 0x68), blm, 0.7)

    # standing stones in the right column
    stones = [
        [(1166, 712), (1169, 630), (1178, 606), (1191, 603), (1197, 628), (1200, 712)],
        [(1208, 712), (1210, 594), (1219, 563), (1234, 557), (1245, 576), (1248, 712)],
        [(1260, 712), (1263, 642), (1271, 625), (1284, 629), (1289, 652), (1291, 712)],
    ]
    for pts in stones:
        sc = Canvas(W, H, 2)
        sc.poly(pts)
        sm = sc.mask()
        paint(img, vgradient(W, H, [(0.75, (0x22, 0x26, 0x32)), (0.93, (0x11, 0x10, 0x12))]), sm)
        # cold light on the moon side, darker on the far side, weathering
        lit = ImageChops.subtract(sm, ImageChops.offset(sm, 4, 1))
        paint(img, (0x80, 0x8C, 0xAA), blur(lit, 1.0), 0.35)
        shade = ImageChops.subtract(sm, ImageChops.offset(sm, -8, 0))
        paint(img, (0, 0, 0), blur(shade, 2.0), 0.45)
        grain = fractal2d(W, H, 7, pts[0][0], 2)
        gm = grain.point([clamp8((v - 150) * 1.5) for v in range(256)])
        paint(img, (0x3C, 0x42, 0x4A), mask_mul(gm, sm), 0.22)

    # near ground: peat with a little tonal variation
    near = ridge(W + 1, 686, [(9, 240), (5, 60), (1.5, 12)], 23)
    gm = silhouette(W, H, near)
    paint(img, vgradient(W, H, [(0.9, (0x1A, 0x13, 0x11)), (1.0, (0x0B, 0x08, 0x06))]), gm)
    tone = fractal2d(W, H, 30, 26, 3, stretch=3.0)
    tm = tone.point([clamp8((v - 128) * 1.5) for v in range(256)])
    paint(img, (0x06, 0x04, 0x03), mask_mul(tm, gm), 0.5)
    # heather in three depths: small and dim at the back, larger in front
    for depth, sc, op, seed in ((2, 0.7, 0.55, 27), (16, 0.9, 0.7, 28), (34, 1.15, 0.85, 29)):
        mnd, blm = heather_clumps((W, H), near, [(0, W)], seed, depth, sc, 1.0)
        paint(img, (0x12, 0x0B, 0x10), mnd)
        paint(img, HEATHER_BLOOM, blm, op)

    # low mist over the ground
    mist = fractal2d(W, H, 70, 41, 3, stretch=4.0)
    low = vgradient(W, H, [(0.0, (0,)), (0.9, (0,)), (0.95, (200,)), (1.0, (40,))], mode="L")
    paint(img, (0xA0, 0xA8, 0xBC), mask_mul(mist, low), 0.14)
    return img


def word_mark(img):
    """Emblem and 'Quellmoor' in the crest."""
    W, H = SKIN_W, SKIN_H
    em = emblem(70)
    sh = blur(em.getchannel("A"), 4)
    paint(img, (0, 0, 0), sh, 0.7, )
    img.alpha_composite(em, dest=(46, 18))

    f = font(SERIF_BOLD, 54)
    word = "Quellmoor"
    spacing = 2
    tx = 128
    qb = f.getbbox("Q")
    ty = int(round(52 - (qb[1] + qb[3]) / 2.0))
    m = text_mask((W, H), word, f, (tx, ty), spacing)
    outline = Image.new("L", (W, H), 0)
    x = tx
    od = ImageDraw.Draw(outline)
    for ch in word:
        od.text((x, ty), ch, font=f, fill=255, stroke_width=3)
        x += f.getlength(ch) + spacing
    paint(img, GOLD, blur(outline, 8), 0.28)         # warm glow
    paint(img, (0, 0, 0), ImageChops.offset(blur(outline, 2), 0, 3), 0.8)
    paint(img, (0x1C, 0x12, 0x08), outline)
    fill = vgradient(W, H, [(23 / H, (0xFF, 0xF7, 0xDC)), (43 / H, GOLD_BRIGHT),
                            (57 / H, GOLD), (75 / H, (0x9A, 0x7A, 0x36))])
    paint(img, fill, m)
    # a thin bright bevel along the top of the letters
    bevel = ImageChops.subtract(m, ImageChops.offset(m, 0, 1))
    paint(img, (0xFF, 0xFB, 0xEE), bevel, 0.5)

    # tagline after the word: the window's own name, 登录器
    end = tx + text_width(word, f, spacing)
    tf = cjk(18)
    tag = "登录器"
    gx = int(end + 16)
    gy = int(round(60 + cjk_vcentre_offset(tf)))
    tm = text_mask((W, H), tag, tf, (gx, gy), 3)
    paint(img, (0, 0, 0), ImageChops.offset(tm, 0, 1), 0.8)
    paint(img, CREAM, tm, 0.92)
    # little diamond between word and tagline
    c = Canvas(W, H, 4)
    dx, dy = end + 8, 60
    c.poly([(dx - 3, dy), (dx, dy - 3), (dx + 3, dy), (dx, dy + 3)])
    paint(img, GOLD, c.mask())
    return gx + text_width(tag, tf, 3)


def page_frame(img):
    """Calm dark bed where the login page appears, in a gold-lined frame."""
    W, H = SKIN_W, SKIN_H
    x0, y0, x1, y1 = PAGE_RECT
    fx0, fy0, fx1, fy1 = x0 - 4, y0 - 4, x1 + 4, y1 + 4
    sh = Image.new("L", (W, H), 0)
    sh.paste(255, (fx0 - 2, fy0, fx1 + 2, fy1 + 4))
    paint(img, (0, 0, 0), blur(sh, 7), 0.75)

    bed = vgradient(fx1 - fx0, fy1 - fy0, [(0.0, (0x0E, 0x12, 0x1C)), (1.0, (0x0B, 0x0E, 0x16))])
    img.paste(bed.convert("RGBA"), (fx0, fy0))
    # an inner glow of deep blue, like light through mist
    g = Image.new("L", (W, H), 0)
    g.paste(255, (x0 + 120, y0 + 90, x1 - 120, y1 - 90))
    inner = Image.new("L", (W, H), 0)
    inner.paste(255, (x0, y0, x1, y1))
    paint(img, (0x1A, 0x22, 0x36), mask_mul(blur(g, 90), inner), 0.55)
    # watermark emblem in the middle: the only thing on the bed before the
    # page has loaded
    em = emblem(150, muted=True)
    a = scale_mask(em.getchannel("A"), 0.10)
    em.putalpha(a)
    img.alpha_composite(em, dest=((x0 + x1) // 2 - 75, (y0 + y1) // 2 - 75))

    d = ImageDraw.Draw(img)
    d.rectangle([fx0, fy0, fx1 - 1, fy1 - 1], outline=(0x05, 0x06, 0x0A, 255))
    d.rectangle([fx0 + 1, fy0 + 1, fx1 - 2, fy1 - 2], outline=GOLD_DEEP + (255,))
    d.rectangle([fx0 + 2, fy0 + 2, fx1 - 3, fy1 - 3], outline=(0x07, 0x09, 0x0E, 255))
    d.rectangle([fx0 + 3, fy0 + 3, fx1 - 4, fy1 - 4], outline=(0x16, 0x1B, 0x28, 255))
    # top hairline lighter than the sides: light comes from above
    hl = Image.new("L", (W, H), 0)
    hl.paste(255, (fx0 + 12, fy0 + 1, fx1 - 12, fy0 + 2))
    paint(img, GOLD, hl, 0.65)

    # diamond studs on the frame (none at the top right, where the popup's
    # minimise button sits)
    studs = Canvas(W, H, 4)
    gx0, gy0, gx1, gy1 = fx0 + 1.5, fy0 + 1.5, fx1 - 1.5, fy1 - 1.5
    for (sx, sy, r) in ((gx0, gy0, 5), (gx0, gy1, 5), (gx1, gy1, 5),
                        ((gx0 + gx1) / 2, gy1, 4), ((gx0 + gx1) / 2, gy0, 4),
                        (gx0, (gy0 + gy1) / 2, 4), (gx1, (gy0 + gy1) / 2, 4)):
        studs.poly([(sx - r, sy), (sx, sy - r), (sx + r, sy), (sx, sy + r)])
    sm = studs.mask()
    paint(img, (0, 0, 0), ImageChops.offset(blur(sm, 1.2), 0, 1), 0.8)
    paint(img, GOLD, sm)
    inner_st = Canvas(W, H, 4)
    for (sx, sy, r) in ((gx0, gy0, 2), (gx0, gy1, 2), (gx1, gy1, 2),
                        ((gx0 + gx1) / 2, gy1, 1.6), ((gx0 + gx1) / 2, gy0, 1.6),
                        (gx0, (gy0 + gy1) / 2, 1.6), (gx1, (gy0 + gy1) / 2, 1.6)):
        inner_st.poly([(sx - r, sy), (sx, sy - r), (sx + r, sy), (sx, sy + r)])
    paint(img, GOLD_BRIGHT, inner_st.mask())
    # short gold rules running from the studs
    rules = Canvas(W, H, 4)
    for (ax, ay, bx, by) in ((gx0 + 6, gy0, gx0 + 60, gy0), (gx0, gy0 + 6, gx0, gy0 + 60),
                             (gx0 + 6, gy1, gx0 + 60, gy1), (gx0, gy1 - 6, gx0, gy1 - 60),
                             (gx1 - 6, gy1, gx1 - 60, gy1), (gx1, gy1 - 6, gx1, gy1 - 60)):
        rules.line([(ax, ay), (bx, by)], 1.0, caps=False)
    paint(img, GOLD_BRIGHT, rules.mask(), 0.55)


# Where the popup's two buttons sit on the skin.  Their pictures carry the
# skin under them, so this zone is kept free of stars (a one-pixel slip of
# the popup would otherwise show a star twice) and lifted a little so that
# no channel is below 13 (see undo_hover_matrix).
BUTTON_ZONE = (1112, 48, 1204, 128)


def button_halo(img):
    W, H = SKIN_W, SKIN_H
    c = Canvas(W, H, 1)
    c.ellipse((1100, 40, 1216, 136))
    paint(img, (0x26, 0x2E, 0x44), blur(c.mask(), 22), 0.7)


def skin():
    W, H = SKIN_W, SKIN_H
    shape = union_shape_2x().resize((W, H), Image.BOX)

    pic = skin_scene()
    word_mark(pic)
    page_frame(pic)
    button_halo(pic)

    # rim: a darkened bevel, a gold line following the outline, a faint
    # cream highlight just inside it
    e3 = erode(shape, 3)
    e5 = erode(e3, 2)
    e6 = erode(e5, 1)
    e12 = erode(e6, 6)
    bevel = ImageChops.subtract(shape, blur(e12, 4))
    paint(pic, (0, 0, 0), bevel, 0.55)
    outer_line = ImageChops.subtract(shape, erode(shape, 1))
    paint(pic, (0x02, 0x03, 0x05), outer_line)
    gold = ImageChops.subtract(e3, e5)
    paint(pic, GOLD_DEEP, gold)
    gold_hi = ImageChops.subtract(e3, erode(e3, 1))
    # brighter on top edges: light from above
    top_light = vgradient(W, H, [(0.0, (255,)), (0.25, (120,)), (1.0, (60,))], mode="L")
    paint(pic, GOLD, mask_mul(gold_hi, top_light), 0.9)
    dark_line = ImageChops.subtract(e5, e6)
    paint(pic, (0x05, 0x06, 0x0A), dark_line, 0.8)

    # soft shadow around the outline
    sh = blur(ImageChops.offset(shape, 0, 2), 5)
    sh = sh.point([0 if v < 8 else clamp8((v - 8) * 0.5) for v in range(256)])
    out = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    out.putalpha(sh)
    pic.putalpha(shape)
    out.alpha_composite(pic)
    # fully transparent, not merely faint, outside the shadow
    a = out.getchannel("A").point([0 if v < 3 else v for v in range(256)])
    out.putalpha(a)
    return out


# --------------------------------------------------------------------------
# login popup buttons: opaque, drawn over the very skin pixels they cover.
#
# The popup is colour-keyed on pure green and each button composes its
# picture over the popup's (green) background, so any partly transparent
# pixel would come out with a green fringe.  Instead the pictures carry the
# skin underneath them and are fully opaque.
#
# The button draws its hover picture through a colour matrix that adds 5 %
# and 0.05 to every channel; that would lift the carried skin into a visible
# lighter box.  The hover picture is therefore stored pre-darkened by the
# inverse of that matrix, so that on screen it shows exactly as drawn.

def undo_hover_matrix(img):
    lut = [clamp8((v - 0.05 * 255.0) / 1.05) for v in range(256)]
    r, g, b, a = img.split()
    return Image.merge("RGBA", (r.point(lut), g.point(lut), b.point(lut), a))


def medallion(base, cx, cy, r, glyph, hover, close):
    w, h = base.size
    img = base.copy()
    k = 4
    sh = Canvas(w, h, k)
    sh.circle(cx, cy + 1.0, r + 0.8)
    paint(img, (0, 0, 0), blur(sh.mask(), 0.8), 0.75)
    ring = Canvas(w, h, k)
    ring.circle(cx, cy, r)
    rm = ring.mask()
    ring_fill = vgradient(w, h, [((cy - r) / h, GOLD_BRIGHT if hover else (0xE6, 0xD0, 0x8E)),
                                 (cy / h, GOLD), ((cy + r) / h, (0x6E, 0x55, 0x22))])
    paint(img, ring_fill, rm)
    disc = Canvas(w, h, k)
    disc.circle(cx, cy, r - (2.2 if r > 11 else 1.8))
    dm = disc.mask()
    if hover and close:
        stops = [((cy - r) / h, (0xC4, 0x4A, 0x2C)), ((cy + r) / h, (0x5E, 0x16, 0x0C))]
    elif hover:
        stops = [((cy - r) / h, (0x44, 0x52, 0x72)), ((cy + r) / h, (0x16, 0x1C, 0x2C))]
    else:
        stops = [((cy - r) / h, (0x2C, 0x34, 0x4A)), ((cy + r) / h, (0x0C, 0x0F, 0x18))]
    paint(img, vgradient(w, h, stops), dm)
    # glass highlight on the upper half of the disc
    hl = Canvas(w, h, k)
    rr = r - 3.5
    hl.ellipse((cx - rr * 0.8, cy - rr, cx + rr * 0.8, cy - rr * 0.05))
    paint(img, (255, 255, 255), mask_mul(blur(hl.mask(), 1.0), dm), 0.10 if not hover else 0.16)
    g = Canvas(w, h, k)
    if glyph == "close":
        s = r * 0.36
        g.line([(cx - s, cy - s), (cx + s, cy + s)], 2.0)
        g.line([(cx - s, cy + s), (cx + s, cy - s)], 2.0)
    else:
        s = r * 0.42
        g.line([(cx - s, cy + 0.5), (cx + s, cy + 0.5)], 2.0)
    gm = g.mask()
    paint(img, (0, 0, 0), ImageChops.offset(gm, 0, 1), 0.6)
    paint(img, CREAM if hover else GOLD_PALE, gm)
    return img


def popup_buttons(skin_img):
    """(normal, hover) pictures of both popup buttons."""
    out = {}
    # Minimise: picture 34 x 35, of which the 32 x 34 window shows the top
    # left.  Close: 42 x 44.  The two windows overlap in a 10 x 16 patch
    # (x 1147..1156, y 86..101), so neither medallion reaches into it: the
    # patch then looks the same whichever window ends up on top.
    layout = {
        "min": (POPUP_MIN_POS, (34, 35), (12.0, 23.0), 9.5, "min"),
        "close": (POPUP_CLOSE_POS, (42, 44), (25.0, 19.0), 14.0, "close"),
    }
    for name, ((x, y), (w, h), (cx, cy), r, glyph) in layout.items():
        base = skin_img.crop((x, y, x + w, y + h))
        base = Image.alpha_composite(Image.new("RGBA", (w, h), (0, 0, 0, 255)), base)
        normal = medallion(base, cx, cy, r, glyph, False, name == "close")
        hover = medallion(base, cx, cy, r, glyph, True, name == "close")
        for im in (normal, hover):
            im.putalpha(255)
        out[name] = (normal, undo_hover_matrix(hover))
    return out


# --------------------------------------------------------------------------
# preview (not shipped): the pieces put together the way the program does

def hover_matrix(img):
    lut = [clamp8(v * 1.05 + 0.05 * 255.0) for v in range(256)]
    r, g, b, a = img.split()
    return Image.merge("RGBA", (r.point(lut), g.point(lut), b.point(lut), a))


def preview(root, path):
    def load(i):
        return Image.open(os.path.join(root, "res", "img", "%d.png" % i)).convert("RGBA")

    W = 1000
    sheet = Image.new("RGBA", (1400, 1200), (0x50, 0x58, 0x60, 255))
    # checker so that transparency shows
    d = ImageDraw.Draw(sheet)
    for y in range(0, 1200, 16):
        for x in range(0, 1400, 16):
            if (x // 16 + y // 16) % 2:
                d.rectangle([x, y, x + 15, y + 15], fill=(0x5C, 0x64, 0x6C, 255))

    def title_bar(states):
        bar = Image.new("RGBA", (W, 60), (0x20, 0x20, 0x20, 255))
        left, mid, right = load(203), load(172), load(206)
        bar.alpha_composite(left, (0, 0))
        for x in range(left.width, W - right.width):
            bar.alpha_composite(mid, (x, 0))
        bar.alpha_composite(right, (W - right.width, 0))
        f = cjk(14)
        ImageDraw.Draw(bar).text((left.width + 5, 4), "[ 荒原一区 ]", font=f, fill=CREAM)
        buttons = [(220, 213, W - 57, 28, 26), (209, 210, W - 86, 28, 26),
                   (207, 208, W - 28, 28, 26), (224, 214, W - 172, 85, 24),
                   (223, 215, W - 270, 97, 24), (252, 253, W - 349, 85, 24),
                   (226, 219, W - 428, 78, 24), (211, 212, W - 488, 59, 24)]
        for n, hv, x, bw, bh in buttons:
            pic = load(hv) if states else load(n)
            if states:
                pic = hover_matrix(pic)
            cell = bar.crop((x, 3, x + bw, 3 + bh))
            cell.alpha_composite(pic.crop((0, 0, bw, bh)))
            bar.paste(cell, (x, 3))
        # game page below
        ImageDraw.Draw(bar).rectangle([0, 30, W, 60], fill=(0x30, 0x40, 0x30, 255))
        return bar

    sheet.alpha_composite(title_bar(False), (10, 10))
    sheet.alpha_composite(title_bar(True), (10, 80))

    # message box as shown (109 rows), OK hovered in the second copy
    for n, hover_ok in enumerate((False, True)):
        box = load(304).crop((0, 0, 256, 109))
        f = cjk(15)
        dd = ImageDraw.Draw(box)
        cap = "关闭提示"
        tw = f.getlength(cap)
        dd.text((85 + (100 - tw) / 2, 7), cap, font=f, fill=GOLD_PALE, stroke_width=0)
        fm = cjk(11)
        msg = "是否退出《Quellmoor》登录器？"
        dd.text((28 + (220 - fm.getlength(msg)) / 2, 33), msg, font=fm, fill=GOLD_PALE)
        for img_id, x, y in ((316, 231, 10), (313 if hover_ok else 314, 45, 64), (312, 137, 64)):
            pic = load(img_id)
            if img_id == 313:
                pic = hover_matrix(pic)
            box.alpha_composite(pic, (x, y))
        sheet.alpha_composite(box, (10 + n * 270, 160))

    # mask with the spinner frames
    for i, fid in enumerate((276, 277, 278, 279)):
        cell = Image.new("RGBA", (60, 60), (255, 255, 255, 255))
        px = load(275)
        cell.alpha_composite(px.resize((60, 60), Image.NEAREST))
        cell.alpha_composite(load(fid), (18, 18))
        sheet.alpha_composite(cell, (560 + (i % 2) * 66, 160 + (i // 2) * 66))

    # popup buttons: normal then hover, bigger
    for i, fid in enumerate((320, 321, 323, 324)):
        pic = load(fid)
        if fid in (321, 324):
            pic = hover_matrix(pic)
        sheet.alpha_composite(pic.resize((pic.width * 3, pic.height * 3), Image.NEAREST),
                              (700 + i * 135, 160))

    # icons
    x = 10
    for name in ("icons/180.ico", "defaults/uninstall.ico"):
        ico = Image.open(os.path.join(root, "res", name))
        for s in ICON_SIZES:
            ico.size = (s, s)
            im = ico.copy().convert("RGBA")
            sheet.alpha_composite(im, (x, 290 + (128 - s)))
            x += s + 8
        x += 20

    # login window with the popup's buttons, as on a desktop
    login = Image.new("RGBA", (SKIN_W, SKIN_H), (0x6A, 0x7A, 0x8C, 255))
    login.alpha_composite(load(319))
    for img_id, (px, py), (ww, wh) in ((320, POPUP_MIN_POS, POPUP_MIN_WIN),
                                       (323, POPUP_CLOSE_POS, POPUP_CLOSE_WIN)):
        login.alpha_composite(load(img_id).crop((0, 0, ww, wh)), (px, py))
    ImageDraw.Draw(login).text(VERSION_POS, "1.0.1.0", font=font(SANS, 10), fill=GOLD)
    sheet.alpha_composite(login, (10, 440))
    os.makedirs(os.path.dirname(path), exist_ok=True)
    sheet.convert("RGB").save(path)


# --------------------------------------------------------------------------

FRAME_BUTTONS = [
    # (normal, hover, pressed, kind, width, label, icon)
    (207, 208, 227, "close", 26, None, None),
    (220, 213, 228, "max", 26, None, None),
    (221, 217, 229, "restore", 26, None, None),
    (209, 210, 230, "min", 26, None, None),
    (211, 212, 231, "text", 59, "选服", "server"),
    (223, 215, 233, "text", 97, "老板键 F10", "boss"),
    (224, 214, 234, "text", 86, "全屏 F11", "full"),
    (226, 219, 236, "text", 78, "刷新", "refresh"),
    (252, 253, 261, "text", 78, "清除缓存", "clear"),
]

# Button windows narrower than their pictures (the title bar layout).
VISIBLE_WIDTH = {224: 85}


def generate(root):
    img_dir = os.path.join(root, "res", "img")
    icon_dir = os.path.join(root, "res", "icons")
    def_dir = os.path.join(root, "res", "defaults")
    for p in (img_dir, icon_dir, def_dir):
        os.makedirs(p, exist_ok=True)

    written = []

    def put(rel_dir, name, data):
        path = os.path.join(rel_dir, name)
        with open(path, "wb") as fh:
            fh.write(data)
        written.append(path)

    def put_png(i, im):
        assert im.mode == "RGBA"
        put(img_dir, "%d.png" % i, png_bytes(im))

    put_png(172, title_mid())
    put_png(203, title_left())
    put_png(206, title_right())

    for normal, hover, pressed, kind, w, label, icon in FRAME_BUTTONS:
        if kind == "text":
            n_img = text_button(w, label, icon, False, VISIBLE_WIDTH.get(normal))
            h_img = text_button(w, label, icon, True, VISIBLE_WIDTH.get(normal))
        else:
            n_img = glyph_button(kind, False)
            h_img = glyph_button(kind, True)
        data = png_bytes(n_img)
        put(img_dir, "%d.png" % normal, data)
        put(img_dir, "%d.png" % pressed, data)      # pressed looks like normal
        put_png(hover, h_img)

    put_png(304, message_background())
    put_png(314, dialog_button("确定", True, False))
    put_png(313, dialog_button("确定", True, True))
    put_png(312, dialog_button("取消", False, False))
    put_png(311, dialog_button("取消", False, True))
    put_png(316, message_close_glyph())

    put_png(275, mask_pixel())
    for i, fid in enumerate((276, 277, 278, 279)):
        put_png(fid, spinner_frame(i))

    sk = skin()
    put_png(319, sk)
    pb = popup_buttons(sk)
    for (normal, hover, pressed), key in (((320, 321, 322), "min"),
                                          ((323, 324, 325), "close")):
        n_img, h_img = pb[key]
        data = png_bytes(n_img)
        put(img_dir, "%d.png" % normal, data)
        put(img_dir, "%d.png" % pressed, data)
        put_png(hover, h_img)

    put(img_dir, "318.bmp", green_bmp_bytes(949, 596))

    emblems = [emblem(s) for s in ICON_SIZES]
    ico = ico_bytes(emblems)
    for i in (180, 273, 283):
        put(icon_dir, "%d.ico" % i, ico)
    put(def_dir, "uninstall.ico",
        ico_bytes([ember_cross_badge(emblem(s, muted=True)) for s in ICON_SIZES]))
    return written


def main(argv):
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--out", default=ROOT, help="tree to write res/ into (default: this repo)")
    ap.add_argument("--preview", action="store_true",
                    help="also write build/art-preview.png")
    args = ap.parse_args(argv)
    t0 = time.time()
    files = generate(args.out)
    if args.preview:
        preview(args.out, os.path.join(args.out, "build", "art-preview.png"))
    print("wrote %d files in %.1f s" % (len(files), time.time() - t0))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
