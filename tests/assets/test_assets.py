#!/usr/bin/python3
"""Properties of the generated art and sound in assets/: sizes, transparency, gems and digits that
stay apart for every kind of eye and at every screen size, lettering still legible on small screens,
clean sounds, the loudness of play and a seamless music loop, and pictures drawn to the game's layout table.

Run from anywhere with Debian's Python: /usr/bin/python3 tests/assets/test_assets.py"""

import itertools
import os
import sys
import unittest

import numpy as np
from PIL import Image

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "tools"))
from gen import layout  # noqa: E402
from gen.loudness import decode, effective_lufs, integrated_lufs  # noqa: E402

ASSETS = os.path.join(ROOT, "assets")
GEMS = ["gem_%d" % v for v in range(90, 10, -10)] + ["gem_diamond", "gem_trash"]   # by code, 1 to 10
BOARD = np.array([8, 10, 24]) / 255.0          # the lanes' colour behind the gems
SCREENS = {"1920 x 1080": (1.0, 1.0), "1280 x 1024": (1280 / 1920, 1024 / 1080),
           "1366 x 768": (1366 / 1920, 768 / 1080)}
# Machado, Oliveira and Fernandes (2009), full severity, on linear RGB.
VISION = {
    "normal": np.eye(3),
    "protanopia": np.array([[0.152286, 1.052583, -0.204868], [0.114503, 0.786281, 0.099216],
                            [-0.003882, -0.048116, 1.051998]]),
    "deuteranopia": np.array([[0.367322, 0.860646, -0.227968], [0.280085, 0.672501, 0.047413],
                              [-0.011820, 0.042940, 0.968881]]),
    "tritanopia": np.array([[1.255528, -0.076749, -0.178779], [-0.078411, 0.930809, 0.147602],
                            [0.004733, 0.691367, 0.303900]]),
}
# Effect: catalogue volume, shortest and longest length in seconds, and the frequency (Hz) above which it
# keeps less than 1 % of its energy, where it must stay soft: the alarm repeats, the discard's air must not hiss.
EFFECTS = {"gem_fall": (100, 0.1, 0.4, None), "pattern_shift": (20, 0.5, 1.5, None), "applause": (20, 5.5, 8.0, None),
           "defeat": (20, 5.5, 8.0, None), "alert": (50, 0.15, 0.35, 2000), "trash_drop": (20, 0.3, 1.0, 6000),
           "level_up": (10, 0.5, 1.5, None), "level11_up": (10, 1.0, 2.5, None)}
REWARDS = ["pattern_shift", "applause", "level_up", "level11_up"]
# Boxes (x0, y0, x1, y1) that hold a line of capitals or figures in one flat colour, by picture: HUD labels,
# the controls' heading, slot numbers, gem values, the result panels' words. None may be under 16 design
# pixels tall, about 11 screen pixels at 1366 x 768.
LETTERING = {"background": [(28, 8, 1200, 41), (30, 690, 200, 722), (20, 608, 160, 638), (232, 610, 256, 650)],
             "instructions": [(100, 268, 126, 306)], **{g: [(0, 0, 60, 60)] for g in GEMS[:8]},
             **{p: [(146, 212, 400, 251), (110, 255, 204, 290)] for p in ("GO1", "GO2", "GO3", "GO4")}}
MUSIC_VOLUME = 2


def picture(name):
    with Image.open(os.path.join(ASSETS, name + ".png")) as image:
        image.load()
        return image


def linear(c):
    return np.where(c <= 0.04045, c / 12.92, ((c + 0.055) / 1.055) ** 2.4)


def lightness(y):
    """CIE L* (0 to 100) of a relative luminance."""
    return np.where(y > 0.008856, 116 * np.cbrt(y) - 16, 903.3 * y)


def shown(name, scale):
    """A gem as the game shows it over the lanes, its texture sampled bilinearly at the screen's scale:
    linear RGB and coverage."""
    a = np.asarray(picture(name).convert("RGBA"), np.float64) / 255
    a = np.concatenate([a[..., :3] * a[..., 3:], a[..., 3:]], axis=2)   # premultiplied, as filtering needs
    h, w = a.shape[:2]
    ys = np.clip((np.arange(round(h * scale[1])) + 0.5) / scale[1] - 0.5, 0, h - 1)
    xs = np.clip((np.arange(round(w * scale[0])) + 0.5) / scale[0] - 0.5, 0, w - 1)
    y0, x0 = ys.astype(int), xs.astype(int)
    y1, x1 = np.minimum(y0 + 1, h - 1), np.minimum(x0 + 1, w - 1)
    fy, fx = (ys - y0)[:, None, None], (xs - x0)[None, :, None]
    a = (a[y0][:, x0] * (1 - fy) * (1 - fx) + a[y0][:, x1] * (1 - fy) * fx
         + a[y1][:, x0] * fy * (1 - fx) + a[y1][:, x1] * fy * fx)
    return linear(a[..., :3] + BOARD * (1 - a[..., 3:])), a[..., 3]


