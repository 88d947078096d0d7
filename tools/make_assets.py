#!/usr/bin/python3
"""Generate every picture, sound effect and the music of Glimmora Game.

Run with Debian's Python (python3-pil, python3-numpy) and with lame, oggenc and
oggdec on PATH:  /usr/bin/python3 tools/make_assets.py [output-dir]   (default: assets)

The work is split by domain under tools/gen/: gems, digits, buttons, the playing
screen, the pages, the end screens, the sound effects and the music. All
randomness is seeded, so a rerun gives byte-identical PNGs; the MP3 and OGG
files depend on the encoder versions installed. Every picture the game draws is
made twice from the same drawing code: at the design size into the output folder
and at twice the size into its 2x/ folder. The sounds' volumes and the master
volume's steps are read from the game's sources (src/app/AssetCatalogue.*).
"""

import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from gen import buttons, common, digits, endings, feedback, gems, music, pages, playing, soundcheck, sounds  # noqa: E402


def main():
    common.OUT = sys.argv[1] if len(sys.argv) > 1 else "assets"
    os.makedirs(common.OUT, exist_ok=True)
    for tool in ("lame", "oggenc", "oggdec"):
        if shutil.which(tool) is None:
            sys.exit("make_assets.py: '%s' is missing (run tools/make_assets.sh)" % tool)
    steps = [
        ("gems", gems.make_gems), ("digits", digits.make_digits), ("menu buttons", buttons.make_menu_buttons),
        ("game buttons", buttons.make_game_buttons), ("cursor", buttons.make_cursor),
        ("trash tube", playing.make_trash_tube), ("background", playing.make_background),
        ("title page", pages.make_start_page), ("menu page", pages.make_menu_page),
        ("instructions", pages.make_instructions), ("about", pages.make_about),
        ("game over", endings.make_game_over), ("congratulations", endings.make_congratulations),
        ("result panels", endings.make_result_panels), ("column marker", feedback.make_column_marker),
        ("pause sign", feedback.make_paused), ("full board sign", feedback.make_board_full),
        ("thread hint", feedback.make_thread_not_full), ("volume", feedback.make_volume),
    ]
    only = os.environ.get("GLIMMORA_ASSETS_ONLY")   # e.g. "pictures" while working on the art
    if only != "sounds":
        out = common.OUT
        # The design set, then the same drawings at twice the size for large screens (all but the cursor,
        # which the system draws at its own size).
        for scale, folder in ((1, out), (2, os.path.join(out, "2x"))):
            common.S, common.OUT = scale, folder
            os.makedirs(folder, exist_ok=True)
            for label, fn in steps:
                if scale == 1 or fn is not buttons.make_cursor:
                    print("pictures %dx:" % scale, label, flush=True)
                    fn()
        common.S, common.OUT = 1, out
    if only != "pictures":
        with tempfile.TemporaryDirectory() as tmp:
            print("sounds", flush=True)
            sounds.make_sounds(tmp)
            print("music", flush=True)
            music.make_music(tmp)
        # What a player hears: the figures the asset checks hold to their limits.
        print(soundcheck.table(soundcheck.Measured(common.OUT)), flush=True)
    print("done: assets written to", common.OUT)


if __name__ == "__main__":
    main()
