"""Every sound's loudness in play, measured from the files in assets/ with the catalogue's volumes and
the master volume read from the game's sources: each sound alone and the music with the effects as
they occur, at the default master level, full range and through small speakers (a 300 Hz
high-pass), and each sound's highest peak at the loudest master level.

    /usr/bin/python3 tools/gen/soundcheck.py [assets folder] [--mix play.wav]

prints the table; with --mix it also writes the music with the effects as they occur, at the
default master level, as a 32-bit float stereo WAV for any other loudness meter
(ffmpeg -i play.wav -af ebur128 -f null -).

The asset checks (tests/assets/test_assets.py) hold these figures to their limits."""

import math
import os
import struct
import sys

if __name__ == "__main__":
    sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

import numpy as np  # noqa: E402

from gen import catalogue  # noqa: E402
from gen.loudness import decode, gated_lufs, k_weighted, play_mix, speakers  # noqa: E402

MUSIC = "TribalJungle.ogg"


class Measured:
    """Decoded sounds and their K-weighted signals, and the figures drawn from them."""

    def __init__(self, folder):
        self.volumes = dict(catalogue.sound_volumes())
        self.volumes[MUSIC] = catalogue.music_volume()
        self.default_gain = catalogue.default_master_gain()
        self.loudest_gain = catalogue.loudest_master_gain()
        self.signals, self.weighted, self.rate = {}, {}, None
        for name in self.volumes:
            signal, rate = decode(os.path.join(folder, name))
            assert self.rate in (None, rate), name
            self.rate = rate
            self.signals[name] = signal
            self.weighted[name] = {small: k_weighted(signal, rate, small) for small in (False, True)}

    def in_play(self, name, small=False, gain=None):
        """A sound's loudness (LUFS) at the speakers, at the default master level unless told."""
        gain = self.default_gain if gain is None else gain
        return gated_lufs(speakers(self.weighted[name][small], self.volumes[name], gain), self.rate)

    def play(self, small=False, gain=None):
        """The loudness (LUFS) of the music with the effects as they occur."""
        gain = self.default_gain if gain is None else gain
        effects = {name: w[small] for name, w in self.weighted.items() if name != MUSIC}
        mix = play_mix(self.weighted[MUSIC][small], effects, self.rate, self.volumes, self.volumes[MUSIC], gain)
        return gated_lufs(mix, self.rate)

    def write_play(self, path):
        """The music with the effects as they occur at the default master level, as a float WAV."""
        effects = {name: signal for name, signal in self.signals.items() if name != MUSIC}
        mix = play_mix(self.signals[MUSIC], effects, self.rate, self.volumes, self.volumes[MUSIC], self.default_gain)
        data = mix.astype("<f4").tobytes()
        header = (b"RIFF" + struct.pack("<I", 36 + len(data)) + b"WAVEfmt "
                  + struct.pack("<IHHIIHH", 16, 3, 2, self.rate, self.rate * 8, 8, 32)      # 32-bit float, stereo
                  + b"data" + struct.pack("<I", len(data)))
        with open(path, "wb") as out:
            out.write(header + data)

    def loudest_peak(self, name):
        """A file's highest peak times its volume and the loudest master gain, in dBFS."""
        peak = np.abs(self.signals[name]).max() * self.volumes[name] / 100.0 * self.loudest_gain
        return 20 * math.log10(peak)

    def seconds(self, name):
        return len(self.signals[name]) / self.rate


def table(measured):
    m = measured
    lines = ["| Sound | Volume | Alone, full range | Alone, small speakers | Above the music, full / small "
             "| Peak at level 10 |", "|---|---|---|---|---|---|"]
    music_full, music_small = m.in_play(MUSIC), m.in_play(MUSIC, True)
    for name in m.volumes:
        full, small = m.in_play(name), m.in_play(name, True)
        above = "" if name == MUSIC else "%+.1f / %+.1f LU" % (full - music_full, small - music_small)
        lines.append("| %s | %g | %.1f LUFS | %.1f LUFS | %s | %.1f dBFS |"
                     % (name, m.volumes[name], full, small, above, m.loudest_peak(name)))
    lines.append("| play: the music with the effects | | %.1f LUFS | %.1f LUFS | | |" % (m.play(), m.play(True)))
    c = catalogue.constants()
    lines.append("")
    lines.append("MaxMasterGain %g, default level %d of %d: listener gain %.3f (%+.1f dB); level 10: %+.1f dB; "
                 "music %.1f s" % (c["MaxMasterGain"], c["DefaultMasterLevel"], c["MasterLevels"], m.default_gain,
                                   20 * math.log10(m.default_gain), 20 * math.log10(m.loudest_gain),
                                   m.seconds(MUSIC)))
    return "\n".join(lines)


if __name__ == "__main__":
    args = sys.argv[1:]
    mix_path = None
    if "--mix" in args:
        at = args.index("--mix")
        mix_path = args[at + 1]
        del args[at:at + 2]
    here = os.path.dirname(os.path.abspath(__file__))
    measured = Measured(args[0] if args else os.path.join(here, "..", "..", "assets"))
    print(table(measured))
    if mix_path:
        measured.write_play(mix_path)
