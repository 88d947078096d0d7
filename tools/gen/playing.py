"""The playing screen: background with HUD wells, lanes and legend, and the trash tube."""

from gen import layout
from gen.common import *  # noqa: F401,F403
from gen.gems import GEM_GLOW, make_gem, place_gem  # noqa: F401

BOARD_X0, BOARD_Y0, LANE_PITCH, CELL = layout.grid("Board")
THREAD_Y0 = layout.grid("Thread")[1]
TRASH_X = layout.point("TrashColumn")[0]
PATTERN_X = layout.grid("Pattern")[0]
LEGEND_BOX = (6, 684, 230, 1072)      # the empty corner under the pattern, left of the thread's slot numbers


def make_background():
    img = backdrop([(0.0, (16, 14, 40)), (0.5, (10, 12, 32)), (1.0, (6, 10, 24))],
                   [(960, 360, 1100, 420, (40, 30, 90), 0.35), (960, 900, 1000, 300, (20, 40, 80), 0.25)],
                   seed=11, stars=0)
    label_f = font(22, "Sans-Bold")
    label_col = (170, 180, 230)

    # HUD: a recessed window behind each number, its label above it. The time's box starts at the
    # screen's left edge, so every label goes above, where they all have room.
    def hud_box(x0, x1):
        panel(img, (x0 - 8, 42, x1 + 8, 98), radius=12, fill=(4, 6, 18, 220), border=(90, 100, 160, 200),
              shadow=False)

    def span(name):
        x, _y, pitch, positions = layout.field(name)
        return x, x + pitch * (positions - 1) + layout.box("HudDigit")[2]

    hud = [("TIME", layout.point("TimeMinutesTens")[0], layout.point("TimeSecondsUnits")[0] + layout.box("HudDigit")[2]),
           ("LEVEL", layout.point("LevelTens")[0], layout.point("LevelUnits")[0] + layout.box("HudDigit")[2]),
           ("SCORE",) + span("Score"), ("BEST",) + span("BestScore"), ("PATTERNS",) + span("Patterns")]
    for name, x0, x1 in hud:
        hud_box(x0, x1)
        fancy_text(img, (x0 - 6, 36), name, label_f, fill=label_col, anchor="ls", shadow=(0, 2, 1, 0.6))

    # Lanes of the board, and their faint continuation where the thread hangs.
    lanes = layer(W, H)
    ld = Draw(lanes)
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

    # The top row's lower edge: a quiet boundary, always there. The game itself shows when a column
    # is in danger (its top gem pulses and the alarm knocks), so the background does not shout.
    danger = layer(W, H)
    dd = Draw(danger)
    y = BOARD_Y0 + CELL
    x_end = BOARD_X0 + LANE_PITCH * 11 + CELL + 12
    x = BOARD_X0 - 12
    while x < x_end:
        dd.line((x, y, min(x + 10, x_end), y), fill=(220, 90, 100, 110), width=2)
        x += 20
    for tip, sign in ((BOARD_X0 - 16, 1), (x_end + 4, -1)):
        dd.polygon([(tip, y), (tip - 9 * sign, y - 6), (tip - 9 * sign, y + 6)], fill=(220, 90, 100, 150))
    img.alpha_composite(blurred(danger, 0.5))

    # The rail the thread hangs from.
    rail = layer(W, H)
    rd = Draw(rail)
    rd.rounded_rectangle((BOARD_X0 - 14, THREAD_Y0 - 6, TRASH_X + CELL + 10, THREAD_Y0 + 5), radius=5,
                         fill=(120, 84, 30, 255))
    rd.rounded_rectangle((BOARD_X0 - 12, THREAD_Y0 - 4, TRASH_X + CELL + 8, THREAD_Y0 + 3), radius=4,
                         fill=(214, 178, 104, 255))
    rd.line((BOARD_X0 - 10, THREAD_Y0 - 3, TRASH_X + CELL + 6, THREAD_Y0 - 3), fill=(255, 240, 200, 230), width=2)
    img.alpha_composite(rail)

    # Slot numbers beside the pattern and the thread, so the two are easy to compare.
    num_f = font(22, "Sans-Bold")
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
    Draw(glowf).rounded_rectangle((px0 - 2, py0 - 2, px0 + 82, py0 + 8 * CELL + 22), radius=14,
                                            outline=(255, 190, 80, 120), width=6)
    img.alpha_composite(blurred(glowf, 8))
    paste(pat, ss_layer(80, 8 * CELL + 20, frame), (px0, py0))
    img.alpha_composite(pat)
    fancy_text(img, (PATTERN_X + 30, py0 + 8 * CELL + 38), "PATTERN", font(22, "Sans-Bold"),
               fill=(240, 200, 120), anchor="mm", shadow=(0, 2, 1, 0.6))
    fancy_text(img, (PATTERN_X + 30, py0 + 8 * CELL + 66), "pull slot 8 first", font(22, "SansCondensed"),
               fill=(210, 186, 140), anchor="mm")
    legend(img)
    # Trash label, standing upright beside the tube, with what the tube is for.
    tl = layer(8 * CELL, 40)
    f = font(22, "Sans-Bold")
    name, use = "TRASH", "   \u2191 empties a full thread"
    left = (8 * CELL - f.getlength(name) - font(22, "SansCondensed").getlength(use)) / 2
    fancy_text(tl, (left, 20), name, f, fill=(170, 180, 230), anchor="lm", shadow=(0, 2, 1, 0.6))
    fancy_text(tl, (left + f.getlength(name), 20), use, font(22, "SansCondensed"), fill=(150, 160, 210),
               anchor="lm", shadow=(0, 2, 1, 0.6))
    paste(img, tl.rotate(90, expand=True), (TRASH_X - 52, BOARD_Y0))
    save_png(img.convert("RGB"), "background.png")


