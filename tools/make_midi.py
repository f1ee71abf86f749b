#!/usr/bin/env python3
"""Writes Meldora's own background music as Standard MIDI files.

Each piece is composed here from a chord progression: a seeded random walk over
the chord tones gives the melody, broken chords give the accompaniment and a
walking root gives the bass. The same seed always writes the same bytes, so the
committed files can be regenerated and compared.

Usage: make_midi.py OUTPUT_FOLDER
"""
import random
import struct
import sys
from pathlib import Path

TICKS = 480  # per quarter note

# General MIDI programs.
PIANO, MARIMBA, VIBES, NYLON_GUITAR, ACOUSTIC_BASS, STRINGS, FLUTE, CLARINET, CELESTA, HARP = (
    0, 12, 11, 24, 32, 48, 73, 71, 8, 46)

MAJOR = [0, 2, 4, 5, 7, 9, 11]
MINOR = [0, 2, 3, 5, 7, 8, 10]

# Rhythms of one 4/4 bar for the melody, in eighth notes; None is a rest.
MELODY_RHYTHMS = [
    [2, 2, 2, 2],
    [1, 1, 2, 2, 2],
    [3, 1, 2, 2],
    [2, 1, 1, 4],
    [2, 2, 4],
    [1, 1, 1, 1, 2, 2],
    [4, None, 2, 2],
]


def vlq(value):
    """A MIDI variable-length quantity."""
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.append(0x80 | (value & 0x7F))
        value >>= 7
    return bytes(reversed(out))


def track_chunk(events, end):
    """events: (tick, order, bytes); note-offs sort before note-ons at the same tick.
    The track ends at tick `end`, so that every track lasts as long as the piece."""
    data = bytearray()
    now = 0
    for tick, _order, payload in sorted(events, key=lambda e: (e[0], e[1])):
        data += vlq(tick - now) + payload
        now = tick
    data += vlq(max(0, end - now)) + b"\xff\x2f\x00"
    return b"MTrk" + struct.pack(">I", len(data)) + bytes(data)


def meta_text(kind, text):
    raw = text.encode("ascii")
    return bytes([0xFF, kind]) + vlq(len(raw)) + raw


class Track:
    def __init__(self, name, channel, program, volume, pan=64):
        self.channel = channel
        self.events = [
            (0, 0, meta_text(0x03, name)),
            (0, 0, bytes([0xC0 | channel, program])),
            (0, 0, bytes([0xB0 | channel, 7, volume])),
            (0, 0, bytes([0xB0 | channel, 10, pan])),
            (0, 0, bytes([0xB0 | channel, 91, 40])),  # a little reverb
        ]

    def note(self, start, length, pitch, velocity):
        self.events.append((start, 2, bytes([0x90 | self.channel, pitch, velocity])))
        self.events.append((start + length, 1, bytes([0x80 | self.channel, pitch, 0])))


def scale_pitch(root, scale, degree):
    """The pitch of a scale degree counted from the root (degree may pass the octave)."""
    octave, step = divmod(degree, 7)
    return root + 12 * octave + scale[step]


