"""Menu buttons, the five in-game buttons and the mouse cursor."""

from gen import common, layout
from gen.common import *  # noqa: F401,F403


def fit_font(text, max_w, max_size, style="Sans-Bold"):
    """The largest size up to max_size at which the text fits max_w; font() refuses to go below
    the smallest legible size, so a text that cannot fit stops the generator instead of shrinking."""
    for size in range(max_size, 0, -1):
        f = font(size, style)
        l, t, r, b = f.getbbox(text)
        if r - l <= max_w:
            return f


def pill(size, top, bottom, border, inset=4, radius=None, border_w=3, gloss=70):
    """Glossy rounded button body on a transparent picture of the given size."""
    w, h = size
    rad = radius if radius is not None else (h - 2 * inset) * 0.42
    box = (inset, inset, w - inset - 1, h - inset - 1)

    k = SS * common.S
    pixel_size = (pixels(w), pixels(h))

    def shape_mask(k):
        m = Image.new("L", (w * k, h * k), 0)
        ImageDraw.Draw(m).rounded_rectangle([v * k for v in box], radius=rad * k, fill=255)
        return m.resize(pixel_size, Image.LANCZOS)

    body = shape_mask(k)
    img = gradient_fill(pixel_size, top, bottom, inset * common.S, (h - inset) * common.S)
    img.putalpha(body)
    # Gloss on the upper half.
    gmask = Image.new("L", (w * k, h * k), 0)
    ImageDraw.Draw(gmask).rounded_rectangle(
        [(inset + border_w + 2) * k, (inset + border_w + 1) * k, (w - inset - border_w - 3) * k,
         (inset + (h - 2 * inset) * 0.48) * k], radius=(rad - 3) * k, fill=gloss)
    gmask = gmask.resize(pixel_size, Image.LANCZOS)
    gl = colour_layer(pixel_size, (255, 255, 255), ImageChops.multiply(gmask, body))
    img.alpha_composite(gl)

    def paint(d, k, _im):
        d.rounded_rectangle([v * k for v in box], radius=rad * k, outline=border + (255,),
                            width=int(border_w * k))
    img.alpha_composite(ss_layer(w, h, paint))
    return img


MENU_BUTTONS = [
    # (normal file, hover file, layout box, label, drawn part of the picture: top, bottom)
    ("start_game_gray.png", "start_game_orange.png", "StartGameButton", "Start Game", None),
    ("instructions_gary.png", "instructions_orange.png", "InstructionsButton", "Instructions", None),
    ("about_gray.png", "about_orange.png", "AboutButton", "About", None),
    # Quit sits close under About: its pill is drawn in the lower part of its picture, so the
    # gap above it looks like the gaps between the others.
    ("mquit.png", "mquit_hover.png", "QuitMenuButton", "Quit", (30, 80)),
]


def menu_button(size, label, hover, drawn=None):
    if drawn:
        canvas = layer(*size)
        paste(canvas, menu_button((size[0], drawn[1] - drawn[0]), label, hover), (0, drawn[0]))
        return canvas
    w, h = size
    if hover:
        img = pill(size, (255, 206, 92), (238, 104, 14), (255, 238, 170), gloss=90)
        text_col, edge = (255, 255, 255), (132, 52, 0)
    else:
        img = pill(size, (104, 110, 134), (50, 54, 74), (150, 158, 186), gloss=55)
        text_col, edge = (226, 230, 242), (22, 24, 36)
    f = fit_font(label, w - (34 if w > 120 else 18), max(22, int(h * 0.40)))
    fancy_text(img, (w / 2, h / 2 + 1), label, f, fill=text_col, anchor="mm", outline=2,
               outline_col=edge, shadow=(0, 2, 1, 0.5))
    return img


def make_menu_buttons():
    for normal, hover, box, label, drawn in MENU_BUTTONS:
        size = layout.box(box)[2:]
        save_png(menu_button(size, label, False, drawn), normal)
        save_png(menu_button(size, label, True, drawn), hover)


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


GAME_BUTTON_DRAWN = 80     # the button body keeps to the top 80 px, well clear of the lanes and the tube below


def game_button(icons):
    """A square button drawn on a 100-unit grid, shrunk into the top of its picture."""
    img = pill((100, 100), (64, 74, 124), (24, 28, 58), (128, 146, 210), inset=2, radius=24, gloss=45)

    def paint(d, k, _im):
        for ic in icons:
            ic(d, k)
    ic = ss_layer(100, 100, paint)
    shadow = blurred(colour_layer(ic.size, (0, 0, 0), ic.getchannel("A"), 0.8), 2)
    img.alpha_composite(shadow, (0, 0))
    img.alpha_composite(ic)
    w, h = layout.box("MusicButton")[2:]
    side = GAME_BUTTON_DRAWN
    canvas = layer(w, h)
    paste(canvas, shrink(img, side, side), ((w - side) // 2, 0))
    return canvas


def make_game_buttons():
    def muted(fn):
        def draw_muted(d, k):
            m = Image.new("RGBA", (100 * k, 100 * k), (0, 0, 0, 0))
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
