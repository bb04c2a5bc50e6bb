#!/usr/bin/env python3
"""Checks the committed skin images and icons against what the program
expects of them: ids, pixel sizes, shared pressed pictures, the mask tile,
the login skin's shape, the popup's colour-key bitmap and the icon sizes.

    /usr/bin/python3 tools/art/check_art.py [REPO_ROOT]

Exits 1 and lists every failure; exits 0 when all is well.  Needs Debian's
python3-pil for decoding.
"""

import os
import struct
import sys

from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))

PNG_SIZES = {
    172: (1, 30), 203: (203, 30), 206: (91, 30),
    304: (256, 112), 313: (74, 26), 314: (74, 26), 311: (74, 26), 312: (74, 26),
    316: (9, 9), 275: (1, 1), 276: (23, 23), 277: (23, 23), 278: (23, 23), 279: (23, 23),
    319: (1351, 747),
    320: (34, 35), 321: (34, 35), 322: (34, 35),
    323: (42, 44), 324: (42, 44), 325: (42, 44),
}

# frame buttons: normal, hover, pressed, size
FRAME_BUTTONS = [
    (207, 208, 227, (26, 24)),   # close
    (220, 213, 228, (26, 24)),   # maximise
    (221, 217, 229, (26, 24)),   # restore
    (209, 210, 230, (26, 24)),   # minimise
    (211, 212, 231, (59, 24)),   # select server
    (223, 215, 233, (97, 24)),   # boss key
    (224, 214, 234, (86, 24)),   # full screen
    (226, 219, 236, (78, 24)),   # refresh
    (252, 253, 261, (78, 24)),   # clear cache
]
for _n, _h, _p, _size in FRAME_BUTTONS:
    for _i in (_n, _h, _p):
        PNG_SIZES[_i] = _size

ICON_FILES = ["icons/180.ico", "icons/273.ico", "icons/283.ico", "defaults/uninstall.ico"]
ICON_SIZES = {16, 24, 32, 48, 64, 128}

# Login popup geometry on the skin (popup at 240, 60).
PAGE_RECT = (240, 120, 1128, 654)
POPUP_MIN = ((1125, 86), (32, 34))       # window position and size
POPUP_CLOSE = ((1147, 58), (42, 44))
VERSION_BOX = (1291, 714, 1321, 726)     # where a short version string lands