def compose(title, seed, root, scale, tempo_bpm, progression, repeats, melody_program,
            chord_program, bass_program, style):
    rng = random.Random(seed)
    bar = 4 * TICKS
    eighth = TICKS // 2

    conductor = [
        (0, 0, meta_text(0x03, title)),
        (0, 0, b"\xff\x51\x03" + struct.pack(">I", 60_000_000 // tempo_bpm)[1:]),
        (0, 0, b"\xff\x58\x04\x04\x02\x18\x08"),
    ]
    melody = Track("Melody", 0, melody_program, 96, 72)
    chords = Track("Chords", 1, chord_program, 70, 50)
    bass = Track("Bass", 2, bass_program, 88, 64)

    bars = progression * repeats
    degree = 7  # the melody starts on the tonic an octave up
    for index, chord_degree in enumerate(bars):
        start = index * bar
        last_bar = index == len(bars) - 1
        chord_tones = [chord_degree, chord_degree + 2, chord_degree + 4]

        # Melody: a walk that prefers chord tones on the beats and steps between them.
        rhythm = [8] if last_bar else rng.choice(MELODY_RHYTHMS)
        at = start
        for length in rhythm:
            if length is None:
                at += 2 * eighth
                continue
            on_beat = (at - start) % TICKS == 0
            if last_bar:
                degree = 7
            elif on_beat:
                targets = [t + 7 * o for t in chord_tones for o in (0, 1)]
                degree = min(targets, key=lambda t: (abs(t - degree), rng.random()))
            else:
                degree += rng.choice([-1, 1, 1, 2, -2])
            degree = max(3, min(degree, 13))
            pitch = scale_pitch(root + 12, scale, degree)
            velocity = 78 if on_beat else 66
            melody.note(at, length * eighth - 20, pitch, velocity)
            at += length * eighth

        # Accompaniment.
        triad = [scale_pitch(root, scale, d) for d in chord_tones]
        if last_bar:
            for pitch in triad:
                chords.note(start, bar - 10, pitch, 56)
        elif style == "broken":
            pattern = [0, 1, 2, 1, 0, 1, 2, 1]
            for step, which in enumerate(pattern):
                chords.note(start + step * eighth, eighth - 10, triad[which], 50)
        elif style == "waltz-like":
            chords.note(start, TICKS - 20, triad[0], 52)
            for beat in (1, 2, 3):
                for pitch in triad[1:]:
                    chords.note(start + beat * TICKS, TICKS - 40, pitch, 44)
        else:  # held
            for pitch in triad:
                chords.note(start, bar - 30, pitch, 46)

        # Bass: root on one, fifth on three; a passing note into the next bar.
        bass_root = scale_pitch(root - 24, scale, chord_degree % 7)
        bass.note(start, 2 * TICKS - 30, bass_root, 70)
        if last_bar:
            continue
        bass.note(start + 2 * TICKS, TICKS - 30, bass_root + 7, 62)
        next_root = scale_pitch(root - 24, scale, bars[index + 1] % 7)
        bass.note(start + 3 * TICKS, TICKS - 30, next_root - 1 if next_root > bass_root else next_root + 2, 56)

    end = len(bars) * bar
    header = b"MThd" + struct.pack(">IHHH", 6, 1, 4, TICKS)
    return header + b"".join(track_chunk(t, end) for t in (conductor, melody.events, chords.events, bass.events))


PIECES = {
    # The single music file that plays when no jukebox folder is chosen.
    "ARCADIA.MID": dict(title="Arcadia", seed=11, root=60, scale=MAJOR, tempo_bpm=96,
                        progression=[0, 5, 3, 4, 0, 3, 4, 0], repeats=3,
                        melody_program=FLUTE, chord_program=HARP, bass_program=ACOUSTIC_BASS, style="broken"),
    "parlour.mid": dict(title="Parlour", seed=23, root=65, scale=MAJOR, tempo_bpm=112,
                        progression=[0, 3, 4, 0, 5, 1, 4, 0], repeats=3,
                        melody_program=VIBES, chord_program=PIANO, bass_program=ACOUSTIC_BASS, style="waltz-like"),
    "riverside.mid": dict(title="Riverside", seed=37, root=62, scale=MAJOR, tempo_bpm=84,
                          progression=[0, 4, 5, 3, 0, 3, 4, 4], repeats=3,
                          melody_program=CLARINET, chord_program=NYLON_GUITAR, bass_program=ACOUSTIC_BASS,
                          style="broken"),
    "evening.mid": dict(title="Evening", seed=41, root=57, scale=MINOR, tempo_bpm=76,
                        progression=[0, 5, 2, 6, 0, 3, 4, 0], repeats=2,
                        melody_program=CELESTA, chord_program=STRINGS, bass_program=ACOUSTIC_BASS, style="held"),
}


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_midi.py OUTPUT_FOLDER")
    folder = Path(sys.argv[1])
    folder.mkdir(parents=True, exist_ok=True)
    for name, piece in PIECES.items():
        (folder / name).write_bytes(compose(**piece))
        print(folder / name)


if __name__ == "__main__":
    main()
