#!/usr/bin/python3
"""Generate every picture, sound effect and the music loop of Glimmora Game.

Run with Debian's Python (python3-pil, python3-numpy) and with lame and oggenc
on PATH:  /usr/bin/python3 tools/make_assets.py [output-dir]   (default: assets)

All randomness is seeded, so a rerun gives byte-identical PNGs; the MP3 and OGG
files depend on the encoder versions installed.
"""

import math
import os
import shutil
import subprocess
import sys
import tempfile
import wave

import numpy as np
from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

FONT_DIR = "/usr/share/fonts/truetype/dejavu/"
W, H = 1920, 1080          # design screen size
SS = 4                     # supersampling factor for hand-drawn shapes
RATE = 44100               # audio sample rate, Hz

OUT = "assets"


# ---------------------------------------------------------------------------
# Small helpers
# ---------------------------------------------------------------------------

_fonts = {}


def font(size, style="Sans-Bold"):
    key = (style, size)
    if key not in _fonts:
        _fonts[key] = ImageFont.truetype(FONT_DIR + "DejaVu" + style + ".ttf", size)
    return _fonts[key]


def clamp8(a):
    return np.clip(np.rint(a), 0, 255).astype(np.uint8)


def mix(c1, c2, t):
    return tuple(int(round(a + (b - a) * t)) for a, b in zip(c1, c2))


def scale_col(c, k):
    return tuple(max(0, min(255, int(round(v * k)))) for v in c[:3])


def save_png(img, name):
    # No metadata, fixed compression: reruns give identical bytes.
    path = os.path.join(OUT, name)
    img.save(path, "PNG", optimize=True)
    return path


def vertical_gradient(w, h, stops):
    """RGB array filled with a vertical gradient through (position, colour) stops."""
    ys = np.linspace(0.0, 1.0, h)
    out = np.zeros((h, w, 3), np.float32)
    pos = [p for p, _ in stops]
    for ch in range(3):
        col = np.interp(ys, pos, [c[ch] for _, c in stops])
        out[:, :, ch] = col[:, None]
    return out


def radial(w, h, cx, cy, rx, ry=None):
    """0..1 falloff that is 1 at (cx, cy) and 0 beyond the ellipse radii."""
    ry = rx if ry is None else ry
    yy, xx = np.mgrid[0:h, 0:w].astype(np.float32)
    d = np.sqrt(((xx - cx) / rx) ** 2 + ((yy - cy) / ry) ** 2)
    return np.clip(1.0 - d, 0.0, 1.0) ** 2


def add_glow(arr, mask, colour, strength):
    for ch in range(3):
        arr[:, :, ch] += mask * colour[ch] * strength
    return arr


def to_image(arr):
    # No dithering: the dark gradients step by single levels, and flat rows keep the PNGs small.
    return Image.fromarray(clamp8(arr), "RGB")


def layer(w, h):
    return Image.new("RGBA", (w, h), (0, 0, 0, 0))


def ss_layer(w, h, paint, ss=SS):
    """Draw with `paint(draw, k)` at ss-times resolution (k = scale) and shrink.

    PIL draws polygons without anti-aliasing; drawing big and shrinking with a
    Lanczos filter gives smooth edges."""
    big = layer(w * ss, h * ss)
    paint(ImageDraw.Draw(big), ss, big)
    return big.resize((w, h), Image.LANCZOS)


def paste(dst, src, xy):
    """Alpha-composite src onto dst (both RGBA) at integer position xy."""
    dst.alpha_composite(src, (int(xy[0]), int(xy[1])))


def blurred(img, radius):
    return img.filter(ImageFilter.GaussianBlur(radius))


def text_mask(size, xy, text, fnt, anchor="la", stroke=0, spacing=4, align="left"):
    m = Image.new("L", size, 0)
    d = ImageDraw.Draw(m)
    if "\n" in text:
        d.multiline_text(xy, text, font=fnt, fill=255, anchor=anchor, stroke_width=stroke,
                         stroke_fill=255, spacing=spacing, align=align)
    else:
        d.text(xy, text, font=fnt, fill=255, anchor=anchor, stroke_width=stroke, stroke_fill=255)
    return m


def colour_layer(size, colour, mask, alpha=1.0):
    lay = Image.new("RGBA", size, tuple(colour[:3]) + (0,))
    a = mask if alpha >= 1.0 else mask.point(lambda v: int(v * alpha))
    lay.putalpha(a)
    return lay


def gradient_fill(size, top, bottom, y0, y1):
    """RGBA picture of a vertical gradient between rows y0 and y1 (clamped)."""
    w, h = size
    ys = np.clip((np.arange(h, dtype=np.float32) - y0) / max(1, y1 - y0), 0, 1)
    arr = np.zeros((h, w, 4), np.float32)
    for ch in range(3):
        arr[:, :, ch] = (top[ch] + (bottom[ch] - top[ch]) * ys)[:, None]
    arr[:, :, 3] = 255
    return Image.fromarray(clamp8(arr), "RGBA")


def fancy_text(img, xy, text, fnt, fill=(255, 255, 255), grad=None, anchor="la",
               outline=0, outline_col=(0, 0, 0), shadow=None, glow=None, spacing=4,
               align="left"):
    """Text with optional gradient fill, outline, drop shadow and glow.

    shadow = (dx, dy, blur, alpha); glow = (blur, colour, alpha)."""
    size = img.size
    body = text_mask(size, xy, text, fnt, anchor, 0, spacing, align)
    if glow:
        g = blurred(text_mask(size, xy, text, fnt, anchor, outline + 2, spacing, align), glow[0])
        img.alpha_composite(colour_layer(size, glow[1], g, glow[2]))
    if shadow:
        dx, dy, blur, alpha = shadow
        s = text_mask(size, (xy[0] + dx, xy[1] + dy), text, fnt, anchor, outline, spacing, align)
        if blur:
            s = blurred(s, blur)
        img.alpha_composite(colour_layer(size, (0, 0, 0), s, alpha))
    if outline:
        o = text_mask(size, xy, text, fnt, anchor, outline, spacing, align)
        img.alpha_composite(colour_layer(size, outline_col, o))
    if grad:
        bbox = body.getbbox() or (0, 0, 1, 1)
        g = gradient_fill(size, grad[0], grad[1], bbox[1], bbox[3])
        g.putalpha(body)
        img.alpha_composite(g)
    else:
        img.alpha_composite(colour_layer(size, fill, body))


def sparkle(draw, cx, cy, r, colour, k=1, thin=0.18):
    """Four-pointed glint star."""
    t = r * thin
    pts = [(cx, cy - r), (cx + t, cy - t), (cx + r, cy), (cx + t, cy + t),
           (cx, cy + r), (cx - t, cy + t), (cx - r, cy), (cx - t, cy - t)]
    draw.polygon([(x * k, y * k) for x, y in pts], fill=colour)


def sparkle_layer(size, points, colour=(255, 255, 255)):
    """A layer of glints with soft halos: points = [(x, y, r, alpha)]."""
    w, h = size
    lay = layer(w, h)
    halo = layer(w, h)
    hd = ImageDraw.Draw(halo)
    for x, y, r, a in points:
        hd.ellipse((x - r * 0.5, y - r * 0.5, x + r * 0.5, y + r * 0.5), fill=colour + (int(a * 0.45),))
    lay.alpha_composite(blurred(halo, 3))
    for x, y, r, a in points:
        n = int(math.ceil(r)) + 2
        tile = ss_layer(2 * n, 2 * n, lambda d, k, _im: sparkle(d, n, n, r, colour + (a,), k))
        paste(lay, tile, (int(x) - n, int(y) - n))
    return lay


# ---------------------------------------------------------------------------
# Gems
# ---------------------------------------------------------------------------

LIGHT = (-0.5 / math.hypot(0.5, 0.85), -0.85 / math.hypot(0.5, 0.85))


def shade(base, k):
    """Darken towards black below 1, lighten towards white above 1."""
    if k <= 1.0:
        return scale_col(base, max(0.0, k))
    return mix(base[:3], (255, 255, 255), min(1.0, k - 1.0))


def poly_points(n, rx=1.0, ry=None, start=-90.0):
    ry = rx if ry is None else ry
    return [(rx * math.cos(math.radians(start + 360.0 * i / n)),
             ry * math.sin(math.radians(start + 360.0 * i / n))) for i in range(n)]


def heart_points(n=20):
    pts = []
    for i in range(n):
        t = 2 * math.pi * i / n
        x = 16 * math.sin(t) ** 3
        y = -(13 * math.cos(t) - 5 * math.cos(2 * t) - 2 * math.cos(3 * t) - math.cos(4 * t))
        pts.append((x / 16.5, (y - 2.5) / 16.5))
    return pts


def pear_points(n=16):
    pts = []
    for i in range(n):
        t = 2 * math.pi * i / n
        w = ((1 - math.cos(t)) / 2) ** 0.62
        pts.append((0.84 * math.sin(t) * w, -0.96 * math.cos(t) * 0.98 + 0.02))
    return pts


def star_points(n=5, r_out=1.0, r_in=0.5):
    pts = []
    for i in range(2 * n):
        r = r_out if i % 2 == 0 else r_in
        a = math.radians(-90 + 180.0 * i / n)
        pts.append((r * math.cos(a), r * math.sin(a) + 0.06))
    return pts


def trillion_points():
    # Triangle with slightly bulging sides (a trillion cut).
    corners = [(0.0, -0.95), (0.96, 0.72), (-0.96, 0.72)]
    pts = []
    for i in range(3):
        a, b = corners[i], corners[(i + 1) % 3]
        mx, my = (a[0] + b[0]) / 2, (a[1] + b[1]) / 2
        l = math.hypot(mx, my - 0.16)
        bulge = 0.12
        m2 = (mx + mx / l * bulge, my + (my - 0.16) / l * bulge)
        pts += [a, ((a[0] + m2[0]) / 2 * 1.02, (a[1] + m2[1]) / 2 * 1.02), m2,
                ((m2[0] + b[0]) / 2 * 1.02, (m2[1] + b[1]) / 2 * 1.02)]
    return pts


def emerald_points():
    w, h, c = 0.72, 0.96, 0.26
    return [(-w + c, -h), (w - c, -h), (w, -h + c), (w, h - c), (w - c, h), (-w + c, h),
            (-w, h - c), (-w, -h + c)]


# Code -> (file name, base colour, outline in unit coordinates, rings, facet centre, label)
GEMS = {
    1: ("gem_90.png", (222, 28, 52), heart_points(), (1.0, 0.56), (0.0, 0.02), "90"),
    2: ("gem_80.png", (246, 128, 18), poly_points(6, 0.97, 0.97), (1.0, 0.60), (0.0, 0.0), "80"),
    3: ("gem_70.png", (246, 208, 36), trillion_points(), (1.0, 0.50), (0.0, 0.16), "70"),
    4: ("gem_60.png", (34, 186, 84), emerald_points(), (1.0, 0.80, 0.60), (0.0, 0.0), "60"),
    5: ("gem_50.png", (38, 98, 236), poly_points(16, 0.96, 0.96), (1.0, 0.62), (0.0, 0.0), "50"),
    6: ("gem_40.png", (152, 60, 224), [(0, -0.98), (0.8, 0), (0, 0.98), (-0.8, 0)], (1.0, 0.50),
        (0.0, 0.0), "40"),
    7: ("gem_30.png", (250, 96, 186), pear_points(), (1.0, 0.58), (0.0, 0.18), "30"),
    8: ("gem_20.png", (18, 196, 184), star_points(), (1.0, 0.42), (0.0, 0.06), "20"),
}


