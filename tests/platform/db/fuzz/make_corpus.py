#!/usr/bin/env python3
"""Writes the seed streams of the binary memory-table loader's fuzz target into corpus-binary/.

Each file is a stream as SaveToBinaryStream writes it (QDataStream, big-endian): some sound,
some damaged on purpose (a field type past the last one, a Boolean of 7, a text longer than its
field, a date beyond 9999, lengths beyond the input).
"""
import os
import struct

here = os.path.dirname(os.path.abspath(__file__))
out = os.path.join(here, "corpus-binary")
os.makedirs(out, exist_ok=True)

ftString, ftSmallint, ftInteger, ftBoolean, ftFloat, ftCurrency, ftDate, ftDateTime, ftBlob, ftMemo = (
    1, 2, 3, 5, 6, 7, 9, 11, 15, 16)


def qstring(s):
    data = s.encode("utf-16-be")
    return struct.pack(">I", len(data)) + data


def qbytes(b):
    return struct.pack(">I", len(b)) + b


def stream(fields, rows):
    body = b"QXMT" + struct.pack(">II", 1, len(fields))
    for name, kind, size in fields:
        body += qstring(name) + struct.pack(">BiB", kind, size, 0)
    body += struct.pack(">Q", len(rows))
    for row in rows:
        for cell in row:
            body += cell
    return body


def null():
    return b"\0"


def i32(v):
    return b"\1" + struct.pack(">i", v)


def i64(v):
    return b"\1" + struct.pack(">q", v)


def f64(v):
    return b"\1" + struct.pack(">d", v)


def b8(v):
    return b"\1" + struct.pack(">B", v)


def text(s):
    return b"\1" + qbytes(s.encode("utf-8"))


fields = [("Code", ftString, 10), ("Qty", ftSmallint, 0), ("Price", ftCurrency, 0), ("Day", ftDate, 0),
          ("Stamp", ftDateTime, 0), ("Paid", ftBoolean, 0), ("Rate", ftFloat, 0), ("Note", ftMemo, 0),
          ("Pic", ftBlob, 0)]
good = [
    [text("A1"), i32(3), i64(123456), i32(45351), f64(45351.5), b8(1), f64(0.1), text("第一行"), text("\0\1\2")],
    [null()] * 9,
]
seeds = {
    "sound.bin": stream(fields, good),
    "type_past_last.bin": stream([("X", 200, 0)], []),
    "boolean_seven.bin": stream([("Paid", ftBoolean, 0)], [[b8(7)]]),
    "long_text.bin": stream([("Code", ftString, 3)], [[text("abcd")]]),
    "date_beyond.bin": stream([("Stamp", ftDateTime, 0)], [[f64(3.0e6)]]),
    "huge_rows.bin": b"QXMT" + struct.pack(">II", 1, 1) + qstring("A") + struct.pack(">BiB", ftInteger, 0, 0)
    + struct.pack(">Q", 2**63),
    "huge_text.bin": stream([("Note", ftMemo, 0)], [[b"\1" + struct.pack(">I", 0x7FFFFFF0)]]),
}
for name, data in seeds.items():
    with open(os.path.join(out, name), "wb") as f:
        f.write(data)
