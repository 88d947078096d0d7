"""Loudness as a listener hears it: ITU-R BS.1770 K-weighting and gated integration.

The two K-weighting biquads (a high shelf of about +4 dB above 1.7 kHz and a
high-pass near 38 Hz) are applied by their exact frequency response in the
Fourier domain, which gives the same block energies as running the filters for
anything longer than a few milliseconds. Reading decoded files goes through the
encoders' own tools: `lame --decode` for MP3 and `oggdec` for OGG Vorbis."""

import math
import os
import subprocess
import tempfile
import wave

import numpy as np


def _biquad_response(b, a, w):
    z = np.exp(-1j * w)
    return (b[0] + b[1] * z + b[2] * z * z) / (a[0] + a[1] * z + a[2] * z * z)


def k_weighting(freqs, rate):
    """Magnitude of the K-weighting filter pair at the given frequencies (Hz)."""
    w = 2 * np.pi * np.asarray(freqs, np.float64) / rate
    # Stage 1: high shelf.
    f0, gain_db, q = 1681.974450955533, 3.999843853973347, 0.7071752369554196
    k = math.tan(math.pi * f0 / rate)
    vh = 10 ** (gain_db / 20)
    vb = vh ** 0.4996667741545416
    a0 = 1 + k / q + k * k
    shelf = _biquad_response([(vh + vb * k / q + k * k) / a0, 2 * (k * k - vh) / a0, (vh - vb * k / q + k * k) / a0],
                             [1.0, 2 * (k * k - 1) / a0, (1 - k / q + k * k) / a0], w)
    # Stage 2: high-pass.
    f0, q = 38.13547087602444, 0.5003270373238773
    k = math.tan(math.pi * f0 / rate)
    a0 = 1 + k / q + k * k
    hp = _biquad_response([1.0, -2.0, 1.0], [1.0, 2 * (k * k - 1) / a0, (1 - k / q + k * k) / a0], w)
    return np.abs(shelf * hp)