def lab(rgb):
    xyz = rgb @ np.array([[0.4124, 0.3576, 0.1805], [0.2126, 0.7152, 0.0722], [0.0193, 0.1192, 0.9505]]).T
    f = np.where(xyz > 0.008856, np.cbrt(xyz / [0.9505, 1.0, 1.089]), 7.787 * xyz / [0.9505, 1.0, 1.089] + 16 / 116)
    return np.stack([116 * f[..., 1] - 16, 500 * (f[..., 0] - f[..., 1]), 200 * (f[..., 1] - f[..., 2])], -1)


class Pictures(unittest.TestCase):
    def test_every_picture_has_its_size_and_transparency_where_it_needs_it(self):
        full = ["start_page", "menu_page", "instructions", "about", "background", "game_over", "congratulations"]
        boxed = {"start_game_gray": "StartGameButton", "start_game_orange": "StartGameButton",
                 "instructions_gary": "InstructionsButton", "instructions_orange": "InstructionsButton",
                 "about_gray": "AboutButton", "about_orange": "AboutButton", "mquit": "QuitMenuButton",
                 "mquit_hover": "QuitMenuButton", "TrashTube": "TrashTube", "GO1": "ResultPanel",
                 "GO2": "ResultPanel", "GO3": "ResultPanel", "GO4": "ResultPanel", "thread_segment": "Gem"}
        boxed.update({"button_" + n: "MusicButton" for n in ("music_on", "music_off", "sound_on", "sound_off",
                                                              "pause", "resume", "main_menu", "quit")})
        boxed.update({g: "Gem" for g in GEMS})
        boxed.update({"digit_%s" % n: "HudDigit" for n in list(range(10)) + ["colon"]})
        boxed.update({"digit_b%d" % n: "EndDigit" for n in range(10)})
        for name in full:
            self.assertEqual(picture(name).size, (1920, 1080), name)
        for name, box in boxed.items():
            image = picture(name)
            self.assertEqual(image.size, layout.box(box)[2:], name)
            # Drawn over other pictures, so it needs see-through parts.
            self.assertEqual(image.mode, "RGBA", name)
            self.assertLess(image.getchannel("A").getextrema()[0], 16, name)

    def test_gems_stay_apart_for_every_eye_and_screen_and_brightness_follows_value(self):
        for screen, scale in SCREENS.items():
            seen = {g: shown(g, scale) for g in GEMS}
            for vision, matrix in VISION.items():
                grey = {g: lightness(np.clip(rgb @ matrix.T, 0, 1) @ [0.2126, 0.7152, 0.0722]) for g, (rgb, _a) in
                        seen.items()}
                for a, b in itertools.combinations(GEMS, 2):
                    apart = np.abs(grey[a] - grey[b])[(seen[a][1] > 0.1) | (seen[b][1] > 0.1)].mean()
                    self.assertGreater(apart, 10, "%s and %s in grey at %s, %s" % (a, b, screen, vision))
            brightness = [lightness(seen[g][0] @ [0.2126, 0.7152, 0.0722])[seen[g][1] > 0.5].mean() for g in GEMS[:8]]
            self.assertTrue(all(a - b > 3 for a, b in zip(brightness, brightness[1:])), (screen, brightness))
            colour = {g: lab(rgb)[alpha > 0.5].mean(axis=0) for g, (rgb, alpha) in seen.items()}
            for a, b in itertools.combinations(GEMS, 2):
                self.assertGreater(np.linalg.norm(colour[a] - colour[b]), 12, "%s and %s at %s" % (a, b, screen))

    def test_lettering_is_tall_enough_for_small_screens(self):
        for name, boxes in LETTERING.items():
            for box in boxes:
                rgba = np.asarray(picture(name).convert("RGBA").crop(box), np.float64)
                ink = rgba[..., :3].min(axis=2) * rgba[..., 3]    # light, opaque strokes
                rows = np.nonzero((ink >= 0.99 * ink.max()).sum(axis=1) >= 2)[0]
                self.assertGreaterEqual(rows.max() - rows.min() + 1, 16, "%s %s" % (name, box))

    def test_digits_of_a_set_stay_apart(self):
        for prefix in ("digit_", "digit_b"):
            glyphs = {n: np.asarray(picture(prefix + str(n)).getchannel("A"), np.float64) for n in range(10)}
            for a, b in itertools.combinations(range(10), 2):
                self.assertGreater(np.abs(glyphs[a] - glyphs[b]).mean(), 8, "%s%d and %d" % (prefix, a, b))

    def test_pictures_keep_to_the_layout(self):
        # The in-game buttons end well above the lane tops and the trash tube's frame.
        lanes_top = layout.grid("Board")[1] - 5
        for name in ("button_music_on", "button_quit", "button_resume"):
            rows = np.nonzero(np.asarray(picture(name).getchannel("A")).max(axis=1))[0]
            self.assertLess(layout.box("MusicButton")[1] + rows.max(), lanes_top - 6, name)
        # Menu buttons: the quit button's drawn pill is spaced like the others.
        order = [("about_gray", "AboutButton"), ("mquit", "QuitMenuButton")]
        drawn = []
        for name, box in order:
            rows = np.nonzero(np.asarray(picture(name).getchannel("A")).max(axis=1) > 128)[0]
            drawn.append((layout.box(box)[1] + rows.min(), layout.box(box)[1] + rows.max()))
        self.assertGreater(drawn[1][0] - drawn[0][1], 50)
        # The game draws its numbers into dark, empty wells: HUD fields on the background, the score and
        # levels on the overflow panels.
        background = np.asarray(picture("background").convert("L"), np.float64)
        dw, dh = layout.box("HudDigit")[2:]
        for name in ("Score", "BestScore", "Patterns"):
            x, y, pitch, count = layout.field(name)
            self.assertLess(background[y:y + dh, x:x + pitch * (count - 1) + dw].mean(), 20, name)
        px, py = layout.box("ResultPanel")[:2]
        ew, eh = layout.box("EndDigit")[2:]
        for panel in ("GO3", "GO4"):
            image = np.asarray(picture(panel).convert("L"), np.float64)
            x, y, pitch, count = layout.field("EndScore")
            self.assertLess(image[y - py:y - py + eh, x - px:x - px + pitch * (count - 1) + ew].mean(), 20, panel)
            x, y = layout.point("EndLevelTens")
            self.assertLess(image[y - py:y - py + eh, x - px:layout.point("EndLevelUnits")[0] - px + ew].mean(), 20)


