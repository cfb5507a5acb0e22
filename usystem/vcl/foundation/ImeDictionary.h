// The input-code dictionary Ime.DCT read once into memory. Each line begins with a character's
// two GBK bytes; its wubi letter stands in byte column 7, its stroke letter in column 13 and
// its pinyin initial in column 37 (counted from 1). The first line of a character counts.
//
// GetImeCodes reads the file for each name; a walk over many names loads a dictionary once and
// asks it for every name.
#pragma once

#include <QByteArrayView>
#include <QHash>
#include <QString>

class ImeDictionary
{
public:
    // An empty dictionary: every name has empty codes.
    ImeDictionary() = default;

    // The dictionary in bytes, as the file holds it. Lines may end in CR LF or LF; a line too
    // short for a column, or a blank in it, gives no letter there. Any bytes are accepted, and
    // the index never holds more entries than the input has lines.
    static ImeDictionary fromBytes(QByteArrayView bytes);

    // Reads the dictionary file into this one; false (and this one left as it was) when the
    // file cannot be opened or read.
    bool load(const QString& fileName);

    // True when no line names a character.
    bool isEmpty() const { return m_letters.isEmpty(); }
    qsizetype size() const { return m_letters.size(); }

    // The pinyin initials (PY), stroke letters (WBH) and wubi letters (WB) of Name, one letter
    // per two-byte character the dictionary lists. Characters without a line, and single-byte
    // characters such as the letters of a model name, add nothing.
    void codesOf(const QString& Name, QString& PY, QString& WBH, QString& WB) const;

private:
    // The letters of one character; 0 where its line gives none.
    struct Letters
    {
        char py = 0;
        char wbh = 0;
        char wb = 0;
    };
    // By the character's two GBK bytes (lead byte high).
    QHash<quint16, Letters> m_letters;
};
