// The masked edit's mask language, as forms and fields write it ("!90-90-00;1;_"), turned
// into Qt's input mask. The mask has up to three fields separated by ';': the mask itself,
// whether the literals are part of the value ('0' = no, anything else or absent = yes) and
// the blank character shown in empty positions (default '_').
//
// Mask characters: '0' digit required, '9' digit optional, '#' digit or sign optional,
// 'L' letter required, 'l' letter optional, 'A' letter or digit required, 'a' optional,
// 'C' any character required, 'c' optional, '>' upper case from here on, '<' lower case,
// "<>" no case change, '\' takes the next character literally, ':' and '/' are the time and
// date separators of the format settings, '_' a literal space. '!' (where optional positions
// are kept blank) is accepted and changes nothing: Qt keeps blanks in place either way.
// Every other character is a literal.
#pragma once

#include <QList>
#include <QString>

namespace qx {

struct EditMaskInfo
{
    QString qtMask;          // for QLineEdit::setInputMask, with its own ";blank" field
    bool saveLiterals = true;
    QChar blank = u'_';
    // One entry per position of the shown text: true where the mask puts a literal.
    QList<bool> literalAt;
    bool isEmpty() const { return literalAt.isEmpty(); }
};

EditMaskInfo parseEditMask(const QString& mask);

} // namespace qx
