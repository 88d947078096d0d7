"""Drawing helpers shared by every picture: fonts, layers, text, glints, backdrops.

Every picture is drawn in design units of the 1920 x 1080 screen. `S` is the number of pixels per
design unit of the set being drawn: 1 for the design set in assets/, 2 for the set in assets/2x/ that
large screens show at half scale. The helpers here take design units and draw at `S`; code that
works on pixels directly (numpy arrays, masks, `.size`) converts with `S` itself."""

import math
import os

import numpy as np
from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont  # noqa: F401 (re-exported)

FONT_DIR = "/usr/share/fonts/truetype/dejavu/"
W, H = 1920, 1080          # design screen size
SS = 4                     # supersampling factor for hand-drawn shapes

OUT = "assets"             # output folder, set by make_assets.py
S = 1                      # pixels per design unit, set by make_assets.py for each picture set


# Capitals at least this tall (design pixels) are still about 11 screen pixels at 1366 x 768, the
# smallest screen the game is made for: no text in any picture may be smaller.
MIN_CAP_HEIGHT = 16

_fonts = {}


class DesignFont:
    """A font of `size` design pixels that draws at S pixels per unit and measures in design units."""

    def __init__(self, path, size):
        self.size = size
        self.real = ImageFont.truetype(path, size * S)

    def getlength(self, text):
        return self.real.getlength(text) / S

    def getbbox(self, text):
        return tuple(v / S for v in self.real.getbbox(text))


def font(size, style="Sans-Bold"):
    key = (style, size, S)
    if key not in _fonts:
        f = DesignFont(FONT_DIR + "DejaVu" + style + ".ttf", size)
        _l, top, _r, bottom = f.real.getbbox("H")
        if bottom - top < MIN_CAP_HEIGHT * S:
            raise ValueError("%s at %d px: capitals %d px tall, under the %d px that small screens need"
                             % (style, size, bottom - top, MIN_CAP_HEIGHT * S))
        _fonts[key] = f
    return _fonts[key]


def pixels(v):
    """A design length in pixels of the set being drawn."""
    return int(round(v * S))


def _scaled(xy):
    if isinstance(xy, (int, float)):
        return xy * S
    return type(xy)(_scaled(v) for v in xy) if isinstance(xy, tuple) else [_scaled(v) for v in xy]


class Draw:
    """ImageDraw.Draw in design units: coordinates, widths and radii are scaled by S."""

    def __init__(self, img):
        self.d = ImageDraw.Draw(img)

    def line(self, xy, fill=None, width=1, joint=None):
        self.d.line(_scaled(xy), fill=fill, width=width * S, joint=joint)

    def rounded_rectangle(self, xy, radius=0, fill=None, outline=None, width=1):
        self.d.rounded_rectangle(_scaled(xy), radius=radius * S, fill=fill, outline=outline, width=width * S)

    def rectangle(self, xy, fill=None, outline=None, width=1):
        self.d.rectangle(_scaled(xy), fill=fill, outline=outline, width=width * S)

    def ellipse(self, xy, fill=None, outline=None, width=1):
        self.d.ellipse(_scaled(xy), fill=fill, outline=outline, width=width * S)

    def polygon(self, xy, fill=None, outline=None):
        self.d.polygon(_scaled(xy), fill=fill, outline=outline)

    def arc(self, xy, start, end, fill=None, width=1):
        self.d.arc(_scaled(xy), start, end, fill=fill, width=width * S)


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


def _design_coords(n):
    """Design coordinate of each of n pixels' sampling point: the pixel's own index at S = 1."""
    return (np.arange(n, dtype=np.float32) + 0.5) / S - 0.5


def vertical_gradient(w, h, stops):
    """RGB array (pixels) of a w x h design box filled with a vertical gradient through (position, colour) stops."""
    pw, ph = pixels(w), pixels(h)
    ys = np.linspace(0.0, 1.0, ph)
    out = np.zeros((ph, pw, 3), np.float32)
    pos = [p for p, _ in stops]
    for ch in range(3):
        col = np.interp(ys, pos, [c[ch] for _, c in stops])
        out[:, :, ch] = col[:, None]
    return out


