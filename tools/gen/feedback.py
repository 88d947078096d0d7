"""Pictures the game lays over the playing screen (and, for the volume, over every screen) while
something applies: the selected column's marker, the pause sign, the full board's sign, the hint
that only a full thread can be thrown away, and the master volume's eleven levels."""

from gen import layout
from gen.buttons import icon_cross, icon_pause, icon_speaker
from gen.common import *  # noqa: F401,F403

GOLD = (255, 214, 120)


def box_size(name):
    return layout.box(name)[2:]


def sign_panel(w, h, fill, border, radius=22, inset=10):
    """A rounded sign of w x h design units with a soft shadow inside the picture's own edges."""
    img = layer(w, h)
    shadow = layer(w, h)
    Draw(shadow).rounded_rectangle((inset, inset + 4, w - inset, h - inset + 4), radius=radius, fill=(0, 0, 0, 150))
    img.alpha_composite(blurred(shadow, inset * 0.45))

    def paint(d, k, _im):
        d.rounded_rectangle((inset * k, inset * k, (w - inset - 1) * k, (h - inset - 1) * k), radius=radius * k,
                            fill=fill, outline=border, width=int(3 * k))
        d.rounded_rectangle(((inset + 6) * k, (inset + 6) * k, (w - inset - 7) * k, (h - inset - 7) * k),
                            radius=(radius - 5) * k, outline=border[:3] + (70,), width=int(1 * k))
    img.alpha_composite(ss_layer(w, h, paint))
    return img


def make_column_marker():
    """A soft light down the selected lane, brightest at the foot where the thread hangs, with a
    thin rail on either side. The gems are drawn over it; it has no jewel's shape or sparkle."""
    w, h = box_size("ColumnMarker")
    arr = np.zeros((pixels(h), pixels(w), 4), np.float32)
    ys = (np.arange(pixels(h), dtype=np.float32) + 0.5) / pixels(h)
    arr[..., 0], arr[..., 1], arr[..., 2] = 255, 200, 110
    arr[..., 3] = (24 + 36 * ys ** 1.6)[:, None]
    xs = (np.arange(pixels(w), dtype=np.float32) + 0.5) / pixels(w)
    arr[..., 3] *= (0.75 + 0.25 * np.sin(np.pi * xs) ** 0.5)[None, :]
    glow = Image.fromarray(clamp8(arr), "RGBA")

    def rails(d, k, _im):
        for x in (1.5, w - 2.5):
            d.rounded_rectangle(((x - 1) * k, 2 * k, (x + 1) * k, (h - 2) * k), radius=1 * k, fill=(255, 214, 130, 190))
        # A brighter foot, like the rail the thread hangs from.
        d.rounded_rectangle((1 * k, (h - 7) * k, (w - 1) * k, (h - 1) * k), radius=3 * k, fill=(255, 220, 150, 150))
    lit = ss_layer(w, h, rails)
    glow.alpha_composite(blurred(lit, 1.5))
    glow.alpha_composite(lit)
    save_png(glow, "column_marker.png")


def make_paused():
    """The pause sign, in a band over the board's middle rows, and a light dim over the rest so a
    paused game does not look like a running one. Board and thread stay in sight."""
    w, h = box_size("PausedOverlay")
    img = Image.new("RGBA", (pixels(w), pixels(h)), (4, 4, 16, 56))
    bw, bh = 780, 206
    bx, by = (w - bw) // 2, 242
    paste(img, sign_panel(bw, bh, (10, 12, 36, 218), (150, 160, 230, 255), radius=26), (bx, by))
    cx = w / 2
    title_text(img, cx, by + 62, "Paused", 72)
    f = font(26, "Sans-Bold")
    col = (226, 230, 250)

    def pause_button(im, x, y):
        def paint(d, k, _im):
            d.rounded_rectangle((0, 0, 43 * k, 43 * k), radius=10 * k, fill=(40, 46, 88, 255),
                                outline=(128, 146, 210, 255), width=int(2 * k))
            icon_pause(d, k * 0.44)
        paste(im, ss_layer(44, 44, paint), (x, y))
        return 44

    inline_row(img, cx, by + 122, ["Press", (lambda im, x, y: keycap(im, x, y, "P", h=44, size=24, min_w=44), 44),
                                   "or the pause button", (pause_button, 44), "to resume"], f, fill=col)
    inline_row(img, cx, by + 166, ["gamepad", (lambda im, x, y: pad_pill(im, x, y, "START", h=34, size=22), 34)],
               font(24, "Sans"), fill=(190, 196, 226), outline=0, shadow=None)
    save_png(img, "paused.png")


