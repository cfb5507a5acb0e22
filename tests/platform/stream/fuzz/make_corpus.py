#!/usr/bin/env python3
"""Writes the hand-made seed images of the reader's fuzz target into corpus/.

Each file is a component image list as the reader sees it: some sound, most damaged on
purpose (cut short, lengths beyond the input, deep nesting, unknown names, bad value types).
"""
import os
import struct

here = os.path.dirname(os.path.abspath(__file__))
out = os.path.join(here, "corpus")
os.makedirs(out, exist_ok=True)


def pstr(b):
    if isinstance(b, str):
        b = b.encode("latin-1")
    return bytes([len(b)]) + b


def le32(v):
    return struct.pack("<I", v & 0xFFFFFFFF)


def comp(cls, name, props=b"", children=b""):
    return pstr(cls) + pstr(name) + props + b"\0" + children + b"\0"


def image(cls, name, props=b"", children=b""):
    return b"TPF0" + comp(cls, name, props, children)


def wstr(s):
    data = s.encode("utf-16-le")
    return b"\x12" + le32(len(data) // 2) + data


query = image("TQxQueryControl", "Query1", pstr("SQL") + b"\x06" + pstr("select * from tRepair"))
rich_props = (
    pstr("Small") + b"\x02\xfd"
    + pstr("Medium") + b"\x03\x2c\x01"
    + pstr("Large") + b"\x04" + le32(100000)
    + pstr("Huge") + b"\x13" + struct.pack("<q", 1 << 40)
    + pstr("Ratio") + b"\x05" + b"\x00" * 7 + b"\xc0\xff\x3f"
    + pstr("Code") + b"\x06" + pstr("ItemCode")
    + pstr("Caption") + wstr("配件编号")
    + pstr("Flag") + b"\x09"
    + pstr("Alignment") + b"\x07" + pstr("taCenter")
    + pstr("Style") + b"\x0b" + pstr("fsBold") + pstr("fsUnderline") + b"\0"
    + pstr("Color") + b"\x07" + pstr("clRed")
    + pstr("Items.Strings") + b"\x01\x06" + pstr("a") + wstr("中") + b"\0"
    + pstr("Data") + b"\x0a" + le32(6) + b"BM\x06\x00\x00\x00"
    + pstr("Font.Name") + b"\x06" + pstr("Arial")
    + pstr("Font.Color") + b"\x07" + pstr("clBlue")
    + pstr("Columns") + b"\x0e"
    + b"\x01" + pstr("FieldName") + b"\x06" + pstr("ItemCode") + pstr("Width") + b"\x03\xc8\x00" + b"\0"
    + b"\x02\x01" + b"\x01" + pstr("Visible") + b"\x08" + b"\0"
    + b"\0"
    + pstr("Link") + b"\x07" + pstr("Query1")
)
rich = image("TTestComponent", "Comp1", rich_props,
             comp("TQxQueryControl", "Query1", pstr("SQL") + b"\x06" + pstr("select 1")))

seeds = {
    "empty_list": b"\0",
    "query": query + b"\0",
    "rich": rich + b"\0",
    "two_images": query + rich + b"\0",
    "trailing_tail_of_older_image": query + b"\0" + rich[10:] + b"\0",
    "cut_in_string": (query + b"\0")[:30],
    "cut_in_collection": (rich + b"\0")[: rich.find(b"Columns") + 20],
    "second_image_cut": query + rich[: len(rich) // 2],
    "huge_lstring": image("TTestComponent", "C", pstr("Code") + b"\x0c" + le32(0x7FFFFFF0)) + b"\0",
    "huge_wstring": image("TTestComponent", "C", pstr("Caption") + b"\x12" + le32(0x7FFFFFFF)) + b"\0",
    "huge_binary": image("TTestComponent", "C", pstr("Data") + b"\x0a" + le32(0x40000000)) + b"\0",
    "negative_length": image("TTestComponent", "C", pstr("Data") + b"\x0a" + le32(0xFFFFFFFF)) + b"\0",
    "huge_utf8": image("TTestComponent", "C", pstr("Caption") + b"\x14" + le32(0x10000000)) + b"\0",
    "deep_lists": image("TTestComponent", "C", pstr("Unknown") + b"\x01" * 3000 + b"\0" * 3000) + b"\0",
    "deep_children": b"TPF0" + (pstr("TQxQueryControl") + pstr("") + b"\0") * 2000,
    "deep_collections": image("TTestComponent", "C", pstr("Columns") + (b"\x0e\x01" + pstr("X")) * 500),
    "bad_signature": b"TPF1" + comp("TQxQueryControl", "Q") + b"\0",
    "unknown_class": image("TNoSuchClass", "X") + b"\0",
    "unknown_child": image("TTestComponent", "C", b"", comp("TNoSuchClass", "X", pstr("A") + b"\x02\x01")) + b"\0",
    "unknown_property": image("TTestComponent", "C", pstr("Wingspan") + b"\x0e\x01" + pstr("A") + b"\x06\x01x\0\0") + b"\0",
    "bad_value_type": image("TTestComponent", "C", pstr("Small") + b"\x30") + b"\0",
    "wrong_kind": image("TTestComponent", "C", pstr("Small") + b"\x06\x01x") + b"\0",
    "int64_overflow": image("TTestComponent", "C", pstr("Small") + b"\x13" + struct.pack("<q", 1 << 40)) + b"\0",
    "set_unterminated": image("TTestComponent", "C", pstr("Style") + b"\x0b" + pstr("fsBold"))[:-2],
    "filer_flags": b"TPF0\xf2\x02\x05" + comp("TQxQueryControl", "Q") + b"\0",
    "extended_nan": image("TTestComponent", "C", pstr("Ratio") + b"\x05" + b"\xff" * 10) + b"\0",
    "nil_and_idents": image("TTestComponent", "C", pstr("Link") + b"\x0d" + pstr("Flag") + b"\x07" + pstr("True")) + b"\0",
    "dotted_nowhere": image("TTestComponent", "C", pstr("Font.Font.Font.Name") + b"\x06\x01x") + b"\0",
}

for name, data in seeds.items():
    with open(os.path.join(out, name + ".bin"), "wb") as f:
        f.write(data)
print(len(seeds), "seeds written to", out)
