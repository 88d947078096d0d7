"""The eight sound effects, each mastered to the loudness it should have in play.

The game plays every effect at its catalogue volume (0 to 100, a linear gain) and the music at its
own, all under one master volume; the volumes and the master volume's steps are read from the
game's sources. The effects are set around the music: each sits a fixed number of LU above the
music at the speakers (EFFECTS), close enough that the music stays heard under them and that
nothing clips at the loudest master level. The landing, which happens every second or two, and the
discard are the quietest; the rewards ring above them; the alarm, which repeats every second while
a column is in danger, stays under the match chime; the ending's applause is at least as loud as
the defeat. The landing and the alarm carry most of their energy between 1 and 4 kHz, so that on
small speakers, which lose what lies under 300 Hz, they still stand above the music."""

import math

from gen import catalogue, music
from gen.loudness import MONO_PAN, decode, integrated_lufs
from gen.synth import *  # noqa: F401,F403  (sound building blocks)

# File: LU above the music at the speakers, full range.
EFFECTS = {
    "gem_fall.mp3": 4.0,
    "pattern_shift.mp3": 5.5,
    "applause.mp3": 5.5,
    "defeat.mp3": 5.0,
    "alert.mp3": 4.5,
    "trash_drop.mp3": 4.0,
    "level_up.mp3": 5.0,
    "level11_up.mp3": 5.5,
}
# The highest peak of any sound at the loudest master level, in dBFS after decoding: a little under
# full scale, so that no sound clips.
CEILING_DB = -1.0


def music_in_play():
    """The music's loudness at the speakers at a master gain of 1, from the level it is mastered to."""
    return music.MASTER_LUFS + 20 * math.log10(catalogue.music_volume() / 100.0)


def file_target(name):
    """(loudness in LUFS, highest peak) of an effect's file that give its place in play."""
    volume = catalogue.sound_volumes()[name]
    speakers_db = 20 * math.log10(MONO_PAN) + 10 * math.log10(2.0)      # one mono source on two channels
    lufs = music_in_play() + EFFECTS[name] - 20 * math.log10(volume / 100.0) - speakers_db
    peak = 10 ** (CEILING_DB / 20) / (volume / 100.0 * catalogue.loudest_master_gain())
    return lufs, peak


def sfx_gem_fall(rng):
    """A gem settling on the stack: a short, dry wooden tock. A little body at 180 to 400 Hz gives it
    weight; the block's ring at 1.5 and 2.3 kHz carries it, on small speakers too."""
    dur = 0.2
    t = secs(dur)
    body = osc(180 + 160 * np.exp(-t / 0.012), dur, ((1, 1.0), (2, 0.35), (3, 0.12))) * env(dur, 0.001, 30.0, 0.02)
    ring = (np.sin(2 * np.pi * 1480 * t) * np.exp(-t * 34) + 0.55 * np.sin(2 * np.pi * 2330 * t + 0.6) * np.exp(-t * 48)
            + 0.18 * np.sin(2 * np.pi * 3190 * t + 1.1) * np.exp(-t * 70))
    click = band_noise(dur, 1500, 5000, rng) * env(dur, 0.0005, 160.0, 0.0)
    out = high_pass(0.3 * body + 0.5 * ring * np.minimum(1, t / 0.0015) + 0.2 * click, 140, 3)
    return fade_out(low_pass(out, 6000, 3))