def facet_gem_layer(px, base, outline, rings, centre, glint=True):
    """Faceted jewel of px x px pixels seen from above, lit from the top left."""
    R = px / 2 - px * 0.05
    cx = cy = px / 2

    def paint(d, k, _im):
        def P(u, v):
            return ((cx + u * R) * k, (cy + v * R) * k)

        cu, cv = centre
        ringpts = [[(cu + (u - cu) * s, cv + (v - cv) * s) for u, v in outline] for s in rings]
        n = len(outline)
        # Base silhouette in the dark tone; facets cover it.
        d.polygon([P(u, v) for u, v in outline], fill=shade(base, 0.35) + (255,))
        for ri in range(len(rings) - 1):
            po, pi = ringpts[ri], ringpts[ri + 1]
            for i in range(n):
                j = (i + 1) % n
                ex, ey = po[j][0] - po[i][0], po[j][1] - po[i][1]
                ln = math.hypot(ex, ey) or 1.0
                nx, ny = ey / ln, -ex / ln
                mxp, myp = (po[i][0] + po[j][0]) / 2 - cu, (po[i][1] + po[j][1]) / 2 - cv
                if nx * mxp + ny * myp < 0:
                    nx, ny = -nx, -ny
                lit = nx * LIGHT[0] + ny * LIGHT[1]
                kk = 0.84 + 0.4 * lit + 0.1 * ri
                d.polygon([P(*po[i]), P(*po[j]), P(*pi[j])], fill=shade(base, kk) + (255,))
                d.polygon([P(*po[i]), P(*pi[j]), P(*pi[i])], fill=shade(base, kk * 0.86 + 0.08) + (255,))
        table = ringpts[-1]
        d.polygon([P(u, v) for u, v in table], fill=shade(base, 1.12) + (255,))
        # Fine facet lines catch the light.
        edge = shade(base, 1.45) + (150,)
        for ri in range(len(rings)):
            pts = [P(u, v) for u, v in ringpts[ri]]
            d.line(pts + [pts[0]], fill=edge if ri else shade(base, 0.3) + (255,),
                   width=max(1, int(k * (0.5 if ri else 1.3))), joint="curve")
        for i in range(n):
            d.line([P(*ringpts[0][i]), P(*ringpts[-1][i])], fill=edge, width=max(1, int(k * 0.45)))

    img = ss_layer(px, px, paint)
    # Soft sheen: brighter at the top left, deeper at the bottom right.
    arr = np.asarray(img).astype(np.float32)
    yy, xx = np.mgrid[0:px, 0:px].astype(np.float32) / px
    sheen = 1.14 - 0.3 * (0.55 * xx + 0.45 * yy)
    arr[:, :, :3] = arr[:, :, :3] * sheen[:, :, None]
    img = Image.fromarray(clamp8(arr), "RGBA")
    if glint:
        gx = px / 2 + (centre[0] - 0.28) * R
        gy = px / 2 + (centre[1] - 0.30) * R * 0.95
        gl = sparkle_layer((px, px), [(gx, gy, px * 0.14, 235), (px / 2 + 0.32 * R, px / 2 + 0.36 * R,
                                                                px * 0.06, 170)])
        img.alpha_composite(gl)
    return img


def diamond_layer(px):
    """A brilliant seen from the side: crown, girdle and pointed pavilion."""
    R = px / 2 - px * 0.04
    cx, cy = px / 2, px / 2 + px * 0.02
    tones = [(236, 252, 255), (168, 226, 248), (118, 198, 238), (212, 242, 255),
             (146, 214, 244), (250, 255, 255), (98, 178, 228)]

    def paint(d, k, _im):
        def P(u, v):
            return ((cx + u * R) * k, (cy + v * R) * k)

        ty, gy = -0.66, -0.22
        top = [(-0.46, ty), (-0.15, ty), (0.15, ty), (0.46, ty)]
        gird = [(-0.98, gy), (-0.5, gy), (0.0, gy), (0.5, gy), (0.98, gy)]
        culet = (0.0, 0.98)
        zig = [gird[0], top[0], gird[1], top[1], gird[2], top[2], gird[3], top[3], gird[4]]
        outline = [gird[0]] + top + [gird[4], culet]
        d.polygon([P(*p) for p in outline], fill=(70, 130, 170, 255))
        crown_tones = [3, 0, 1, 5, 4, 0, 2]
        for i in range(7):
            d.polygon([P(*zig[i]), P(*zig[i + 1]), P(*zig[i + 2])], fill=tones[crown_tones[i]] + (255,))
        d.polygon([P(*top[0]), P(*top[3]), P(0.3, ty + 0.02), P(-0.3, ty + 0.02)], fill=tones[5] + (255,))
        mids = [(-0.74, 0.2), (-0.25, 0.3), (0.25, 0.3), (0.74, 0.2)]
        pav_tones = [1, 3, 2, 6, 4, 0, 2, 6]
        for i in range(4):
            d.polygon([P(*gird[i]), P(*gird[i + 1]), P(*culet)], fill=tones[pav_tones[2 * i]] + (255,))
            d.polygon([P(*gird[i + 1]), P(*mids[i]), P(*culet)], fill=tones[pav_tones[2 * i + 1]] + (255,))
        line = (255, 255, 255, 170)
        for a, b in [(gird[0], gird[4])] + [(gird[i], culet) for i in range(5)]:
            d.line([P(*a), P(*b)], fill=line, width=max(1, int(k * 0.5)))
        d.line([P(*p) for p in outline + [outline[0]]], fill=(40, 96, 140, 255), width=int(k * 1.3),
               joint="curve")

    img = ss_layer(px, px, paint)
    img.alpha_composite(sparkle_layer((px, px), [(px * 0.30, px * 0.30, px * 0.20, 255),
                                                 (px * 0.70, px * 0.56, px * 0.10, 220),
                                                 (px * 0.60, px * 0.14, px * 0.07, 200)]))
    return img


def trash_layer(px, seed=7):
    """A dull, cracked lump of rock: worthless and clearly not a jewel."""
    rng = np.random.default_rng(seed)
    n = 11
    outline = []
    for i in range(n):
        a = 2 * math.pi * i / n + rng.uniform(-0.12, 0.12)
        r = rng.uniform(0.78, 0.97)
        outline.append((r * math.cos(a), 0.86 * r * math.sin(a) + 0.06))
    base = (128, 120, 108)
    img = facet_gem_layer(px, base, outline, (1.0, 0.5), (0.05, 0.1), glint=False)
    R = px / 2 - px * 0.05

    def paint(d, k, _im):
        def P(u, v):
            return ((px / 2 + u * R) * k, (px / 2 + v * R) * k)
        crack = (52, 46, 40, 230)
        d.line([P(-0.5, -0.35), P(-0.15, -0.05), P(-0.25, 0.3), P(0.05, 0.55)], fill=crack,
               width=int(k * 1.3), joint="curve")
        d.line([P(-0.15, -0.05), P(0.3, -0.2), P(0.55, 0.1)], fill=crack, width=int(k * 1.1), joint="curve")
        for _ in range(14):
            u, v = rng.uniform(-0.6, 0.6), rng.uniform(-0.5, 0.6)
            r = rng.uniform(0.025, 0.06)
            d.ellipse((*P(u - r, v - r), *P(u + r, v + r)), fill=(70, 64, 58, 200))

    marks = ss_layer(px, px, paint)
    # Keep the marks inside the rock.
    a = ImageChops.multiply(marks.getchannel("A"), img.getchannel("A"))
    marks.putalpha(a)
    img.alpha_composite(marks)
    return img