def radial(w, h, cx, cy, rx, ry=None):
    """0..1 falloff over a w x h design box that is 1 at (cx, cy) and 0 beyond the ellipse radii."""
    ry = rx if ry is None else ry
    yy = _design_coords(pixels(h))[:, None]
    xx = _design_coords(pixels(w))[None, :]
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
    """A transparent picture of w x h design units."""
    return Image.new("RGBA", (pixels(w), pixels(h)), (0, 0, 0, 0))


def ss_layer(w, h, paint, ss=SS):
    """Draw with `paint(draw, k, big)` at ss-times resolution (k = pixels per design unit) and shrink.

    PIL draws polygons without anti-aliasing; drawing big and shrinking with a
    Lanczos filter gives smooth edges."""
    big = Image.new("RGBA", (pixels(w) * ss, pixels(h) * ss), (0, 0, 0, 0))
    paint(ImageDraw.Draw(big), ss * S, big)
    return big.resize((pixels(w), pixels(h)), Image.LANCZOS)


def shrink(img, w, h):
    """A picture drawn big, brought down to w x h design units."""
    return img.resize((pixels(w), pixels(h)), Image.LANCZOS)


def paste(dst, src, xy):
    """Alpha-composite src onto dst (both RGBA) at the design position xy."""
    dst.alpha_composite(src, (int(xy[0] * S), int(xy[1] * S)))


def blurred(img, radius):
    """Gaussian blur of `radius` design units."""
    return img.filter(ImageFilter.GaussianBlur(radius * S))


def text_mask(size, xy, text, fnt, anchor="la", stroke=0, spacing=4, align="left"):
    """Coverage of a text on a picture of `size` pixels, placed at the design point xy."""
    m = Image.new("L", size, 0)
    d = ImageDraw.Draw(m)
    xy = (xy[0] * S, xy[1] * S)
    if "\n" in text:
        d.multiline_text(xy, text, font=fnt.real, fill=255, anchor=anchor, stroke_width=stroke * S,
                         stroke_fill=255, spacing=spacing * S, align=align)
    else:
        d.text(xy, text, font=fnt.real, fill=255, anchor=anchor, stroke_width=stroke * S, stroke_fill=255)
    return m


def colour_layer(size, colour, mask, alpha=1.0):
    """A flat colour over `size` pixels, seen through a mask."""
    lay = Image.new("RGBA", size, tuple(colour[:3]) + (0,))
    a = mask if alpha >= 1.0 else mask.point(lambda v: int(v * alpha))
    lay.putalpha(a)
    return lay


