"""The music: a marimba-and-drums groove of a little over six minutes that loops seamlessly.

Fifteen sections, no two alike: an opening riff; the theme (A) and a second theme (B); a light
break on bells; the theme again on a whistle over busier drums; a third theme (E) on a thumb piano
over a tom groove; eight bars of drums alone; a call-and-answer fourth theme (F); the theme a whole
tone higher and the second theme with it; a sparse bridge; the third theme on the whistle; the
second theme and the theme once more with all the voices; and the riff again, leading back to the
start at full strength, so the loop has no dip. Every note, drum hit and the room's reverb are
mixed round the loop, so the tail of the last bar sounds under the first one and the seam is
inaudible. The track is mastered loud and bright (little below 80 Hz, presence at 1 to 4 kHz),
because the game plays it quietly under the effects."""

from gen.synth import *  # noqa: F401,F403  (sound building blocks)

BPM = 120
STEP = 60.0 / BPM / 4            # one sixteenth, seconds
BAR = 16                         # sixteenths per bar
MASTER_LUFS = -5.5               # loudness of the file; the game plays it at volume 2
NOTE_INDEX = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}


def midi(name):
    """Note name such as 'A4' or 'C5' -> MIDI number."""
    return 12 * (int(name[1:]) + 1) + NOTE_INDEX[name[0]]


def hz(m):
    return note_freq(m - 69)


def whistle(f, dur, rng):
    """A breathy wooden whistle with a late vibrato."""
    t = secs(dur)
    vib = 1.0 + 0.007 * np.sin(2 * np.pi * 5.2 * t) * np.clip((t - 0.12) / 0.2, 0, 1)
    out = osc(f * vib, dur, ((1, 1.0), (2, 0.22), (3, 0.12), (4, 0.05)))
    out += 0.1 * band_noise(dur, f * 0.8, f * 3.5, rng)
    return out * np.minimum(1.0, t / 0.025) * np.clip((dur - t) / 0.06, 0, 1) * np.exp(-t * 0.8)


def drum_kit(rng):
    kit = {}
    d = 0.35
    t = secs(d)
    # A tight kick: the body sits near 85 Hz, the beater click carries it on small speakers.
    kit["kick"] = (np.sin(2 * np.pi * np.cumsum(80 + 110 * np.exp(-t / 0.02)) / RATE) * np.exp(-t * 14)
                   + 0.3 * band_noise(d, 1500, 5000, rng) * np.exp(-t * 160))
    d = 0.35
    t = secs(d)
    for name, f0, f1 in (("tom_hi", 300, 220), ("tom_lo", 200, 150)):
        kit[name] = (np.sin(2 * np.pi * np.cumsum(f1 + (f0 - f1) * np.exp(-t / 0.05)) / RATE) * np.exp(-t * 11)
                     + 0.2 * band_noise(d, 500, 4000, rng) * np.exp(-t * 60))
    d = 0.18
    t = secs(d)
    kit["slap"] = (0.8 * band_noise(d, 800, 5000, rng) * np.exp(-t * 45)
                   + 0.4 * np.sin(2 * np.pi * 420 * t) * np.exp(-t * 30))
    d = 0.09
    t = secs(d)
    kit["shaker"] = band_noise(d, 4000, 12000, rng) * np.minimum(1, t / 0.012) * np.exp(-t * 45)
    d = 0.12
    t = secs(d)
    kit["clave"] = (np.sin(2 * np.pi * 2100 * t) + 0.4 * np.sin(2 * np.pi * 3300 * t)) * np.exp(-t * 55)
    d = 0.25
    t = secs(d)
    kit["bell"] = (np.sin(2 * np.pi * 1250 * t) + 0.6 * np.sin(2 * np.pi * 1870 * t)
                   + 0.3 * np.sin(2 * np.pi * 3130 * t)) * np.exp(-t * 18)
    for k in kit:
        kit[k] = kit[k] / np.max(np.abs(kit[k]))
    return kit


