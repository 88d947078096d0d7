#!/usr/bin/python3
"""Properties of the generated art and sound in assets/: both picture sets (the design set and the
twice-size set in assets/2x/) with their sizes and transparency, drawn alike and to the game's
layout table; gems and digits that stay apart for every kind of eye and at every screen size;
lettering still legible on small screens; the feedback signs; clean sounds; the loudness of play
at the default master level, full range and on small speakers, with the volumes and the master
gain read from the game's sources; nothing clipping at the loudest level; a long, varied,
seamless music loop.

Run from anywhere with Debian's Python: /usr/bin/python3 tests/assets/test_assets.py
(about a minute: most of it decodes and weighs the six-minute music)."""

import itertools
import math
import os
import sys
import unittest

import numpy as np
from PIL import Image

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "tools"))
from gen import catalogue, layout, music, sounds  # noqa: E402
from gen.loudness import integrated_lufs  # noqa: E402
from gen.soundcheck import MUSIC, Measured  # noqa: E402

ASSETS = os.path.join(ROOT, "assets")
LARGE = os.path.join(ASSETS, "2x")             # the same pictures at twice the size, for large screens
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
# Effect: shortest and longest length in seconds, and the frequency (Hz) above which it keeps less than
# 1 % of its energy, where it must stay soft: the alarm repeats, the discard's air must not hiss.
EFFECTS = {"gem_fall": (0.1, 0.4, None), "pattern_shift": (0.5, 1.5, None), "applause": (5.5, 8.0, None),
           "defeat": (5.5, 8.0, None), "alert": (0.15, 0.35, 5000), "trash_drop": (0.3, 1.0, 6000),
           "level_up": (0.5, 1.5, None), "level11_up": (1.0, 2.5, None)}
REWARDS = ["pattern_shift", "applause", "level_up", "level11_up"]
ROUTINE = ["gem_fall", "trash_drop"]
CARRY = ["alert", "gem_fall"]                   # must stand above the music on small speakers too
# Boxes (x0, y0, x1, y1) that hold a line of capitals or figures in one flat colour, by picture: HUD labels,
# the controls' heading, slot numbers, gem values, the result panels' words. None may be under 16 design
# pixels tall, about 11 screen pixels at 1366 x 768.
LETTERING = {"background": [(28, 8, 1200, 41), (30, 690, 200, 722), (20, 608, 160, 638), (232, 610, 256, 650)],
             "instructions": [(100, 268, 126, 306)], **{g: [(0, 0, 60, 60)] for g in GEMS[:8]},
             **{p: [(146, 212, 400, 251), (110, 255, 204, 290)] for p in ("GO1", "GO2", "GO3", "GO4")},
             "thread_not_full": [(40, 18, 270, 46)], "volume_5": [(140, 26, 300, 62)]}
FULL_SCREEN = ["start_page", "menu_page", "instructions", "about", "background", "game_over", "congratulations"]
# Pictures drawn over others, by the layout box whose size they have.
BOXED = {"start_game_gray": "StartGameButton", "start_game_orange": "StartGameButton",
         "instructions_gary": "InstructionsButton", "instructions_orange": "InstructionsButton",
         "about_gray": "AboutButton", "about_orange": "AboutButton", "mquit": "QuitMenuButton",
         "mquit_hover": "QuitMenuButton", "TrashTube": "TrashTube", "GO1": "ResultPanel", "GO2": "ResultPanel",
         "GO3": "ResultPanel", "GO4": "ResultPanel", "thread_segment": "Gem", "column_marker": "ColumnMarker",
         "paused": "PausedOverlay", "board_full": "BoardFullSign", "thread_not_full": "ThreadFullHint",
         **{"volume_%d" % n: "VolumeIndicator" for n in range(11)},
         **{"button_" + n: "MusicButton" for n in ("music_on", "music_off", "sound_on", "sound_off", "pause",
                                                   "resume", "main_menu", "quit")},
         **{g: "Gem" for g in GEMS}, **{"digit_%s" % n: "HudDigit" for n in list(range(10)) + ["colon"]},
         **{"digit_b%d" % n: "EndDigit" for n in range(10)}}
SETS = {1: ASSETS, 2: LARGE}                    # pixels per design unit: folder


