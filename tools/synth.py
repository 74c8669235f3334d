"""Synthesises the game's sounds: the reward chime and the looping tune.

wow.wav: a rising four-note bell arpeggio, under a second, 44100 Hz, 16-bit
mono. tune.wav: the background tune, 16 bars at 84 beats a minute (exactly
31500 samples a beat), 44100 Hz 16-bit stereo, for make-assets.sh to encode
as MP3.

The tune loops exactly: it is rendered on a circle (every note tail and the
room's reverberation that run past the end come back in at the start). Its
last bar is a soft closing note that has died away well before the end, so
the seam lies in a quiet breath: a decoder that adds a few milliseconds of
silence there, as MP3 decoders without gapless support do, adds no click.

Usage: synth.py OUTPUT_FOLDER
"""

import math
import os
import sys
import wave

import numpy as np

RATE = 44100
BEAT = 31500            # samples a beat at 84 beats a minute
BARS = 16
LOOP = BARS * 4 * BEAT  # samples in the loop (45.7 s)


def freq(midi):
    return 440.0 * 2.0 ** ((midi - 69) / 12.0)


def write_wav(path, samples):
    """16-bit PCM; samples are floats in -1..1, shape (n,) or (n, channels)."""
    data = np.asarray(samples, np.float64)
    if data.ndim == 1:
        data = data[:, None]
    pcm = np.clip(np.round(data * 32767.0), -32768, 32767).astype("<i2")
    with wave.open(path, "wb") as w:
        w.setnchannels(data.shape[1])
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(pcm.tobytes())


# ---------------------------------------------------------------- voices

def envelope(n, attack, tau, gate=None, release=0.08):
    """A quick rise, an exponential fall, and a soft cut-off at `gate` seconds."""
    t = np.arange(n) / RATE
    env = np.minimum(1.0, t / attack) * np.exp(-t / tau)
    if gate is not None:
        fall = np.clip((gate - t) / release, 0.0, 1.0)
        env *= 0.5 - 0.5 * np.cos(math.pi * fall)
    return env


def bell(f, seconds, tau=0.5):
    """A small bell: a few slightly stretched partials, the high ones dying first."""
    n = int(seconds * RATE)
    t = np.arange(n) / RATE
    out = np.zeros(n)
    for ratio, amp in ((1.0, 1.0), (2.0, 0.35), (3.01, 0.16), (4.18, 0.08), (5.43, 0.03)):
        out += amp * np.sin(math.tau * f * ratio * t) * envelope(n, 0.003, tau / ratio ** 0.7)
    return out


def pluck(f, seconds, tau, gate, bright=1.0):
    """A soft plucked string, like a kalimba or a harp."""
    n = int(seconds * RATE)
    t = np.arange(n) / RATE
    out = np.zeros(n)
    for k, amp in ((1, 1.0), (2, 0.28 * bright), (3, 0.09 * bright), (4, 0.04 * bright)):
        out += amp * np.sin(math.tau * f * k * t + 0.3 * k) * envelope(n, 0.006, tau / k, gate,
                                                                       min(0.3, 0.3 * gate))
    return out


def pad(fs, seconds, attack=0.35, release=0.5):
    """Warm sustained chord: gently detuned sines that swell and fade; returns
    left and right, slightly different so the chord sounds wide."""
    n = int((seconds + release) * RATE)
    t = np.arange(n) / RATE
    env = np.clip(t / attack, 0, 1) ** 2
    env *= np.clip((seconds + release - t) / release, 0, 1) ** 2
    left, right = np.zeros(n), np.zeros(n)
    for f in fs:
        for detune, side in ((0.9985, 0), (1.0015, 1)):
            tone = np.sin(math.tau * f * detune * t) + 0.12 * np.sin(math.tau * 2 * f * detune * t)
            (left if side == 0 else right)[:] += tone * (0.75 if side == 0 else 0.45)
            (right if side == 0 else left)[:] += tone * 0.25
    return left * env, right * env