# Melody phrases of four bars: (sixteenth within the phrase, length in sixteenths, note).
PHRASE_A = [
    (0, 2, "A4"), (2, 2, "C5"), (4, 2, "D5"), (6, 4, "E5"), (10, 2, "D5"), (12, 4, "C5"),
    (16, 2, "D5"), (18, 2, "E5"), (20, 4, "G5"), (24, 2, "E5"), (26, 2, "D5"), (28, 4, "E5"),
    (32, 3, "A5"), (35, 3, "G5"), (38, 2, "E5"), (40, 2, "D5"), (42, 2, "C5"), (44, 4, "D5"),
]
END_HOME = [(48, 6, "E5"), (54, 2, "C5"), (56, 8, "A4")]
END_OPEN = [(48, 4, "E5"), (52, 4, "G5"), (56, 8, "A5")]
PHRASE_B = [
    (0, 2, "A5"), (3, 1, "A5"), (4, 2, "G5"), (6, 2, "E5"), (8, 4, "G5"), (12, 4, "E5"),
    (16, 2, "D5"), (18, 2, "E5"), (20, 2, "D5"), (22, 2, "C5"), (24, 8, "D5"),
    (32, 2, "C5"), (34, 2, "D5"), (36, 2, "E5"), (38, 2, "G5"), (40, 4, "A5"), (44, 4, "C6"),
    (48, 6, "A5"), (54, 2, "G5"), (56, 8, "E5"),
]
PHRASE_C = [
    (0, 4, "C6"), (4, 2, "B5"), (6, 2, "A5"), (8, 4, "G5"), (12, 4, "E5"),
    (16, 2, "F5"), (18, 2, "G5"), (20, 4, "A5"), (24, 4, "G5"), (28, 4, "E5"),
    (32, 4, "C6"), (36, 2, "D6"), (38, 2, "C6"), (40, 4, "B5"), (44, 4, "G5"),
    (48, 8, "A5"), (56, 4, "E5"), (60, 4, "G5"),
]
PHRASE_D = [
    (0, 2, "A5"), (2, 2, "C6"), (4, 4, "E6"), (8, 2, "D6"), (10, 2, "C6"), (12, 4, "B5"),
    (16, 2, "A5"), (18, 2, "B5"), (20, 4, "C6"), (24, 4, "G5"), (28, 4, "A5"),
    (32, 2, "F5"), (34, 2, "G5"), (36, 4, "A5"), (40, 2, "G5"), (42, 2, "E5"), (44, 4, "D5"),
    (48, 6, "E5"), (54, 2, "D5"), (56, 8, "A4"),
]
# The riff that opens the loop and leads back into it, so the seam is as full as the rest.
PHRASE_INTRO = [
    (0, 2, "A4"), (2, 2, "C5"), (4, 2, "E5"), (6, 2, "A5"), (8, 4, "G5"), (12, 4, "E5"),
    (16, 2, "A4"), (18, 2, "C5"), (20, 2, "E5"), (22, 2, "G5"), (24, 8, "E5"),
    (32, 2, "C5"), (34, 2, "E5"), (36, 2, "G5"), (38, 2, "C6"), (40, 4, "B5"), (44, 4, "G5"),
    (48, 4, "E5"), (52, 4, "D5"), (56, 8, "B4"),
]
# A sparse call in the break, answered an octave down.
PHRASE_BREAK = [(0, 4, "E6"), (6, 2, "D6"), (8, 8, "A5"), (32, 4, "G5"), (38, 2, "A5"), (40, 8, "E5")]

