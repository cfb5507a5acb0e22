#!/usr/bin/env python3
"""Writes the hand-made seed files of the template file fuzz target into query-corpus/.

Each file is what a .QXE file holds: a list of component images of query definitions, some
sound, most damaged on purpose (cut short, lengths beyond the input, deep nesting, values of
the wrong kind, the memory table's own state, unknown classes and properties).
"""
import os
import struct

here = os.path.dirname(os.path.abspath(__file__))
out = os.path.join(here, "query-corpus")
os.makedirs(out, exist_ok=True)


def pstr(b):
    if isinstance(b, str):
        b = b.encode("latin-1")
    return bytes([len(b)]) + b


def le32(v):
    return struct.pack("<I", v & 0xFFFFFFFF)


def s(text):
    b = text.encode("latin-1")
    return (b"\x06" + pstr(b)) if len(b) < 256 else (b"\x0c" + le32(len(b)) + b)


def w(text):
    data = text.encode("utf-16-le")
    return b"\x12" + le32(len(data) // 2) + data


def i8(v):
    return b"\x02" + struct.pack("<b", v)


def i16(v):
    return b"\x03" + struct.pack("<h", v)


def i32(v):
    return b"\x04" + struct.pack("<i", v)


def b(v):
    return b"\x09" if v else b"\x08"


def prop(name, value):
    return pstr(name) + value


def coll(*items):
    return b"\x0e" + b"".join(b"\x01" + item + b"\0" for item in items) + b"\0"


def comp(cls, name, props=b"", children=b""):
    return pstr(cls) + pstr(name) + props + b"\0" + children + b"\0"


def image(cls, name, props=b"", children=b""):
    return b"TPF0" + comp(cls, name, props, children)


full = (
    prop("DataSections", coll(prop("FieldName", s("Amount")) + prop("TitleLen", i32(70000))
                              + prop("Visible", b(True)) + prop("IsMoney", b(True))))
    + prop("FieldSections", coll(prop("FieldName", s("BillNo")) + prop("CFieldName", w("单号"))
                                 + prop("TableName", s("tRepair")) + prop("CTableName", w("维修单"))
                                 + prop("FieldType", s("Char")) + prop("Visible", b(True))))
    + prop("CalcFieldSections", coll(prop("FieldName", s("Net")) + prop("Expression", w("[维修单.金额]*2"))))
    + prop("JoinSections", coll(prop("STableName", w("维修单")) + prop("SFieldName", w("单号"))
                                + prop("DTableName", w("配件")) + prop("DFieldName", w("单号"))
                                + prop("LogicChar", w("等于"))))
    + prop("Conditions", coll(prop("FieldName", w("日期")) + prop("TableName", w("维修单"))
                              + prop("OperateChar", w("大于")) + prop("LogicalChar", w("结束"))
                              + prop("FieldValue", s("Today")) + prop("InputType", s("BGetDate"))))
    + prop("TableNameList.Strings", b"\x01" + w("维修单") + s("Parts") + b"\0")
    + prop("SumFieldSections", coll(prop("FieldName", w("金额")) + prop("TableName", w("维修单"))
                                    + prop("FieldValue", w("合计"))))
    + prop("ReportData", b"\x07" + pstr("QryReport"))
    + prop("QueryIndex", i8(1))
    + prop("SQLConditions", coll(prop("FieldName", s("@@Date")) + prop("CFieldName", w("日期"))
                                 + prop("FieldType", s("DateTime")) + prop("FieldValue", s("Today"))
                                 + prop("ParName", s("Date>=:Date")) + prop("InputType", s("x"))))
    + prop("AnalyzerSQL", s("select * from tRepair where Date>=@@Date " + "x" * 300))
    + prop("JCKeyfields", s("BillNo")) + prop("JCField", s("Worker")) + prop("JCResultField", s("Amount"))
    + prop("JCSum", b(True)) + prop("JCType", i8(2))
    + prop("GroupSumSections", coll(prop("FieldName", s("Amount")) + prop("LogicSQL", s("sum"))
                                    + prop("SumType", s("Sum"))))
    + prop("GroupFieldSections", coll(prop("FieldName", s("Worker")) + prop("CFieldName", s("Worker"))
                                      + prop("disFieldName", s("BillNo")) + prop("CdisFieldName", s("BillNo"))
                                      + prop("PreFix", w("维修工:")) + prop("FieldLen", i16(300))))
    + prop("GSSum", b(False))
    + prop("JCSections", coll(prop("JCName", s("Cash")) + prop("JCCondition", w("PayType='现金'"))
                              + prop("JCResult", s("Amount"))))
    + prop("CallSections", coll(prop("CallName", w("明细")) + prop("CallType", w("子报表"))
                                + prop("SCondition", s("BillNo")) + prop("DCondition", s("@@BillNo"))))
)
fields = (comp("TStringField", "Q1BillNo", prop("FieldName", s("BillNo")) + prop("Size", i8(20)))
          + comp("TCurrencyField", "Q1Amount", prop("FieldName", s("Amount")) + prop("DisplayLabel", w("金额")))
          + comp("TBytesField", "Q1Raw", prop("FieldName", s("Raw"))))
extra = (prop("Version", s("5.50")) + prop("FieldDefs", coll(prop("Name", s("BillNo"))))
         + prop("SortOptions", b"\x0b" + pstr("mtcoDescending") + b"\0"))

seeds = {
    "full": image("TQxQueryControl", "QxQueryControl1", full) + b"\0",
    "empty_definition": image("TQxQueryControl", "Q", prop("QueryIndex", i8(0))) + b"\0",
    "with_fields_and_tail": image("TQxQueryControl", "Q", extra + full, fields) + b"\0" + b"TPF0\x0fTQxQ older",
    "two_images": image("TQxQueryControl", "A", prop("JCType", i8(1))) + image("TQxQueryControl", "B", full) + b"\0",
    "cut_short": (image("TQxQueryControl", "Q", full) + b"\0")[:300],
    "long_length": image("TQxQueryControl", "Q", prop("AnalyzerSQL", b"\x0c" + le32(0x7FFFFFF0) + b"abc")) + b"\0",
    "wide_length": image("TQxQueryControl", "Q", prop("JCField", b"\x12" + le32(0x40000000) + b"a\0")) + b"\0",
    "deep_items": image("TQxQueryControl", "Q", prop("FieldSections", b"\x0e\x01" * 200)) + b"\0",
    "wrong_kinds": image("TQxQueryControl", "Q", prop("QueryIndex", s("one")) + prop("GSSum", i8(1))) + b"\0",
    "table_state": image("TQxQueryControl", "Q", prop("Active", b(True)) + prop("IndexName", s("ByNo"))) + b"\0",
    "filter": image("TQxQueryControl", "Q", prop("Filter", s("Amount > 1")) + prop("Filtered", b(True))) + b"\0",
    "unknown_class": image("TQxNoSuchThing", "Q", full) + b"\0",
    "unknown_child": image("TQxQueryControl", "Q", full, comp("TNoSuchField", "F")) + b"\0",
    "big_integers": image("TQxQueryControl", "Q", prop("QueryIndex", b"\x13" + struct.pack("<q", 1 << 40))
                          + prop("JCType", i32(-2147483648))) + b"\0",
}
for name, data in seeds.items():
    with open(os.path.join(out, name + ".QXE"), "wb") as f:
        f.write(data)
