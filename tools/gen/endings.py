"""End-screen backgrounds and the four result panels."""

from gen import common, digits, layout
from gen.common import *  # noqa: F401,F403
from gen.gems import GEM_GLOW, make_gem, place_gem  # noqa: F401
from gen.buttons import fit_font
from gen.pages import swag

_px, _py, _pw, _ph = layout.box("ResultPanel")
PANEL_BOX = (_px, _py, _px + _pw, _py + _ph)


def digit_well(name_first, positions, pitch):
    """Panel-local box around the digits the game draws from a design point."""
    x, y = layout.point(name_first) if positions < 0 else layout.field(name_first)[:2]
    dw, dh = layout.box("EndDigit")[2:]
    count = abs(positions)
    return (x - PANEL_BOX[0] - 5, y - PANEL_BOX[1] - 5, x - PANEL_BOX[0] + pitch * (count - 1) + dw + 5,
            y - PANEL_BOX[1] + dh + 5)


def falling_gems(img, items):
    """Gems tumbling at an angle: items = [(code, cx, cy, size, angle)]."""
    for code, cx, cy, size, ang in items:
        g = make_gem(code, size, label=False).rotate(ang, resample=Image.BICUBIC, expand=True)
        pad = size // 2
        gw, gh = g.size[0] / common.S, g.size[1] / common.S
        halo = layer(gw + 2 * pad, gh + 2 * pad)
        paste(halo, colour_layer(g.size, GEM_GLOW[code], g.getchannel("A"), 0.5), (pad, pad))
        halo = blurred(halo, size * 0.15)
        paste(img, halo, (cx - gw / 2 - pad, cy - gh / 2 - pad))
        paste(img, g, (cx - gw / 2, cy - gh / 2))


def continue_hint(img):
    inline_row(img, 960, 1010, ["Press", (lambda im, x, y: keycap(im, x, y, "SPACE", h=48, size=24, min_w=48), 48),
                                "or click to continue  \u00b7  gamepad",
                                (lambda im, x, y: pad_face(im, x, y, "A", d=46, size=26), 46)], font(34, "Sans-Bold"))


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
    falling_gems(img, [(1, 420, 760, 96, 18), (3, 300, 880, 84, -24), (5, 470, 935, 72, 40),
                       (10, 200, 700, 80, 10), (2, 1500, 770, 96, -16), (4, 1630, 890, 84, 22),
                       (7, 1440, 935, 72, -35), (6, 1720, 700, 80, 12)])
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
        Draw(conf).polygon([(px_ * 2, py_ * 2) for px_, py_ in pts], fill=col + (220,))
        count += 1
    img.alpha_composite(shrink(conf, W, H))
    # Shown whenever the score is not below the best: a new record, a tie, or a first game that
    # scored nothing against a best of nothing. The wording holds for all three; the result panel
    # (drawn only for a score above 0) tells a record from the rest.
    title_text(img, 960, 260, "Well Played!", 190)
    fancy_text(img, (960, 430), "Your score is the best so far", font(44, "Sans"), fill=(226, 236, 255),
               anchor="mm", shadow=(0, 3, 3, 0.6))
    swag(img, 120, 560, 620, 760, [(1, 70), (9, 96), (2, 70)])
    swag(img, 1360, 1800, 620, 760, [(3, 70), (9, 96), (4, 70)])
    continue_hint(img)
    save_png(img.convert("RGB"), "congratulations.png")


def end_digit(n):
    """An end-screen digit, drawn as the game draws the levels completed on the overflow panels."""
    return digits.end_digits()[str(n)]