def sfx_pattern_shift(rng):
    """Glass chimes struck together into a ringing major-ninth chord, with a glitter of sparkle."""
    dur = 1.1
    out = np.zeros(int(dur * RATE))
    # A quick downward strum of bells lands on a chord that rings on.
    for i, semi in enumerate((26, 22, 19, 15, 10)):   # D7 A#6 G6 D#6 A#5 ... of an E-flat major ninth
        mix_at(out, bell(note_freq(semi), dur - 0.03 * i, decay=2.6, bright=1.3), 0.03 * i * RATE, 0.7)
    for semi in (3, 7, 10, 14):                          # the chord held underneath, softly bowed
        tone = osc(note_freq(semi + 12), dur, ((1, 1.0), (2, 0.3), (3, 0.15))) * env(dur, 0.04, 2.4, 0.15)
        mix_at(out, tone, 0.12 * RATE, 0.25)
    t = secs(dur)
    glitter = np.zeros_like(t)
    for _ in range(26):
        start = rng.uniform(0.02, 0.7)
        f = note_freq(int(rng.choice((27, 31, 34, 38, 39, 43))))
        glitter = mix_at(glitter, bell(f, 0.25, 14.0, 0.5), start * RATE, rng.uniform(0.08, 0.2))
    shimmer = band_noise(dur, 5000, 12000, rng) * env(dur, 0.02, 4.0, 0.1)
    return fade_out(out + glitter + 0.12 * shimmer, 0.08)


def sfx_applause(rng):
    """Fanfare on a held chord, then a crowd cheering and clapping that dies away."""
    dur = 6.2
    out = np.zeros(int(dur * RATE))
    for start, semi, length in ((0.0, -2, 0.16), (0.16, 3, 0.16), (0.32, 7, 0.16)):
        mix_at(out, brass(note_freq(semi), length + 0.05, 0.004), start * RATE, 0.5)
    for semi, gain in ((-9, 0.3), (3, 0.42), (7, 0.36), (10, 0.34), (15, 0.30)):
        mix_at(out, brass(note_freq(semi), 2.2, 0.02, vibrato=0.006, release=1.0), 0.5 * RATE, gain)
    crash = band_noise(3.0, 4000, 12000, rng) * env(3.0, 0.002, 1.6, 0.5)
    mix_at(out, crash, 0.5 * RATE, 0.18)
    # Many hands: short noise bursts of varied colour, dense at first and thinning out.
    claps = [band_noise(0.05, rng.uniform(900, 1500), rng.uniform(2500, 4500), rng) * env(0.05, 0.001, 90, 0.0)
             for _ in range(12)]
    t = 0.4
    while t < dur - 0.15:
        level = min(1.0, (t - 0.4) / 0.5) * math.exp(-max(0.0, t - 3.2) * 1.3)
        mix_at(out, claps[int(rng.integers(0, len(claps)))], t * RATE, 0.3 * level * rng.uniform(0.5, 1.0))
        t += rng.exponential(1.0 / (70.0 * max(0.25, level)))
    # A cheer: a bed of voiced noise with a slow swell.
    tt = secs(dur)
    cheer = band_noise(dur, 400, 3200, rng) * np.clip((tt - 0.5) / 0.6, 0, 1) * np.exp(-np.maximum(0, tt - 2.6) * 1.2)
    out += 0.12 * cheer * (1 + 0.3 * np.sin(2 * np.pi * 3.1 * tt))
    out = reverb(out, 1.2, 0.25, rng)[:len(out)]
    return fade_out(out, 0.3)


def sfx_defeat(rng):
    """A slow, falling muted horn over a low drone, fading into the room."""
    dur = 5.8
    out = np.zeros(int(dur * RATE))
    notes = ((0.0, -2, 0.55), (0.55, -3, 0.55), (1.1, -4, 0.55), (1.65, -5, 2.2))   # G4 F#4 F4 E4
    for i, (start, semi, length) in enumerate(notes):
        t = secs(length)
        last = 1.0 if i == 3 else 0.0
        f = note_freq(semi) * (1 - 0.025 * last * np.clip(t / length, 0, 1))
        vib = 1.0 + 0.012 * last * np.sin(2 * np.pi * 5 * t) * np.clip(t / 0.4, 0, 1)
        ph = 2 * np.pi * np.cumsum(f * vib) / RATE
        wah = 0.3 + 0.7 * np.sin(np.pi * np.clip(t / min(length, 0.55), 0, 1)) ** 0.8 if i < 3 else \
            0.3 + 0.7 * np.exp(-t * 0.9)
        tone = np.zeros_like(t)
        for n in range(1, 9):
            tone += (wah ** (n * 0.6)) / n ** 1.3 * np.sin(n * ph)
        tone *= np.minimum(1, t / 0.005) * np.clip((length - t) / (0.08 if i < 3 else 1.2), 0, 1)
        mix_at(out, tone, start * RATE, 0.6)
    t = secs(4.4)
    drone = osc(note_freq(-17), 4.4, ((1, 1.0), (2, 0.5), (3, 0.3), (4, 0.15))) * np.minimum(1, t / 0.8) \
        * np.exp(-t * 0.7)
    mix_at(out, drone, 1.65 * RATE, 0.25)
    out = reverb(out, 1.8, 0.35, rng)[:len(out)]
    return fade_out(out, 0.3)


