#!/usr/bin/env python3
"""Makes the alarm sound built into CHWLU.EXE: one second of beeps that loops without a seam.

Python 3 standard library only. Usage: make_alarm_wav.py [output file]  (default: resources/alarm.wav)

Four short beeps and a pause, 16-bit mono at 16 kHz (about 32 KB). Each beep is a 2 kHz tone with
some of its third harmonic, which cuts through a room better than a pure tone, with 4 ms ramps so
that neither the beeps nor the loop's joint click. The second ends in silence and starts with a
ramp from silence, so playing it in a loop keeps the rhythm exact.
"""
import math
import os
import struct
import sys

RATE = 16000
TONE_HZ = 2000
BEEP_MS, GAP_MS, PAUSE_MS, BEEPS = 110, 70, 350, 4
RAMP_MS = 4
LEVEL = 0.7  # of full scale: loud, with room for the harmonic


def beep(samples):
    ramp = RATE * RAMP_MS // 1000
    out = []
    for i in range(samples):
        t = i / RATE
        v = math.sin(2 * math.pi * TONE_HZ * t) + 0.3 * math.sin(2 * math.pi * 3 * TONE_HZ * t)
        edge = min(1.0, i / ramp, (samples - 1 - i) / ramp)
        out.append(LEVEL / 1.3 * v * edge)
    return out


def pattern():
    ms = lambda n: RATE * n // 1000  # noqa: E731
    data = []
    for n in range(BEEPS):
        data += beep(ms(BEEP_MS))
        data += [0.0] * ms(GAP_MS if n < BEEPS - 1 else PAUSE_MS)
    return data


def wav_bytes(samples):
    pcm = b''.join(struct.pack('<h', int(round(s * 32767))) for s in samples)
    fmt = struct.pack('<HHIIHH', 1, 1, RATE, RATE * 2, 2, 16)
    return (b'RIFF' + struct.pack('<I', 4 + 8 + len(fmt) + 8 + len(pcm)) + b'WAVE' +
            b'fmt ' + struct.pack('<I', len(fmt)) + fmt + b'data' + struct.pack('<I', len(pcm)) + pcm)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, '..', '..', 'resources', 'alarm.wav')
    with open(target, 'wb') as f:
        f.write(wav_bytes(pattern()))


if __name__ == '__main__':
    main()
