"""The HUD and end-screen digit sets and the time display's colon."""

from gen import common
from gen.common import *  # noqa: F401,F403


def glyph_masks(chars, height, max_width, style="Sans-Bold"):
    """Masks of the characters, all scaled by one factor so digits share a height (both in pixels)."""
    f = ImageFont.truetype(FONT_DIR + "DejaVu" + style + ".ttf", 400)
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
    """Place a glyph mask (drawn at k times the set's pixels) centred in a size-box (design units)
    with an outline and gradient fill."""
    w, h = size
    big = layer(w * k, h * k)
    bw, bh = big.size
    mw, mh = mask.size
    ox, oy = (bw - mw) // 2, (bh - mh) // 2
    body = Image.new("L", big.size, 0)
    body.paste(mask, (ox, oy))
    rad = int(outline_px * k * common.S)
    ring = body.filter(ImageFilter.MaxFilter(2 * rad + 1)) if rad else body
    if glow_col:
        g = blurred(ring, 2.5 * k)
        big.alpha_composite(colour_layer(big.size, glow_col, g, 0.55))
    big.alpha_composite(colour_layer(big.size, outline_col, ring))
    grad = gradient_fill(big.size, top_col, bot_col, oy, oy + mh)
    grad.putalpha(body)
    big.alpha_composite(grad)
    return shrink(big, w, h)


def make_digits():
    k = SS
    chars = [str(i) for i in range(10)]
    hud = glyph_masks(chars, 31 * k * common.S, 19 * k * common.S)
    for ch, m in hud.items():
        save_png(digit_image(m, (24, 40), (255, 252, 232), (255, 190, 64), (36, 22, 8), 1.6,
                             glow_col=(255, 170, 40)), "digit_%s.png" % ch)
    # The colon is two dots matching the digits' weight.
    dot = int(6.6 * k * common.S)
    colon = Image.new("L", (dot, int(21 * k * common.S)), 0)
    cd = ImageDraw.Draw(colon)
    cd.ellipse((0, 0, dot - 1, dot - 1), fill=255)
    cd.ellipse((0, colon.size[1] - dot, dot - 1, colon.size[1] - 1), fill=255)
    save_png(digit_image(colon, (24, 40), (255, 252, 232), (255, 190, 64), (36, 22, 8), 1.6,
                         glow_col=(255, 170, 40)), "digit_colon.png")
    for ch, image in end_digits().items():
        save_png(image, "digit_b%s.png" % ch)


def end_digits():
    """The end-screen digit set, by character."""
    small = glyph_masks([str(i) for i in range(10)], 19 * SS * common.S, 13 * SS * common.S)
    return {ch: digit_image(m, (16, 24), (255, 255, 255), (255, 214, 120), (20, 14, 30), 1.2) for ch, m in small.items()}


# ---------------------------------------------------------------------------
