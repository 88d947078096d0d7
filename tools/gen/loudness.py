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


def integrated_lufs(signal, rate):
    """Gated integrated loudness (LUFS) of a mono (n) or stereo (n, 2) signal.

    Blocks of 400 ms overlap by 75 %; a sound shorter than one block counts as one
    block of its own length, so a short click is judged by its own energy."""
    x = np.asarray(signal, np.float64)
    if x.ndim == 1:
        x = x[:, None]
    n = x.shape[0]
    pad = n + int(0.05 * rate)
    spectrum = np.fft.rfft(x, pad, axis=0) * k_weighting(np.fft.rfftfreq(pad, 1.0 / rate), rate)[:, None]
    power = (np.fft.irfft(spectrum, pad, axis=0)[:n] ** 2).sum(axis=1)   # channel weights 1.0
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


def effective_lufs(signal, rate, volume):
    """Loudness in play at a sound object's volume (0 to 100, applied as linear gain)."""
    return integrated_lufs(signal, rate) + 20 * math.log10(volume / 100.0)


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
