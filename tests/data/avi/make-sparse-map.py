#!/usr/bin/env python3
"""Keeps of a big AVI file only what its headers hold, for a test to lay out again as a sparse file.

usage: make-sparse-map.py MOVIE.avi OUT.avimap

Kept: the bytes before the first movie data (the header lists) and the first 24 bytes of every
further RIFF chunk (RIFF, size, AVIX, LIST, size, movi); the frames and the indexes are left out.
The map is "AVIMAP1\\n", the file's size (8 bytes), then runs of non-zero bytes, each as its offset
(8 bytes), length (4 bytes) and bytes; all little-endian.
"""
import os
import struct
import sys


def kept_spans(f, size):
    f.seek(0)
    head = f.read(65536)
    movi = head.find(b"movi")
    yield 0, head[: movi + 4]
    riff_size = struct.unpack("<I", head[4:8])[0]
    at = 8 + riff_size + (riff_size & 1)
    while at + 24 <= size:
        f.seek(at)
        header = f.read(24)
        if header[:4] != b"RIFF":
            break
        yield at, header
        chunk = struct.unpack("<I", header[4:8])[0]
        at += 8 + chunk + (chunk & 1)


def nonzero_runs(offset, data, gap=16):
    i = 0
    while i < len(data):
        if data[i] == 0:
            i += 1
            continue
        start = end = i
        while end < len(data) and (data[end] != 0 or data[end : end + gap].strip(b"\0")):
            end += 1
        yield offset + start, data[start:end]
        i = end


def main(movie, out):
    size = os.path.getsize(movie)
    with open(movie, "rb") as f, open(out, "wb") as m:
        m.write(b"AVIMAP1\n" + struct.pack("<Q", size))
        for offset, data in kept_spans(f, size):
            for at, run in nonzero_runs(offset, data):
                m.write(struct.pack("<QI", at, len(run)) + run)


if __name__ == "__main__":
    main(*sys.argv[1:])
