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