class Sounds(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.effects = {name: decode(os.path.join(ASSETS, name + ".mp3")) for name in EFFECTS}
        cls.music, cls.music_rate = decode(os.path.join(ASSETS, "TribalJungle.ogg"))

    def test_loudness_meter_reads_the_reference_tone(self):
        t = np.arange(48000 * 3) / 48000
        self.assertAlmostEqual(integrated_lufs(np.sin(2 * np.pi * 997 * t), 48000), -3.01, places=1)

    def test_every_effect_is_clean_and_of_its_length(self):
        for name, (signal, rate) in self.effects.items():
            _volume, shortest, longest, top = EFFECTS[name]
            self.assertTrue(shortest <= len(signal) / rate <= longest, "%s lasts %.2f s" % (name, len(signal) / rate))
            peak = np.abs(signal).max()
            self.assertLess(peak, 0.98, name + " clips")
            self.assertLess(abs(signal[0]), 0.02, name + " starts with a click")
            self.assertLess(np.abs(signal[-int(0.01 * rate):]).max(), 0.05, name + " is cut off")
            start = np.argmax(np.abs(signal) > 0.05 * peak) / rate
            self.assertLess(start, 0.002, name + " starts late")
            power = np.abs(np.fft.rfft(signal)) ** 2
            high = power[np.fft.rfftfreq(len(signal), 1 / rate) > (top or rate)].sum()
            self.assertLess(high, 0.01 * power.sum(), name + " is harsh")

    def test_rewards_ring_above_the_landing_the_alarm_under_the_chime_and_the_music_is_heard(self):
        loud = {name: effective_lufs(*self.effects[name], EFFECTS[name][0]) for name in EFFECTS}
        for reward in REWARDS:
            self.assertGreater(loud[reward], loud["gem_fall"], reward)
        self.assertGreaterEqual(loud["applause"], loud["defeat"])
        self.assertLessEqual(loud["alert"], loud["pattern_shift"])
        music = effective_lufs(self.music, self.music_rate, MUSIC_VOLUME)
        self.assertLess(np.mean(list(loud.values())) - music, 8.0, loud)

    def test_music_is_long_clean_and_loops_without_a_jump_or_a_dip(self):
        rate = self.music_rate
        self.assertTrue(120 <= len(self.music) / rate <= 180)
        seam = np.concatenate([self.music[-8 * rate:], self.music[:8 * rate]])   # 8 s either side of the loop point
        self.assertLess(integrated_lufs(self.music, rate) - integrated_lufs(seam, rate), 2.0)
        self.assertLess(np.abs(self.music).max(), 0.99)
        steps = np.abs(np.diff(self.music, axis=0)).max(axis=1)
        self.assertLess(np.abs(self.music[0] - self.music[-1]).max(), np.percentile(steps, 99))


if __name__ == "__main__":
    unittest.main(verbosity=2)
