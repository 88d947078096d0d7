"""Title, menu, instructions and about pages."""

from gen.common import *  # noqa: F401,F403
from gen.gems import GEM_GLOW, make_gem, place_gem  # noqa: F401

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
    Draw(sh).line([(x, y_at(x) + 10) for x in range(int(x0), int(x1) + 1, 8)], fill=(0, 0, 0, 120),
                            width=8, joint="curve")
    img.alpha_composite(blurred(sh, 6))
    img.alpha_composite(ss_layer(W, H, paint, ss=2))
    n = len(beads)
    for i, (code, size) in enumerate(beads):
        x = x0 + (x1 - x0) * (i + 1) / (n + 1)
        place_gem(img, code, x, y_at(x), size, glow=(GEM_GLOW[code], 0.7))


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
    pre, post = "Press ", " to continue"
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
    inline_row(img, 960, 1000, ["or click anywhere  \u00b7  gamepad",
                                (lambda im, x, y: pad_face(im, x, y, "A", d=34, size=22), 34)],
               font(26, "Sans"), fill=(160, 160, 200), outline=0, shadow=None)
    save_png(img.convert("RGB"), "start_page.png")


def mouse_icon(img, x, y, h):
    """A mouse seen from above, its left button lit: "click"."""
    w = h * 0.68

    def paint(d, k, _im):
        body = (1.5 * k, 1.5 * k, (w - 1.5) * k, (h - 1.5) * k)
        d.rounded_rectangle(body, radius=w * 0.48 * k, fill=(60, 62, 96, 255), outline=(214, 218, 246, 255),
                            width=int(2.5 * k))
        d.pieslice((3 * k, 3 * k, (w - 3) * k, (w - 3) * k), 180, 270, fill=(255, 170, 60, 255))
        d.rectangle((3 * k, (w / 2) * k, (w / 2) * k, (h * 0.42) * k), fill=(255, 170, 60, 255))
        d.line(((w / 2) * k, 2 * k, (w / 2) * k, (h * 0.42) * k), fill=(214, 218, 246, 255), width=int(2 * k))
        d.line((2 * k, (h * 0.42) * k, (w - 2) * k, (h * 0.42) * k), fill=(214, 218, 246, 255), width=int(2 * k))
    paste(img, ss_layer(int(math.ceil(w)), int(h), paint), (x, y))