# ---------------------------------------------------------------- the tune

F3, G3, A3, BB3, C4, D4, E4, F4, G4, A4, BB4, C5, D5, E5, F5, G5, A5 = (
    53, 55, 57, 58, 60, 62, 64, 65, 67, 69, 70, 72, 74, 76, 77, 79, 81)

CHORDS = [  # root (for the bass) and the chord's notes, one a bar
    (F3, (F4, A4, C5)), (D4 - 12, (D4, F4, A4)), (BB3 - 12, (BB3, D4, F4)), (C4 - 12, (C4, E4, G4)),
    (F3, (F4, A4, C5)), (A3 - 12, (A3, C4, E4)), (BB3 - 12, (BB3, D4, F4)), (C4 - 12, (C4, E4, G4, BB4)),
    (D4 - 12, (D4, F4, A4)), (BB3 - 12, (BB3, D4, F4)), (F3, (F4, A4, C5)), (C4 - 12, (C4, E4, G4)),
    (BB3 - 12, (BB3, D4, F4)), (C4 - 12, (C4, E4, G4)), (F3, (F4, A4, C5)), (F3, (F4, A4, C5)),
]

MELODY = [  # (bar, beat, beats, note)
    (0, 0, 1, A4), (0, 1, 1, C5), (0, 2, 1.5, F5), (0, 3.5, 0.5, E5),
    (1, 0, 1.5, D5), (1, 1.5, 0.5, C5), (1, 2, 2, A4),
    (2, 0, 1, BB4), (2, 1, 1, D5), (2, 2, 1, F5), (2, 3, 1, D5),
    (3, 0, 2, C5), (3, 2, 1, G4), (3, 3, 0.5, A4), (3, 3.5, 0.5, BB4),
    (4, 0, 1, C5), (4, 1, 1, A4), (4, 2, 1.5, F5), (4, 3.5, 0.5, G5),
    (5, 0, 1.5, E5), (5, 1.5, 0.5, C5), (5, 2, 2, A4),
    (6, 0, 1, D5), (6, 1, 1, F5), (6, 2, 1, D5), (6, 3, 1, C5),
    (7, 0, 3, E5),
    (8, 0, 1, F5), (8, 1, 0.5, E5), (8, 1.5, 0.5, D5), (8, 2, 2, A4),
    (9, 0, 1, D5), (9, 1, 0.5, C5), (9, 1.5, 0.5, BB4), (9, 2, 2, F4),
    (10, 0, 1, A4), (10, 1, 1, C5), (10, 2, 1, F5), (10, 3, 1, A5),
    (11, 0, 1.5, G5), (11, 1.5, 0.5, E5), (11, 2, 2, C5),
    (12, 0, 1, D5), (12, 1, 1, BB4), (12, 2, 1.5, F5), (12, 3.5, 0.5, D5),
    (13, 0, 1, E5), (13, 1, 1, G5), (13, 2, 1, E5), (13, 3, 1, C5),
    (14, 0, 2, F5), (14, 2, 1, C5), (14, 3, 1, A4),
    (15, 0, 2.5, F4),
]

