// TIniFile: settings files under the rules of the Windows profile functions, in GBK.
//  - "[Section]" lines open sections; "Key=Value" lines hold values; lines starting with ';' are
//    comments. Section and key names match without case; the first match wins.
//  - A value is trimmed and loses one pair of enclosing quotes ('...' or "...").
//  - Lines end with CR LF, LF or a lone CR. A UTF-8 byte-order mark before the first line is
//    passed over (and kept on a rewrite); the text itself is GBK all the same.
//  - A missing file reads as empty.
//  - A write changes the one line concerned (or adds it, with its section when missing) and
//    leaves every other byte of the file as it was, line endings included; a new file gets
//    CR LF endings. Every write is a safe save (platform/rtl/SafeSave.h): a failure (a
//    read-only file, a missing folder, a full disk) raises EIniFileException with the system's
//    reason and leaves the file as it was.
// Every call reads the file afresh, so two objects on one file never disagree.
#pragma once

#include "platform/rtl/DateTime.h"

#include <QString>
#include <QStringList>

class TIniFile
{
public:
    explicit TIniFile(const QString& fileName);

    const QString& FileName() const { return m_fileName; }

    QString ReadString(const QString& Section, const QString& Ident, const QString& Default) const;
    // Decimal or hexadecimal ("0x1F", "$1F"); Default when missing or not a number.
    int ReadInteger(const QString& Section, const QString& Ident, int Default) const;
    // A number other than 0 is true; Default when missing or not a number.
    bool ReadBool(const QString& Section, const QString& Ident, bool Default) const;
    // Default when missing or not a number / date.
    double ReadFloat(const QString& Section, const QString& Ident, double Default) const;
    TDateTime ReadDate(const QString& Section, const QString& Ident, TDateTime Default) const;

    void WriteString(const QString& Section, const QString& Ident, const QString& Value);
    void WriteInteger(const QString& Section, const QString& Ident, int Value);
    // Writes "1" or "0".
    void WriteBool(const QString& Section, const QString& Ident, bool Value);

    // Strings gets the key names of Section, in file order.
    void ReadSection(const QString& Section, QStringList& Strings) const;
    // Strings gets the section names, in file order.
    void ReadSections(QStringList& Strings) const;
    // Strings gets "Key=Value" for each key of Section.
    void ReadSectionValues(const QString& Section, QStringList& Strings) const;
    // True when Section holds at least one key.
    bool SectionExists(const QString& Section) const;
    bool ValueExists(const QString& Section, const QString& Ident) const;

    // Removes Section with all its lines; nothing happens when it is missing.
    void EraseSection(const QString& Section);
    // Removes the key's line; nothing happens when it is missing.
    void DeleteKey(const QString& Section, const QString& Ident);
    // Writes are immediate; kept for callers that flush.
    void UpdateFile();

private:
    QString m_fileName;
};
