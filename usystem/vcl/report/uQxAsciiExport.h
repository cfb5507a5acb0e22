// TsQRAsciiExportFilter: a report exported as GBK text, one block of lines per page, in which
// the boxed pieces of the library's text printables become a ruled table.
//
// Pieces arrive through TextOut at positions on a character grid: the row is the position's
// height in lines of the export font, the column X / character width × 1.7. A piece may span
// several lines (CR LF between them); its lines overlay the lines already in that row, byte
// by byte. Right-aligned text is moved left by its own length first.
//
// At the end of a page the rows become lines, and the frames the printables drew with '-' and
// '|' become box-drawing characters: two bars that meet ("||") are one, a rule meets the bars
// above and below it in ┼ ┬ ┴, its ends become ├ ┤ ┌ ┐ └ ┘, the remaining bars │ and pairs of
// dashes ─ (an odd dash keeps its place at the left end of a run). A '|' that is the second
// byte of a Chinese character is text, never a bar. A page without text writes nothing; any
// other page ends with two lines of one space.
//
// The file is written through a safe save: it replaces the old file only when the whole export
// has been written, and every write is checked. Start raises "打开文件:<name>出错！" when an
// existing file cannot be replaced and "生成文件:<name>出错！" when the file cannot be made; a
// failed write or a failure to put the file in place raises the latter as well.
#pragma once

#include "platform/report/QRExport.h"

#include <QByteArray>

#include <memory>
#include <vector>

namespace qx {
class SafeSave;
}

class TsQRAsciiExportFilter : public TQRExportFilter
{
public:
    explicit TsQRAsciiExportFilter(const QString& fileName);
    ~TsQRAsciiExportFilter() override;

    QString Description() const override;
    QString Extension() const override;
    QString FilterName() const override;

    void Start(double PaperWidth, double PaperHeight, const QFont& Font) override;
    void NewPage() override;
    void TextOut(double X, double Y, const QFont& Font, TColor BackgroundColor, TAlignment Alignment,
                 const QString& Text) override;
    void EndPage() override;
    void Finish() override;

    // Writes S and CR LF; raises the write message on failure.
    void WriteTextLine(const QByteArray& S);

    // The page being built, one entry per text row (several lines joined by CR LF).
    const std::vector<QByteArray>& PageRows() const { return m_pageRows; }
    int LinesPerPage() const { return m_linesPerPage; }

    // The lines a page of rows becomes, box-drawing characters in place (empty lines kept).
    static std::vector<QByteArray> PageLines(const std::vector<QByteArray>& rows);

private:
    [[noreturn]] void raiseWriteError() const;

    std::unique_ptr<qx::SafeSave> m_file;
    double m_charWidth = 0;
    double m_lineHeight = 0;
    int m_linesPerPage = 0;
    std::vector<QByteArray> m_pageRows;
};
