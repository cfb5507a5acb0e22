// The word-processor writer read back from its file: paragraphs and table cells in order, a
// value's line breaks inside its own cell.
#include <gtest/gtest.h>

#include "platform/office/DocxWriter.h"
#include "platform/office/ZipWriter.h"
#include "tests/support/OfficeReadBack.h"

TEST(DocxWriter, ParagraphsAndOneTableInOrder)
{
    qx::DocxWriter doc;
    doc.addParagraph(u"标题");
    doc.beginTable(3);
    doc.addRow({"名称", "备注", "在保"});
    doc.addRow({"a<b&c", "第一行\r\n第二行\n第三行", "是"});
    doc.addRow({"x\ty"}); // missing cells are empty
    doc.endTable();
    doc.addParagraph(u"");
    doc.addParagraph(u"副标题");
    const auto body = qx::test::readDocument(doc.finish());
    EXPECT_TRUE(body.entries.contains("[Content_Types].xml"));
    EXPECT_TRUE(body.entries.contains("word/styles.xml"));
    ASSERT_EQ(body.blocks.size(), 4u);
    EXPECT_EQ(body.blocks[0].paragraph, u"标题");
    ASSERT_TRUE(body.blocks[1].table);
    const std::vector<QStringList> rows{{"名称", "备注", "在保"},
                                        {"a<b&c", "第一行\n第二行\n第三行", "是"},
                                        {"x\ty", "", ""}};
    EXPECT_EQ(body.blocks[1].rows, rows);
    EXPECT_EQ(body.blocks[2].paragraph, u"");
    EXPECT_EQ(body.blocks[3].paragraph, u"副标题");
}

TEST(DocxWriter, CharactersXmlCannotCarryShowAsReplacement)
{
    qx::DocxWriter doc;
    doc.addParagraph(QStringLiteral("a") + QChar(0x01) + QChar(u'b') + QChar(0xD800) + QStringLiteral("😀"));
    const auto body = qx::test::readDocument(doc.finish());
    ASSERT_EQ(body.blocks.size(), 1u);
    EXPECT_EQ(body.blocks[0].paragraph, QStringLiteral("a\uFFFDb\uFFFD😀"));
}

TEST(DocxWriter, RowsWiderThanTheTableAreRefused)
{
    qx::DocxWriter doc;
    EXPECT_THROW(doc.addRow({"x"}), Exception);
    EXPECT_THROW(doc.beginTable(0), Exception);
    doc.beginTable(1);
    EXPECT_THROW(doc.addRow({"x", "y"}), Exception);
}

TEST(ZipWriter, EntriesReadBackAndNamesAreUnique)
{
    qx::ZipWriter zip;
    zip.addFile("a.txt", "alpha");
    zip.addFile("目录/b.txt", QByteArray(100000, 'b'));
    EXPECT_THROW(zip.addFile("a.txt", "again"), qx::EZipError);
    const auto entries = qx::test::unzipEntries(zip.finish());
    EXPECT_EQ(entries.value("a.txt"), QByteArray("alpha"));
    EXPECT_EQ(entries.value("目录/b.txt"), QByteArray(100000, 'b'));
    EXPECT_EQ(entries.size(), 2);
    EXPECT_THROW(zip.finish(), qx::EZipError);
}
