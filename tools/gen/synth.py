"""Sound building blocks: oscillators, envelopes, filtered noise, instruments,
a smooth limiter and loudness targeting, and the MP3 encoder."""

import math
import os
import subprocess
import wave

import numpy as np

from gen import common
from gen.loudness import integrated_lufs

RATE = 44100               # audio sample rate, Hz


def secs(n):
    return np.arange(int(round(n * RATE))) / RATE


def osc(freq, dur, harmonics=((1, 1.0),), phase=0.0):
    """Additive oscillator; freq may be a number or an array (a pitch glide)."""
    n = int(round(dur * RATE))
    f = np.full(n, float(freq)) if np.isscalar(freq) else np.asarray(freq, np.float64)[:n]
    ph = 2 * np.pi * np.cumsum(f) / RATE + phase
    out = np.zeros(n)
    for mult, amp in harmonics:
        out += amp * np.sin(ph * mult)
    return out


def env(dur, attack=0.005, decay=8.0, release=0.01, hold=0.0):
    """Attack ramp, optional hold, exponential decay, short release at the end."""
    t = secs(dur)
    e = np.minimum(1.0, t / max(attack, 1e-4))
    e *= np.exp(-np.maximum(0.0, t - attack - hold) * decay)
    if release:
        e *= np.clip((dur - t) / release, 0.0, 1.0)
    return e


def band_noise(dur, lo, hi, rng, soft=0.25):
    """White noise limited to lo..hi Hz by a smooth mask in the frequency domain."""
    n = int(round(dur * RATE))
    spectrum = np.fft.rfft(rng.standard_normal(n))
    f = np.fft.rfftfreq(n, 1.0 / RATE)
    lf = np.log(np.maximum(f, 1.0))
    mask = 1.0 / (1.0 + np.exp(-(lf - math.log(lo)) / soft)) / (1.0 + np.exp((lf - math.log(hi)) / soft))
    out = np.fft.irfft(spectrum * mask, n)
    return out / (np.max(np.abs(out)) + 1e-9)


def mix_at(buf, sig, start, gain=1.0, wrap=False):
    """Add sig into buf from sample `start`; with wrap the tail re-enters at the front."""
    s = int(round(start))
    n = len(sig)
    if wrap:
        s %= len(buf)
        head = min(n, len(buf) - s)
        buf[s:s + head] += sig[:head] * gain
        if head < n:
            buf[:n - head] += sig[head:] * gain
    else:
        end = min(len(buf), s + n)
        if end > s:
            buf[s:end] += sig[:end - s] * gain
    return buf


def fade_out(sig, dur=0.02):
    n = min(len(sig), int(dur * RATE))
    sig[-n:] *= np.linspace(1.0, 0.0, n)
    return sig


def write_wav(path, sig):
    """16-bit WAV, mono for a 1-D signal, stereo for an (n, 2) one."""
    data = np.clip(np.rint(sig * 32767), -32768, 32767).astype("<i2")
    with wave.open(path, "wb") as w:
        w.setnchannels(1 if data.ndim == 1 else 2)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(data.tobytes())


def note_freq(semitones_from_a4):
    return 440.0 * 2.0 ** (semitones_from_a4 / 12.0)


def bell(f, dur, decay=5.0, bright=1.0):
    """A glassy chime: a few slightly stretched partials, the high ones dying first."""
    t = secs(dur)
    out = np.zeros_like(t)
    for mult, amp, dk in ((1.0, 1.0, 1.0), (2.01, 0.45 * bright, 1.6), (3.02, 0.22 * bright, 2.4),
                          (4.23, 0.12 * bright, 3.5)):
        out += amp * np.sin(2 * np.pi * f * mult * t) * np.exp(-t * decay * dk)
    return out * np.minimum(1.0, t / 0.003)


def marimba(f, dur, decay=5.0, rng=None):
    """Struck bar: fundamental, the bar's fourth-ish overtone and a mallet knock."""
    t = secs(dur)
    out = np.sin(2 * np.pi * f * t) * np.exp(-t * decay)
    out += 0.4 * np.sin(2 * np.pi * f * 3.93 * t) * np.exp(-t * decay * 3.2)
    out += 0.12 * np.sin(2 * np.pi * f * 9.2 * t) * np.exp(-t * decay * 7.0)
    out *= np.minimum(1.0, t / 0.002)
    if rng is not None:
        knock = band_noise(min(dur, 0.03), 600, 4000, rng) * np.exp(-secs(min(dur, 0.03)) * 200)
        out[:len(knock)] += 0.12 * knock
    return out * np.clip((dur - t) / 0.02, 0, 1)