class Checker:
    def __init__(self, root):
        self.root = root
        self.failures = []
        self.count = 0
        self._cache = {}

    def fail(self, msg):
        self.failures.append(msg)

    def check(self, cond, msg):
        self.count += 1
        if not cond:
            self.fail(msg)
        return cond

    def path(self, rel):
        return os.path.join(self.root, "res", rel)

    def png(self, i):
        if i not in self._cache:
            p = self.path("img/%d.png" % i)
            try:
                im = Image.open(p)
                im.load()
            except Exception:           # reported by check_pngs
                self._cache[i] = None
            else:
                self._cache[i] = im
        return self._cache[i]

    def raw(self, i):
        with open(self.path("img/%d.png" % i), "rb") as fh:
            return fh.read()

    # ------------------------------------------------------------------

    def check_pngs(self):
        ok = True
        for i, size in sorted(PNG_SIZES.items()):
            p = self.path("img/%d.png" % i)
            if not self.check(os.path.isfile(p), "img/%d.png is missing" % i):
                ok = False
                continue
            with open(p, "rb") as fh:
                sig = fh.read(8)
            if not self.check(sig == b"\x89PNG\r\n\x1a\n", "img/%d.png is not a PNG file" % i):
                ok = False
                continue
            im = self.png(i)
            if not self.check(im is not None, "img/%d.png does not decode" % i):
                ok = False
                continue
            self.check(im.size == size, "img/%d.png is %dx%d, expected %dx%d"
                       % ((i,) + im.size + size))
            self.check(im.mode == "RGBA", "img/%d.png is %s, expected RGBA" % (i, im.mode))
        return ok

    def check_frame_buttons(self):
        for n, h, p, _ in FRAME_BUTTONS:
            self.check(self.raw(n) == self.raw(p),
                       "pressed img/%d.png is not byte-identical to normal img/%d.png" % (p, n))
            self.check(self.raw(n) != self.raw(h) and
                       self.png(n).tobytes() != self.png(h).tobytes(),
                       "hover img/%d.png shows the same picture as normal img/%d.png" % (h, n))
            # a button picture must show something in both states
            for i in (n, h):
                self.check(self.png(i).getchannel("A").getextrema()[1] == 255,
                           "img/%d.png has no opaque pixel" % i)

    def check_message_box(self):
        bg = self.png(304)
        # the box is 109 rows high and paints the picture over memory that
        # holds nothing useful: the visible part must be opaque
        a = bg.getchannel("A").crop((0, 0, 256, 109))
        self.check(a.getextrema() == (255, 255),
                   "img/304.png is not opaque in its visible 256x109 part")
        for normal, hover in ((314, 313), (312, 311)):
            self.check(self.png(normal).tobytes() != self.png(hover).tobytes(),
                       "img/%d.png (hover) equals img/%d.png (normal)" % (hover, normal))
        self.check(self.png(314).tobytes() != self.png(312).tobytes(),
                   "OK and Cancel pictures are the same")
        self.check(self.png(316).getchannel("A").getextrema()[1] > 0,
                   "img/316.png (close glyph) is empty")

    def check_mask(self):
        px = self.png(275).getpixel((0, 0))
        self.check(px == (0, 0, 0, 230), "img/275.png is %r, expected (0, 0, 0, 230)" % (px,))
        frames = [self.png(i) for i in (276, 277, 278, 279)]
        blobs = [f.tobytes() for f in frames]
        self.check(len(set(blobs)) == 4, "spinner frames 276-279 are not four different pictures")
        for i, f in zip((276, 277, 278, 279), frames):
            a = f.getchannel("A")
            self.check(a.getpixel((0, 0)) == 0 and a.getpixel((22, 22)) == 0,
                       "spinner img/%d.png has no transparent background" % i)
            self.check(a.getextrema()[1] >= 200, "spinner img/%d.png is too faint" % i)

    def check_title_seams(self):
        mid = self.png(172)
        col = [mid.getpixel((0, y)) for y in range(30)]
        left, right = self.png(203), self.png(206)
        self.check([left.getpixel((202, y)) for y in range(30)] == col,
                   "title bar: right edge of img/203.png does not match the tile img/172.png")
        self.check([right.getpixel((0, y)) for y in range(30)] == col,
                   "title bar: left edge of img/206.png does not match the tile img/172.png")
        self.check(all(p[3] == 255 for p in col), "title bar tile img/172.png is not opaque")

    def check_login_skin(self):
        sk = self.png(319)
        a = sk.getchannel("A")
        w, h = sk.size
        for name, box in (("top left", (0, 0, 12, 12)), ("top right", (w - 12, 0, w, 12)),
                          ("bottom left", (0, h - 12, 12, h)),
                          ("bottom right", (w - 12, h - 12, w, h))):
            self.check(a.crop(box).getextrema() == (0, 0),
                       "img/319.png: %s corner is not fully transparent" % name)
        self.check(a.crop(PAGE_RECT).getextrema() == (255, 255),
                   "img/319.png: the login page area %r is not fully opaque" % (PAGE_RECT,))
        for (x, y), (bw, bh) in (POPUP_MIN, POPUP_CLOSE):
            self.check(a.crop((x, y, x + bw, y + bh)).getextrema() == (255, 255),
                       "img/319.png: not opaque under the popup button at (%d, %d)" % (x, y))
        self.check(a.crop(VERSION_BOX).getextrema() == (255, 255),
                   "img/319.png: not opaque where the version text goes")
        hist = a.histogram()
        total = w * h
        self.check(hist[0] > total * 0.01, "img/319.png: hardly any transparent pixels: "
                   "the skin would be a plain rectangle")
        self.check(sum(hist[1:255]) > 2 * (w + h),
                   "img/319.png: no soft edge (no partly transparent pixels)")

    def check_popup_buttons(self):
        """The popup is colour-keyed on pure green and its buttons compose
        their pictures over that green: partial alpha would leave a green
        fringe, so the pictures must be opaque and carry the skin.  Where
        the two button windows overlap, both must show the plain skin."""
        sk = self.png(319).convert("RGBA")

        def on_screen_hover(img):
            lut = [min(255, int(round(v * 1.05 + 0.05 * 255))) for v in range(256)]
            r, g, b, al = img.split()
            return Image.merge("RGBA", (r.point(lut), g.point(lut), b.point(lut), al))

        def max_diff(a, b):
            return max(abs(p - q) for pa, pb in zip(a.getdata(), b.getdata())
                       for p, q in zip(pa[:3], pb[:3]))

        for n, hv, p, ((x, y), _win) in ((320, 321, 322, POPUP_MIN), (323, 324, 325, POPUP_CLOSE)):
            for i in (n, hv, p):
                self.check(self.png(i).getchannel("A").getextrema() == (255, 255),
                           "popup button img/%d.png is not fully opaque" % i)
            self.check(self.png(n).tobytes() != self.png(hv).tobytes(),
                       "popup button hover img/%d.png equals normal img/%d.png" % (hv, n))
            self.check(self.png(n).tobytes() == self.png(p).tobytes(),
                       "popup button pressed img/%d.png differs from normal img/%d.png" % (p, n))
        # overlap of the two windows, in skin coordinates
        (mx, my), (mw, mh) = POPUP_MIN
        (cx, cy), (cw, ch) = POPUP_CLOSE
        ox0, oy0 = max(mx, cx), max(my, cy)
        ox1, oy1 = min(mx + mw, cx + cw), min(my + mh, cy + ch)
        skin_patch = sk.crop((ox0, oy0, ox1, oy1))
        for n, hv, (bx, by) in ((320, 321, (mx, my)), (323, 324, (cx, cy))):
            box = (ox0 - bx, oy0 - by, ox1 - bx, oy1 - by)
            d = max_diff(self.png(n).convert("RGBA").crop(box), skin_patch)
            self.check(d <= 1, "img/%d.png: the overlap with the other popup button does "
                       "not show the skin (differs by %d)" % (n, d))
            d = max_diff(on_screen_hover(self.png(hv).convert("RGBA")).crop(box), skin_patch)
            self.check(d <= 2, "img/%d.png: after the button's hover brightening the overlap "
                       "does not match the skin (differs by %d)" % (hv, d))

    def check_bmp(self):
        p = self.path("img/318.bmp")
        if not self.check(os.path.isfile(p), "img/318.bmp is missing"):
            return
        with open(p, "rb") as fh:
            data = fh.read()
        if not self.check(len(data) >= 54 and data[:2] == b"BM", "img/318.bmp is not a BMP"):
            return
        _, fsize, _, _, off = struct.unpack_from("<2sIHHI", data, 0)
        (bi_size, bw, bh, planes, bpp, comp, img_size,
         _, _, used, _) = struct.unpack_from("<IiiHHIIiiII", data, 14)
        self.check(bi_size == 40, "img/318.bmp: header size %d, expected 40 "
                   "(BITMAPINFOHEADER)" % bi_size)
        self.check((bw, abs(bh)) == (949, 596), "img/318.bmp is %dx%d, expected 949x596"
                   % (bw, abs(bh)))
        self.check(planes == 1 and bpp == 32 and comp == 0,
                   "img/318.bmp: planes %d, %d bpp, compression %d; expected 1, 32, BI_RGB"
                   % (planes, bpp, comp))
        self.check(fsize == len(data), "img/318.bmp: file size field %d, actual %d"
                   % (fsize, len(data)))
        need = 949 * 596 * 4
        if not self.check(off + need <= len(data), "img/318.bmp: pixel data is short"):
            return
        pixels = data[off:off + need]
        self.check(pixels == b"\x00\xff\x00\x00" * (949 * 596),
                   "img/318.bmp: not every pixel is pure green RGB(0,255,0) with a 0 fourth byte")

    def check_icons(self):
        for rel in ICON_FILES:
            p = self.path(rel)
            if not self.check(os.path.isfile(p), "%s is missing" % rel):
                continue
            with open(p, "rb") as fh:
                data = fh.read()
            try:
                self._check_ico(rel, data)
            except struct.error:
                self.fail("%s is truncated" % rel)
        with open(self.path("icons/180.ico"), "rb") as fh:
            frame_icon = fh.read()
        with open(self.path("defaults/uninstall.ico"), "rb") as fh:
            self.check(fh.read() != frame_icon,
                       "defaults/uninstall.ico is the same picture as the window icon")

    def _check_ico(self, rel, data):
        reserved, kind, count = struct.unpack_from("<HHH", data, 0)
        if not self.check(reserved == 0 and kind == 1 and count > 0,
                          "%s: not an icon file" % rel):
            return
        sizes = set()
        for k in range(count):
            w, h, _colours, _res, planes, bpp, nbytes, off = struct.unpack_from(
                "<BBBBHHII", data, 6 + 16 * k)
            w, h = w or 256, h or 256
            blob = data[off:off + nbytes]
            if not self.check(off + nbytes <= len(data) and nbytes >= 40,
                              "%s: entry %d points outside the file" % (rel, k)):
                continue
            if blob[:8] == b"\x89PNG\r\n\x1a\n":
                self.check(w >= 256, "%s: %dx%d entry is PNG-compressed; use a DIB below 256"
                           % (rel, w, h))
                sizes.add(w)
                continue
            bi_size, bw, bh, bplanes, bbpp, comp = struct.unpack_from("<IiiHHI", blob, 0)
            self.check(bi_size == 40 and bw == w and bh == 2 * h,
                       "%s: %dx%d entry's DIB header says %dx%d" % (rel, w, h, bw, bh // 2))
            self.check(bbpp == 32 and bpp == 32 and comp == 0,
                       "%s: %dx%d entry is not 32-bit BI_RGB" % (rel, w, h))
            mask_stride = ((w + 31) // 32) * 4
            self.check(nbytes == 40 + w * h * 4 + mask_stride * h,
                       "%s: %dx%d entry has %d bytes, expected %d"
                       % (rel, w, h, nbytes, 40 + w * h * 4 + mask_stride * h))
            alpha = blob[40 + 3:40 + w * h * 4:4]
            self.check(max(alpha) == 255 and min(alpha) == 0,
                       "%s: %dx%d entry has no real alpha channel" % (rel, w, h))
            sizes.add(w)
        self.check(ICON_SIZES <= sizes, "%s: sizes %s, missing %s"
                   % (rel, sorted(sizes), sorted(ICON_SIZES - sizes)))

    def run(self):
        if self.check_pngs():
            self.check_frame_buttons()
            self.check_message_box()
            self.check_mask()
            self.check_title_seams()
            self.check_login_skin()
            self.check_popup_buttons()
        self.check_bmp()
        self.check_icons()
        return not self.failures


def main(argv):
    root = argv[1] if len(argv) > 1 else os.path.normpath(os.path.join(HERE, "..", ".."))
    c = Checker(root)
    ok = c.run()
    for f in c.failures:
        print("FAIL: " + f)
    print("check_art: %d passed, %d failed" % (c.count - len(c.failures), len(c.failures)))
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