def gradient_fill(size, top, bottom, y0, y1):
    """RGBA picture of `size` pixels, a vertical gradient between pixel rows y0 and y1 (clamped)."""
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

    shadow = (dx, dy, blur, alpha); glow = (blur, colour, alpha).

    Drawn on the part of the picture the text can reach, with room for its blurs, so that a
    large picture is not worked over whole for every word."""
    measure = ImageDraw.Draw(img)
    at = (xy[0] * S, xy[1] * S)
    reach = (outline + 2) * S
    if "\n" in text:
        box = measure.multiline_textbbox(at, text, font=fnt.real, anchor=anchor, spacing=spacing * S, align=align,
                                         stroke_width=reach)
    else:
        box = measure.textbbox(at, text, font=fnt.real, anchor=anchor, stroke_width=reach)
    blur = max(glow[0] if glow else 0, shadow[2] if shadow else 0)
    shift = max(abs(shadow[0]), abs(shadow[1])) if shadow else 0
    margin = int(math.ceil((4 * blur + shift + 8) * S))
    x0, y0 = max(0, int(box[0]) - margin), max(0, int(box[1]) - margin)
    x1, y1 = min(img.size[0], int(box[2]) + 1 + margin), min(img.size[1], int(box[3]) + 1 + margin)
    if x1 <= x0 or y1 <= y0:
        return
    whole, img = img, img.crop((x0, y0, x1, y1))
    xy = (xy[0] - x0 / S, xy[1] - y0 / S)
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
    whole.paste(img, (x0, y0))


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
    hd = Draw(halo)
    for x, y, r, a in points:
        hd.ellipse((x - r * 0.5, y - r * 0.5, x + r * 0.5, y + r * 0.5), fill=colour + (int(a * 0.45),))
    lay.alpha_composite(blurred(halo, 3))
    for x, y, r, a in points:
        n = int(math.ceil(r)) + 2
        tile = ss_layer(2 * n, 2 * n, lambda d, k, _im: sparkle(d, n, n, r, colour + (a,), k))
        paste(lay, tile, (int(x) - n, int(y) - n))
    return lay




# ---------------------------------------------------------------------------
# Page pieces
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
        Draw(sh).rounded_rectangle((x0 + 4, y0 + 8, x1 + 4, y1 + 8), radius=radius, fill=(0, 0, 0, 110))
        img.alpha_composite(blurred(sh, 10))

    def paint(d, k, _im):
        d.rounded_rectangle((0, 0, (w - 1) * k, (h - 1) * k), radius=radius * k, fill=fill,
                            outline=border, width=int(width * k))
    paste(img, ss_layer(w, h, paint), (x0, y0))


def keycap(img, x, y, label, h=46, size=24, min_w=46, pad=26, style="Sans-Bold"):
    """A keyboard key drawn inline with text; returns its width."""
    f = font(size, style)
    l, t, r, b = f.getbbox(label)
    w = max(min_w, r - l + pad)

    def paint(d, k, _im):
        d.rounded_rectangle((0, 0, (w - 1) * k, (h - 1) * k), radius=9 * k, fill=(40, 42, 66, 255),
                            outline=(190, 196, 230, 255), width=int(2 * k))
        d.rounded_rectangle((4 * k, 3 * k, (w - 5) * k, (h - 9) * k), radius=7 * k, fill=(74, 78, 112, 255))
    paste(img, ss_layer(w, h, paint), (x, y))
    fancy_text(img, (x + w / 2, y + (h - 6) / 2), label, f, fill=(245, 246, 255), anchor="mm")
    return w


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



# -- Gamepad buttons, drawn beside the keys they stand for ---------------------

PAD_BODY = (26, 28, 40, 255)        # dark, round and unlike the keyboard's light keycaps
PAD_RING = (150, 156, 186, 255)
PAD_FACE = {"A": (110, 222, 120), "B": (244, 98, 96)}   # the south and east face buttons' usual colours


def pad_face(img, x, y, letter, d=30, size=22):
    """A round face button with its letter in the button's colour; returns its width."""
    def paint(dr, k, _im):
        dr.ellipse((0, 0, (d - 1) * k, (d - 1) * k), fill=PAD_BODY, outline=PAD_RING, width=int(2 * k))
    paste(img, ss_layer(d, d, paint), (x, y))
    fancy_text(img, (x + d / 2, y + d / 2), letter, font(size, "Sans-Bold"), fill=PAD_FACE[letter], anchor="mm")
    return d


def pad_dpad(img, x, y, lit, d=30):
    """The direction pad, its arms in `lit` ("left", "right", "up", "down") lit; returns its width."""
    arm = d * 0.34
    c = d / 2

    def paint(dr, k, _im):
        def P(u, v):
            return (u * k, v * k)
        lo, hi = c - arm / 2, c + arm / 2
        cross = [P(lo, 0.5), P(hi, 0.5), P(hi, lo), P(d - 0.5, lo), P(d - 0.5, hi), P(hi, hi), P(hi, d - 0.5),
                 P(lo, d - 0.5), P(lo, hi), P(0.5, hi), P(0.5, lo), P(lo, lo)]
        dr.polygon(cross, fill=PAD_RING)
        inset = 2
        inner = [P(lo + inset, 0.5 + inset), P(hi - inset, 0.5 + inset), P(hi - inset, lo + inset),
                 P(d - 0.5 - inset, lo + inset), P(d - 0.5 - inset, hi - inset), P(hi - inset, hi - inset),
                 P(hi - inset, d - 0.5 - inset), P(lo + inset, d - 0.5 - inset), P(lo + inset, hi - inset),
                 P(0.5 + inset, hi - inset), P(0.5 + inset, lo + inset), P(lo + inset, lo + inset)]
        dr.polygon(inner, fill=PAD_BODY)
        far = d - 0.5 - inset
        arms = {"up": (lo + inset, 0.5 + inset, hi - inset, lo + 1), "down": (lo + inset, hi - 1, hi - inset, far),
                "left": (0.5 + inset, lo + inset, lo + 1, hi - inset), "right": (hi - 1, lo + inset, far, hi - inset)}
        for name in lit:
            dr.rectangle([v * k for v in arms[name]], fill=(255, 190, 70, 255))
        tips = {"up": [(c, 3.5), (c - arm / 2 + 3, lo - 1.5), (c + arm / 2 - 3, lo - 1.5)],
                "down": [(c, d - 3.5), (c - arm / 2 + 3, hi + 1.5), (c + arm / 2 - 3, hi + 1.5)],
                "left": [(3.5, c), (lo - 1.5, c - arm / 2 + 3), (lo - 1.5, c + arm / 2 - 3)],
                "right": [(d - 3.5, c), (hi + 1.5, c - arm / 2 + 3), (hi + 1.5, c + arm / 2 - 3)]}
        for name, tri in tips.items():
            dr.polygon([P(u, v) for u, v in tri], fill=(60, 30, 0, 255) if name in lit else (100, 104, 130, 255))
    paste(img, ss_layer(d, d, paint), (x, y))
    return d


