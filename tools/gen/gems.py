"""The eleven gem pictures: faceted jewels with printed values, the diamond, the trash rock and the empty slot."""

from gen import common
from gen.common import *  # noqa: F401,F403  (drawing helpers)

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
    w, h, c = 0.6, 0.98, 0.22
    return [(-w + c, -h), (w - c, -h), (w, -h + c), (w, h - c), (w - c, h), (-w + c, h),
            (-w, h - c), (-w, -h + c)]


def wide_hexagon_points():
    # Flat top and bottom, pointed at the sides: nothing like the upright emerald cut.
    return poly_points(6, 0.98, 0.74, start=0.0)


# Code -> (file name, base colour, outline in unit coordinates, rings, facet centre, label).
# Brightness follows value, from the pale gold 90 down to the deep violet 20, so the
# values stay apart in grayscale and for every kind of colour vision.
GEMS = {
    1: ("gem_90.png", (255, 226, 96), heart_points(), (1.0, 0.56), (0.0, 0.02), "90"),
    2: ("gem_80.png", (136, 234, 244), wide_hexagon_points(), (1.0, 0.58), (0.0, 0.0), "80"),
    3: ("gem_70.png", (255, 174, 76), trillion_points(), (1.0, 0.50), (0.0, 0.16), "70"),
    4: ("gem_60.png", (40, 164, 64), emerald_points(), (1.0, 0.80, 0.60), (0.0, 0.0), "60"),
    5: ("gem_50.png", (214, 70, 150), poly_points(16, 0.96, 0.96), (1.0, 0.62), (0.0, 0.0), "50"),
    6: ("gem_40.png", (210, 38, 50), [(0, -0.98), (0.8, 0), (0, 0.98), (-0.8, 0)], (1.0, 0.50),
        (0.0, 0.0), "40"),
    7: ("gem_30.png", (40, 74, 212), pear_points(), (1.0, 0.58), (0.0, 0.18), "30"),
    8: ("gem_20.png", (112, 22, 150), star_points(), (1.0, 0.42), (0.0, 0.06), "20"),
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
    n = img.size[0]
    yy, xx = np.mgrid[0:n, 0:n].astype(np.float32) / n
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
    """The value, as large as the gem allows: 22 px on a 60 px gem, so it is still read on a
    1366 x 768 screen. Condensed figures keep it inside the narrower cuts."""
    px = round(img.size[0] / common.S)
    f = font(round(px * 22 / 60), "SansCondensed-Bold")
    lay = layer(px, px)
    fancy_text(lay, (px / 2, px / 2 + px * 0.02), text, f, fill=(255, 255, 255), anchor="mm",
               outline=max(2, px // 30), outline_col=shade(base, 0.22))
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
    """An empty bead slot: a bright, thick string through an open ring. A column of these hangs
    under the selected column, so it has to stand out from the lanes at a glance."""
    c = px / 2
    r = px * 0.2

    def glow(d, k, _im):
        d.line([(c * k, 0), (c * k, px * k)], fill=(255, 210, 120, 150), width=int(k * 9))
        d.ellipse(((c - r - 3) * k, (c - r - 3) * k, (c + r + 3) * k, (c + r + 3) * k), fill=(255, 210, 120, 120))

    def paint(d, k, _im):
        d.line([(c * k, 0), (c * k, px * k)], fill=(120, 84, 30, 255), width=int(k * 6))
        d.line([(c * k, 0), (c * k, px * k)], fill=(255, 226, 150, 255), width=int(k * 4))
        d.line([((c - 0.8) * k, 0), ((c - 0.8) * k, px * k)], fill=(255, 250, 225, 255), width=int(k * 1))
        d.ellipse(((c - r) * k, (c - r) * k, (c + r) * k, (c + r) * k), fill=(40, 30, 14, 255),
                  outline=(120, 84, 30, 255), width=int(k * 5))
        d.ellipse(((c - r + 0.8) * k, (c - r + 0.8) * k, (c + r - 0.8) * k, (c + r - 0.8) * k),
                  outline=(255, 226, 150, 255), width=int(k * 3.2))
        d.arc(((c - r + 1.5) * k, (c - r + 1.5) * k, (c + r - 1.5) * k, (c + r - 1.5) * k), 190, 280,
              fill=(255, 252, 235, 255), width=int(k * 1.2))
    img = blurred(ss_layer(px, px, glow), 2.5)
    img.alpha_composite(ss_layer(px, px, paint))
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


def place_gem(img, code, cx, cy, px, glow=None, label=False):
    """Draw a big version of a gem centred on (cx, cy), with an optional halo."""
    g = make_gem(code, px, label)
    if glow:
        col, alpha = glow
        halo = blurred(colour_layer(g.size, col, g.getchannel("A"), alpha), px * 0.12)
        pad = int(px * 0.4)
        h2 = layer(px + 2 * pad, px + 2 * pad)
        paste(h2, halo, (pad, pad))
        h2 = blurred(h2, px * 0.1)
        paste(img, h2, (cx - px / 2 - pad, cy - px / 2 - pad))
    paste(img, g, (cx - px / 2, cy - px / 2))


GEM_GLOW = {1: (255, 220, 70), 2: (90, 230, 240), 3: (255, 150, 40), 4: (60, 220, 110),
            5: (255, 110, 190), 6: (255, 60, 80), 7: (70, 130, 255), 8: (170, 80, 255),
            9: (190, 240, 255), 10: (120, 120, 120)}


