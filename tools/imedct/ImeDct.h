// Ime.DCT, the input-code dictionary of the program folder: one line for each of the 6763
// hanzi of GB2312 (rows 0xB0-0xF7) in GBK with CR LF, the codes in fixed byte columns:
//   1-2  the character        7  first letter of its wubi code
//   13   its first stroke     37 the initial of its pinyin
// Letters are upper case; the finders compare codes with LIKE, which ignores case.
//
// Sources, Debian's Rime tables (UTF-8, "text<TAB>code[<TAB>weight]" after the "..." line):
//   pinyin_simp.dict.yaml  readings with frequencies of simplified text: the most frequent wins
//   luna_pinyin.dict.yaml  for characters the first lacks; its frequencies describe traditional
//                          text, so there a weighted reading beats one without a weight
//   wubi86.dict.yaml       the full code (the longest; short codes of frequent characters and
//                          the 'z' wildcard codes do not start with the first root)
//   stroke.dict.yaml       h s p n z strokes; its later, mainland-order entries win over the
//                          earlier Taiwan-order ones
#pragma once

#include <QByteArray>
#include <QString>

namespace qx::tools {

struct ImeDct
{
    QByteArray bytes; // the whole file
    int lines = 0;    // characters written
    int gaps = 0;     // characters that lack a code in at least one column
};

// Reads the four tables from rimeFolder and makes the file's bytes. Raises EInOutError naming
// a table that cannot be read, EConvertError for a GB2312 cell that names no character.
ImeDct buildImeDct(const QString& rimeFolder);

// Writes the dictionary through the safe save (platform/rtl/SafeSave.h): a failure raises
// EInOutError with the system's reason and leaves an existing file as it was.
void writeImeDct(const QString& fileName, const QByteArray& bytes);

} // namespace qx::tools