def pad_stick(img, x, y, d=30):
    """The left thumbstick seen from above; returns its width."""
    def paint(dr, k, _im):
        dr.ellipse((0, 0, (d - 1) * k, (d - 1) * k), fill=PAD_BODY, outline=PAD_RING, width=int(2 * k))
        dr.ellipse((d * 0.22 * k, d * 0.22 * k, d * 0.78 * k, d * 0.78 * k), fill=(70, 74, 98, 255),
                   outline=(190, 196, 222, 255), width=int(1.5 * k))
    paste(img, ss_layer(d, d, paint), (x, y))
    return d


def pad_pill(img, x, y, label, h=30, size=22, style="SansCondensed-Bold", bumper=False):
    """A small pad button named by its label (START, BACK; LB and RB as shoulder buttons, rounder on
    top); returns its width."""
    f = font(size, style)
    l, _t, r, _b = f.getbbox(label)
    w = r - l + (7 if bumper else 14)

    def paint(dr, k, im):
        m = Image.new("L", im.size, 0)
        md = ImageDraw.Draw(m)
        md.rounded_rectangle((0, 0, (w - 1) * k, (h - 1) * k), radius=h / 2 * k, fill=255)
        if bumper:
            md.rounded_rectangle((0, h / 2 * k, (w - 1) * k, (h - 1) * k), radius=4 * k, fill=255)
        # The ring is what an erosion takes off; the mask is padded so the picture's edge erodes too.
        n = int(2 * k)
        padded = Image.new("L", (im.size[0] + 2 * n, im.size[1] + 2 * n), 0)
        padded.paste(m, (n, n))
        edge = padded.filter(ImageFilter.MinFilter(2 * n + 1)).crop((n, n, n + im.size[0], n + im.size[1]))
        ring = Image.new("RGBA", im.size, PAD_RING)
        ring.putalpha(m)
        im.alpha_composite(ring)
        body = Image.new("RGBA", im.size, PAD_BODY)
        body.putalpha(edge)
        im.alpha_composite(body)
    paste(img, ss_layer(w, h, paint), (x, y))
    fancy_text(img, (x + w / 2, y + h / 2 + (2 if bumper else 0)), label, f, fill=(236, 238, 250), anchor="mm")
    return w


def inline_row(img, cx, cy, parts, fnt, fill=(230, 236, 255), outline=2, outline_col=(10, 10, 30),
               shadow=(0, 3, 3, 0.6), gap=10, left=False):
    """One line of words and drawn keys or buttons, centred on (cx, cy), or starting at cx if left.

    parts: strings, and (draw, height) pairs where draw(img, x, top) draws a key or button of that
    height with its left edge at x and returns its width."""
    scratch = layer(W, 200)
    widths = []
    for part in parts:
        widths.append(fnt.getlength(part) if isinstance(part, str) else part[0](scratch, 0, 0))
    x = cx if left else cx - (sum(widths) + gap * (len(parts) - 1)) / 2
    for part, w in zip(parts, widths):
        if isinstance(part, str):
            fancy_text(img, (x, cy), part, fnt, fill=fill, anchor="lm", outline=outline, outline_col=outline_col,
                       shadow=shadow)
        else:
            part[0](img, x, cy - part[1] / 2)
        x += w + gap
    return x - gap