def make_board_full():
    """Shown while the board stands frozen after a gem came to rest in the top row: what happened
    and that the game is ending, without deciding whether it was a defeat (a best score may follow)."""
    w, h = box_size("BoardFullSign")
    img = sign_panel(w, h, (40, 10, 20, 228), (255, 120, 110, 255), radius=28, inset=12)
    title_text(img, w / 2, 86, "The board is full", 64, grad=((255, 240, 226), (255, 130, 110)),
               glow_col=(230, 60, 60), style="Sans-Bold")
    fancy_text(img, (w / 2, 150), "A gem came to rest in the top row.", font(28, "Sans"), fill=(246, 226, 230),
               anchor="mm", shadow=(0, 2, 2, 0.6))
    fancy_text(img, (w / 2, 192), "The game is ending\u2026", font(28, "Sans-Bold"), fill=(255, 206, 150),
               anchor="mm", shadow=(0, 2, 2, 0.6))
    save_png(img, "board_full.png")


def make_thread_not_full():
    """A short note beside the trash tube after Up with a part-full thread: only a full thread goes."""
    w, h = box_size("ThreadFullHint")
    tip = 18
    img = layer(w, h)

    def paint(d, k, _im):
        d.rounded_rectangle((2 * k, 6 * k, (w - tip - 2) * k, (h - 7) * k), radius=16 * k, fill=(12, 14, 40, 235),
                            outline=(255, 206, 110, 255), width=int(3 * k))
        # The pointer towards the tube.
        cy = h / 2
        d.polygon([((w - tip - 5) * k, (cy - 14) * k), ((w - 2) * k, cy * k), ((w - tip - 5) * k, (cy + 14) * k)],
                  fill=(255, 206, 110, 255))
        d.polygon([((w - tip - 8) * k, (cy - 9) * k), ((w - 9) * k, cy * k), ((w - tip - 8) * k, (cy + 9) * k)],
                  fill=(12, 14, 40, 255))
    shadow = layer(w, h)
    Draw(shadow).rounded_rectangle((4, 10, w - tip, h - 3), radius=16, fill=(0, 0, 0, 140))
    img.alpha_composite(blurred(shadow, 4))
    img.alpha_composite(ss_layer(w, h, paint))
    cx = (w - tip) / 2 + 1
    title, note = "THREAD NOT FULL", "Fill all 8 beads to empty it"
    tf, nf = font(24, "Sans-Bold"), font(22, "SansCondensed")
    assert tf.getlength(title) < w - tip - 30 and nf.getlength(note) < w - tip - 30
    fancy_text(img, (cx, 32), title, tf, fill=(255, 214, 130), anchor="mm")
    fancy_text(img, (cx, 61), note, nf, fill=(226, 230, 250), anchor="mm")
    save_png(img, "thread_not_full.png")


def make_volume():
    """The master volume, level 0 (silent) to 10: a speaker, the level as a number and as a rising
    row of bars, on a solid sign that reads over every screen."""
    w, h = box_size("VolumeIndicator")
    for level in range(11):
        img = sign_panel(w, h, (10, 12, 36, 240), (150, 160, 230, 255), radius=24, inset=8)

        def speaker(d, k, _im):
            icon_speaker(d, k, waves=level > 0)
            if level == 0:
                icon_cross(d, k)
        paste(img, ss_layer(100, 100, speaker), (30, 20))
        fancy_text(img, (142, 44), "VOLUME", font(26, "Sans-Bold"), fill=(200, 206, 240), anchor="lm")
        fancy_text(img, (w - 34, 44), "OFF" if level == 0 else "%d / 10" % level, font(30, "Sans-Bold"),
                   fill=GOLD if level else (255, 130, 120), anchor="rm")

        def bars(d, k, _im):
            x0, x1, base = 142, w - 34, 116
            pitch = (x1 - x0) / 10
            for i in range(10):
                top = base - 14 - 3.6 * i
                box = ((x0 + pitch * i) * k, top * k, (x0 + pitch * (i + 1) - 8) * k, base * k)
                if i < level:
                    d.rounded_rectangle(box, radius=3 * k, fill=mix((255, 180, 60), (255, 236, 160), i / 9) + (255,))
                else:
                    d.rounded_rectangle(box, radius=3 * k, fill=(30, 34, 64, 255), outline=(90, 98, 150, 255),
                                        width=int(1.5 * k))
        img.alpha_composite(ss_layer(w, h, bars))
        save_png(img, "volume_%d.png" % level)