def make_result_panels():
    """Four panels on one plan: a title, how the game ended, a string of beads, then the number of
    levels completed and the score in dark wells. On the overflow panels the game draws the
    levels' digits into their well; after all 60 levels the panel shows the 60 itself."""
    w, h = PANEL_BOX[2] - PANEL_BOX[0], PANEL_BOX[3] - PANEL_BOX[1]
    time_up, overflow = "The last level's time ran out", "A gem came to rest in the top row"
    variants = {
        "GO1.png": (True, True, "BEST SCORE!", time_up),
        "GO2.png": (False, True, "TIME IS UP", time_up),
        "GO3.png": (True, False, "BEST SCORE!", overflow),
        "GO4.png": (False, False, "A COLUMN OVERFLOWED", overflow),
    }
    for name, (best, all_levels, title, sub) in variants.items():
        img = layer(w, h)

        def paint(d, k, _im):
            d.rounded_rectangle((2 * k, 2 * k, (w - 3) * k, (h - 3) * k), radius=26 * k,
                                fill=(255, 255, 255, 255))
        body_mask = ss_layer(w, h, paint).getchannel("A")
        top, bot = ((60, 40, 90), (22, 16, 44)) if best else ((36, 38, 80), (14, 14, 38))
        body = gradient_fill((pixels(w), pixels(h)), top, bot, 0, h * common.S)
        body.putalpha(body_mask)
        img.alpha_composite(body)
        border = (255, 206, 100) if best else (150, 160, 220)

        def frame(d, k, _im):
            d.rounded_rectangle((2 * k, 2 * k, (w - 3) * k, (h - 3) * k), radius=26 * k,
                                outline=border + (255,), width=int(4 * k))
            d.rounded_rectangle((10 * k, 10 * k, (w - 11) * k, (h - 11) * k), radius=19 * k,
                                outline=border + (90,), width=int(1.2 * k))
            # Recessed area for the numbers.
            d.rounded_rectangle((14 * k, 196 * k, (w - 15) * k, 300 * k), radius=14 * k,
                                fill=(4, 4, 16, 170), outline=(255, 255, 255, 40), width=int(1 * k))
        img.alpha_composite(ss_layer(w, h, frame))

        tcol = ((255, 246, 200), (255, 176, 50)) if best else ((236, 240, 255), (150, 170, 235))
        f = fit_font(title, w - 60, 44)
        fancy_text(img, (w / 2, 58), title, f, grad=tcol, anchor="mm", outline=2, outline_col=(30, 16, 10),
                   shadow=(0, 3, 2, 0.6))
        fancy_text(img, (w / 2, 110), sub, fit_font(sub, w - 60, 26, "Sans"), fill=(214, 216, 240), anchor="mm")
        # A short string of beads as an ornament.
        codes = [1, 2, 3, 9, 4, 5, 6] if best else [5, 3, 1, 2, 4, 6, 7]
        sl = layer(w, h)
        Draw(sl).line((70, 158, w - 70, 158), fill=(220, 190, 120, 200), width=2)
        img.alpha_composite(sl)
        for i, code in enumerate(codes):
            g = make_gem(code, 34, label=False)
            paste(img, g, (w / 2 - 3 * 52 + 52 * i - 17, 158 - 17))

        # Digit wells: the game draws the numbers into these empty boxes.
        wells = layer(w, h)
        wd = Draw(wells)
        score_x, _sy, score_pitch, score_positions = layout.field("EndScore")
        score_well = digit_well("EndScore", score_positions, score_pitch)
        wd.rounded_rectangle(score_well, radius=7, fill=(0, 0, 0, 230), outline=border + (160,), width=1)
        tens_x, units_x = layout.point("EndLevelTens")[0], layout.point("EndLevelUnits")[0]
        level_well = digit_well("EndLevelTens", -2, units_x - tens_x)
        wd.rounded_rectangle(level_well, radius=7, fill=(0, 0, 0, 230), outline=border + (160,), width=1)
        img.alpha_composite(wells)
        if all_levels:
            level_y = layout.point("EndLevelTens")[1] - PANEL_BOX[1]
            paste(img, end_digit(6), (tens_x - PANEL_BOX[0], level_y))
            paste(img, end_digit(0), (units_x - PANEL_BOX[0], level_y))
        # The count reads on into its words, which hold for any count: "1 OF 60 LEVELS COMPLETED".
        label_col = (255, 226, 150) if best else (220, 224, 250)
        label_f = font(22, "SansCondensed-Bold")
        fancy_text(img, (level_well[2] + 10, (level_well[1] + level_well[3]) / 2), "OF 60 LEVELS COMPLETED", label_f,
                   fill=label_col, anchor="lm")
        fancy_text(img, (score_well[0] - 10, (score_well[1] + score_well[3]) / 2), "SCORE", label_f,
                   fill=label_col, anchor="rm")
        place_gem(img, 9 if best else 5, 58, 248, 64, glow=(GEM_GLOW[9 if best else 5], 0.6))
        save_png(img, name)