# A third theme, brighter, in the relative major, with its answer leading home to A minor.
PHRASE_E = [
    (0, 2, "E5"), (2, 2, "G5"), (4, 4, "C6"), (8, 2, "B5"), (10, 2, "A5"), (12, 4, "G5"),
    (16, 2, "F5"), (18, 2, "A5"), (20, 4, "C6"), (24, 2, "D6"), (26, 2, "C6"), (28, 4, "A5"),
    (32, 2, "G5"), (34, 2, "E5"), (36, 2, "G5"), (38, 2, "A5"), (40, 4, "B5"), (44, 4, "G5"),
    (48, 4, "A5"), (52, 2, "G5"), (54, 2, "E5"), (56, 8, "C5"),
]
PHRASE_E2 = [
    (0, 3, "C6"), (3, 3, "B5"), (6, 2, "A5"), (8, 4, "G5"), (12, 4, "E5"),
    (16, 2, "F5"), (18, 2, "E5"), (20, 2, "D5"), (22, 2, "E5"), (24, 8, "C5"),
    (32, 2, "D5"), (34, 2, "E5"), (36, 2, "F5"), (38, 2, "A5"), (40, 4, "G5"), (44, 4, "E5"),
    (48, 6, "D5"), (54, 2, "E5"), (56, 8, "A4"),
]
# A fourth theme of short calls, each answered a step lower.
PHRASE_F = [
    (0, 1, "A5"), (1, 1, "A5"), (2, 2, "G5"), (4, 2, "A5"), (6, 2, "C6"), (8, 2, "A5"), (10, 6, "G5"),
    (16, 1, "E5"), (17, 1, "E5"), (18, 2, "D5"), (20, 2, "E5"), (22, 2, "G5"), (24, 2, "E5"), (26, 6, "D5"),
    (32, 2, "C5"), (34, 2, "D5"), (36, 2, "E5"), (38, 2, "G5"), (40, 2, "A5"), (42, 2, "C6"), (44, 4, "D6"),
    (48, 4, "E6"), (52, 4, "D6"), (56, 8, "A5"),
]
PHRASE_F2 = PHRASE_F[:-3] + [(48, 4, "C6"), (52, 4, "B5"), (56, 8, "E5")]
# The bridge's second call, higher and slower.
PHRASE_BREAK2 = [(0, 6, "A5"), (8, 4, "C6"), (12, 4, "B5"), (32, 6, "G5"), (40, 8, "E5")]

ROOTS_A = ["A2", "C3", "G2", "A2", "A2", "C3", "G2", "E2", "D3", "A2", "C3", "E2", "A2", "C3", "G2", "A2"]
ROOTS_B = ["F2", "G2", "A2", "E2", "F2", "G2", "C3", "E2", "A2", "E2", "F2", "G2", "F2", "G2", "E2", "A2"]
ROOTS_BREAK = ["D3", "D3", "A2", "A2", "F2", "F2", "E2", "E2"]
ROOTS_INTRO = ["A2", "A2", "C3", "E2"]
ROOTS_E = ["C3", "C3", "F2", "G2", "A2", "A2", "F2", "G2", "C3", "E2", "F2", "G2", "F2", "G2", "E2", "A2"]
ROOTS_F = ["A2", "G2", "F2", "E2", "A2", "G2", "F2", "E2", "D3", "C3", "G2", "A2", "D3", "C3", "E2", "E2"]
ROOTS_DRUMS = ["A2", "A2", "G2", "G2", "F2", "F2", "E2", "E2"]
ROOTS_BRIDGE = ["F2", "F2", "E2", "E2", "D3", "D3", "E2", "E2"]