def legend(img):
    """The keys of play and the gamepad's buttons beside them, so a player who skipped the instructions
    finds them on screen. Short words in a condensed face: at the smallest legible size the corner
    holds no more."""
    x0, y0, x1, y1 = LEGEND_BOX
    panel(img, LEGEND_BOX, radius=14, fill=(8, 10, 30, 200), border=(90, 100, 160, 170), shadow=False)
    fancy_text(img, ((x0 + x1) / 2, y0 + 21), "CONTROLS", font(22, "Sans-Bold"), fill=(240, 200, 120),
               anchor="mm")
    h = 30
    def key(x, y, name):
        narrow = name in ("\u2212", "+")      # two keys and two shoulder buttons share the volume's row
        return keycap(img, x, y, name, h=h, size=22, min_w=26 if narrow else 28, pad=9 if narrow else 11,
                      style="SansCondensed-Bold")
    dpad = lambda *arms: lambda x, y: pad_dpad(img, x, y, set(arms), d=h)  # noqa: E731
    rows = [
        (["\u2190", "\u2192"], [dpad("left", "right")], "move"),
        (["\u2193"], [dpad("down")], "pull"),
        (["\u2191"], [dpad("up")], "push"),
        (["SPACE"], [lambda x, y: pad_face(img, x, y, "A", d=h)], "drop"),
        (["P"], [lambda x, y: pad_pill(img, x, y, "START", h=h)], "pause"),
        (["\u2212", "+"], [lambda x, y: pad_pill(img, x, y, "LB", h=h, style="SansCondensed", bumper=True),
                           lambda x, y: pad_pill(img, x, y, "RB", h=h, style="SansCondensed", bumper=True)],
         "volume"),
        (["M"], [], "music"),
        (["S"], [], "sound"),
        (["B"], [lambda x, y: pad_pill(img, x, y, "BACK", h=h)], "menu"),
        (["ESC"], [], "quit"),
    ]
    f = font(22, "SansCondensed")
    text_x = x0 + 142
    y = y0 + 40
    for keys, pads, text in rows:
        kx = x0 + 8
        for kname in keys:
            kx += key(kx, y, kname) + 3
        kx += 2
        for pad in pads:
            kx += pad(kx, y) + 2
        assert kx <= text_x + 2, text
        fancy_text(img, (text_x, y + h / 2 - 1), text, f, fill=(214, 218, 240), anchor="lm")
        y += 34
    assert y - 4 <= y1 - 4


def make_trash_tube():
    w, h = layout.box("TrashTube")[2:]

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