def brass(f, dur, attack=0.03, vibrato=0.0, bright=1.0, release=0.08):
    """Bright horn-like tone whose upper harmonics swell in with the attack."""
    t = secs(dur)
    vib = 1.0 + vibrato * np.sin(2 * np.pi * 5.5 * t) * np.clip((t - 0.15) / 0.2, 0, 1)
    ph = 2 * np.pi * np.cumsum(f * vib) / RATE
    swell = np.clip(t / (attack * 3), 0, 1)
    out = np.zeros_like(t)
    for n in range(1, 11):
        amp = (1.0 / n ** 0.95) * (1.0 if n == 1 else swell * bright)
        out += amp * np.sin(n * ph)
    e = np.minimum(1.0, t / attack) * np.clip((dur - t) / release, 0, 1)
    return out * e


def spectral_gain(sig, gain_of_freq):
    """Filter by a zero-phase gain curve (a function of frequency in Hz) in the Fourier domain."""
    n = len(sig)
    f = np.fft.rfftfreq(n, 1.0 / RATE)
    return np.fft.irfft(np.fft.rfft(sig, axis=0) * (gain_of_freq(f)[:, None] if sig.ndim > 1 else gain_of_freq(f)),
                        n, axis=0)


def high_pass(sig, corner, order=2):
    return spectral_gain(sig, lambda f: 1.0 / np.sqrt(1.0 + (corner / np.maximum(f, 1e-3)) ** (2 * order)))


def low_pass(sig, corner, order=2):
    return spectral_gain(sig, lambda f: 1.0 / np.sqrt(1.0 + (f / corner) ** (2 * order)))


def limit(sig, ceiling, release=0.06, wrap=False):
    """Peak limiter: a gain that dips just before each peak and recovers over `release` s.

    With wrap the gain curve is computed round the loop, so a seamless loop stays seamless."""
    peaks = np.abs(sig) if sig.ndim == 1 else np.abs(sig).max(axis=1)
    block = 64
    n = len(peaks)
    nb = -(-n // block)
    pk = np.zeros(nb * block)
    pk[:n] = peaks
    if wrap:
        pk[n:] = peaks[:nb * block - n]
    pk = pk.reshape(nb, block).max(axis=1)
    gain = np.minimum(1.0, ceiling / np.maximum(pk, 1e-9))
    steps = max(1, int(release * RATE / block))
    smooth = gain.copy()
    for shift in range(-2, steps + 1):
        rolled = np.roll(gain, shift)
        if not wrap:
            if shift > 0:
                rolled[:shift] = 1.0
            elif shift < 0:
                rolled[shift:] = 1.0
        smooth = np.minimum(smooth, rolled ** (1.0 - max(0, shift) / (steps + 1.0)))
    centres = np.arange(nb) * block + block / 2
    g = np.interp(np.arange(n), centres, smooth, period=n if wrap else None)
    out = sig * (g if sig.ndim == 1 else g[:, None])
    # Whatever the interpolation let through is rounded off softly.
    return np.tanh(out / ceiling * 0.999) * ceiling


def master(sig, lufs, peak=0.89, wrap=False):
    """Bring a sound to a loudness target with its peaks held under `peak` (both in full scale).

    Loud targets need the limiter; it is applied repeatedly until the loudness sticks."""
    sig = sig / (np.max(np.abs(sig)) + 1e-12) * peak
    for _ in range(12):
        now = integrated_lufs(sig, RATE)
        if abs(now - lufs) < 0.05:
            break
        sig = sig * 10 ** ((lufs - now) / 20)
        if np.max(np.abs(sig)) > peak:
            sig = limit(sig, peak, wrap=wrap)
    return sig


def encode_mp3(sig, name, tmp):
    wav = os.path.join(tmp, name + ".wav")
    write_wav(wav, sig)
    subprocess.run(["lame", "--silent", "-h", "-m", "m", "-b", "128", "--resample", "44.1", wav,
                    os.path.join(common.OUT, name)], check=True)


def reverb(sig, seconds, wet, rng, wrap=False):
    """A plain room: convolution with decaying noise (60 dB down after `seconds`)."""
    n = len(sig)
    length = int(seconds * RATE)
    t = secs(seconds)[:length]
    ir = rng.standard_normal(length) * np.exp(-t * 6.9 / seconds)
    ir[:int(0.01 * RATE)] = 0.0
    ir *= wet / math.sqrt(np.sum(ir ** 2) + 1e-12)
    size = n if wrap else n + length
    padded = np.zeros(size)
    padded[:n] = sig
    tail = np.fft.irfft(np.fft.rfft(padded) * np.fft.rfft(ir, size), size)
    out = padded + tail
    return out if not wrap else out[:n]
