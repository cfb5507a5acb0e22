// The pieces of the grid printer's RTF export (TQxPrintGrid::ExportRtf).
//
// The document is GBK under \ansicpg936: every text taken from data, titles or expression
// lines goes through RtfText, which escapes '\', '{' and '}' and writes every byte above 0x7F
// as \'hh, so no data can break the file's groups. Lines end with CR LF.
#pragma once

#include "platform/db/DB.h"
#include "platform/ui/Colors.h"

#include <QByteArray>
#include <QFont>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// Installed font faces with their family bits (the high four bits of the pitch-and-family
// byte: 0 \fnil ... 3 \fmodern ... 7 \fbidi), sorted without regard to case.
using RtfFontList = QList<QPair<QString, int>>;

// The RTF family control word of family bits 0..7 ("\fnil" for anything else).
QByteArray RtfFamilyName(int FamilyBits);
// The 18 colours of the document's colour table, entry k being RTF colour k.
const QList<TColor>& RtfColorTable();

// Text as RTF: GBK bytes, '\', '{' and '}' escaped, bytes above 0x7F as \'hh.
QByteArray RtfText(const QString& Text);
// "\f<index of the face in FontList>\fs<2 × points>", then "\b", "\i", "\ul", "\strike" as the
// font has them, then RtfColorRef(Color). A face the list lacks takes font 0.
QByteArray RtfFontSpec(const QFont& Font, const RtfFontList& FontList, TColor Color = clBlack);
// "\cf<k> " for the first table entry k from 1 to 17 equal to Color; empty for none (black
// stays \cf0).
QByteArray RtfColorRef(TColor Color);
// "\red<R>\green<G>\blue<B>;" of a colour $00BBGGRR.
QByteArray RtfColorEntry(TColor Color);
// Text padded with leading blanks to sit in a cell Width pixels wide, Chars = Width div
// (CharWidth + 1) characters: right-justified text shorter than Chars gets Chars - length - 1
// blanks (none below 1), centred text (Chars - length) div 2; left-justified or longer text is
// unchanged. The length counts GBK bytes, since a Chinese character is about two "X" wide.
QString PadAligned(const QString& Text, int Width, TAlignment Alignment, int CharWidth);

// The document as it is written, line by line.
class RtfDocument
{
public:
    // Appends bytes as one line (CR LF added).
    void Line(const QByteArray& Bytes);
    // "\pard\nowidctlpar\cf0\i0\b0\ul0\strike0", the font, " ", the text, "\f0\par"; nothing
    // for an empty text.
    void WriteRtfParagraph(const QString& Text, const QFont& Font, const RtfFontList& FontList);
    // The same head, then " ", the line and "\par" for each line; nothing for no lines.
    void WriteRtfLines(const QStringList& Lines, const QFont& Font, const RtfFontList& FontList);
    const QByteArray& Bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};