def picture(name, scale=1):
    with Image.open(os.path.join(SETS[scale], name + ".png")) as image:
        image.load()
        return image


def alpha(name, scale=1):
    return np.asarray(picture(name, scale).getchannel("A"), np.float64)


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
    def test_both_sets_have_every_picture_at_its_size_with_transparency_where_it_needs_it(self):
        for scale in SETS:
            for name in FULL_SCREEN:
                self.assertEqual(picture(name, scale).size, (1920 * scale, 1080 * scale), name)
            for name, box in BOXED.items():
                image = picture(name, scale)
                self.assertEqual(image.size, tuple(scale * v for v in layout.box(box)[2:]), (name, scale))
                # Drawn over other pictures, so it needs see-through parts (the column marker and the pause's
                # dim are see-through all over: see the feedback signs).
                self.assertEqual(image.mode, "RGBA", name)
                if name not in ("column_marker", "paused"):
                    self.assertLess(image.getchannel("A").getextrema()[0], 16, name)
        # The large set holds every picture the game draws: all but the cursor, which the system draws.
        design = {n for n in os.listdir(ASSETS) if n.endswith(".png")} - {"cursor.png"}
        self.assertEqual({n for n in os.listdir(LARGE) if n.endswith(".png")}, design)
        self.assertEqual(set(FULL_SCREEN) | set(BOXED), {n[:-4] for n in design})

    def test_the_large_set_is_the_design_set_drawn_twice_as_big(self):
        # Drawn from the same drawings and layout at twice the pixels, each large picture brought down
        # to the design size is the design picture; one drawn elsewhere or shifted by a design pixel is not.
        for name in sorted(set(FULL_SCREEN) | set(BOXED)):
            small, large = picture(name).convert("RGBA"), picture(name, 2).convert("RGBA")
            self.assertEqual(large.size, (2 * small.size[0], 2 * small.size[1]), name)
            a = np.asarray(small, np.float64)
            b = np.asarray(large.resize(small.size, Image.BOX), np.float64)
            colour = np.abs(a[..., :3] * a[..., 3:] - b[..., :3] * b[..., 3:]).mean() / 255
            cover = np.abs(a[..., 3] - b[..., 3]).mean()
            limit = 4 if name in FULL_SCREEN else 12
            self.assertLess(colour, limit, "%s: colours %.1f apart" % (name, colour))
            self.assertLess(cover, limit, "%s: coverage %.1f apart" % (name, cover))

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

    def test_lettering_is_tall_enough_for_small_screens_in_both_sets(self):
        for scale in SETS:
            for name, boxes in LETTERING.items():
                for box in boxes:
                    rgba = np.asarray(picture(name, scale).convert("RGBA").crop([v * scale for v in box]), np.float64)
                    ink = rgba[..., :3].min(axis=2) * rgba[..., 3]    # light, opaque strokes
                    rows = np.nonzero((ink >= 0.99 * ink.max()).sum(axis=1) >= 2)[0]
                    self.assertGreaterEqual(rows.max() - rows.min() + 1, 16 * scale,
                                            "%s %s at %dx" % (name, box, scale))

    def test_digits_of_a_set_stay_apart(self):
        for prefix in ("digit_", "digit_b"):
            glyphs = {n: np.asarray(picture(prefix + str(n)).getchannel("A"), np.float64) for n in range(10)}
            for a, b in itertools.combinations(range(10), 2):
                self.assertGreater(np.abs(glyphs[a] - glyphs[b]).mean(), 8, "%s%d and %d" % (prefix, a, b))

    def test_both_sets_keep_to_the_layout(self):
        for k in SETS:
            # The in-game buttons end well above the lane tops and the trash tube's frame.
            lanes_top = layout.grid("Board")[1] - 5
            for name in ("button_music_on", "button_quit", "button_resume"):
                rows = np.nonzero(alpha(name, k).max(axis=1))[0]
                self.assertLess(layout.box("MusicButton")[1] + rows.max() / k, lanes_top - 6, name)
            # Menu buttons: the quit button's drawn pill is spaced like the others.
            drawn = []
            for name, box in (("about_gray", "AboutButton"), ("mquit", "QuitMenuButton")):
                rows = np.nonzero(alpha(name, k).max(axis=1) > 128)[0] / k
                drawn.append((layout.box(box)[1] + rows.min(), layout.box(box)[1] + rows.max()))
            self.assertGreater(drawn[1][0] - drawn[0][1], 50)
            # The game draws its numbers into dark, empty wells: HUD fields on the background, the score and
            # levels on the overflow panels.
            background = np.asarray(picture("background", k).convert("L"), np.float64)
            dw, dh = layout.box("HudDigit")[2:]
            for name in ("Score", "BestScore", "Patterns"):
                x, y, pitch, count = layout.field(name)
                well = background[k * y:k * (y + dh), k * x:k * (x + pitch * (count - 1) + dw)]
                self.assertLess(well.mean(), 20, name)
            px, py = layout.box("ResultPanel")[:2]
            ew, eh = layout.box("EndDigit")[2:]
            for panel in ("GO3", "GO4"):
                image = np.asarray(picture(panel, k).convert("L"), np.float64)
                x, y, pitch, count = layout.field("EndScore")
                well = image[k * (y - py):k * (y - py + eh), k * (x - px):k * (x - px + pitch * (count - 1) + ew)]
                self.assertLess(well.mean(), 20, panel)
                x, y = layout.point("EndLevelTens")
                units = layout.point("EndLevelUnits")[0]
                self.assertLess(image[k * (y - py):k * (y - py + eh), k * (x - px):k * (units - px + ew)].mean(), 20)

    def test_feedback_signs_show_what_applies_and_leave_play_in_sight(self):
        board_x, board_y, pitch, cell = layout.grid("Board")
        board = (slice(board_y, board_y + 8 * cell), slice(board_x, board_x + 11 * pitch + cell))
        for k in SETS:
            # The column marker: a light the gems are drawn over, seen on the lane, see-through where a gem lies.
            marker = alpha("column_marker", k)
            self.assertTrue(15 < marker.mean() < 90, marker.mean())
            self.assertLess(marker[:-8 * k, 6 * k:-6 * k].max(), 120)       # above its foot at the rail
            # The pause sign: a light dim at most, and a sign over a small part of the board.
            paused = alpha("paused", k)[::k, ::k]
            self.assertLessEqual(np.median(paused), 80)
            self.assertLess((paused[board] > 128).mean(), 0.35)
            self.assertGreater((paused > 128).sum(), 60000)
            # The full board's sign, the thread's hint and the volume read over anything: solid in the middle.
            for name in ["board_full", "thread_not_full"] + ["volume_%d" % n for n in range(11)]:
                a = alpha(name, k)
                h, w = a.shape
                self.assertGreater(a[h // 3:2 * h // 3, w // 5:w // 2].min(), 200, name)
        # Each volume level looks unlike the next.
        levels = [alpha("volume_%d" % n) + np.asarray(picture("volume_%d" % n).convert("L"), np.float64)
                  for n in range(11)]
        for n in range(10):
            self.assertGreater(np.abs(levels[n + 1] - levels[n]).sum(), 20000, n)


class Sounds(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.m = Measured(ASSETS)
        cls.effects = {name: (cls.m.signals[name + ".mp3"], cls.m.rate) for name in EFFECTS}
        cls.music, cls.music_rate = cls.m.signals[MUSIC], cls.m.rate

    def in_play(self, name, small=False):
        return self.m.in_play(name if name == MUSIC else name + ".mp3", small)

    def test_loudness_meter_reads_the_reference_tone(self):
        t = np.arange(48000 * 3) / 48000
        self.assertAlmostEqual(integrated_lufs(np.sin(2 * np.pi * 997 * t), 48000), -3.01, places=1)

    def test_volumes_and_master_steps_are_the_games_own(self):
        self.assertEqual(set(catalogue.sound_volumes()), set(sounds.EFFECTS))
        self.assertEqual(set(catalogue.sound_volumes()), {n + ".mp3" for n in EFFECTS})
        c = catalogue.constants()
        self.assertEqual((c["MasterLevels"], c["DefaultMasterLevel"]), (10, 8))
        self.assertEqual(catalogue.master_gain(0), 0.0)
        self.assertAlmostEqual(catalogue.master_gain(10), c["MaxMasterGain"])
        for level in range(1, 10):
            step = catalogue.master_gain(level + 1) / catalogue.master_gain(level)
            self.assertAlmostEqual(20 * math.log10(step), 3.0)

    def test_every_effect_is_clean_and_of_its_length(self):
        for name, (signal, rate) in self.effects.items():
            shortest, longest, top = EFFECTS[name]
            self.assertTrue(shortest <= len(signal) / rate <= longest, "%s lasts %.2f s" % (name, len(signal) / rate))
            peak = np.abs(signal).max()
            self.assertLess(peak, 0.98, name + " clips")
            self.assertLess(abs(signal[0]), 0.02 * peak / 0.85 + 1e-4, name + " starts with a click")
            self.assertLess(np.abs(signal[-int(0.01 * rate):]).max(), 0.06 * peak, name + " is cut off")
            start = np.argmax(np.abs(signal) > 0.05 * peak) / rate
            self.assertLess(start, 0.002, name + " starts late")
            power = np.abs(np.fft.rfft(signal)) ** 2
            high = power[np.fft.rfftfreq(len(signal), 1 / rate) > (top or rate)].sum()
            self.assertLess(high, 0.01 * power.sum(), name + " is harsh")

    def test_play_at_the_default_master_level_is_about_minus_23_lufs(self):
        self.assertLess(abs(self.m.play() + 23.0), 0.5, self.m.play())

    def test_alarm_and_landing_stand_above_the_music_on_any_speakers(self):
        for small in (False, True):
            music_level = self.in_play(MUSIC, small)
            for name in CARRY:
                self.assertGreaterEqual(self.in_play(name, small) - music_level, 3.0, (name, small))

    def test_rewards_ring_above_routine_sounds_the_alarm_under_the_chime_and_the_music_is_heard(self):
        for small in (False, True):
            loud = {name: self.in_play(name, small) for name in EFFECTS}
            for reward in REWARDS:
                for routine in ROUTINE:
                    self.assertGreater(loud[reward], loud[routine], (reward, routine, small))
            self.assertGreaterEqual(loud["applause"], loud["defeat"] - 0.1 * small)
            self.assertLessEqual(loud["alert"], loud["pattern_shift"])
            self.assertLess(np.mean(list(loud.values())) - self.in_play(MUSIC, small), 8.0, loud)

    def test_nothing_clips_at_the_loudest_master_level(self):
        for name in [MUSIC] + [n + ".mp3" for n in EFFECTS]:
            self.assertLess(self.m.loudest_peak(name), -0.5, name)

    def test_music_is_long_varied_clean_and_loops_without_a_jump_or_a_dip(self):
        rate = self.music_rate
        self.assertTrue(360 <= len(self.music) / rate <= 480, len(self.music) / rate)
        self.assertLess(abs(integrated_lufs(self.music, rate) - music.MASTER_LUFS), 0.5)
        seam = np.concatenate([self.music[-8 * rate:], self.music[:8 * rate]])   # 8 s either side of the loop point
        self.assertLess(integrated_lufs(self.music, rate) - integrated_lufs(seam, rate), 2.0)
        self.assertLess(np.abs(self.music).max(), 0.99)
        steps = np.abs(np.diff(self.music, axis=0)).max(axis=1)
        self.assertLess(np.abs(self.music[0] - self.music[-1]).max(), np.percentile(steps, 99))
        # Variations, not a section played again: no eight bars in a row come back alike at any distance.
        bar = int(round(music.BAR * music.STEP * rate))
        count = len(self.music) // bar
        bars = self.music[:count * bar].mean(axis=1).reshape(count, bar)[:, :bar // 4 * 4]
        bars = bars.reshape(count, -1, 4).mean(axis=2)
        bars -= bars.mean(axis=1, keepdims=True)
        bars /= np.linalg.norm(bars, axis=1, keepdims=True)
        alike = (bars @ bars.T) > 0.9
        for lag in range(1, count):
            run = longest = 0
            for same in np.diagonal(alike, lag):
                run = run + 1 if same else 0
                longest = max(longest, run)
            self.assertLess(longest, 8, "bars %d apart" % lag)


if __name__ == "__main__":
    unittest.main(verbosity=2)
