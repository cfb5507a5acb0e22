// A spreadsheet file (.xlsx) of one sheet, made with libxlsxwriter. Cells are written as typed
// values (text, numbers, Booleans, blanks), never as formulas, each with a style of the
// workbook. Rows go out in order (the workbook keeps one row in memory at a time, so a sheet of
// any size takes little memory): a cell may not be written into a row above the last written
// one, and a row's height is set before its first cell.
//
//     qx::XlsxWriter book;
//     const auto bold = book.addStyle({.bold = true});
//     book.writeText(0, 0, u"名称", bold);
//     book.writeNumber(1, 0, 12.5);
//     book.save(fileName);
#pragma once

#include "platform/rtl/Exceptions.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <memory>

namespace qx {

// libxlsxwriter refused an operation; the message names it and libxlsxwriter's reason.
QX_DECLARE_EXCEPTION(EXlsxError, Exception)
// A value beyond what a spreadsheet cell holds (a text of more than 32,767 characters), or a
// cell outside the sheet's rows and columns.
QX_DECLARE_EXCEPTION(EXlsxLimit, EXlsxError)

struct XlsxStyle
{
    enum class HAlign : quint8 { General, Center };
    enum class VAlign : quint8 { Default, Bottom };

    QString numberFormat; // empty: the sheet's general format
    bool bold = false;
    double fontSize = 0;  // points; 0: the workbook's default
    int fontColor = -1;   // 0xRRGGBB; -1: the default
    int fillColor = -1;   // 0xRRGGBB, a solid fill; -1: none
    HAlign hAlign = HAlign::General;
    VAlign vAlign = VAlign::Default;
    bool thinBorders = false; // a thin line on all four edges
    bool wrap = false;        // line breaks in the text show as lines

    bool operator==(const XlsxStyle&) const = default;
};

class XlsxWriter
{
public:
    static constexpr int MaxRows = 1048576;
    static constexpr int MaxColumns = 16384;
    static constexpr int MaxTextLength = 32767;
    static constexpr double MaxColumnWidth = 255;
    static constexpr double MaxRowHeight = 409;

    // A style handle of the workbook; 0 is the sheet's default look.
    using Style = int;

    // A new workbook of one sheet, built in a temporary folder of its own. Raises EXlsxError
    // when the folder or the workbook cannot be made.
    XlsxWriter();
    ~XlsxWriter();
    XlsxWriter(const XlsxWriter&) = delete;
    XlsxWriter& operator=(const XlsxWriter&) = delete;

    // The handle of a style; the same style asked twice gives the same handle.
    Style addStyle(const XlsxStyle& style);

    // Rows and columns count from 0. A width in characters (as spreadsheets measure columns),
    // at most MaxColumnWidth; a height in points, at most MaxRowHeight.
    void setColumnWidth(int column, double width);
    void setRowHeight(int row, double points);

    // Text is always a text cell, whatever it looks like ("=1+1", "007"); an empty text
    // gives a blank cell with the style. A NUL character, which the file cannot hold, becomes
    // U+FFFD. Raises EXlsxLimit for more than MaxTextLength characters.
    void writeText(int row, int column, QStringView text, Style style = 0);
    void writeNumber(int row, int column, double value, Style style = 0);
    void writeBoolean(int row, int column, bool value, Style style = 0);
    void writeBlank(int row, int column, Style style);
    // Merges the cells of the range into one showing text in the style; a range of one
    // cell is written as that cell.
    void mergeText(int firstRow, int firstColumn, int lastRow, int lastColumn, QStringView text,
                   Style style);

    // Finishes the workbook and returns the file's bytes; nothing can be written afterwards.
    QByteArray finish();
    // finish(), then the bytes saved to fileName through the exports' save routine (the whole
    // file or nothing; an old file stays whole on failure).
    void save(const QString& fileName);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace qx