def gem_label(img, text, base):
    px = img.size[0]
    f = font(max(9, int(px * 0.25)), "Sans-Bold")
    lay = layer(px, px)
    fancy_text(lay, (px / 2, px / 2 + px * 0.03), text, f, fill=(255, 255, 255), anchor="mm",
               outline=max(1, px // 30), outline_col=shade(base, 0.22))
    img.alpha_composite(lay)


def make_gem(code, px=60, label=True):
    if code == 9:
        return diamond_layer(px)
    if code == 10:
        return trash_layer(px)
    _name, base, outline, rings, centre, text = GEMS[code]
    img = facet_gem_layer(px, base, outline, rings, centre)
    if label:
        gem_label(img, text, base)
    return img


def make_thread_segment(px=60):
    """An empty bead slot: a thin string running through a small ring."""
    def paint(d, k, _im):
        c = px / 2
        d.line([(c * k, 0), (c * k, px * k)], fill=(214, 196, 150, 200), width=int(k * 2))
        r = px * 0.14
        d.ellipse(((c - r) * k, (c - r) * k, (c + r) * k, (c + r) * k), outline=(236, 220, 170, 230),
                  width=int(k * 2.2))
        r2 = r - 2.2
        d.ellipse(((c - r2) * k, (c - r2) * k, (c + r2) * k, (c + r2) * k), fill=(255, 240, 200, 38))
    img = ss_layer(px, px, paint)
    return img


def gem_files():
    names = {0: "thread_segment.png", 9: "gem_diamond.png", 10: "gem_trash.png"}
    for code in range(1, 9):
        names[code] = GEMS[code][0]
    return names


def make_gems():
    for code, name in gem_files().items():
        img = make_thread_segment() if code == 0 else make_gem(code)
        save_png(img, name)


# ---------------------------------------------------------------------------
# Digits
# ---------------------------------------------------------------------------

def glyph_masks(chars, height, max_width, style="Sans-Bold"):
    """Masks of the characters, all scaled by one factor so digits share a height."""
    f = font(400, style)
    raw = {}
    for ch in chars:
        m = Image.new("L", (600, 600), 0)
        ImageDraw.Draw(m).text((100, 50), ch, font=f, fill=255)
        raw[ch] = m.crop(m.getbbox())
    ref = raw["0"].size[1]
    sy = height / ref
    widest = max(m.size[0] for m in raw.values())
    sx = min(sy, max_width / widest)
    out = {}
    for ch, m in raw.items():
        w = max(1, int(round(m.size[0] * sx)))
        h = max(1, int(round(m.size[1] * sy)))
        out[ch] = m.resize((w, h), Image.LANCZOS)
    return out


def digit_image(mask, size, top_col, bot_col, outline_col, outline_px, glow_col=None, k=SS):
    """Place a glyph mask centred in a size-box with an outline and gradient fill."""
    w, h = size
    big = layer(w * k, h * k)
    mw, mh = mask.size
    ox, oy = (w * k - mw) // 2, (h * k - mh) // 2
    body = Image.new("L", (w * k, h * k), 0)
    body.paste(mask, (ox, oy))
    rad = int(outline_px * k)
    ring = body.filter(ImageFilter.MaxFilter(2 * rad + 1)) if rad else body
    if glow_col:
        g = blurred(ring, 2.5 * k)
        big.alpha_composite(colour_layer(big.size, glow_col, g, 0.55))
    big.alpha_composite(colour_layer(big.size, outline_col, ring))
    grad = gradient_fill(big.size, top_col, bot_col, oy, oy + mh)
    grad.putalpha(body)
    big.alpha_composite(grad)
    return big.resize((w, h), Image.LANCZOS)


def make_digits():
    k = SS
    chars = [str(i) for i in range(10)]
    hud = glyph_masks(chars, 31 * k, 19 * k)
    for ch, m in hud.items():
        save_png(digit_image(m, (24, 40), (255, 252, 232), (255, 190, 64), (36, 22, 8), 1.6,
                             glow_col=(255, 170, 40)), "digit_%s.png" % ch)
    # The colon is two dots matching the digits' weight.
    dot = int(6.6 * k)
    colon = Image.new("L", (dot, int(21 * k)), 0)
    cd = ImageDraw.Draw(colon)
    cd.ellipse((0, 0, dot - 1, dot - 1), fill=255)
    cd.ellipse((0, colon.size[1] - dot, dot - 1, colon.size[1] - 1), fill=255)
    save_png(digit_image(colon, (24, 40), (255, 252, 232), (255, 190, 64), (36, 22, 8), 1.6,
                         glow_col=(255, 170, 40)), "digit_colon.png")
    small = glyph_masks(chars, 19 * k, 13 * k)
    for ch, m in small.items():
        save_png(digit_image(m, (16, 24), (255, 255, 255), (255, 214, 120), (20, 14, 30), 1.2),
                 "digit_b%s.png" % ch)


# ---------------------------------------------------------------------------
# Buttons and cursor
# ---------------------------------------------------------------------------

def fit_font(text, max_w, max_size, style="Sans-Bold"):
    size = max_size
    while size > 8:
        f = font(size, style)
        l, t, r, b = f.getbbox(text)
        if r - l <= max_w:
            return f
        size -= 1
    return font(size, style)


def pill(size, top, bottom, border, inset=4, radius=None, border_w=3, gloss=70):
    """Glossy rounded button body on a transparent picture of the given size."""
    w, h = size
    rad = radius if radius is not None else (h - 2 * inset) * 0.42
    box = (inset, inset, w - inset - 1, h - inset - 1)

    def shape_mask(k):
        m = Image.new("L", (w * k, h * k), 0)
        ImageDraw.Draw(m).rounded_rectangle([v * k for v in box], radius=rad * k, fill=255)
        return m.resize((w, h), Image.LANCZOS)

    body = shape_mask(SS)
    img = gradient_fill(size, top, bottom, inset, h - inset)
    img.putalpha(body)
    # Gloss on the upper half.
    gmask = Image.new("L", (w * SS, h * SS), 0)
    ImageDraw.Draw(gmask).rounded_rectangle(
        [(inset + border_w + 2) * SS, (inset + border_w + 1) * SS, (w - inset - border_w - 3) * SS,
         (inset + (h - 2 * inset) * 0.48) * SS], radius=(rad - 3) * SS, fill=gloss)
    gmask = gmask.resize((w, h), Image.LANCZOS)
    gl = colour_layer(size, (255, 255, 255), ImageChops.multiply(gmask, body))
    img.alpha_composite(gl)

    def paint(d, k, _im):
        d.rounded_rectangle([v * k for v in box], radius=rad * k, outline=border + (255,),
                            width=int(border_w * k))
    img.alpha_composite(ss_layer(w, h, paint))
    return img


MENU_BUTTONS = [
    # (normal file, hover file, size, label)
    ("start_game_gray.png", "start_game_orange.png", (394, 110), "Start Game"),
    ("instructions_gary.png", "instructions_orange.png", (398, 110), "Instructions"),
    ("about_gray.png", "about_orange.png", (326, 100), "About"),
    ("mquit.png", "mquit_hover.png", (88, 80), "Quit"),
]


def menu_button(size, label, hover):
    w, h = size
    if hover:
        img = pill(size, (255, 206, 92), (238, 104, 14), (255, 238, 170), gloss=90)
        text_col, edge = (255, 255, 255), (132, 52, 0)
    else:
        img = pill(size, (104, 110, 134), (50, 54, 74), (150, 158, 186), gloss=55)
        text_col, edge = (226, 230, 242), (22, 24, 36)
    f = fit_font(label, w - (34 if w > 120 else 18), int(h * 0.40))
    fancy_text(img, (w / 2, h / 2 + 1), label, f, fill=text_col, anchor="mm", outline=2,
               outline_col=edge, shadow=(0, 2, 1, 0.5))
    return img


def make_menu_buttons():
    for normal, hover, size, label in MENU_BUTTONS:
        save_png(menu_button(size, label, False), normal)
        save_png(menu_button(size, label, True), hover)


ICON = (236, 242, 255)
CROSS = (238, 58, 58)


def icon_note(d, k):
    # Two beamed eighth notes.
    c = ICON + (255,)
    d.ellipse((28 * k, 60 * k, 44 * k, 72 * k), fill=c)
    d.ellipse((56 * k, 54 * k, 72 * k, 66 * k), fill=c)
    d.rectangle((40 * k, 30 * k, 44.5 * k, 66 * k), fill=c)
    d.rectangle((68 * k, 24 * k, 72.5 * k, 60 * k), fill=c)
    d.polygon([(40 * k, 30 * k), (72.5 * k, 24 * k), (72.5 * k, 33 * k), (40 * k, 39 * k)], fill=c)


def icon_speaker(d, k, waves=True):
    c = ICON + (255,)
    d.polygon([(24 * k, 40 * k), (36 * k, 40 * k), (52 * k, 26 * k), (52 * k, 74 * k),
               (36 * k, 60 * k), (24 * k, 60 * k)], fill=c)
    if waves:
        for r, wd in ((12, 4.5), (22, 4.5)):
            d.arc(((54 - r) * k, (50 - r) * k, (54 + r) * k, (50 + r) * k), -50, 50, fill=c,
                  width=int(wd * k))


def icon_cross(d, k):
    # Red slash with a dark edge so it reads over the white icon.
    d.line([(24 * k, 24 * k), (76 * k, 76 * k)], fill=(40, 10, 10, 255), width=int(11 * k))
    d.line([(24 * k, 24 * k), (76 * k, 76 * k)], fill=CROSS + (255,), width=int(7 * k))


def icon_pause(d, k):
    c = ICON + (255,)
    d.rounded_rectangle((32 * k, 28 * k, 45 * k, 72 * k), radius=3 * k, fill=c)
    d.rounded_rectangle((55 * k, 28 * k, 68 * k, 72 * k), radius=3 * k, fill=c)


def icon_play(d, k):
    d.polygon([(38 * k, 27 * k), (74 * k, 50 * k), (38 * k, 73 * k)], fill=(140, 255, 150, 255))


def icon_house(d, k):
    c = ICON + (255,)
    d.polygon([(50 * k, 22 * k), (80 * k, 50 * k), (72 * k, 50 * k), (72 * k, 76 * k),
               (28 * k, 76 * k), (28 * k, 50 * k), (20 * k, 50 * k)], fill=c)
    d.rectangle((44 * k, 56 * k, 56 * k, 76 * k), fill=(34, 40, 76, 255))
    d.rectangle((62 * k, 26 * k, 69 * k, 40 * k), fill=c)


def icon_power(d, k):
    c = (255, 120, 108, 255)
    d.arc((27 * k, 29 * k, 73 * k, 75 * k), -55, 235, fill=c, width=int(7 * k))
    d.rounded_rectangle((46.5 * k, 20 * k, 53.5 * k, 52 * k), radius=3 * k, fill=c)


def game_button(icons):
    img = pill((100, 100), (64, 74, 124), (24, 28, 58), (128, 146, 210), inset=3, radius=24, gloss=45)

    def paint(d, k, _im):
        for ic in icons:
            ic(d, k)
    ic = ss_layer(100, 100, paint)
    shadow = blurred(colour_layer((100, 100), (0, 0, 0), ic.getchannel("A"), 0.8), 2)
    img.alpha_composite(shadow, (0, 0))
    img.alpha_composite(ic)
    return img


def make_game_buttons():
    def muted(fn):
        def draw_muted(d, k):
            m = layer(100 * k, 100 * k)
            fn(ImageDraw.Draw(m), k)
            d.bitmap((0, 0), m.getchannel("A"), fill=(140, 146, 168, 255))
        return draw_muted

    save_png(game_button([icon_note]), "button_music_on.png")
    save_png(game_button([muted(icon_note), icon_cross]), "button_music_off.png")
    save_png(game_button([icon_speaker]), "button_sound_on.png")
    save_png(game_button([muted(lambda d, k: icon_speaker(d, k)), icon_cross]), "button_sound_off.png")
    save_png(game_button([icon_pause]), "button_pause.png")
    save_png(game_button([icon_play]), "button_resume.png")
    save_png(game_button([icon_house]), "button_main_menu.png")
    save_png(game_button([icon_power]), "button_quit.png")


def make_cursor():
    """32 x 32 arrow pointer whose tip is the top-left pixel (the hotspot)."""
    def paint(d, k, _im):
        pts = [(0, 0), (0, 26), (6.5, 20), (11, 30.5), (15.5, 28.5), (11, 19), (19.5, 19)]
        d.polygon([(x * k, y * k) for x, y in pts], fill=(20, 16, 40, 255))
        inner = [(1.6, 3.6), (1.6, 22), (7, 17), (11.8, 28), (13.4, 27.2), (8.6, 17.2), (15.8, 17.2)]
        d.polygon([(x * k, y * k) for x, y in inner], fill=(255, 246, 214, 255))
        d.polygon([(x * k, y * k) for x, y in [(1.6, 3.6), (1.6, 12), (7, 10.5)]], fill=(255, 255, 255, 255))
    img = ss_layer(32, 32, paint)
    # The hotspot pixel must be solid so the tip is where the click lands.
    img.putpixel((0, 0), (20, 16, 40, 255))
    save_png(img, "cursor.png")


# ---------------------------------------------------------------------------
# Full-screen pages
# ---------------------------------------------------------------------------

def backdrop(stops, glows, seed, stars=60, star_box=None, star_alpha=(40, 140)):
    """Dark gradient with soft coloured glows and a sprinkle of faint glints.

    glows = [(cx, cy, rx, ry, colour, strength)]; returns an RGBA picture."""
    arr = vertical_gradient(W, H, stops)
    for cx, cy, rx, ry, col, s in glows:
        add_glow(arr, radial(W, H, cx, cy, rx, ry), col, s)
    # Vignette keeps the eye in the middle.
    vig = radial(W, H, W / 2, H / 2, W * 0.85, H * 0.95)
    arr *= (0.55 + 0.45 * np.sqrt(vig))[:, :, None]
    img = to_image(arr).convert("RGBA")
    if stars:
        rng = np.random.default_rng(seed)
        pts = []
        x0, y0, x1, y1 = star_box or (0, 0, W, H)
        for _ in range(stars):
            pts.append((float(rng.uniform(x0, x1)), float(rng.uniform(y0, y1)),
                        float(rng.uniform(3, 9)), int(rng.uniform(*star_alpha))))
        img.alpha_composite(sparkle_layer((W, H), pts))
    return img


def panel(img, box, radius=18, fill=(10, 12, 34, 170), border=(120, 130, 190, 150), width=2, shadow=True):
    x0, y0, x1, y1 = box
    w, h = x1 - x0, y1 - y0
    if shadow:
        sh = layer(W, H)
        ImageDraw.Draw(sh).rounded_rectangle((x0 + 4, y0 + 8, x1 + 4, y1 + 8), radius=radius, fill=(0, 0, 0, 110))
        img.alpha_composite(blurred(sh, 10))

    def paint(d, k, _im):
        d.rounded_rectangle((0, 0, (w - 1) * k, (h - 1) * k), radius=radius * k, fill=fill,
                            outline=border, width=int(width * k))
    paste(img, ss_layer(w, h, paint), (x0, y0))


def place_gem(img, code, cx, cy, px, glow=None, label=False):
    """Draw a big version of a gem centred on (cx, cy), with an optional halo."""
    g = make_gem(code, px, label)
    if glow:
        col, alpha = glow
        halo = blurred(colour_layer(g.size, col, g.getchannel("A"), alpha), px * 0.12)
        pad = int(px * 0.4)
        h2 = layer(px + 2 * pad, px + 2 * pad)
        h2.alpha_composite(halo, (pad, pad))
        h2 = blurred(h2, px * 0.1)
        paste(img, h2, (cx - px / 2 - pad, cy - px / 2 - pad))
    paste(img, g, (cx - px / 2, cy - px / 2))


GEM_GLOW = {1: (255, 60, 80), 2: (255, 150, 40), 3: (255, 220, 60), 4: (60, 220, 110),
            5: (70, 130, 255), 6: (180, 90, 255), 7: (255, 120, 200), 8: (40, 230, 210),
            9: (190, 240, 255), 10: (120, 120, 120)}


def hint(img, cx, cy, text, size=34, col=(230, 236, 255)):
    f = font(size, "Sans-Bold")
    fancy_text(img, (cx, cy), text, f, fill=col, anchor="mm", outline=2, outline_col=(10, 10, 30),
               shadow=(0, 3, 3, 0.6))


def title_text(img, cx, cy, text, size, grad=((255, 250, 210), (255, 170, 40)), glow_col=(255, 150, 60),
               style="Serif-Bold"):
    f = font(size, style)
    fancy_text(img, (cx, cy), text, f, grad=grad, anchor="mm", outline=max(2, size // 40),
               outline_col=(60, 26, 6), shadow=(0, size // 22, size // 30, 0.7),
               glow=(size // 8, glow_col, 0.55))


# -- Playing screen --------------------------------------------------------

BOARD_X0, BOARD_Y0, CELL = 270, 113, 60
LANE_PITCH = 120
THREAD_Y0 = 595
TRASH_X = 1777
PATTERN_X = 60


def make_background():
    img = backdrop([(0.0, (16, 14, 40)), (0.5, (10, 12, 32)), (1.0, (6, 10, 24))],
                   [(960, 360, 1100, 420, (40, 30, 90), 0.35), (960, 900, 1000, 300, (20, 40, 80), 0.25)],
                   seed=11, stars=0)
    label_f = font(22, "Sans-Bold")
    label_col = (170, 180, 230)

    # HUD: a recessed window behind each number, the label to its left.
    def hud_box(x0, x1):
        panel(img, (x0 - 8, 42, x1 + 8, 98), radius=12, fill=(4, 6, 18, 220), border=(90, 100, 160, 200),
              shadow=False)

    hud = [("TIME", 50, 174), ("LEVEL", 328, 377), ("SCORE", 497, 646), ("BEST", 758, 907),
           ("PATTERNS", 1072, 1171)]
    for name, x0, x1 in hud:
        hud_box(x0, x1)
        if name == "TIME":
            fancy_text(img, (x0 - 6, 31), name, font(17, "Sans-Bold"), fill=label_col, anchor="ls")
        else:
            fancy_text(img, (x0 - 18, 71), name, label_f, fill=label_col, anchor="rm",
                       shadow=(0, 2, 1, 0.6))

    # Lanes of the board, and their faint continuation where the thread hangs.
    lanes = layer(W, H)
    ld = ImageDraw.Draw(lanes)
    for c in range(12):
        x = BOARD_X0 + LANE_PITCH * c
        ld.rounded_rectangle((x - 5, BOARD_Y0 - 5, x + CELL + 4, BOARD_Y0 + 8 * CELL + 4), radius=10,
                             fill=(0, 0, 8, 150), outline=(84, 96, 160, 170), width=2)
        for r in range(1, 8):
            y = BOARD_Y0 + CELL * r
            ld.line((x + 6, y, x + CELL - 7, y), fill=(70, 80, 130, 60), width=1)
        ld.rounded_rectangle((x - 5, THREAD_Y0 + 6, x + CELL + 4, H - 4), radius=10,
                             fill=(255, 255, 255, 7), outline=(84, 96, 160, 45), width=1)
    # Trash tube well and its lane below.
    ld.rounded_rectangle((TRASH_X - 9, BOARD_Y0 - 7, TRASH_X + CELL + 8, BOARD_Y0 + 8 * CELL + 6), radius=12,
                         fill=(0, 0, 6, 170), outline=(84, 96, 160, 130), width=2)
    ld.rounded_rectangle((TRASH_X - 5, THREAD_Y0 + 6, TRASH_X + CELL + 4, H - 4), radius=10,
                         fill=(255, 255, 255, 7), outline=(84, 96, 160, 45), width=1)
    img.alpha_composite(lanes)

    # Danger: the top row is tinted red with a dashed line below it.
    danger = layer(W, H)
    dd = ImageDraw.Draw(danger)
    for c in range(12):
        x = BOARD_X0 + LANE_PITCH * c
        dd.rectangle((x - 3, BOARD_Y0 - 3, x + CELL + 2, BOARD_Y0 + CELL), fill=(200, 30, 50, 46))
    y = BOARD_Y0 + CELL
    x = BOARD_X0 - 16
    while x < BOARD_X0 + LANE_PITCH * 11 + CELL + 16:
        dd.line((x, y, min(x + 14, BOARD_X0 + LANE_PITCH * 11 + CELL + 16), y), fill=(255, 70, 80, 200), width=2)
        x += 24
    img.alpha_composite(blurred(danger, 0.6))

    def warning(d, k, _im):
        pts = [(25, 2), (48, 42), (2, 42)]
        d.polygon([(x * k, y * k) for x, y in pts], fill=(255, 84, 70, 235))
        d.polygon([(x * k, y * k) for x, y in [(25, 9), (42, 38.5), (8, 38.5)]], fill=(40, 6, 10, 255))
        d.rounded_rectangle((22.5 * k, 16 * k, 27.5 * k, 30 * k), radius=2 * k, fill=(255, 220, 200, 255))
        d.ellipse((22.5 * k, 32 * k, 27.5 * k, 37 * k), fill=(255, 220, 200, 255))
    paste(img, ss_layer(50, 45, warning), (BOARD_X0 - 78, BOARD_Y0 + 6))

    # The rail the thread hangs from.
    rail = layer(W, H)
    rd = ImageDraw.Draw(rail)
    rd.rounded_rectangle((BOARD_X0 - 14, THREAD_Y0 - 3, TRASH_X + CELL + 10, THREAD_Y0 + 3), radius=3,
                         fill=(150, 130, 90, 200))
    rd.line((BOARD_X0 - 12, THREAD_Y0 - 2, TRASH_X + CELL + 8, THREAD_Y0 - 2), fill=(240, 220, 170, 160), width=1)
    img.alpha_composite(rail)

    # Slot numbers beside the pattern and the thread, so the two are easy to compare.
    num_f = font(18, "Sans-Bold")
    for i in range(8):
        fancy_text(img, (PATTERN_X - 26, BOARD_Y0 + CELL * i + 30), str(i + 1), num_f, fill=(150, 160, 210),
                   anchor="mm")
        fancy_text(img, (BOARD_X0 - 26, THREAD_Y0 + CELL * i + 30), str(i + 1), num_f, fill=(110, 120, 170),
                   anchor="mm")

    # The target pattern's frame.
    px0, py0 = PATTERN_X - 10, BOARD_Y0 - 10
    pat = layer(W, H)

    def frame(d, k, _im):
        w, h = 80, 8 * CELL + 20
        d.rounded_rectangle((0, 0, (w - 1) * k, (h - 1) * k), radius=12 * k, fill=(30, 20, 6, 200),
                            outline=(226, 180, 90, 255), width=int(3 * k))
        d.rounded_rectangle((6 * k, 6 * k, (w - 7) * k, (h - 7) * k), radius=8 * k,
                            outline=(120, 90, 40, 200), width=int(1 * k))
        for i in range(1, 8):
            y = (10 + CELL * i) * k
            d.line((10 * k, y, (w - 11) * k, y), fill=(120, 90, 40, 120), width=int(1 * k))
    glowf = layer(W, H)
    ImageDraw.Draw(glowf).rounded_rectangle((px0 - 2, py0 - 2, px0 + 82, py0 + 8 * CELL + 22), radius=14,
                                            outline=(255, 190, 80, 120), width=6)
    img.alpha_composite(blurred(glowf, 8))
    paste(pat, ss_layer(80, 8 * CELL + 20, frame), (px0, py0))
    img.alpha_composite(pat)
    fancy_text(img, (PATTERN_X + 30, py0 + 8 * CELL + 40), "PATTERN", font(20, "Sans-Bold"),
               fill=(240, 200, 120), anchor="mm", shadow=(0, 2, 1, 0.6))
    fancy_text(img, (PATTERN_X + 30, py0 + 8 * CELL + 66), "match it", font(16, "Sans"),
               fill=(170, 150, 110), anchor="mm")
    # Trash label, standing upright beside the tube.
    tl = layer(260, 40)
    fancy_text(tl, (130, 20), "TRASH", font(22, "Sans-Bold"), fill=(170, 180, 230), anchor="mm",
               shadow=(0, 2, 1, 0.6))
    tl = tl.rotate(90, expand=True)
    paste(img, tl, (TRASH_X - 52, BOARD_Y0 + 4 * CELL - 130))
    save_png(img.convert("RGB"), "background.png")


def make_trash_tube():
    w, h = 68, 480

    def paint(d, k, _im):
        # Translucent glass body.
        d.rounded_rectangle((1 * k, 4 * k, 66 * k, (h - 2) * k), radius=14 * k, fill=(170, 215, 255, 52))
        # Highlights down the glass.
        d.rounded_rectangle((6 * k, 16 * k, 13 * k, (h - 24) * k), radius=3 * k, fill=(255, 255, 255, 84))
        d.rounded_rectangle((15 * k, 22 * k, 17 * k, (h - 40) * k), radius=1 * k, fill=(255, 255, 255, 60))
        d.rounded_rectangle((56 * k, 20 * k, 59 * k, (h - 30) * k), radius=1.5 * k, fill=(255, 255, 255, 58))
        # Outline.
        d.rounded_rectangle((1 * k, 4 * k, 66 * k, (h - 2) * k), radius=14 * k, outline=(205, 235, 255, 210),
                            width=int(2.5 * k))
        # Metal collar at the mouth and foot.
        for y0, y1 in ((0, 9), (h - 10, h)):
            d.rounded_rectangle((0, y0 * k, 67 * k, y1 * k), radius=3 * k, fill=(150, 160, 185, 235),
                                outline=(70, 78, 100, 255), width=int(1 * k))
            d.line((3 * k, (y0 + 2.5) * k, 64 * k, (y0 + 2.5) * k), fill=(235, 240, 255, 200), width=int(1.2 * k))
    img = ss_layer(w, h, paint)
    save_png(img, "TrashTube.png")


# -- Title, menu and sub-pages ----------------------------------------------

def swag(img, x0, x1, y_end, y_low, beads):
    """A golden thread hanging between two points with big gems strung on it.

    beads = [(code, size)] spread evenly along the thread."""
    def y_at(x):
        t = (x - (x0 + x1) / 2) / ((x1 - x0) / 2)
        return y_low + (y_end - y_low) * t * t

    def paint(d, k, _im):
        pts = [(x * k, y_at(x) * k) for x in range(int(x0), int(x1) + 1, 8)]
        d.line(pts, fill=(120, 90, 40, 255), width=int(6 * k), joint="curve")
        d.line(pts, fill=(240, 210, 140, 255), width=int(3 * k), joint="curve")
        d.line([(x, y - 1.2 * k) for x, y in pts], fill=(255, 245, 210, 200), width=int(1 * k), joint="curve")
    sh = layer(W, H)
    ImageDraw.Draw(sh).line([(x, y_at(x) + 10) for x in range(int(x0), int(x1) + 1, 8)], fill=(0, 0, 0, 120),
                            width=8, joint="curve")
    img.alpha_composite(blurred(sh, 6))
    img.alpha_composite(ss_layer(W, H, paint, ss=2))
    n = len(beads)
    for i, (code, size) in enumerate(beads):
        x = x0 + (x1 - x0) * (i + 1) / (n + 1)
        place_gem(img, code, x, y_at(x), size, glow=(GEM_GLOW[code], 0.7))


def keycap(img, x, y, label, h=46, size=24, min_w=46):
    """A keyboard key drawn inline with text; returns its width."""
    f = font(size, "Sans-Bold")
    l, t, r, b = f.getbbox(label)
    w = max(min_w, r - l + 26)

    def paint(d, k, _im):
        d.rounded_rectangle((0, 0, (w - 1) * k, (h - 1) * k), radius=9 * k, fill=(40, 42, 66, 255),
                            outline=(190, 196, 230, 255), width=int(2 * k))
        d.rounded_rectangle((4 * k, 3 * k, (w - 5) * k, (h - 9) * k), radius=7 * k, fill=(74, 78, 112, 255))
    paste(img, ss_layer(w, h, paint), (x, y))
    fancy_text(img, (x + w / 2, y + (h - 6) / 2), label, f, fill=(245, 246, 255), anchor="mm")
    return w


def title_backdrop(seed, tint=(120, 50, 170)):
    return backdrop([(0.0, (30, 12, 58)), (0.55, (14, 10, 40)), (1.0, (5, 6, 20))],
                    [(960, 520, 900, 480, tint, 0.45), (960, 120, 1100, 300, (20, 80, 130), 0.30)],
                    seed=seed, stars=90)


def make_start_page():
    img = title_backdrop(21)
    swag(img, 90, 1830, 40, 330, [(8, 104), (7, 112), (6, 120), (5, 132), (9, 176), (1, 132), (2, 120),
                                  (3, 112), (4, 104)])
    title_text(img, 960, 560, "Glimmora", 250)
    fancy_text(img, (960, 730), "String the gems  \u2022  Match the pattern", font(42, "Sans"),
               fill=(214, 212, 250), anchor="mm", shadow=(0, 3, 3, 0.6))
    # "Press Space" with the key drawn as a key.
    f = font(44, "Sans-Bold")
    pre, post = "Press ", " to start"
    wpre = f.getlength(pre)
    wpost = f.getlength(post)
    kw = 220
    total = wpre + kw + 16 + wpost
    x = 960 - total / 2
    y = 930
    fancy_text(img, (x, y), pre, f, fill=(255, 236, 190), anchor="lm", outline=2, outline_col=(20, 10, 30))
    keycap(img, int(x + wpre + 4), y - 32, "SPACE", h=62, size=30, min_w=kw)
    fancy_text(img, (x + wpre + kw + 16, y), post, f, fill=(255, 236, 190), anchor="lm", outline=2,
               outline_col=(20, 10, 30))
    fancy_text(img, (960, 1000), "or click anywhere", font(26, "Sans"), fill=(160, 160, 200), anchor="mm")
    save_png(img.convert("RGB"), "start_page.png")


def make_menu_page():
    img = title_backdrop(31, tint=(70, 50, 160))
    title_text(img, 960, 200, "Glimmora", 180)
    fancy_text(img, (960, 330), "a puzzle of gems and threads", font(34, "Sans"), fill=(196, 194, 240),
               anchor="mm", shadow=(0, 3, 3, 0.6))
    # A calm glass panel for the buttons (drawn over it by the game).
    panel(img, (690, 420, 1230, 1052), radius=34, fill=(12, 12, 40, 150), border=(150, 140, 220, 120))
    # Gems resting in short lanes on either side, like the board.
    stacks = {170: [2, 1, 3, 5], 290: [4, 8, 6, 3, 1, 9], 410: [7, 2, 5],
              1450: [3, 6, 9], 1570: [1, 8, 6, 7, 4], 1690: [2, 5, 4, 3]}
    for x, codes in stacks.items():
        lane = layer(W, H)
        ImageDraw.Draw(lane).rounded_rectangle((x - 8, 560, x + 88, 1040), radius=14,
                                               fill=(0, 0, 10, 110), outline=(110, 110, 190, 90), width=2)
        img.alpha_composite(lane)
        for r, code in enumerate(codes):
            place_gem(img, code, x + 40, 1040 - 46 - 80 * r, 76, glow=(GEM_GLOW[code], 0.35))
    save_png(img.convert("RGB"), "menu_page.png")


def wrap(text, fnt, max_w):
    words, lines, cur = text.split(), [], ""
    for wd in words:
        trial = (cur + " " + wd).strip()
        if fnt.getlength(trial) <= max_w:
            cur = trial
        else:
            lines.append(cur)
            cur = wd
    if cur:
        lines.append(cur)
    return lines


def paragraph(img, x, y, text, fnt, max_w, fill=(226, 228, 246), line_h=None):
    line_h = line_h or int(fnt.size * 1.32)
    for line in wrap(text, fnt, max_w):
        fancy_text(img, (x, y), line, fnt, fill=fill, anchor="la")
        y += line_h
    return y


def heading(img, x, y, text, size=34, col=(255, 212, 120)):
    fancy_text(img, (x, y), text, font(size, "Sans-Bold"), fill=col, anchor="la", shadow=(0, 2, 2, 0.6))


def make_instructions():
    img = title_backdrop(41, tint=(60, 40, 130))
    title_text(img, 960, 78, "How to Play", 92)
    body = font(27, "Sans")
    bold = font(27, "Sans-Bold")
    panel(img, (60, 150, 940, 1000), radius=26)
    panel(img, (980, 150, 1860, 1000), radius=26)

    # Left: the goal.
    x, y, mw = 100, 180, 800
    heading(img, x, y, "The goal")
    y += 56
    bullets = [
        "Gems fall one by one into the twelve columns. A gem that comes to rest in the top row ends the game.",
        "Your thread of eight beads hangs below the board from the selector. Each pulled gem goes to the "
        "top of the thread and pushes the others down. Make the thread equal the eight-gem PATTERN at "
        "the left: thread slot 1 at the top must equal pattern slot 1 at the top, and so on down.",
        "A thread that matches the pattern scores the values of its beads; then a new pattern arrives.",
        "Eight diamonds on the thread score 800 points.",
        "60 levels of 60 seconds each: the gems fall faster every level, and a new kind joins every ten levels.",
    ]
    for b in bullets:
        place_gem(img, 9, x + 10, y + 17, 22)
        y = paragraph(img, x + 34, y, b, body, mw - 34) + 8
    heading(img, x, y, "Bead values", 30)
    y += 50
    for i, code in enumerate(range(1, 9)):
        gx = x + 12 + i * 100
        place_gem(img, code, gx + 30, y + 32, 60, label=True)
        fancy_text(img, (gx + 30, y + 78), str(100 - 10 * code), bold, fill=(255, 236, 190), anchor="mt")
    y += 124
    place_gem(img, 9, x + 42, y + 30, 60)
    fancy_text(img, (x + 84, y + 30), "x 8 = 800", bold, fill=(200, 240, 255), anchor="lm")
    place_gem(img, 10, x + 452, y + 30, 60)
    fancy_text(img, (x + 494, y + 30), "trash: worth 0", bold, fill=(190, 186, 176), anchor="lm")

    # Right: the keys.
    x, y = 1020, 180
    heading(img, x, y, "Keys")
    y += 60
    rows = [
        (["\u2190", "\u2192"], "move the selector along the 12 columns and the trash tube"),
        (["\u2193"], "pull the bottom gem of the column onto the thread"),
        (["\u2191"], "push the top bead back into the column; at the trash tube, throw a full "
                     "thread away (+40)"),
        (["SPACE"], "drop the falling gem"),
        (["M"], "music on / off"),
        (["S"], "sound effects on / off"),
        (["P"], "pause / resume"),
        (["B"], "back to the menu"),
        (["ESC"], "quit the game"),
    ]
    for keys, text in rows:
        kx = x
        for kname in keys:
            kx += keycap(img, kx, y - 4, kname, h=46, size=24 if len(kname) > 1 else 26) + 8
        lines = wrap(text, body, 1820 - (x + 160))
        ty = y + 4
        for line in lines:
            fancy_text(img, (x + 160, ty), line, body, fill=(226, 228, 246), anchor="la")
            ty += 36
        y = max(y + 62, ty + 18)
    fancy_text(img, (x, y + 6), "M, S, P, B and Esc also have buttons at the top right.", font(24, "Sans-Oblique"),
               fill=(170, 172, 210), anchor="la")
    hint(img, 960, 1042, "Click or press Space to return", size=32)
    save_png(img.convert("RGB"), "instructions.png")


def make_about():
    img = title_backdrop(51, tint=(90, 40, 150))
    title_text(img, 960, 150, "About", 120)
    panel(img, (480, 270, 1440, 930), radius=34)
    swag(img, 560, 1360, 330, 420, [(5, 70), (3, 76), (1, 84), (9, 110), (2, 84), (4, 76), (6, 70)])
    fancy_text(img, (960, 560), "Glimmora Game", font(64, "Serif-Bold"), grad=((255, 246, 210), (255, 180, 60)),
               anchor="mm", outline=2, outline_col=(60, 26, 6), shadow=(0, 3, 3, 0.6))
    lines = [
        ("An original arcade puzzle game", 34, "Sans", (226, 228, 246)),
        ("Version 1.0", 34, "Sans-Bold", (255, 226, 160)),
        ("Credits: Glimmora Game team", 34, "Sans", (226, 228, 246)),
        ("Pictures, sounds and music are made by the game's own generator.", 24, "Sans-Oblique", (170, 172, 210)),
    ]
    y = 650
    for text, size, style, col in lines:
        fancy_text(img, (960, y), text, font(size, style), fill=col, anchor="mm", shadow=(0, 2, 2, 0.6))
        y += 66 if size > 30 else 60
    hint(img, 960, 1010, "Click or press Space to return", size=32)
    save_png(img.convert("RGB"), "about.png")


# -- End screen ------------------------------------------------------------

PANEL_BOX = (695, 571, 695 + 530, 571 + 320)


def falling_gems(img, items):
    """Gems tumbling at an angle: items = [(code, cx, cy, size, angle)]."""
    for code, cx, cy, size, ang in items:
        g = make_gem(code, size, label=False).rotate(ang, resample=Image.BICUBIC, expand=True)
        pad = size // 2
        halo = layer(g.size[0] + 2 * pad, g.size[1] + 2 * pad)
        halo.alpha_composite(colour_layer(g.size, GEM_GLOW[code], g.getchannel("A"), 0.5), (pad, pad))
        halo = blurred(halo, size * 0.15)
        paste(img, halo, (cx - g.size[0] / 2 - pad, cy - g.size[1] / 2 - pad))
        paste(img, g, (cx - g.size[0] / 2, cy - g.size[1] / 2))


def continue_hint(img):
    hint(img, 960, 1010, "Press Space or click to continue", size=34)


def make_game_over():
    img = backdrop([(0.0, (36, 8, 24)), (0.5, (18, 8, 26)), (1.0, (6, 4, 14))],
                   [(960, 300, 900, 320, (150, 30, 50), 0.45), (960, 731, 420, 260, (60, 40, 110), 0.35)],
                   seed=61, stars=50, star_alpha=(30, 100))
    title_text(img, 960, 290, "Game Over", 200, grad=((255, 236, 236), (236, 70, 84)), glow_col=(220, 40, 60))
    fancy_text(img, (960, 450), "The best score still stands. Try again!", font(40, "Sans"),
               fill=(230, 206, 220), anchor="mm", shadow=(0, 3, 3, 0.6))
    # A snapped thread with its beads tumbling away on both sides.
    def paint(d, k, _im):
        for (ax, ay), (bx, by), (ex, ey) in (((0, 520), (260, 560), (400, 700)),
                                             ((1920, 520), (1660, 560), (1520, 700))):
            pts = []
            for i in range(41):
                t = i / 40
                pts.append((((1 - t) ** 2 * ax + 2 * t * (1 - t) * bx + t * t * ex) * k,
                            ((1 - t) ** 2 * ay + 2 * t * (1 - t) * by + t * t * ey) * k))
            d.line(pts, fill=(200, 170, 110, 220), width=int(3 * k), joint="curve")
    img.alpha_composite(ss_layer(W, H, paint, ss=2))
    falling_gems(img, [(1, 420, 760, 96, 18), (3, 300, 880, 84, -24), (5, 470, 960, 72, 40),
                       (10, 200, 700, 80, 10), (2, 1500, 770, 96, -16), (4, 1630, 890, 84, 22),
                       (7, 1440, 960, 72, -35), (6, 1720, 700, 80, 12)])
    continue_hint(img)
    save_png(img.convert("RGB"), "game_over.png")


def make_congratulations():
    img = backdrop([(0.0, (40, 22, 10)), (0.45, (20, 14, 34)), (1.0, (6, 6, 20))],
                   [(960, 260, 1000, 360, (200, 130, 30), 0.5), (960, 731, 420, 260, (40, 90, 140), 0.35)],
                   seed=71, stars=120, star_alpha=(60, 200))
    # Confetti, kept off the result panel and the titles.
    rng = np.random.default_rng(72)
    conf = layer(2 * W, 2 * H)
    colours = [(255, 80, 90), (255, 170, 40), (255, 230, 80), (60, 220, 120), (80, 150, 255),
               (190, 100, 255), (255, 120, 200), (60, 230, 220)]
    count = 0
    while count < 170:
        x, y = float(rng.uniform(20, W - 20)), float(rng.uniform(20, H - 100))
        if 560 < x < 1360 and 520 < y < 950:
            continue
        if 140 < y < 480 and 300 < x < 1620:
            continue
        if 560 < y < 840 and (80 < x < 600 or 1320 < x < 1840):
            continue
        w, h = float(rng.uniform(8, 16)), float(rng.uniform(4, 8))
        ang = float(rng.uniform(0, math.pi))
        c, s_ = math.cos(ang), math.sin(ang)
        pts = [(x + c * dx - s_ * dy, y + s_ * dx + c * dy) for dx, dy in
               ((-w, -h), (w, -h), (w, h), (-w, h))]
        col = colours[int(rng.integers(0, len(colours)))]
        ImageDraw.Draw(conf).polygon([(px_ * 2, py_ * 2) for px_, py_ in pts], fill=col + (220,))
        count += 1
    img.alpha_composite(conf.resize((W, H), Image.LANCZOS))
    title_text(img, 960, 230, "Congratulations", 150)
    title_text(img, 960, 400, "New Best Score!", 96, grad=((240, 255, 255), (110, 210, 255)),
               glow_col=(80, 180, 255), style="Sans-Bold")
    swag(img, 120, 560, 620, 760, [(1, 70), (9, 96), (2, 70)])
    swag(img, 1360, 1800, 620, 760, [(3, 70), (9, 96), (4, 70)])
    continue_hint(img)
    save_png(img.convert("RGB"), "congratulations.png")


def make_result_panels():
    w, h = PANEL_BOX[2] - PANEL_BOX[0], PANEL_BOX[3] - PANEL_BOX[1]
    variants = {
        "GO1.png": (True, True, "NEW BEST SCORE!", "All 60 levels played!"),
        "GO2.png": (False, True, "ALL 60 LEVELS PLAYED", "What a marathon. Well played!"),
        "GO3.png": (True, False, "NEW BEST SCORE!", "The gems reached the top row"),
        "GO4.png": (False, False, "THE BOARD IS FULL", "A gem came to rest in the top row"),
    }
    for name, (best, all_levels, title, sub) in variants.items():
        img = layer(w, h)

        def paint(d, k, _im):
            d.rounded_rectangle((2 * k, 2 * k, (w - 3) * k, (h - 3) * k), radius=26 * k,
                                fill=(255, 255, 255, 255))
        body_mask = ss_layer(w, h, paint).getchannel("A")
        top, bot = ((60, 40, 90), (22, 16, 44)) if best else ((36, 38, 80), (14, 14, 38))
        body = gradient_fill((w, h), top, bot, 0, h)
        body.putalpha(body_mask)
        img.alpha_composite(body)
        border = (255, 206, 100) if best else (150, 160, 220)

        def frame(d, k, _im):
            d.rounded_rectangle((2 * k, 2 * k, (w - 3) * k, (h - 3) * k), radius=26 * k,
                                outline=border + (255,), width=int(4 * k))
            d.rounded_rectangle((10 * k, 10 * k, (w - 11) * k, (h - 11) * k), radius=19 * k,
                                outline=border + (90,), width=int(1.2 * k))
            # Recessed area for the numbers.
            d.rounded_rectangle((12 * k, 196 * k, (w - 13) * k, 300 * k), radius=14 * k,
                                fill=(4, 4, 16, 170), outline=(255, 255, 255, 40), width=int(1 * k))
        img.alpha_composite(ss_layer(w, h, frame))

        tcol = ((255, 246, 200), (255, 176, 50)) if best else ((236, 240, 255), (150, 170, 235))
        f = fit_font(title, w - 60, 44)
        fancy_text(img, (w / 2, 62), title, f, grad=tcol, anchor="mm", outline=2, outline_col=(30, 16, 10),
                   shadow=(0, 3, 2, 0.6))
        fancy_text(img, (w / 2, 114), sub, fit_font(sub, w - 60, 26, "Sans"), fill=(214, 216, 240), anchor="mm")
        # A short string of beads as an ornament.
        codes = [1, 2, 3, 9, 4, 5, 6] if best else [5, 3, 1, 2, 4, 6, 7]
        sl = layer(w, h)
        ImageDraw.Draw(sl).line((70, 160, w - 70, 160), fill=(220, 190, 120, 200), width=2)
        img.alpha_composite(sl)
        for i, code in enumerate(codes):
            g = make_gem(code, 34, label=False)
            paste(img, g, (w / 2 - 3 * 52 + 52 * i - 17, 160 - 17))

        # Digit wells: the game draws the numbers into these empty boxes.
        wells = layer(w, h)
        wd = ImageDraw.Draw(wells)
        wd.rounded_rectangle((206, 253, 314, 287), radius=7, fill=(0, 0, 0, 230), outline=border + (160,), width=1)
        label_f = font(24, "Sans-Bold")
        if all_levels:
            fancy_text(img, (34, 236), "Levels completed: all 60", font(22, "Sans-Bold"), fill=(200, 206, 240),
                       anchor="lm")
        else:
            wd.rounded_rectangle((99, 219, 141, 253), radius=7, fill=(0, 0, 0, 230), outline=border + (160,),
                                 width=1)
            small = font(14, "SansCondensed-Bold")
            fancy_text(img, (93, 229), "LEVELS", small, fill=(200, 206, 240), anchor="rm")
            fancy_text(img, (93, 245), "COMPLETED", small, fill=(200, 206, 240), anchor="rm")
        img.alpha_composite(wells)
        fancy_text(img, (198, 271), "SCORE", label_f, fill=(255, 226, 150) if best else (220, 224, 250),
                   anchor="rm")
        place_gem(img, 9 if best else 5, 430, 249, 76, glow=(GEM_GLOW[9 if best else 5], 0.6))
        save_png(img, name)


# ---------------------------------------------------------------------------
# Sound synthesis
# ---------------------------------------------------------------------------

def secs(n):
    return np.arange(int(round(n * RATE))) / RATE


def osc(freq, dur, harmonics=((1, 1.0),), phase=0.0):
    """Additive oscillator; freq may be a number or an array (a pitch glide)."""
    n = int(round(dur * RATE))
    f = np.full(n, float(freq)) if np.isscalar(freq) else np.asarray(freq, np.float64)[:n]
    ph = 2 * np.pi * np.cumsum(f) / RATE + phase
    out = np.zeros(n)
    for mult, amp in harmonics:
        out += amp * np.sin(ph * mult)
    return out


def env(dur, attack=0.005, decay=8.0, release=0.01, hold=0.0):
    """Attack ramp, optional hold, exponential decay, short release at the end."""
    t = secs(dur)
    e = np.minimum(1.0, t / max(attack, 1e-4))
    e *= np.exp(-np.maximum(0.0, t - attack - hold) * decay)
    if release:
        e *= np.clip((dur - t) / release, 0.0, 1.0)
    return e


def band_noise(dur, lo, hi, rng, soft=0.25):
    """White noise limited to lo..hi Hz by a smooth mask in the frequency domain."""
    n = int(round(dur * RATE))
    spectrum = np.fft.rfft(rng.standard_normal(n))
    f = np.fft.rfftfreq(n, 1.0 / RATE)
    lf = np.log(np.maximum(f, 1.0))
    mask = 1.0 / (1.0 + np.exp(-(lf - math.log(lo)) / soft)) / (1.0 + np.exp((lf - math.log(hi)) / soft))
    out = np.fft.irfft(spectrum * mask, n)
    return out / (np.max(np.abs(out)) + 1e-9)


def mix_at(buf, sig, start, gain=1.0, wrap=False):
    """Add sig into buf from sample `start`; with wrap the tail re-enters at the front."""
    s = int(round(start))
    n = len(sig)
    if wrap:
        idx = (np.arange(n) + s) % len(buf)
        np.add.at(buf, idx, sig * gain)
    else:
        end = min(len(buf), s + n)
        if end > s:
            buf[s:end] += sig[:end - s] * gain
    return buf


def normalise(sig, peak=0.89):
    return sig * (peak / (np.max(np.abs(sig)) + 1e-9))


def fade_out(sig, dur=0.02):
    n = min(len(sig), int(dur * RATE))
    sig[-n:] *= np.linspace(1.0, 0.0, n)
    return sig


def write_wav(path, sig):
    """16-bit WAV, mono for a 1-D signal, stereo for an (n, 2) one."""
    data = np.clip(np.rint(sig * 32767), -32768, 32767).astype("<i2")
    with wave.open(path, "wb") as w:
        w.setnchannels(1 if data.ndim == 1 else 2)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(data.tobytes())


def encode_mp3(sig, name, tmp):
    wav = os.path.join(tmp, name + ".wav")
    write_wav(wav, sig)
    subprocess.run(["lame", "--silent", "-h", "-m", "m", "-b", "96", "--resample", "44.1", wav,
                    os.path.join(OUT, name)], check=True)


def note_freq(semitones_from_a4):
    return 440.0 * 2.0 ** (semitones_from_a4 / 12.0)


def bell(f, dur, decay=5.0, bright=1.0):
    """A glassy chime: a few slightly stretched partials, the high ones dying first."""
    t = secs(dur)
    out = np.zeros_like(t)
    for mult, amp, dk in ((1.0, 1.0, 1.0), (2.01, 0.45 * bright, 1.6), (3.02, 0.22 * bright, 2.4),
                          (4.23, 0.12 * bright, 3.5)):
        out += amp * np.sin(2 * np.pi * f * mult * t) * np.exp(-t * decay * dk)
    return out * np.minimum(1.0, t / 0.003)


def brass(f, dur, attack=0.03, vibrato=0.0, bright=1.0, release=0.08):
    """Bright horn-like tone whose upper harmonics swell in with the attack."""
    t = secs(dur)
    vib = 1.0 + vibrato * np.sin(2 * np.pi * 5.5 * t) * np.clip((t - 0.15) / 0.2, 0, 1)
    ph = 2 * np.pi * np.cumsum(f * vib) / RATE
    swell = np.clip(t / (attack * 3), 0, 1)
    out = np.zeros_like(t)
    for n in range(1, 11):
        amp = (1.0 / n ** 0.95) * (1.0 if n == 1 else swell * bright)
        out += amp * np.sin(n * ph)
    e = np.minimum(1.0, t / attack) * np.clip((dur - t) / release, 0, 1)
    return out * e


def sfx_gem_fall(rng):
    dur = 0.25
    t = secs(dur)
    f = 70 + 130 * np.exp(-t / 0.03)
    thud = osc(f, dur) * env(dur, 0.002, 22.0, 0.02)
    click = band_noise(dur, 1500, 5000, rng) * env(dur, 0.0008, 140.0, 0.0)
    tink = (np.sin(2 * np.pi * 2637 * t) + 0.4 * np.sin(2 * np.pi * 3951 * t)) * env(dur, 0.001, 34.0, 0.02)
    return fade_out(normalise(0.85 * thud + 0.3 * click + 0.2 * tink))


def sfx_pattern_shift(rng):
    dur = 0.8
    out = np.zeros(int(dur * RATE))
    for i, semi in enumerate((15, 19, 22, 27, 31)):   # C6 E6 G6 C7 E7
        mix_at(out, bell(note_freq(semi), dur - 0.06 * i, decay=4.5), 0.06 * i * RATE, 0.8 - 0.08 * i)
    t = secs(dur)
    sweep = osc(500 + 2200 * (t / dur) ** 1.5, dur) * env(dur, 0.05, 5.0, 0.1) * 0.12
    shimmer = band_noise(dur, 6000, 11000, rng) * env(dur, 0.08, 6.0, 0.1) * 0.1
    return fade_out(normalise(out + sweep + shimmer), 0.05)


def sfx_applause(rng):
    dur = 2.5
    out = np.zeros(int(dur * RATE))
    # Fanfare: a quick pick-up to a held major chord.
    for start, semi, length in ((0.0, -2, 0.14), (0.14, 3, 0.14), (0.28, 7, 0.14)):
        mix_at(out, brass(note_freq(semi), length + 0.05, 0.012), start * RATE, 0.5)
    for semi, gain in ((3, 0.42), (7, 0.36), (10, 0.34), (15, 0.30)):
        mix_at(out, brass(note_freq(semi), 1.6, 0.02, vibrato=0.006, release=0.5), 0.44 * RATE, gain)
    crash = band_noise(dur - 0.44, 4000, 12000, rng) * env(dur - 0.44, 0.002, 2.2, 0.2)
    mix_at(out, crash, 0.44 * RATE, 0.16)
    # Cheering hands: many short noise bursts of varied colour.
    claps = [band_noise(0.05, rng.uniform(900, 1500), rng.uniform(2500, 4500), rng) * env(0.05, 0.001, 90, 0.0)
             for _ in range(8)]
    t = 0.35
    while t < dur - 0.1:
        level = min(1.0, (t - 0.35) / 0.4) * min(1.0, (dur - 0.1 - t) / 0.7)
        mix_at(out, claps[int(rng.integers(0, len(claps)))], t * RATE, 0.22 * level * rng.uniform(0.5, 1.0))
        t += rng.exponential(1.0 / 55.0)
    return fade_out(normalise(out), 0.08)


def sfx_defeat(rng):
    dur = 2.0
    out = np.zeros(int(dur * RATE))
    notes = ((0.0, -2, 0.42), (0.42, -3, 0.42), (0.84, -4, 0.42), (1.26, -5, 0.74))   # G4 F#4 F4 E4
    for i, (start, semi, length) in enumerate(notes):
        t = secs(length)
        last = 1.0 if i == 3 else 0.0
        f = note_freq(semi) * (1 - 0.03 * last * t / length)
        vib = 1.0 + 0.012 * last * np.sin(2 * np.pi * 6 * t)
        ph = 2 * np.pi * np.cumsum(f * vib) / RATE
        wah = 0.3 + 0.7 * np.sin(np.pi * np.clip(t / length, 0, 1)) ** 0.8
        tone = np.zeros_like(t)
        for n in range(1, 9):
            tone += (wah ** (n * 0.6)) / n ** 1.3 * np.sin(n * ph)
        tone *= np.minimum(1, t / 0.03) * np.clip((length - t) / 0.08, 0, 1)
        mix_at(out, tone, start * RATE, 0.6)
    return fade_out(normalise(out), 0.1)


def sfx_alert(_rng):
    dur = 0.5
    out = np.zeros(int(dur * RATE))
    # Two-tone warning, rounded so that hearing it every second does not grate.
    tone = ((1, 1.0), (2, 0.25), (3, 0.3), (5, 0.1))
    for start, f in ((0.0, 988.0), (0.24, 784.0)):
        mix_at(out, osc(f, 0.22, tone) * env(0.22, 0.006, 5.0, 0.03), start * RATE)
    return fade_out(normalise(out, 0.8))


def sfx_trash_drop(rng):
    dur = 0.6
    out = np.zeros(int(dur * RATE))
    # Whoosh: noise bands lit one after another from high to low.
    bands = np.geomspace(6000, 300, 10)
    for i, fc in enumerate(bands):
        seg = band_noise(dur, fc / 1.4, fc * 1.4, rng)
        t = secs(dur)
        centre = 0.05 + 0.03 * i
        mix_at(out, seg * np.exp(-((t - centre) / 0.07) ** 2), 0, 0.28)
    # Clatter of the beads landing.
    for i in range(6):
        start = 0.33 + 0.035 * i + rng.uniform(0, 0.02)
        length = dur - start
        t = secs(length)
        ping = np.sin(2 * np.pi * rng.uniform(700, 1900) * t) * np.exp(-t * 45)
        knock = band_noise(length, 800, 3500, rng) * np.exp(-t * 120)
        mix_at(out, ping * 0.5 + knock * 0.5, start * RATE, 0.7 - 0.07 * i)
    return fade_out(normalise(out), 0.04)


def chip(f, dur, decay=6.0):
    """A soft square-ish game tone."""
    return osc(f, dur, ((1, 1.0), (2, 0.15), (3, 0.3), (5, 0.12))) * env(dur, 0.004, decay, 0.03)


def sfx_level_up(_rng):
    dur = 0.8
    out = np.zeros(int(dur * RATE))
    for i, semi in enumerate((3, 7, 10, 15)):   # C5 E5 G5 C6
        start = 0.09 * i
        mix_at(out, chip(note_freq(semi), dur - start, 7.0 if i < 3 else 4.0), start * RATE, 0.6)
        mix_at(out, bell(note_freq(semi + 12), dur - start, 6.0), start * RATE, 0.12)
    return fade_out(normalise(out), 0.05)


def sfx_level11_up(rng):
    dur = 1.5
    out = np.zeros(int(dur * RATE))
    for i, semi in enumerate((3, 7, 10, 15, 19)):
        start = 0.07 * i
        mix_at(out, chip(note_freq(semi), 0.3, 8.0), start * RATE, 0.45)
    chord_t = 0.38
    for semi, g in ((-9, 0.3), (3, 0.32), (7, 0.28), (10, 0.26), (15, 0.24)):
        mix_at(out, brass(note_freq(semi), dur - chord_t, 0.02, vibrato=0.005, release=0.45), chord_t * RATE, g)
    t = secs(0.8)
    boom = np.sin(2 * np.pi * np.cumsum(60 + 50 * np.exp(-t / 0.05)) / RATE) * np.exp(-t * 5)
    mix_at(out, boom, chord_t * RATE, 0.5)
    shimmer = band_noise(dur - chord_t, 5000, 11000, rng) * env(dur - chord_t, 0.01, 2.5, 0.3)
    mix_at(out, shimmer, chord_t * RATE, 0.08)
    for i, semi in enumerate((27, 31, 34, 39)):
        mix_at(out, bell(note_freq(semi), 0.6, 6.0), (chord_t + 0.1 + 0.08 * i) * RATE, 0.1)
    return fade_out(normalise(out), 0.1)


SOUND_EFFECTS = [
    ("gem_fall.mp3", sfx_gem_fall), ("pattern_shift.mp3", sfx_pattern_shift), ("applause.mp3", sfx_applause),
    ("defeat.mp3", sfx_defeat), ("alert.mp3", sfx_alert), ("trash_drop.mp3", sfx_trash_drop),
    ("level_up.mp3", sfx_level_up), ("level11_up.mp3", sfx_level11_up),
]


def make_sounds(tmp):
    for i, (name, fn) in enumerate(SOUND_EFFECTS):
        encode_mp3(fn(np.random.default_rng(100 + i)), name, tmp)


# ---------------------------------------------------------------------------
# Music: a drum-and-marimba groove that loops seamlessly
# ---------------------------------------------------------------------------

BPM = 120
BARS = 16
STEP = 60.0 / BPM / 4            # one sixteenth, seconds
LOOP = BARS * 16 * STEP          # 32 s


def pitch(name):
    """Note name such as 'A4' or 'C5' -> frequency in Hz (equal temperament, A4 = 440)."""
    pc = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}[name[0]]
    midi = 12 * (int(name[1:]) + 1) + pc
    return note_freq(midi - 69)


def marimba(f, dur, decay=5.0, rng=None):
    """Struck bar: fundamental, the bar's fourth-ish overtone and a mallet knock."""
    t = secs(dur)
    out = np.sin(2 * np.pi * f * t) * np.exp(-t * decay)
    out += 0.32 * np.sin(2 * np.pi * f * 3.93 * t) * np.exp(-t * decay * 3.2)
    out += 0.07 * np.sin(2 * np.pi * f * 9.2 * t) * np.exp(-t * decay * 7.0)
    out *= np.minimum(1.0, t / 0.002)
    if rng is not None:
        knock = band_noise(min(dur, 0.03), 300, 2500, rng) * np.exp(-secs(min(dur, 0.03)) * 200)
        out[:len(knock)] += 0.08 * knock
    return out * np.clip((dur - t) / 0.02, 0, 1)


def drum_kit(rng):
    kit = {}
    d = 0.45
    t = secs(d)
    kit["kick"] = (np.sin(2 * np.pi * np.cumsum(45 + 75 * np.exp(-t / 0.035)) / RATE) * np.exp(-t * 9)
                   + 0.15 * band_noise(d, 1000, 4000, rng) * np.exp(-t * 150))
    d = 0.35
    t = secs(d)
    for name, f0, f1 in (("tom_hi", 260, 190), ("tom_lo", 170, 120)):
        kit[name] = (np.sin(2 * np.pi * np.cumsum(f1 + (f0 - f1) * np.exp(-t / 0.05)) / RATE) * np.exp(-t * 11)
                     + 0.12 * band_noise(d, 400, 3000, rng) * np.exp(-t * 60))
    d = 0.18
    t = secs(d)
    kit["slap"] = (0.7 * band_noise(d, 500, 4000, rng) * np.exp(-t * 45)
                   + 0.5 * np.sin(2 * np.pi * 380 * t) * np.exp(-t * 30))
    d = 0.09
    t = secs(d)
    kit["shaker"] = band_noise(d, 5000, 13000, rng) * np.minimum(1, t / 0.012) * np.exp(-t * 45)
    d = 0.12
    t = secs(d)
    kit["clave"] = (np.sin(2 * np.pi * 2100 * t) + 0.4 * np.sin(2 * np.pi * 3300 * t)) * np.exp(-t * 55)
    for k in kit:
        kit[k] = kit[k] / np.max(np.abs(kit[k]))
    return kit


# Melody phrases: (sixteenth within the phrase, length in sixteenths, note).
PHRASE_A = [
    (0, 2, "A4"), (2, 2, "C5"), (4, 2, "D5"), (6, 4, "E5"), (10, 2, "D5"), (12, 4, "C5"),
    (16, 2, "D5"), (18, 2, "E5"), (20, 4, "G5"), (24, 2, "E5"), (26, 2, "D5"), (28, 4, "E5"),
    (32, 3, "A5"), (35, 3, "G5"), (38, 2, "E5"), (40, 2, "D5"), (42, 2, "C5"), (44, 4, "D5"),
]
END_HOME = [(48, 6, "E5"), (54, 2, "C5"), (56, 8, "A4")]
END_OPEN = [(48, 4, "E5"), (52, 4, "G5"), (56, 8, "A5")]
PHRASE_B = [
    (0, 2, "A5"), (3, 1, "A5"), (4, 2, "G5"), (6, 2, "E5"), (8, 4, "G5"), (12, 4, "E5"),
    (16, 2, "D5"), (18, 2, "E5"), (20, 2, "D5"), (22, 2, "C5"), (24, 8, "D5"),
    (32, 2, "C5"), (34, 2, "D5"), (36, 2, "E5"), (38, 2, "G5"), (40, 4, "A5"), (44, 4, "C6"),
    (48, 6, "A5"), (54, 2, "G5"), (56, 8, "E5"),
]
MELODY = ([(0, n) for n in PHRASE_A + END_HOME] + [(64, n) for n in PHRASE_A + END_OPEN]
          + [(128, n) for n in PHRASE_B] + [(192, n) for n in PHRASE_A + END_HOME])
BASS_ROOTS = ["A2", "C3", "G2", "A2", "A2", "C3", "G2", "E2", "D3", "A2", "C3", "E2", "A2", "C3", "G2", "A2"]
FIFTH = {"A2": "E3", "C3": "G3", "G2": "D3", "E2": "A2", "D3": "A3"}
OCTAVE = {"A2": "A3", "C3": "C4", "G2": "G3", "E2": "E3", "D3": "D4"}


def pan(sig, position):
    """Constant-power pan: position -1 (left) .. 1 (right)."""
    a = (position + 1) * math.pi / 4
    return np.stack([sig * math.cos(a), sig * math.sin(a)], axis=1)


def compose_music():
    rng = np.random.default_rng(2024)
    n = int(round(LOOP * RATE))
    at = lambda step: step * STEP * RATE   # noqa: E731  (sample index of a sixteenth)
    drums_l, drums_r = np.zeros(n), np.zeros(n)
    melody, bass, comp = np.zeros(n), np.zeros(n), np.zeros(n)
    kit = drum_kit(rng)

    for bar in range(BARS):
        b0 = bar * 16
        fill = bar % 4 == 3
        for s in (0, 7, 10) + ((14,) if bar % 2 else ()):
            mix_at(drums_l, kit["kick"], at(b0 + s), 0.9, wrap=True)
            mix_at(drums_r, kit["kick"], at(b0 + s), 0.9, wrap=True)
        toms = ((4, "tom_hi"), (12, "tom_lo")) if not fill else (
            (4, "tom_hi"), (12, "tom_hi"), (13, "tom_hi"), (14, "tom_lo"), (15, "tom_lo"))
        for s, name in toms:
            mix_at(drums_l, kit[name], at(b0 + s), 0.55, wrap=True)
            mix_at(drums_r, kit[name], at(b0 + s), 0.45, wrap=True)
        for s in (3, 6, 11) + (() if fill else (15,)):
            mix_at(drums_l, kit["slap"], at(b0 + s), 0.28, wrap=True)
            mix_at(drums_r, kit["slap"], at(b0 + s), 0.38, wrap=True)
        for s in range(16):
            accent = (0.5, 0.22, 0.8, 0.25)[s % 4] * rng.uniform(0.85, 1.0)
            mix_at(drums_r, kit["shaker"], at(b0 + s), 0.22 * accent, wrap=True)
            mix_at(drums_l, kit["shaker"], at(b0 + s), 0.08 * accent, wrap=True)
        # 3-2 clave across each pair of bars.
        for s in ((0, 6, 12) if bar % 2 == 0 else (4, 8)):
            mix_at(drums_l, kit["clave"], at(b0 + s), 0.2, wrap=True)
            mix_at(drums_r, kit["clave"], at(b0 + s), 0.08, wrap=True)

        root = BASS_ROOTS[bar]
        for s, note, length in ((0, root, 3), (3, root, 3), (6, FIFTH[root], 2), (8, OCTAVE[root], 2),
                                (10, FIFTH[root], 2), (12, root, 2), (14, OCTAVE[root], 2)):
            mix_at(bass, marimba(pitch(note), length * STEP + 0.25, 4.0, rng), at(b0 + s),
                   0.9 if s in (0, 8) else 0.65, wrap=True)
        # Off-beat two-note chords in the middle register.
        for s in (4, 12):
            for note, g in ((FIFTH[root], 0.5), (OCTAVE[root], 0.5)):
                f = pitch(note) * (2 if pitch(note) < 200 else 1)
                mix_at(comp, marimba(f, 0.5, 6.0), at(b0 + s), 0.22 * g * 2, wrap=True)

    for base, (s, length, note) in MELODY:
        f = pitch(note)
        dur = length * STEP + 0.35
        mix_at(melody, marimba(f, dur, 3.2 if length >= 4 else 4.5, rng), at(base + s), 0.8, wrap=True)
        if length >= 6:
            # Long notes are rolled, as a marimba player would.
            for r in range(2, length, 2):
                mix_at(melody, marimba(f, dur - r * STEP, 4.5), at(base + s + r), 0.28, wrap=True)
        if 128 <= base + s < 192:
            mix_at(melody, marimba(f / 2, dur, 4.0), at(base + s), 0.3, wrap=True)

    # Balance the parts by loudness, then place them left and right.
    def rms(x):
        return math.sqrt(float(np.mean(x ** 2))) + 1e-9
    drums = (drums_l + drums_r) / 2
    g_drums, g_bass, g_mel, g_comp = 1.0 / rms(drums), 0.75 / rms(bass), 0.95 / rms(melody), 0.3 / rms(comp)
    mixl = g_drums * drums_l + g_bass * bass + g_comp * 0.7 * comp + g_mel * 1.1 * melody
    mixr = g_drums * drums_r + g_bass * bass + g_comp * 1.3 * comp + g_mel * 0.9 * melody
    stereo = np.stack([mixl, mixr], axis=1)

    # Circular convolution with a short room tail: the reverb wraps around the loop point too.
    tail_len = int(0.9 * RATE)
    t = secs(0.9)[:tail_len]
    for ch in range(2):
        ir = np.zeros(n)
        ir[:tail_len] = rng.standard_normal(tail_len) * np.exp(-t * 7.0) * 0.006
        ir[:int(0.012 * RATE)] = 0.0
        stereo[:, ch] += np.fft.irfft(np.fft.rfft(stereo[:, ch]) * np.fft.rfft(ir), n)

    # Loud master (the game plays the track very quietly): a block limiter, then gentle saturation.
    stereo /= np.max(np.abs(stereo))
    block = 256
    peaks = np.abs(stereo).max(axis=1)
    nb = -(-n // block)
    pk = np.zeros(nb * block)
    pk[:n] = peaks
    pk = pk.reshape(nb, block).max(axis=1)
    thr = 0.55
    gain = np.minimum(1.0, thr / np.maximum(pk, 1e-9))
    # Let the gain recover over ~60 ms and never rise right before a peak (wrapping at the seam).
    smooth = gain.copy()
    for shift in range(-1, 11):
        smooth = np.minimum(smooth, np.roll(gain, shift) ** (1.0 - max(0, shift) / 11.0))
    centres = np.arange(nb) * block + block / 2
    g = np.interp(np.arange(n), centres, smooth, period=n)
    stereo *= g[:, None]
    stereo /= np.max(np.abs(stereo))
    stereo = np.tanh(stereo * 1.3) / math.tanh(1.3)
    return stereo * 0.89


def make_music(tmp):
    wav = os.path.join(tmp, "music.wav")
    write_wav(wav, compose_music())
    subprocess.run(["oggenc", "--quiet", "--serial", "1709", "-q", "2", "-o",
                    os.path.join(OUT, "TribalJungle.ogg"), wav], check=True)


# ---------------------------------------------------------------------------

def main():
    global OUT
    OUT = sys.argv[1] if len(sys.argv) > 1 else "assets"
    os.makedirs(OUT, exist_ok=True)
    for tool in ("lame", "oggenc"):
        if shutil.which(tool) is None:
            sys.exit("make_assets.py: '%s' is missing (run tools/make_assets.sh)" % tool)
    steps = [
        ("gems", make_gems), ("digits", make_digits), ("menu buttons", make_menu_buttons),
        ("game buttons", make_game_buttons), ("cursor", make_cursor), ("trash tube", make_trash_tube),
        ("background", make_background), ("title page", make_start_page), ("menu page", make_menu_page),
        ("instructions", make_instructions), ("about", make_about), ("game over", make_game_over),
        ("congratulations", make_congratulations), ("result panels", make_result_panels),
    ]
    for label, fn in steps:
        print("pictures:", label, flush=True)
        fn()
    with tempfile.TemporaryDirectory() as tmp:
        print("sounds", flush=True)
        make_sounds(tmp)
        print("music", flush=True)
        make_music(tmp)
    print("done: assets written to", OUT)


if __name__ == "__main__":
    main()