def sfx_alert(rng):
    """A hollow wooden double knock, high then low, over the slit drum's dark body. It repeats every
    second while a column is in danger, so it is short and round: its bite lies between 1 and 2.5 kHz,
    where small speakers carry it, and nothing hisses above."""
    dur = 0.3
    t = secs(dur)
    f = 174.6 * (1 + 0.06 * np.exp(-t / 0.015))             # F3, settling after the strike
    body = osc(f, dur, ((1, 1.0), (2.02, 0.22), (3.1, 0.08))) * np.exp(-t * 13)
    out = 0.3 * body
    for start, tone, gain in ((0.0, 1397.0, 1.0), (0.1, 1047.0, 0.85)):   # F6 then C6, a falling fourth
        tt = np.maximum(t - start, 0.0)
        knock = (np.sin(2 * np.pi * tone * tt) + 0.3 * np.sin(2 * np.pi * tone * 1.68 * tt)) * np.exp(-tt * 30)
        out += gain * 0.6 * knock * (t >= start) * np.minimum(1, tt / 0.002)
    thump = band_noise(dur, 300, 2500, rng) * np.exp(-t * 90) * 0.15     # a felt mallet, no click
    out = (out + thump) * np.minimum(1, t / 0.003)
    return fade_out(low_pass(out, 4000, 3), 0.05)


def sfx_trash_drop(rng):
    """A soft whoosh down the tube, then the beads clattering at its foot. The air is kept below
    about 4 kHz: a hiss above that is the harshest thing a small speaker plays."""
    dur = 0.6
    out = np.zeros(int(dur * RATE))
    t = secs(dur)
    # Whoosh: noise bands lit one after another from high to low.
    for i, fc in enumerate(np.geomspace(3000, 250, 10)):
        seg = band_noise(dur, fc / 1.4, fc * 1.4, rng)
        mix_at(out, seg * np.exp(-((t - 0.05 - 0.03 * i) / 0.07) ** 2), 0, 0.28)
    # Clatter of the beads landing.
    for i in range(6):
        start = 0.33 + 0.035 * i + rng.uniform(0, 0.02)
        length = dur - start
        tt = secs(length)
        ping = np.sin(2 * np.pi * rng.uniform(600, 1500) * tt) * np.exp(-tt * 45)
        knock = band_noise(length, 500, 2500, rng) * np.exp(-tt * 120)
        mix_at(out, ping * 0.5 + knock * 0.5, start * RATE, 0.7 - 0.07 * i)
    return fade_out(low_pass(out, 4000, 4), 0.04)


def sfx_level_up(rng):
    """Climbing a step: a quick run of wooden mallet notes up the scale, landing on a high octave.
    Nothing like the glass chord of a match: single dry notes, one after another, going up."""
    dur = 0.9
    out = np.zeros(int(dur * RATE))
    run = (-9, -7, -5, -2, 0, 3)                         # C4 D4 E4 G4 A4 C5, a pentatonic climb
    for i, semi in enumerate(run):
        mix_at(out, marimba(note_freq(semi + 12), 0.25, 9.0), 0.055 * i * RATE, 0.55 + 0.05 * i)
    top = 0.055 * len(run) + 0.03
    for semi, gain in ((15, 0.8), (3, 0.45)):           # C6 with C5 under it, left to ring
        mix_at(out, marimba(note_freq(semi), dur - top, 5.0), top * RATE, gain)
    knock = band_noise(0.03, 800, 3000, rng) * np.exp(-secs(0.03) * 160)
    mix_at(out, knock, top * RATE, 0.2)
    return fade_out(high_pass(out, 150), 0.06)


