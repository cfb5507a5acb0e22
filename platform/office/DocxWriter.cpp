#include "platform/office/DocxWriter.h"

#include "platform/office/SaveFile.h"
#include "platform/office/Utf8Append.h"
#include "platform/office/ZipWriter.h"

namespace qx {

namespace {

// A4 portrait with margins of 1.25 inches left and right and 1 inch top and bottom, in
// twentieths of a point; the text between the margins is what a table spreads over.
constexpr int PageWidth = 11906;
constexpr int PageHeight = 16838;
constexpr int SideMargin = 1800;
constexpr int TextWidth = PageWidth - 2 * SideMargin;

const char* const ContentTypes =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\r\n"
    R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
    R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
    R"(<Default Extension="xml" ContentType="application/xml"/>)"
    R"(<Override PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/>)"
    R"(<Override PartName="/word/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml"/>)"
    R"(</Types>)";

const char* const PackageRelations =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\r\n"
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="word/document.xml"/>)"
    R"(</Relationships>)";

const char* const DocumentRelations =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\r\n"
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/>)"
    R"(</Relationships>)";

// The document's default look: SimSun for Chinese text, Times New Roman for Latin, 10.5
// points (the common size of Chinese documents).
const char* const Styles =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\r\n"
    R"(<w:styles xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main">)"
    R"(<w:docDefaults><w:rPrDefault><w:rPr>)"
    R"(<w:rFonts w:ascii="Times New Roman" w:hAnsi="Times New Roman" w:eastAsia="宋体" w:cs="Times New Roman"/>)"
    R"(<w:sz w:val="21"/><w:szCs w:val="21"/><w:lang w:val="en-US" w:eastAsia="zh-CN"/>)"
    R"(</w:rPr></w:rPrDefault><w:pPrDefault/></w:docDefaults>)"
    R"(<w:style w:type="paragraph" w:default="1" w:styleId="Normal"><w:name w:val="Normal"/></w:style>)"
    R"(</w:styles>)";

const char* const DocumentHead =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\r\n"
    R"(<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"><w:body>)";

bool isXmlChar(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD)
        || (c >= 0x10000 && c <= 0x10FFFF);
}

} // namespace

DocxWriter::DocxWriter()
{
    m_body = DocumentHead;
}

// The runs of a paragraph: text as <w:t>, a tab as <w:tab/>, each line break (CR LF, LF or
// CR) as <w:br/>. A character XML cannot carry becomes U+FFFD, visibly.
void DocxWriter::appendText(QStringView text)
{
    m_body += "<w:r>";
    bool inText = false;
    auto openText = [&] {
        if (!inText) {
            m_body += R"(<w:t xml:space="preserve">)";
            inText = true;
        }
    };
    auto closeText = [&] {
        if (inText) {
            m_body += "</w:t>";
            inText = false;
        }
    };
    const qsizetype n = text.size();
    const char16_t* s = text.utf16();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = s[i];
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < n && s[i + 1] == u'\n')
                ++i;
            closeText();
            m_body += "<w:br/>";
            continue;
        }
        if (c == u'\t') {
            closeText();
            m_body += "<w:tab/>";
            continue;
        }
        if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(s[i + 1])) {
            c = QChar::surrogateToUcs4(char16_t(c), s[i + 1]);
            ++i;
        }
        if (!isXmlChar(c))
            c = 0xFFFD;
        openText();
        switch (c) {
        case u'&': m_body += "&amp;"; break;
        case u'<': m_body += "&lt;"; break;
        case u'>': m_body += "&gt;"; break;
        default: office::appendUtf8(m_body, c); break;
        }
    }
    closeText();
    m_body += "</w:r>";
}

void DocxWriter::addParagraph(QStringView text)
{
    if (m_columns > 0)
        endTable();
    if (text.isEmpty()) {
        m_body += "<w:p/>";
        return;
    }
    m_body += "<w:p>";
    appendText(text);
    m_body += "</w:p>";
}

void DocxWriter::beginTable(int columns)
{
    if (columns < 1)
        throw Exception(QStringLiteral("A table needs a column"));
    if (m_columns > 0)
        endTable();
    m_columns = columns;
    const QByteArray width = QByteArray::number(qMax(1, TextWidth / columns));
    m_body += "<w:tbl><w:tblPr>"
              R"(<w:tblW w:w="0" w:type="auto"/>)"
              "<w:tblBorders>";
    for (const char* edge : {"top", "left", "bottom", "right", "insideH", "insideV"}) {
        m_body += "<w:";
        m_body += edge;
        m_body += R"( w:val="single" w:sz="4" w:space="0" w:color="auto"/>)";
    }
    m_body += "</w:tblBorders>"
              R"(<w:tblLayout w:type="fixed"/>)"
              "</w:tblPr><w:tblGrid>";
    for (int c = 0; c < columns; ++c)
        m_body += R"(<w:gridCol w:w=")" + width + R"("/>)";
    m_body += "</w:tblGrid>";
}

void DocxWriter::addRow(const QStringList& cells)
{
    if (m_columns <= 0)
        throw Exception(QStringLiteral("A row outside a table"));
    if (cells.size() > m_columns)
        throw Exception(QStringLiteral("A row of %1 cells in a table of %2 columns").arg(cells.size()).arg(m_columns));
    const QByteArray width = QByteArray::number(qMax(1, TextWidth / m_columns));
    m_body += "<w:tr>";
    for (int c = 0; c < m_columns; ++c) {
        m_body += R"(<w:tc><w:tcPr><w:tcW w:w=")" + width + R"(" w:type="dxa"/></w:tcPr>)";
        // A cell holds at least one paragraph, an empty one when the value is empty.
        if (c < cells.size() && !cells[c].isEmpty()) {
            m_body += "<w:p>";
            appendText(cells[c]);
            m_body += "</w:p>";
        } else {
            m_body += "<w:p/>";
        }
        m_body += "</w:tc>";
    }
    m_body += "</w:tr>";
}

void DocxWriter::endTable()
{
    if (m_columns <= 0)
        return;
    m_body += "</w:tbl>";
    m_columns = 0;
}

QByteArray DocxWriter::finish()
{
    endTable();
    QByteArray document = m_body;
    document += R"(<w:sectPr><w:pgSz w:w=")" + QByteArray::number(PageWidth) + R"(" w:h=")"
        + QByteArray::number(PageHeight) + R"("/><w:pgMar w:top="1440" w:right=")" + QByteArray::number(SideMargin)
        + R"(" w:bottom="1440" w:left=")" + QByteArray::number(SideMargin)
        + R"(" w:header="851" w:footer="992" w:gutter="0"/></w:sectPr></w:body></w:document>)";
    ZipWriter zip;
    zip.addFile(QStringLiteral("[Content_Types].xml"), ContentTypes);
    zip.addFile(QStringLiteral("_rels/.rels"), PackageRelations);
    zip.addFile(QStringLiteral("word/_rels/document.xml.rels"), DocumentRelations);
    zip.addFile(QStringLiteral("word/document.xml"), document);
    zip.addFile(QStringLiteral("word/styles.xml"), Styles);
    return zip.finish();
}

void DocxWriter::save(const QString& fileName)
{
    saveFileBytes(fileName, finish());
}

} // namespace qx
