#!/usr/bin/env python3
"""Writes the seed layout files of the grid layout fuzz target into corpus/.

Each file is a ".dbg" image as the grid saves it (a TQxColumnsWrapper holding a collection of
columns); some sound, some damaged on purpose.
"""
import os
import struct

here = os.path.dirname(os.path.abspath(__file__))
out = os.path.join(here, "corpus")
os.makedirs(out, exist_ok=True)


def short(b):
    if isinstance(b, str):
        b = b.encode("latin-1")
    return bytes([len(b)]) + b


def ident(s):
    return b"\x07" + short(s)


def string(s):
    return b"\x06" + short(s)


def wide(s):
    data = s.encode("utf-16-le")
    return b"\x12" + struct.pack("<I", len(data) // 2) + data


def int8(v):
    return b"\x02" + struct.pack("<b", v)


def int16(v):
    return b"\x03" + struct.pack("<h", v)


def wrapper(columns):
    body = b"TPF0" + short("TQxColumnsWrapper") + short("") + short("Columns") + b"\x0e"
    for props in columns:
        body += b"\x01" + props + b"\x00"
    return body + b"\x00\x00\x00"


code = short("FieldName") + string("Code") + short("Width") + int16(120) + short("Title.Caption") + wide("编码")
name = (short("FieldName") + string("Name") + short("Alignment") + ident("taCenter") + short("Font.Style")
        + b"\x0b" + short("fsBold") + b"\x00" + short("Font.Height") + int8(-12) + short("PickList.Strings")
        + b"\x01" + wide("甲") + string("b") + b"\x00" + short("ReadOnly") + b"\x09")
seeds = {
    "two_columns.dbg": wrapper([code, name]),
    "empty.dbg": wrapper([]),
    "enum_out_of_range.dbg": wrapper([short("Alignment") + int8(9)]),
    "unknown_property.dbg": wrapper([short("Nowhere") + int8(1)]),
    "cut.dbg": wrapper([code, name])[:40],
}
for file, data in seeds.items():
    with open(os.path.join(out, file), "wb") as f:
        f.write(data)
