#!/usr/bin/env python3
"""Makes the demo show: a soundtrack synthesized here (no recording of anyone's music) and
the edit script that builds the project's cues on the music's beats.

    make_demo_show.py OUT_FOLDER

writes OUT_FOLDER/demo-show.wav (mono, 16 bit, 44100 Hz, about three minutes at 125 beats
per minute) and OUT_FOLDER/demo-show.ops, the steps for `skyfirewright-cli edit` that add
the pyro, DMX and reminder cues and link the soundtrack. The project runs at 25 frames per
second, where a beat of 0.48 s is exactly 12 frames and 21168 samples.
"""

import math
import os
import random
import struct
import sys
import wave

RATE = 44100
BPM = 125
FPS = 25
BEAT_SAMPLES = RATE * 60 // BPM          # 21168
BEAT_FRAMES = FPS * 60 // BPM            # 12
BAR_SAMPLES = 4 * BEAT_SAMPLES
BAR_FRAMES = 4 * BEAT_FRAMES

# A minor: Am F C G, one chord a bar. Notes as MIDI numbers.
CHORDS = [(57, 60, 64), (53, 57, 60), (48, 52, 55), (55, 59, 62)]

# The form of the piece: (section, bars). Sections differ in which voices play.
FORM = [("intro", 8), ("verse", 16), ("build", 8), ("chorus", 16), ("break", 8),
        ("build", 4), ("chorus", 16), ("finale", 8), ("outro", 6)]

VOICES = {
    #          kick    snare  hats   bass   pad    arp    riser
    "intro":  (None,   False, False, False, True,  False, False),
    "verse":  ("half", True,  True,  True,  True,  False, False),
    "build":  ("four", "roll", True, True,  True,  False, True),
    "chorus": ("four", True,  True,  True,  True,  True,  False),
    "break":  (None,   False, False, False, True,  True,  False),
    "finale": ("four", True,  True,  True,  True,  True,  True),
    "outro":  (None,   False, False, False, True,  False, False),
}


def frequency(note):
    return 440.0 * 2 ** ((note - 69) / 12)


NOISE = [random.Random(1).uniform(-1, 1) for _ in range(BEAT_SAMPLES)]


def kick(length):
    # A sine swept down from 150 to 48 Hz, fading fast.
    out = []
    phase = 0.0
    for i in range(length):
        t = i / RATE
        phase += 2 * math.pi * (48 + 102 * math.exp(-t * 28)) / RATE
        out.append(math.sin(phase) * math.exp(-t * 9))
    return out


def snare(length):
    return [(0.7 * NOISE[i] + 0.4 * math.sin(2 * math.pi * 185 * i / RATE)) *
            math.exp(-i / RATE * 22) for i in range(length)]


def hat(length):
    return [NOISE[(i * 7) % BEAT_SAMPLES] * math.exp(-i / RATE * 90) for i in range(length)]


def tone(note, length, harmonics, decay):
    w = 2 * math.pi * frequency(note) / RATE
    return [sum(math.sin(w * k * i) / k for k in harmonics) * math.exp(-i / RATE * decay)
            for i in range(length)]


def add(track, start, sound, gain):
    for i, value in enumerate(sound):
        if start + i < len(track):
            track[start + i] += gain * value