def fast_length(n):
    """The smallest length of at least n whose only prime factors are 2, 3 and 5: a fast transform."""
    best = 1 << (n - 1).bit_length()
    p5 = 1
    while p5 < best:
        p35 = p5
        while p35 < best:
            m = p35 << max(0, (n - 1) // p35).bit_length() if p35 < n else p35
            while m // 2 >= n and m % 2 == 0:
                m //= 2
            best = min(best, m)
            p35 *= 3
        p5 *= 5
    return best


def k_weighted(signal, rate, small=False):
    """The signal through the K-weighting (and, with small, through small speakers first), of the
    same length and channels."""
    x = np.asarray(signal, np.float64)
    n = x.shape[0]
    pad = fast_length(n + int(0.05 * rate))
    f = np.fft.rfftfreq(pad, 1.0 / rate)
    response = k_weighting(f, rate)
    if small:
        response = response * butterworth_high_pass(f)
    spectrum = np.fft.rfft(x, pad, axis=0)
    spectrum *= response[:, None] if x.ndim > 1 else response
    return np.fft.irfft(spectrum, pad, axis=0)[:n]


def gated_lufs(weighted, rate):
    """Gated integrated loudness (LUFS) of a K-weighted mono (n) or stereo (n, 2) signal.

    Blocks of 400 ms overlap by 75 %; a sound shorter than one block counts as one
    block of its own length, so a short click is judged by its own energy."""
    x = np.asarray(weighted, np.float64)
    power = (x ** 2).sum(axis=1) if x.ndim > 1 else x ** 2      # channel weights 1.0
    n = len(power)
    block, hop = int(0.4 * rate), int(0.1 * rate)
    cum = np.concatenate([[0.0], np.cumsum(power)])
    if n <= block:
        energies = np.array([cum[-1] / max(n, 1)])
    else:
        starts = np.arange(0, n - block + 1, hop)
        energies = (cum[starts + block] - cum[starts]) / block
    loud = -0.691 + 10 * np.log10(np.maximum(energies, 1e-20))
    kept = energies[loud > -70.0]
    if kept.size == 0:
        return -70.0
    relative = -0.691 + 10 * math.log10(kept.mean()) - 10.0
    kept = kept[-0.691 + 10 * np.log10(kept) > relative]
    return -0.691 + 10 * math.log10(kept.mean())


def integrated_lufs(signal, rate, small=False):
    """Gated integrated loudness (LUFS) of a mono (n) or stereo (n, 2) signal, full range or
    through small speakers."""
    return gated_lufs(k_weighted(signal, rate, small), rate)


# How the player's speakers get a sound: OpenAL Soft (1.19, as Debian ships it) sends a mono source at
# the listener to both channels of a stereo output at this gain each (-4.5 dB, measured with its wave
# writer), and a stereo source channel for channel at unity; the sound's volume (0 to 100) and the
# master volume's listener gain multiply both.
MONO_PAN = 0.5957
SMALL_SPEAKERS = 300.0     # Hz: laptop speakers, modelled as a second-order Butterworth high-pass


def butterworth_high_pass(freqs, corner=SMALL_SPEAKERS, order=2):
    """Magnitude of a Butterworth high-pass at the given frequencies (Hz)."""
    return 1.0 / np.sqrt(1.0 + (corner / np.maximum(np.asarray(freqs, np.float64), 1e-3)) ** (2 * order))


def speakers(signal, volume, gain=1.0):
    """The stereo signal the speakers get from one sound at its volume and the master gain. Linear, so
    it may be given a K-weighted signal too."""
    x = np.asarray(signal, np.float64) * (volume / 100.0) * gain
    return np.stack([x * MONO_PAN, x * MONO_PAN], axis=1) if x.ndim == 1 else x


def loudness_in_play(signal, rate, volume, gain=1.0, small=False):
    """Integrated loudness (LUFS) of one sound at the speakers, full range or through small speakers.
    A sound shorter than a 400 ms block is judged by its own energy."""
    return gated_lufs(speakers(k_weighted(signal, rate, small), volume, gain), rate)


# A stretch of play as the effects occur in a mid-game level: a landing every two seconds, a completed
# pattern every 24 s, a thrown-away thread every 40 s, a new level every minute (every tenth level
# with its fanfare), and every 90 s a column in danger for eight seconds, the alarm knocking once a
# second. The endings' sounds are left out: an ending stops the music.
PLAY_EVERY = {"gem_fall.mp3": (0.5, 2.0), "pattern_shift.mp3": (7.0, 24.0), "trash_drop.mp3": (15.0, 40.0)}
LEVEL_EVERY, DANGER_EVERY, DANGER_KNOCKS = 60.0, 90.0, 8


def play_events(seconds):
    """(time in seconds, effect file) of the effects in `seconds` of play."""
    events = []
    for name, (first, every) in PLAY_EVERY.items():
        events += [(t, name) for t in np.arange(first, seconds, every)]
    for i, t in enumerate(np.arange(LEVEL_EVERY - 1.0, seconds, LEVEL_EVERY)):
        events.append((t, "level11_up.mp3" if i % 10 == 4 else "level_up.mp3"))
    for start in np.arange(DANGER_EVERY / 2, seconds, DANGER_EVERY):
        events += [(start + k + 0.25, "alert.mp3") for k in range(DANGER_KNOCKS)]
    return sorted((float(t), name) for t, name in events)


def play_mix(music, effects, rate, volumes, music_volume, gain):
    """The speakers' signal over the whole music: the music with every effect of play_events at its
    time. effects = {file: mono signal}, volumes = {file: volume}; the signals may be K-weighted."""
    out = speakers(music, music_volume, gain).copy()
    for t, name in play_events(len(out) / rate):
        sig = speakers(effects[name], volumes[name], gain)
        start = int(round(t * rate))
        end = min(len(out), start + len(sig))
        out[start:end] += sig[:end - start]
    return out


def read_wav(path):
    """16-bit WAV as floats in -1..1, shape (n) or (n, channels), and its rate."""
    with wave.open(path, "rb") as w:
        rate, channels = w.getframerate(), w.getnchannels()
        data = np.frombuffer(w.readframes(w.getnframes()), "<i2").astype(np.float64) / 32768.0
    return (data if channels == 1 else data.reshape(-1, channels)), rate


def decode(path):
    """Decode an MP3 or OGG file to floats with its rate."""
    with tempfile.TemporaryDirectory() as tmp:
        wav = os.path.join(tmp, "decoded.wav")
        if path.endswith(".ogg"):
            subprocess.run(["oggdec", "--quiet", "-o", wav, path], check=True)
        else:
            subprocess.run(["lame", "--quiet", "--decode", path, wav], check=True)
        return read_wav(wav)