def sfx_level11_up(rng):
    """A fanfare for every tenth level: trumpets over a timpani roll and a cymbal."""
    dur = 1.9
    out = np.zeros(int(dur * RATE))
    for i, semi in enumerate((-2, -2, -2, 3)):         # G4 G4 G4 C5, a call to attention
        start = 0.11 * i
        mix_at(out, brass(note_freq(semi), 0.1 if i < 3 else 0.2, 0.005, bright=1.3), start * RATE, 0.5)
    chord_t = 0.5
    for semi, g in ((-9, 0.32), (3, 0.34), (7, 0.3), (10, 0.28), (15, 0.26), (19, 0.18)):
        mix_at(out, brass(note_freq(semi), dur - chord_t, 0.02, vibrato=0.006, bright=1.3, release=0.5),
               chord_t * RATE, g)
    for i in range(int(chord_t / 0.04)):               # the roll swells into the chord
        t = secs(0.3)
        hit = np.sin(2 * np.pi * 98 * t) * np.exp(-t * 12) + 0.3 * band_noise(0.3, 150, 900, rng) * np.exp(-t * 40)
        mix_at(out, hit, i * 0.04 * RATE, 0.08 + 0.3 * i / (chord_t / 0.04))
    t = secs(1.2)
    mix_at(out, np.sin(2 * np.pi * 98 * t) * np.exp(-t * 3.5), chord_t * RATE, 0.6)
    cymbal = band_noise(dur - chord_t, 4000, 13000, rng) * env(dur - chord_t, 0.003, 2.0, 0.3)
    mix_at(out, cymbal, chord_t * RATE, 0.22)
    return fade_out(high_pass(out, 70), 0.1)


DESIGNS = {
    "gem_fall.mp3": sfx_gem_fall, "pattern_shift.mp3": sfx_pattern_shift, "applause.mp3": sfx_applause,
    "defeat.mp3": sfx_defeat, "alert.mp3": sfx_alert, "trash_drop.mp3": sfx_trash_drop,
    "level_up.mp3": sfx_level_up, "level11_up.mp3": sfx_level11_up,
}


def render(name, seed, correction=0.0, peak_scale=1.0):
    lufs, peak = file_target(name)
    sig = master(DESIGNS[name](np.random.default_rng(seed)), lufs + correction, peak=min(0.85, peak * peak_scale))
    ramp = int(0.001 * RATE)            # a 1 ms fade-in: no click, and still heard at once
    sig[:ramp] *= np.linspace(0.0, 1.0, ramp)
    return sig


def make_sounds(tmp):
    for i, name in enumerate(EFFECTS):
        lufs, peak = file_target(name)
        correction, peak_scale = 0.0, 1.0
        for _attempt in range(4):
            encode_mp3(render(name, 100 + i, correction, peak_scale), name, tmp)
            # The encoder trims the top octave, shifts the level a little and lets a peak overshoot:
            # measure what the game will decode and master once more with the differences.
            decoded, rate = decode(os.path.join(common.OUT, name))
            miss = lufs - integrated_lufs(decoded, rate)
            over = np.abs(decoded).max() / peak
            if abs(miss) <= 0.1 and over <= 1.0:
                break
            correction += miss
            peak_scale /= max(1.0, over * 1.005)
        print("  %-18s %6.1f LUFS in the file, peak %5.1f dBFS" % (name, integrated_lufs(decoded, rate),
                                                                   20 * math.log10(np.abs(decoded).max())))