HOME, OPEN = PHRASE_A + END_HOME, PHRASE_A + END_OPEN
# Sections in order: (name, bars, melody phrases with their voice, bass roots, drum style, transposition
# in semitones).
SECTIONS = [
    ("intro", 4, [(PHRASE_INTRO, "marimba")], ROOTS_INTRO, "full", 0),
    ("A", 16, [(HOME, "marimba"), (OPEN, "marimba"), (PHRASE_B, "marimba"), (HOME, "marimba")], ROOTS_A, "full", 0),
    ("B", 16, [(PHRASE_C, "marimba"), (PHRASE_D, "marimba"), (PHRASE_C, "whistle"), (PHRASE_D, "both")],
     ROOTS_B, "full", 0),
    ("break", 8, [(PHRASE_BREAK, "bells"), (PHRASE_BREAK, "bells_low")], ROOTS_BREAK, "half", 0),
    ("A'", 16, [(HOME, "whistle"), (OPEN, "both"), (PHRASE_B, "whistle"), (HOME, "both")], ROOTS_A, "busy", 0),
    ("E", 16, [(PHRASE_E, "kalimba"), (PHRASE_E2, "kalimba"), (PHRASE_E, "both_kalimba"), (PHRASE_E2, "whistle")],
     ROOTS_E, "toms", 0),
    ("drums", 8, [], ROOTS_DRUMS, "drums", 0),
    ("F", 16, [(PHRASE_F, "whistle"), (PHRASE_F2, "marimba"), (PHRASE_F, "both"), (PHRASE_F2, "kalimba")],
     ROOTS_F, "busy", 0),
    ("A up", 16, [(HOME, "kalimba"), (OPEN, "both_kalimba"), (PHRASE_B, "marimba"), (HOME, "both")], ROOTS_A,
     "toms", 2),
    ("B up", 16, [(PHRASE_C, "whistle"), (PHRASE_D, "both"), (PHRASE_C, "kalimba"), (PHRASE_D, "marimba")], ROOTS_B,
     "full", 2),
    ("bridge", 8, [(PHRASE_BREAK, "bells_low"), (PHRASE_BREAK2, "kalimba")], ROOTS_BRIDGE, "sparse", 0),
    ("E'", 16, [(PHRASE_E, "whistle"), (PHRASE_E2, "both"), (PHRASE_E, "marimba"), (PHRASE_E2, "both_kalimba")],
     ROOTS_E, "full", 0),
    ("B'", 8, [(PHRASE_C, "both"), (PHRASE_D, "both")], ROOTS_B[8:], "busy", 0),
    ("A''", 16, [(HOME, "both_kalimba"), (OPEN, "kalimba"), (PHRASE_B, "both"), (HOME, "whistle")], ROOTS_A,
     "drive", 0),
    ("turnaround", 4, [(PHRASE_INTRO, "both")], ROOTS_INTRO, "full", 0),
]
BARS = sum(section[1] for section in SECTIONS)
LOOP = BARS * BAR * STEP         # seconds


def kalimba(f, dur, rng):
    """A thumb piano: a round fundamental, the tine's high partial dying fast, and a touch of buzz."""
    t = secs(dur)
    out = np.sin(2 * np.pi * f * t) * np.exp(-t * 3.8)
    out += 0.22 * np.sin(2 * np.pi * f * 5.95 * t) * np.exp(-t * 22)
    out += 0.1 * np.sin(2 * np.pi * f * 3.01 * t) * np.exp(-t * 9)
    buzz = band_noise(min(dur, 0.05), f * 2, min(f * 8, 9000), rng) * np.exp(-secs(min(dur, 0.05)) * 90)
    out[:len(buzz)] += 0.05 * buzz
    return out * np.minimum(1.0, t / 0.002) * np.clip((dur - t) / 0.05, 0, 1)


def drum_bar(style, bar, fill):
    """(sixteenth, drum, left gain, right gain) of one bar in a style, shaker and clave aside."""
    hits = []
    kicks = {"half": (0, 10), "sparse": (0, 8) + ((14,) if bar % 2 else ()), "toms": (0, 6, 10),
             "drums": (0, 3, 7, 10, 12)}.get(style, (0, 7, 10) + ((14,) if bar % 2 else ()))
    hits += [(s, "kick", 0.8, 0.8) for s in kicks]
    if style in ("full", "busy"):
        toms = ((4, "tom_hi"), (12, "tom_lo")) if not fill else (
            (4, "tom_hi"), (12, "tom_hi"), (13, "tom_hi"), (14, "tom_lo"), (15, "tom_lo"))
        hits += [(s, name, 0.55, 0.45) for s, name in toms]
        hits += [(s, "slap", 0.28, 0.38) for s in (3, 6, 11) + (() if fill else (15,))]
    elif style == "toms":
        # A melodic tom groove, high and low drums talking across the bar.
        hits += [(s, name, 0.6 if name == "tom_hi" else 0.4, 0.4 if name == "tom_hi" else 0.6)
                 for s, name in ((2, "tom_hi"), (5, "tom_lo"), (8, "tom_hi"), (11, "tom_hi"), (14, "tom_lo"))]
        hits.append((12, "slap", 0.3, 0.34))
    elif style == "drums":
        toms = ((4, "tom_hi"), (6, "tom_lo"), (9, "tom_hi"), (13, "tom_hi"), (14, "tom_lo"), (15, "tom_lo")) \
            if bar % 2 else ((4, "tom_hi"), (11, "tom_lo"), (14, "tom_hi"))
        hits += [(s, name, 0.6, 0.5) for s, name in toms]
        hits += [(s, "slap", 0.3, 0.4) for s in (2, 8)]
    elif style == "drive":
        # Four on the floor under the last return of the theme.
        hits += [(s, "kick", 0.5, 0.5) for s in (4, 12)]
        hits += [(s, name, 0.5, 0.5) for s, name in ((6, "tom_hi"), (14, "tom_lo"))]
        hits += [(s, "slap", 0.32, 0.3) for s in (2, 10)]
        hits += [(s, "bell", 0.1, 0.06) for s in (3, 7, 11, 15)]
    elif style in ("half", "sparse"):
        hits.append((8 if style == "half" else 12, "slap", 0.35, 0.35))
    if style == "busy":
        hits += [(s, "bell", 0.08, 0.16) for s in (2, 5, 10, 13)]
    elif style == "toms":
        hits += [(s, "bell", 0.12, 0.08) for s in (7, 15)]
    return hits