LAST_SOUND = (LOOP - BEAT * 3 // 2) / RATE   # every note is silent 1.5 beats before the seam


def add(buf, start, sound, gain=1.0):
    """Mixes sound into the circular buffer from sample `start`, wrapping round."""
    n = len(sound)
    idx = (start + np.arange(n)) % len(buf)
    np.add.at(buf, idx, sound * gain)


def tune():
    rng = np.random.default_rng(84)
    left, right = np.zeros(LOOP), np.zeros(LOOP)

    def at(bar, beat):
        return int(round((bar * 4 + beat) * BEAT))

    def gate_for(start, wanted):
        return max(0.05, min(wanted, LAST_SOUND - start / RATE))

    # melody: a kalimba-like pluck, in the middle
    for bar, beat, beats, note in MELODY:
        s = at(bar, beat)
        length = beats * BEAT / RATE
        g = gate_for(s, length + 0.35)
        voice = pluck(freq(note), g + 0.1, 0.9, g, bright=1.2)
        add(left, s, voice, 0.30)
        add(right, s, voice, 0.30)

    for bar, (root, notes) in enumerate(CHORDS):
        last = bar == BARS - 1
        s = at(bar, 0)
        # the chord, held softly for the bar (half of it in the closing bar)
        held = (2.0 if last else 4.0) * BEAT / RATE
        release = 0.5 if not last else 0.45
        pl, pr = pad([freq(n - 12) for n in notes], min(held, LAST_SOUND - s / RATE - release),
                     release=release)
        add(left, s, pl, 0.05)
        add(right, s, pr, 0.05)
        # the bass on beats one and three
        for beat, note in ((0, root), (2, root + 7)):
            if last and beat:
                continue
            b = at(bar, beat)
            g = gate_for(b, 2.0 * BEAT / RATE + 0.2)
            add(left, b, pluck(freq(note), g + 0.1, 1.2, g, bright=0.5), 0.20)
            add(right, b, pluck(freq(note), g + 0.1, 1.2, g, bright=0.5), 0.20)
        # a harp walking up and down the chord in eighths, to one side and the other
        if not last:
            pattern = [0, 1, 2, 3, 2, 1, 2, 1]
            tones = [notes[0], notes[1], notes[2], notes[0] + 12]
            for k, p in enumerate(pattern):
                b = at(bar, k * 0.5)
                g = gate_for(b, 0.45)
                voice = pluck(freq(tones[p]), g + 0.1, 0.35, g, bright=0.8)
                pan = 0.5 + 0.25 * math.sin(k * math.pi / 4 + bar)
                add(left, b, voice, 0.10 * (1 - pan))
                add(right, b, voice, 0.10 * pan)

    # a small room: convolution with decaying noise, done on the circle so the
    # reverberation of the end flows into the start
    ir_len = int(0.9 * RATE)
    t = np.arange(ir_len) / RATE
    decay = np.exp(-t * 6.9 / 0.8)          # about 60 dB down after 0.8 s
    wet = []
    for ch, dry in enumerate((left, right)):
        ir = rng.standard_normal(ir_len) * decay
        ir[: int(0.012 * RATE)] = 0.0      # a short gap before the reflections
        ir /= np.sqrt(np.sum(ir ** 2))
        full = np.zeros(LOOP)
        full[:ir_len] = ir
        wet.append(np.real(np.fft.ifft(np.fft.fft(dry) * np.fft.fft(full))))
    out = np.stack([left + 0.35 * wet[0], right + 0.35 * wet[1]], axis=1)
    return out / np.max(np.abs(out)) * 0.75


def wow():
    notes = [(0.00, 79), (0.07, 84), (0.14, 88), (0.21, 91)]   # G5 C6 E6 G6
    n = int(0.82 * RATE)
    out = np.zeros(n)
    for start, note in notes:
        s = int(start * RATE)
        tone = bell(freq(note), (n - s) / RATE, tau=0.28)
        out[s:] += tone * (0.8 + 0.2 * (note == 91))
    # a light sparkle: the top note an octave higher, quietly
    s = int(0.21 * RATE)
    out[s:] += 0.2 * bell(freq(103), (n - s) / RATE, tau=0.12)
    fade = np.clip((n - np.arange(n)) / (0.12 * RATE), 0, 1)
    out *= 0.5 - 0.5 * np.cos(math.pi * fade)
    return out / np.max(np.abs(out)) * 0.7


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_wav(os.path.join(out, "wow.wav"), wow())
    write_wav(os.path.join(out, "tune.wav"), tune())


if __name__ == "__main__":
    main()