# The sounds are made once and laid into each bar where they belong.
KICK = kick(BEAT_SAMPLES)
SNARE = snare(BEAT_SAMPLES)
HAT = hat(BEAT_SAMPLES // 4)
EIGHTH = BEAT_SAMPLES // 2
SIXTEENTH = BEAT_SAMPLES // 4
BASS = {chord[0]: tone(chord[0] - 12, EIGHTH, (1, 2, 3), 7) for chord in CHORDS}
ARP = {note: tone(note + 12, SIXTEENTH, (1, 3), 14)
       for chord in CHORDS for note in chord}


def pad(chord):
    # The chord held for the bar, swelling in and out.
    ws = [2 * math.pi * frequency(note) / RATE for note in chord]
    out = []
    for i in range(BAR_SAMPLES):
        swell = math.sin(math.pi * i / BAR_SAMPLES) ** 0.5
        out.append(swell * sum(math.sin(w * i) + 0.3 * math.sin(2.003 * w * i) for w in ws) / 3)
    return out


PAD = {chord: pad(chord) for chord in CHORDS}


def bar(section, chord, position, length):
    """One bar of a section; `position` counts the bars of the section from 0."""
    kicks, snares, hats, bass, pads, arp, riser = VOICES[section]
    track = [0.0] * BAR_SAMPLES
    if pads:
        add(track, 0, PAD[chord], 0.16)
    for beat in range(4):
        at = beat * BEAT_SAMPLES
        if kicks == "four" or (kicks == "half" and beat % 2 == 0):
            add(track, at, KICK, 0.55)
        if snares is True and beat % 2 == 1:
            add(track, at, SNARE, 0.3)
        if snares == "roll":
            # The roll gets denser and louder toward the end of the build.
            hits = 2 if position < length // 2 else 4
            for hit in range(hits):
                add(track, at + hit * BEAT_SAMPLES // hits, SNARE[:BEAT_SAMPLES // hits],
                    0.12 + 0.2 * (position * 4 + beat) / (length * 4))
        if hats:
            add(track, at + EIGHTH, HAT, 0.12)
        if bass:
            add(track, at, BASS[chord[0]], 0.28)
            add(track, at + EIGHTH, BASS[chord[0]], 0.2)
        if arp:
            for step in range(4):
                note = chord[(beat * 4 + step) % 3]
                add(track, at + step * SIXTEENTH, ARP[note], 0.1)
    if riser:
        # Rising noise over the bar.
        for i in range(0, BAR_SAMPLES):
            track[i] += 0.08 * (i / BAR_SAMPLES) * NOISE[(i * 3) % BEAT_SAMPLES]
    return track


def soundtrack():
    """The whole piece as bytes, and the bar at which each section starts."""
    cache = {}
    pieces = []
    starts = []
    bar_number = 0
    for section, length in FORM:
        starts.append((section, bar_number, length))
        for position in range(length):
            chord = CHORDS[bar_number % 4]
            # Rolls and risers change bar by bar; other bars repeat as they are.
            key = (section, chord, position if section == "build" else 0, length)
            if key not in cache:
                samples = bar(section, chord, position, length)
                cache[key] = samples
            samples = cache[key]
            fade = 1.0
            if section == "intro":
                fade = (position + 1) / length
            gain = fade * (0.6 if section == "outro" and position >= length - 2 else 1.0)
            last = section == "outro" and position == length - 1
            out = bytearray()
            for i, value in enumerate(samples):
                if last:
                    value *= 1 - i / BAR_SAMPLES
                out += struct.pack("<h", max(-32767, min(32767, int(value * gain * 24000))))
            pieces.append(bytes(out))
            bar_number += 1
    return b"".join(pieces), starts


def timecode(frames):
    return "%02d:%02d:%02d:%02d" % (frames // (FPS * 3600), frames // (FPS * 60) % 60,
                                    frames // FPS % 60, frames % FPS)


# Effects of the demo: (description, type, calibre, prefire in frames, height in m).
SHELL_GOLD = ("Gold-peony", "Shell", "75", 50, 80)
SHELL_RED = ("Red-chrysanthemum", "Shell", "100", 60, 110)
COMET = ("Silver-comet", "Comet", "30", 0, 30)
MINE = ("Crackling-mine", "Mine", "50", 0, 25)
CAKE = ("Fan-cake-25-shots", "Cake", "20", 5, 35)
WILLOW = ("Gold-willow", "Shell", "125", 75, 140)
SALUTE = ("Titanium-salute", "Shell", "75", 50, 90)

POSITIONS = ["Left", "Centre", "Right"]


class Cues:
    """The edit steps that make the cues; pyro addresses are handed out module by module."""

    def __init__(self):
        self.steps = []
        self.next_pin = {}

    def address(self, module):
        pin = self.next_pin.get(module, 0)
        if pin > 15:
            raise SystemExit("module %d has no pin left" % module)
        self.next_pin[module] = pin + 1
        return module * 16 + pin

    def pyro(self, frame, module, effect, position, group=1):
        description, kind, calibre, prefire, height = effect
        self.steps += [
            "add-pyro %s" % timecode(frame),
            "set-value 2 %d" % self.address(module),
            "set-value 1 %d" % group,
            "set-meta ~DESC %s" % description,
            "set-meta ~TYPE %s" % kind,
            "set-meta ~CALIBRE %s" % calibre,
            "set-meta ~HEIGHT %d" % height,
            "set-meta ~POS %s" % position,
        ]
        if prefire:
            # The shell is fired this much earlier, so that it breaks on the beat.
            self.steps.append("set-value 0 %d" % prefire)

    def dmx(self, frame, end, text, bpm=0, path=0):
        # The controller needs a channel besides the text: the text's first one (the
        # channel field counts from 0, the text from 1). A new channel starts the text over,
        # so the text comes last.
        first = int(text.lstrip("(").split("@")[0].split("+")[0])
        self.steps += ["add-dmx %s %s" % (timecode(frame), timecode(end)),
                       "set-value 3 0",
                       "set-value 4 %d" % (first - 1),
                       "set-value 5 255",
                       "set-value 11 %s" % text]
        if bpm:
            self.steps += ["set-value 10 %d" % bpm, "set-value 12 %d" % path]

    def reminder(self, frame, text):
        self.steps += ["add-reminder %s" % timecode(frame), "set-reminder %s" % text]


def show(starts):
    """The cues for the sections of the piece."""
    cues = Cues()
    section_bar = {}
    for section, first, length in starts:
        section_bar.setdefault(section, []).append((first, length))

    def beat(bar_number, beat_number=0):
        return bar_number * BAR_FRAMES + beat_number * BEAT_FRAMES

    cues.reminder(0, "Music starts: audience lights off")
    # Flames and lights: DMX channels 1-4 are flame units, 5-8 a wash light.
    cues.dmx(beat(0), beat(8), "5@40+6@20+7@80")
    (verse, verse_length), = section_bar["verse"]
    for b in range(verse, verse + verse_length, 2):
        cues.pyro(beat(b), 1 + (b // 2) % 2, COMET, POSITIONS[(b // 2) % 3])
    for b in range(verse + 4, verse + verse_length, 4):
        cues.pyro(beat(b, 2), 3, SHELL_GOLD, "Centre", group=2)
    for first, length in section_bar["build"]:
        cues.reminder(beat(first), "Build-up: check the wind")
        cues.dmx(beat(first), beat(first + length), "(5@255+6@0)+(5@0+6@255)", bpm=BPM, path=2)
        for b in range(first, first + length):
            cues.pyro(beat(b, 3), 4, MINE if b % 2 else CAKE, POSITIONS[b % 3])
    for index, (first, length) in enumerate(section_bar["chorus"]):
        for b in range(first, first + length):
            effect = SHELL_RED if b % 2 else SHELL_GOLD
            cues.pyro(beat(b), 5 + index * 2 + (b - first) // 8, effect, POSITIONS[b % 3], group=3)
            if b % 4 == 3:
                cues.dmx(beat(b, 2), beat(b, 3), "1@255+2@255+3@255+4@255")
    (pause, pause_length), = section_bar["break"]
    cues.reminder(beat(pause), "Quiet break: next shells loaded?")
    cues.dmx(beat(pause), beat(pause + pause_length), "(7@255)+(8@255)", bpm=BPM // 2, path=1)
    (finale, finale_length), = section_bar["finale"]
    cues.reminder(beat(finale) - 2 * BAR_FRAMES, "Finale in two bars")
    module = 9
    for b in range(finale, finale + finale_length):
        for beat_number in range(4):
            if (b - finale) * 4 + beat_number >= 16 * (module - 8):
                module += 1
            effect = WILLOW if beat_number == 0 else (SALUTE if b == finale + finale_length - 1
                                                      else SHELL_GOLD)
            cues.pyro(beat(b, beat_number), module, effect, POSITIONS[beat_number % 3], group=4)
    cues.dmx(beat(finale), beat(finale + finale_length), "1@255+2@255+3@255+4@255+5@255+6@255")
    (outro, outro_length), = section_bar["outro"]
    cues.dmx(beat(outro), beat(outro + outro_length), "5@60+7@60")
    cues.reminder(beat(outro + outro_length) - 1, "Show end: keep the area closed until checked")
    return cues.steps


def main():
    if len(sys.argv) != 2:
        print("usage: make_demo_show.py OUT_FOLDER", file=sys.stderr)
        return 2
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    samples, starts = soundtrack()
    wav = os.path.join(folder, "demo-show.wav")
    # Written under another name first, so that a stopped run leaves no half file behind.
    with wave.open(wav + ".part", "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(samples)
    os.replace(wav + ".part", wav)
    steps = show(starts) + ["link-wave %s" % os.path.abspath(wav)]
    with open(os.path.join(folder, "demo-show.ops"), "w", encoding="utf-8") as out:
        out.write("# The demo show's cues, made by make_demo_show.py.\n")
        out.write("\n".join(steps) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