# Bass notes per bar by drum style: (sixteenth, interval above the root, length in sixteenths).
BASS = {"full": ((0, 0, 3), (3, 0, 3), (6, 7, 2), (8, 12, 2), (10, 7, 2), (12, 0, 2), (14, 12, 2)),
        "half": ((0, 0, 6), (8, 12, 4), (12, 7, 4)),
        "sparse": ((0, 0, 8), (8, 7, 8)),
        "drums": ((0, 0, 4), (6, 0, 2), (8, 12, 2), (11, 7, 2), (14, 0, 2)),
        "drive": ((0, 0, 2), (2, 12, 2), (4, 0, 2), (6, 12, 2), (8, 7, 2), (10, 12, 2), (12, 0, 2), (14, 7, 2))}
# Sixteenths of the off-beat chords per bar by drum style.
COMP = {"full": (4, 12), "busy": (4, 7, 12, 15), "toms": (4, 10, 12), "drums": (), "sparse": (4,),
        "drive": (2, 6, 10, 14)}


def compose_music():
    rng = np.random.default_rng(2024)
    n = int(round(LOOP * RATE))
    at = lambda step: step * STEP * RATE   # noqa: E731  (sample index of a sixteenth)
    parts = {name: np.zeros(n) for name in ("drums_l", "drums_r", "melody", "lead", "bass", "comp", "bells", "kalimba")}
    kit = drum_kit(rng)

    def hit(name, step, left, right):
        mix_at(parts["drums_l"], kit[name], at(step), left, wrap=True)
        mix_at(parts["drums_r"], kit[name], at(step), right, wrap=True)

    bar0 = 0
    for _name, bars, phrases, roots, style, shift in SECTIONS:
        for bar in range(bars):
            b0 = (bar0 + bar) * BAR
            last = bar == bars - 1
            fill = bar % 4 == 3
            for s, name, left, right in drum_bar(style, bar, fill):
                hit(name, b0 + s, left, right)
            for s in range(16):
                if style in ("half", "sparse") and s % 2:
                    continue
                accent = (0.5, 0.22, 0.8, 0.25)[s % 4] * rng.uniform(0.85, 1.0) * (0.7 if style == "sparse" else 1.0)
                hit("shaker", b0 + s, 0.1 * accent, 0.26 * accent)
            # 3-2 clave across each pair of bars.
            for s in ((0, 6, 12) if bar % 2 == 0 else (4, 8)):
                hit("clave", b0 + s, 0.22, 0.1)
            if last:
                hit("tom_lo", b0 + 15, 0.4, 0.4)

            root = midi(roots[bar]) + shift
            for s, interval, length in BASS.get(style, BASS["full"]):
                mix_at(parts["bass"], marimba(hz(root + interval), length * STEP + 0.25, 4.0, rng), at(b0 + s),
                       0.9 if s in (0, 8) else 0.65, wrap=True)
            # Off-beat chords in the middle register: fifth, octave and the minor or major third.
            third = 3 if roots[bar][0] in "ADE" else 4
            for s in COMP.get(style, COMP["full"]):
                for interval in (7, 12, 12 + third):
                    m = root + interval + (12 if hz(root + interval) < 200 else 0)
                    mix_at(parts["comp"], marimba(hz(m), 0.5, 6.0), at(b0 + s), 0.2, wrap=True)

        for p, (notes, voice) in enumerate(phrases):
            base = bar0 * BAR + 64 * p
            for s, length, note in notes:
                m = midi(note) + shift
                dur = length * STEP + 0.35
                if voice in ("marimba", "both", "both_kalimba"):
                    mix_at(parts["melody"], marimba(hz(m), dur, 3.2 if length >= 4 else 4.5, rng), at(base + s),
                           {"marimba": 0.8, "both": 0.5}.get(voice, 0.45), wrap=True)
                    if length >= 6:
                        # Long notes are rolled, as a marimba player would.
                        for r in range(2, length, 2):
                            mix_at(parts["melody"], marimba(hz(m), dur - r * STEP, 4.5), at(base + s + r), 0.28,
                                   wrap=True)
                if voice in ("whistle", "both"):
                    mix_at(parts["lead"], whistle(hz(m), length * STEP + 0.05, rng), at(base + s), 0.7, wrap=True)
                if voice in ("kalimba", "both_kalimba"):
                    mix_at(parts["kalimba"], kalimba(hz(m), dur + 0.4, rng), at(base + s),
                           0.8 if voice == "kalimba" else 0.6, wrap=True)
                    if length >= 6:
                        # A thumb piano's long note is plucked again, an octave up.
                        mix_at(parts["kalimba"], kalimba(hz(m + 12), dur, rng), at(base + s + length // 2), 0.3,
                               wrap=True)
                if voice.startswith("bells"):
                    down = 12 if voice == "bells_low" else 0
                    mix_at(parts["bells"], bell(hz(m - down), 1.6, 2.2), at(base + s), 0.6, wrap=True)
                    mix_at(parts["bells"], bell(hz(m - down + 7), 1.2, 2.8, 0.6), at(base + s + 3), 0.2, wrap=True)
        bar0 += bars

    # Balance the parts by loudness, then place them left and right.
    def rms(x):
        return math.sqrt(float(np.mean(x ** 2))) + 1e-9
    drums = (parts["drums_l"] + parts["drums_r"]) / 2
    g = {"drums": 1.0 / rms(drums), "bass": 0.6 / rms(parts["bass"]), "melody": 0.95 / rms(parts["melody"]),
         "lead": 0.6 / rms(parts["lead"]), "comp": 0.3 / rms(parts["comp"]), "bells": 0.25 / rms(parts["bells"]),
         "kalimba": 0.5 / rms(parts["kalimba"])}
    left = (g["drums"] * parts["drums_l"] + g["bass"] * parts["bass"] + g["comp"] * 0.7 * parts["comp"]
            + g["melody"] * 1.1 * parts["melody"] + g["lead"] * 0.85 * parts["lead"] + g["bells"] * 1.2 * parts["bells"]
            + g["kalimba"] * 0.8 * parts["kalimba"])
    right = (g["drums"] * parts["drums_r"] + g["bass"] * parts["bass"] + g["comp"] * 1.3 * parts["comp"]
             + g["melody"] * 0.9 * parts["melody"] + g["lead"] * 1.15 * parts["lead"] + g["bells"] * 0.8 * parts["bells"]
             + g["kalimba"] * 1.2 * parts["kalimba"])
    stereo = np.stack([left, right], axis=1)
    for ch in range(2):
        stereo[:, ch] = reverb(stereo[:, ch], 1.0, 0.18, rng, wrap=True)

    # Little below 80 Hz, a lift of the 1 to 4 kHz presence band, then a loud, seam-aware master.
    stereo = high_pass(stereo, 75, 3)
    stereo = spectral_gain(stereo, lambda f: 1.0 + 0.45 * np.exp(-(np.log(np.maximum(f, 1.0) / 2000.0) / 0.7) ** 2))
    return master(stereo, MASTER_LUFS, peak=0.84, wrap=True)


def make_music(tmp):
    wav = os.path.join(tmp, "music.wav")
    write_wav(wav, compose_music())
    subprocess.run(["oggenc", "--quiet", "--serial", "1709", "-q", "3", "-o",
                    os.path.join(common.OUT, "TribalJungle.ogg"), wav], check=True)
