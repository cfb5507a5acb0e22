// The library's free routines: files next to the program, settings values, the start-up date
// formats, the input codes of Chinese names and the text hook for captions and messages.
// They keep no state between calls and own nothing after they return.
#pragma once

#include <QString>
#include <QVariant>

// The program folder with its trailing '/', followed by Name unchanged.
QString ExeFolderPath(const QString& Name);

// The value of Key in Section of the settings file FileName, typed by the type of Default:
//   short, int, byte types       -> int (decimal text)
//   float, double, Currency      -> double
//   QDate, QDateTime, TDateTime  -> the date and time under the current formats (QDateTime for
//                                   QDate and QDateTime defaults, TDateTime for TDateTime)
//   bool                         -> true for the integer 1, false for any other integer
//   QString and anything else    -> the text
// A missing file, key or empty value gives Default unchanged; otherwise the text is cut at its
// comment (StripIniComment) first. A text that does not convert raises EConvertError.
QVariant ReadIniValue(const QString& FileName, const QString& Section, const QString& Key,
                      const QVariant& Default);

// Value cut at its first '#' or '*' and trimmed of blanks and control characters.
QString StripIniComment(const QString& Value);

// Writes Value as the text of Key in Section, creating the file or the section when missing;
// nothing else of the file changes. Raises EIniFileException when the file cannot be written.
void WriteIniString(const QString& FileName, const QString& Section, const QString& Key,
                    const QString& Value);

// The process-wide formats every date literal of the system relies on: short date
// "YYYY-MM-DD" with '-', short time "HH:MM" with ':'. Called first thing at start-up.
void SetupDateTimeFormats();

// The pinyin initials (PY), wubi stroke letters (WBH) and wubi letters (WB) of Name, one
// letter per character that Ime.DCT in the program folder lists (read for this call; see
// ImeDictionary.h to look up many names). Characters without a line,
// and single-byte characters such as the letters of a model name, add nothing. A missing
// dictionary gives three empty strings.
void GetImeCodes(const QString& Name, QString& PY, QString& WBH, QString& WB);

// The library's text hook for captions and messages. The system always shows simplified
// Chinese, so the text comes back unchanged.
QString LocalizeText(const QString& Text);