def make_menu_page():
    img = title_backdrop(31, tint=(70, 50, 160))
    title_text(img, 960, 176, "Glimmora", 180)
    fancy_text(img, (960, 302), "a puzzle of gems and threads", font(34, "Sans"), fill=(196, 194, 240),
               anchor="mm", shadow=(0, 3, 3, 0.6))
    # The three ways to choose a button: the mouse, the arrow keys, the gamepad.
    def mouse(im, x, y):
        mouse_icon(im, x, y, 54)
        return 37

    def key(name):
        return (lambda im, x, y: keycap(im, x, y, name, h=46, size=24, min_w=46), 46)
    inline_row(img, 960, 372, [(mouse, 54), "Click a button, or choose with", key("\u2191"), key("\u2193"),
                               "and press", key("ENTER"), " \u00b7  gamepad",
                               (lambda im, x, y: pad_dpad(im, x, y, {"up", "down"}, d=46), 46), "and",
                               (lambda im, x, y: pad_face(im, x, y, "A", d=46, size=26), 46)],
               font(32, "Sans-Bold"), fill=(255, 226, 160), outline_col=(20, 10, 30))
    # A calm glass panel for the buttons (drawn over it by the game).
    panel(img, (690, 420, 1230, 1052), radius=34, fill=(12, 12, 40, 150), border=(150, 140, 220, 120))
    # Gems resting in short lanes on either side, like the board.
    stacks = {170: [2, 1, 3, 5], 290: [4, 8, 6, 3, 1, 9], 410: [7, 2, 5],
              1450: [3, 6, 9], 1570: [1, 8, 6, 7, 4], 1690: [2, 5, 4, 3]}
    for x, codes in stacks.items():
        lane = layer(W, H)
        Draw(lane).rounded_rectangle((x - 8, 560, x + 88, 1040), radius=14,
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


def arrow(img, points, colour=(255, 212, 120), width=4, head=14):
    """A line through the points with an arrowhead at the last one."""
    def paint(d, k, _im):
        d.line([(x * k, y * k) for x, y in points], fill=colour + (255,), width=int(width * k), joint="curve")
        (x0, y0), (x1, y1) = points[-2], points[-1]
        a = math.atan2(y1 - y0, x1 - x0)
        tip = [(x1, y1), (x1 - head * math.cos(a - 0.45), y1 - head * math.sin(a - 0.45)),
               (x1 - head * math.cos(a + 0.45), y1 - head * math.sin(a + 0.45))]
        d.polygon([(x * k, y * k) for x, y in tip], fill=colour + (255,))
    img.alpha_composite(ss_layer(W, H, paint, ss=2))


def pattern_diagram(img, x, y, pitch=62):
    """The pattern beside a matching thread, with the order in which its gems are pulled. The gems
    are drawn at their size in play, so their values read as they do on the board."""
    codes = [3, 1, 2, 2, 3, 1, 1, 2]
    px = 60
    px_pattern, px_thread = x + 80, x + 290
    small, label = font(22, "Sans-Bold"), font(22, "Sans-Bold")
    fancy_text(img, (px_pattern, y - 26), "PATTERN", label, fill=(240, 200, 120), anchor="mm")
    fancy_text(img, (px_thread, y - 26), "THREAD", label, fill=(200, 210, 250), anchor="mm")
    frame = layer(W, H)
    Draw(frame).rounded_rectangle((px_pattern - 38, y - 6, px_pattern + 38, y + 8 * pitch + 6), radius=10,
                                            fill=(30, 20, 6, 200), outline=(226, 180, 90, 255), width=3)
    Draw(frame).line((px_thread, y - 8, px_thread, y + 8 * pitch), fill=(255, 226, 150, 230), width=4)
    Draw(frame).rounded_rectangle((px_thread - 60, y - 12, px_thread + 60, y - 5), radius=3,
                                            fill=(214, 178, 104, 240))
    img.alpha_composite(frame)
    for i, code in enumerate(codes):
        cy = y + pitch * i + pitch / 2
        fancy_text(img, (px_pattern - 58, cy), str(i + 1), small, fill=(150, 160, 210), anchor="mm")
        place_gem(img, code, px_pattern, cy, px, label=True)
        fancy_text(img, ((px_pattern + px_thread) / 2, cy), "=", font(30, "Sans-Bold"), fill=(120, 130, 180),
                   anchor="mm")
        fancy_text(img, (px_thread - 56, cy), str(i + 1), small, fill=(150, 160, 210), anchor="mm")
        place_gem(img, code, px_thread, cy, px, label=True)
        order = 8 - i
        text = {1: "pull 1st", 8: "pull 8th, last"}.get(order, "%d%s" % (order, {2: "nd", 3: "rd"}.get(order, "th")))
        fancy_text(img, (px_thread + 42, cy), text, font(22, "Sans-Bold" if order in (1, 8) else "Sans"),
                   fill=(255, 226, 150) if order in (1, 8) else (190, 194, 226), anchor="lm")
    # The arrow runs up beside the order, clear of its longest label.
    ax = px_thread + 42 + font(22, "Sans-Bold").getlength("pull 8th, last") + 24
    arrow(img, [(ax, y + 8 * pitch - 20), (ax, y + 14)])
    return ax


def return_hint(img, cy):
    """How a sub-page is left: a click, Space or Enter, or the gamepad's A or B."""
    f = font(32, "Sans-Bold")
    key = (lambda im, x, y: keycap(im, x, y, "SPACE", h=46, size=24, min_w=46), 46)
    enter = (lambda im, x, y: keycap(im, x, y, "ENTER", h=46, size=24, min_w=46), 46)
    a = (lambda im, x, y: pad_face(im, x, y, "A", d=44, size=26), 44)
    b = (lambda im, x, y: pad_face(im, x, y, "B", d=44, size=26), 44)
    inline_row(img, 960, cy, ["Click or press", key, "or", enter, "to return  \u00b7  gamepad", a, "or", b], f)


def make_instructions():
    img = title_backdrop(41, tint=(60, 40, 130))
    title_text(img, 960, 70, "How to Play", 84)
    body = font(25, "Sans")
    bold = font(25, "Sans-Bold")
    panel(img, (50, 136, 930, 982), radius=26)
    panel(img, (970, 136, 1870, 982), radius=26)

    # Left: the pattern, the thread and the order of pulling, drawn rather than told.
    x = 90
    heading(img, x, 156, "Copy the pattern onto your thread")
    ax = pattern_diagram(img, x, 256)
    tx, ty = ax + 26, 252
    for line in ("\u2193 pulls the bottom gem of a column onto the TOP of the thread.",
                 "The beads already on it slide one slot down.",
                 "So pull the gem for slot 8 first and slot 1 last."):
        ty = paragraph(img, tx, ty, line, font(23, "Sans"), 910 - tx, line_h=30) + 14
    y = 776
    paragraph(img, x, y, "A thread equal to the pattern scores the sum of its beads:", body, 820)
    y += 40
    for i, code in enumerate(range(1, 9)):
        place_gem(img, code, x + 30 + i * 76, y + 32, 60, label=True)
    place_gem(img, 9, x + 640, y + 32, 60)
    fancy_text(img, (x + 676, y + 32), "x 8 = 800", bold, fill=(200, 240, 255), anchor="lm")
    y += 78
    paragraph(img, x, y, "60 levels of 60 seconds: gems fall faster each level, and a new kind joins every "
                         "ten levels.", body, 800)

    # Right: the keys with the gamepad's buttons beside them, then the three things a first game runs into.
    x, y = 1010, 156
    heading(img, x, y, "Keys and gamepad")
    y += 54
    h = 40
    row_f = font(23, "Sans")
    pad_x, text_x = x + 120, x + 236

    def dpad(*arms):
        return lambda xx, yy: pad_dpad(img, xx, yy, set(arms), d=h)

    def stick(xx, yy):
        w = pad_dpad(img, xx, yy, {"left", "right"}, d=h) + 4
        fancy_text(img, (xx + w + 5, yy + h / 2), "/", row_f, fill=(150, 156, 186), anchor="mm")
        return w + 14 + pad_stick(img, xx + w + 14, yy, d=h)

    def pill(label, **kw):
        return lambda xx, yy: pad_pill(img, xx, yy, label, h=h, size=22, **kw)

    def bumpers(xx, yy):
        w = pad_pill(img, xx, yy, "LB", h=h, size=22, bumper=True) + 6
        return w + pad_pill(img, xx + w, yy, "RB", h=h, size=22, bumper=True)

    rows = [
        (["\u2190", "\u2192"], stick, "move along the 12 columns and the TRASH tube"),
        (["\u2193"], dpad("down"), "pull the bottom gem onto the thread"),
        (["\u2191"], dpad("up"), "push the top bead back into the column"),
        (["SPACE"], lambda xx, yy: pad_face(img, xx, yy, "A", d=h, size=24), "drop the falling gem at once"),
        (["P"], pill("START"), "pause and resume"),
        (["\u2212", "+"], bumpers, "volume down and up, on every screen"),
        (["M", "S"], None, "music on / off, sound on / off"),
        (["B"], pill("BACK"), "abandon this game, back to the menu"),
        (["ESC"], None, "quit the game (here: back to the menu)"),
    ]
    for keys, pad, text in rows:
        kx = x
        for kname in keys:
            kx += keycap(img, kx, y, kname, h=h, size=22 if len(kname) > 1 else 24, min_w=h) + 6
        assert kx <= pad_x + 6, keys
        if pad:
            assert pad_x + pad(pad_x, y) <= text_x - 10, text
        assert text_x + row_f.getlength(text) <= 1850, text
        fancy_text(img, (text_x, y + h / 2 - 2), text, row_f, fill=(226, 228, 246), anchor="lm")
        y += 48
    inline_row(img, x, y + 12, ["On the menu and its pages", (lambda im, xx, yy: pad_face(im, xx, yy, "A", d=34), 34),
                                "presses a button and", (lambda im, xx, yy: pad_face(im, xx, yy, "B", d=34), 34),
                                "goes back"], font(23, "Sans"), fill=(190, 194, 226), outline=0, shadow=None,
               gap=9, left=True)
    y += 48
    heading(img, x, y, "Good to know", 30)
    y += 48
    notes = [
        (6, "Danger: a column holding 7 gems makes its top gem pulse and an alarm knock every second. "
            "One more gem there ends the game."),
        (10, "Trash gems are worth 0 and never match: push them back with \u2191, or fill the thread and "
             "empty it."),
        (None, "TRASH tube: move right past the last column, then \u2191 with a full thread empties it "
               "(+40)."),
    ]
    for code, text in notes:
        if code:
            place_gem(img, code, x + 22, y + 16, 40)
        else:
            tube = layer(W, H)
            Draw(tube).rounded_rectangle((x + 8, y - 4, x + 36, y + 38), radius=7,
                                         fill=(170, 215, 255, 70), outline=(205, 235, 255, 230), width=2)
            img.alpha_composite(tube)
        y = paragraph(img, x + 56, y, text, font(23, "Sans"), 780, line_h=30) + 14
    assert y <= 982, y
    return_hint(img, 1030)
    save_png(img.convert("RGB"), "instructions.png")


def make_about():
    img = title_backdrop(51, tint=(90, 40, 150))
    title_text(img, 960, 150, "About", 120)
    panel(img, (480, 270, 1440, 880), radius=34)
    swag(img, 560, 1360, 330, 420, [(5, 70), (3, 76), (1, 84), (9, 110), (2, 84), (4, 76), (6, 70)])
    fancy_text(img, (960, 560), "Glimmora Game", font(64, "Serif-Bold"), grad=((255, 246, 210), (255, 180, 60)),
               anchor="mm", outline=2, outline_col=(60, 26, 6), shadow=(0, 3, 3, 0.6))
    lines = [
        ("An original arcade puzzle game", 34, "Sans", (226, 228, 246)),
        ("Version 1.0", 34, "Sans-Bold", (255, 226, 160)),
        ("Credits: Glimmora Game team", 34, "Sans", (226, 228, 246)),
    ]
    y = 660
    for text, size, style, col in lines:
        fancy_text(img, (960, y), text, font(size, style), fill=col, anchor="mm", shadow=(0, 2, 2, 0.6))
        y += 66 if size > 30 else 60
    return_hint(img, 1010)
    save_png(img.convert("RGB"), "about.png")


# -- End screen ------------------------------------------------------------
