#!/usr/bin/env python3
"""Writes the reference WAVE files of the FileIO tests and the seed corpus of the RIFF fuzz
target. The files are built here with Python's struct module, independently of the C++
writer, so the tests compare our reader and writer with a second implementation of the
format. Run from any folder; the output is committed."""

import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.path.join(HERE, "..", "RiffFuzz.corpus")


def chunk(cid, data):
    pad = b"\0" if len(data) % 2 else b""
    return cid + struct.pack("<I", len(data)) + data + pad


def lst(kind, ltype, children):
    body = ltype + b"".join(children)
    return kind + struct.pack("<I", len(body)) + body


def riff(form, children):
    return lst(b"RIFF", form, children)


def fmt(channels, rate, bits, extension=None):
    align = bits // 8 * channels
    data = struct.pack("<HHIIHH", 1, channels, rate, rate * align, align, bits)
    if extension is not None:
        data += struct.pack("<H", extension)
    return chunk(b"fmt ", data)


def utf16z(text):
    return text.encode("utf-16-le") + b"\0\0"


# 8-bit mono at 8000 Hz: a "LIST" "INFO" before "fmt " and a "data" chunk of odd size
# (5 frames, then a pad byte). The samples are the conversion's boundary values.
MONO8 = riff(b"WAVE", [
    lst(b"LIST", b"INFO", [chunk(b"INAM", b"Tone\0")]),
    fmt(1, 8000, 8),
    chunk(b"data", bytes([0x00, 0x80, 0xFF, 0x01, 0x7F])),
])

# 16-bit stereo at 44100 Hz with an 18-byte "fmt " (extension size 0) and a "data" chunk
# of 26 bytes: six frames and two bytes of a seventh that is not counted.
STEREO16_FRAMES = [(0, 0), (1, -1), (32767, -32768), (-2, 256), (0x1234, -0x1234), (100, -100)]
STEREO16 = riff(b"WAVE", [
    fmt(2, 44100, 16, extension=0),
    chunk(b"data", b"".join(struct.pack("<hh", l, r) for l, r in STEREO16_FRAMES) + b"\xAA\xBB"),
])


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def main():
    write(os.path.join(HERE, "mono8.wav"), MONO8)
    write(os.path.join(HERE, "stereo16.wav"), STEREO16)

    os.makedirs(CORPUS, exist_ok=True)
    seeds = {
        "mono8.wav": MONO8,
        "stereo16.wav": STEREO16,
        "stereo8.wav": riff(b"WAVE", [fmt(2, 22050, 8), chunk(b"data", bytes(range(0, 256, 17)))]),
        # "data" before "fmt ", 16-bit mono with an odd data size
        "mono16.wav": riff(b"WAVE", [chunk(b"data", struct.pack("<hhh", -5, 0, 5) + b"\x01"),
                                     fmt(1, 48000, 16)]),
        # the shape of a project file: lists inside lists, strings, an odd chunk
        "project.riff": riff(b"FWP ", [
            chunk(b"PRJD", bytes([25, 1, 0, 0, 0, 0])),
            chunk(b"META", utf16z("title") + utf16z("Finale")),
            lst(b"LIST", b"CUE ", [
                chunk(b"CUED", struct.pack("<IiIIIII", 0x00000100, 0, 1, 1, 0x00000005, 25, 1)
                      + utf16z("go")),
                chunk(b"CUEG", utf16z("")),
                lst(b"LIST", b"FIX ", [chunk(b"FIXD", struct.pack("<IIII", 4, 255, 0, 1))]),
            ]),
            chunk(b"ODD ", b"abc"),
            chunk(b"NEXT", b""),
        ]),
        "empty.riff": riff(b"FWE ", []),
    }
    for name, data in seeds.items():
        write(os.path.join(CORPUS, name), data)


if __name__ == "__main__":
    main()
