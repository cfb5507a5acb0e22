// The unit's text routines: quoting, joining, and taking off or replacing a file extension.
#include <gtest/gtest.h>

#include "usystem/vcl/export/uQxdbTrans.h"

TEST(ExportRoutines, QuoteTextDoublesOnlyTheQuoteCharacter)
{
    struct Case
    {
        QString text;
        QChar quote;
        QString quoted;
    };
    const Case cases[] = {
        {"", u'"', "\"\""},
        {"abc", u'"', "\"abc\""},
        {"a\"b\"", u'"', "\"a\"\"b\"\"\""},
        {"\"", u'"', "\"\"\"\""},
        {"a\tb\r\nc", u'"', "\"a\tb\r\nc\""},
        {"中\"文", u'"', "\"中\"\"文\""},
        {"it's \"x\"", u'\'', "'it''s \"x\"'"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QuoteText(c.text, c.quote), c.quoted) << c.text.toStdString();
}

TEST(ExportRoutines, JoinQuotedPutsTheDelimiterBetweenQuotedItems)
{
    EXPECT_EQ(JoinQuoted({}, u'\t', u'"'), QString());
    EXPECT_EQ(JoinQuoted({""}, u'\t', u'"'), QString("\"\""));
    EXPECT_EQ(JoinQuoted({"a", "", "b;c"}, u';', u'"'), QString("\"a\";\"\";\"b;c\""));
    EXPECT_EQ(JoinQuoted({"x\"y", "z"}, u'\t', u'"'), QString("\"x\"\"y\"\t\"z\""));
}

TEST(ExportRoutines, FileExtensionsGoFromTheLastDot)
{
    struct Case
    {
        QString path;
        QString removed;
        QString replaced; // with "mem"
    };
    const Case cases[] = {
        {"out.txt", "out", "out.mem"},
        {"out", "out", "out.mem"},
        {"a.b.c", "a.b", "a.b.mem"},
        {"out.", "out", "out.mem"},
        {"/tmp/dir.x/out", "/tmp/dir", "/tmp/dir.mem"}, // the last dot wherever it stands
        {"", "", ".mem"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RemoveFileExt(c.path), c.removed) << c.path.toStdString();
        EXPECT_EQ(ReplaceFileExt(c.path, "mem"), c.replaced) << c.path.toStdString();
    }
}
