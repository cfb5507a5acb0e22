// Joining report files and taking pages out of one.
#include "PreviewFixture.h"

#include "platform/rtl/Exceptions.h"
#include "usystem/vcl/preview/uQxRptPrev.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

using namespace qx::test;

class ReportFiles : public ::testing::Test
{
protected:
    QString path(const QString& name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

TEST_F(ReportFiles, MergeAnswersItsResultCodes)
{
    writeReportFile(path(QStringLiteral("a.QRP")), 1);
    const QStringList empty;
    const QStringList one{path(QStringLiteral("a.QRP"))};
    EXPECT_EQ(MergeReportFiles(path(QStringLiteral("d.QRP")), nullptr), -2);
    EXPECT_EQ(MergeReportFiles(path(QStringLiteral("d.QRP")), &empty), -3);
    EXPECT_EQ(MergeReportFiles(QString(), &one), -1);
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("d.QRP"))));
    EXPECT_EQ(MergeReportFiles(path(QStringLiteral("d.QRP")), &one), 0);
    EXPECT_EQ(fileTexts(path(QStringLiteral("d.QRP"))), QStringList{QStringLiteral("P1")});
}

TEST_F(ReportFiles, MergeJoinsEveryPageInListOrder)
{
    writeReportFile(path(QStringLiteral("a.QRP")), 2, QStringLiteral("A"));
    writeReportFile(path(QStringLiteral("b.QRP")), 3, QStringLiteral("B"));
    const QStringList files{path(QStringLiteral("b.QRP")), path(QStringLiteral("a.QRP")), path(QStringLiteral("b.QRP"))};
    ASSERT_EQ(MergeReportFiles(path(QStringLiteral("d.QRP")), &files), 0);
    EXPECT_EQ(fileTexts(path(QStringLiteral("d.QRP"))).join(u','), QStringLiteral("B1,B2,B3,A1,A2,B1,B2,B3"));

    // The page count sits at its place in the header.
    QFile f(path(QStringLiteral("d.QRP")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray head = f.read(qx::report::kPageFileHeaderSize);
    EXPECT_EQ(qFromLittleEndian<quint32>(head.constData() + qx::report::kPageCountOffset), 8u);
}

TEST_F(ReportFiles, ExtractTakesARangeWithCopies)
{
    writeReportFile(path(QStringLiteral("s.QRP")), 5);
    const struct
    {
        int from, to, copies;
        bool collate;
        const char* pages;
    } cases[] = {
        {0, 0, 1, true, "P1,P2,P3,P4,P5"},
        {0, 99, 3, true, "P1,P2,P3,P4,P5"}, // all pages, whatever To says
        {2, 4, 1, true, "P2,P3,P4"},
        {2, 4, 2, false, "P2,P2,P3,P3,P4,P4"},
        {2, 4, 2, true, "P2,P3,P4"},       // collated copies are joined afterwards
        {3, 3, 3, false, "P3,P3,P3"},
        {5, 5, 1, false, "P5"},
    };
    for (const auto& c : cases) {
        const QString dest = path(QStringLiteral("d.QRP"));
        EXPECT_TRUE(ExtractReportPages(path(QStringLiteral("s.QRP")), dest, c.from, c.to, c.copies, c.collate));
        EXPECT_EQ(fileTexts(dest).join(u','), QString::fromLatin1(c.pages)) << c.from << "-" << c.to << " x" << c.copies;
    }
}

TEST_F(ReportFiles, ExtractRefusesPagesTheFileDoesNotHave)
{
    writeReportFile(path(QStringLiteral("s.QRP")), 3);
    writeReportFile(path(QStringLiteral("d.QRP")), 1, QStringLiteral("old"));
    const int ranges[][2] = {{4, 4}, {2, 5}, {3, 2}, {-1, 2}};
    for (const auto& r : ranges) {
        EXPECT_THROW(ExtractReportPages(path(QStringLiteral("s.QRP")), path(QStringLiteral("d.QRP")), r[0], r[1], 1, true),
                     ERangeError)
            << r[0] << "-" << r[1];
        // The file there stays as it was.
        EXPECT_EQ(fileTexts(path(QStringLiteral("d.QRP"))), QStringList{QStringLiteral("old1")});
    }
}

TEST_F(ReportFiles, DamagedOrMissingFilesEndInErrorsAndWriteNothing)
{
    writeReportFile(path(QStringLiteral("good.QRP")), 2);
    QFile good(path(QStringLiteral("good.QRP")));
    ASSERT_TRUE(good.open(QIODevice::ReadOnly));
    QByteArray bytes = good.readAll();
    good.close();
    // A page's bytes changed, and a file cut short.
    QByteArray flipped = bytes;
    flipped[bytes.size() - 10] = char(flipped[bytes.size() - 10] ^ 0x55);
    for (const auto& [name, content] : {std::pair{"flipped.QRP", flipped}, std::pair{"short.QRP", bytes.left(140)},
                                        std::pair{"text.QRP", QByteArray("not a report file")}}) {
        QFile f(path(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(content), content.size());
    }
    for (const char* name : {"flipped.QRP", "short.QRP", "text.QRP", "missing.QRP"}) {
        const QStringList files{path(QStringLiteral("good.QRP")), path(QString::fromLatin1(name))};
        EXPECT_THROW(MergeReportFiles(path(QStringLiteral("m.QRP")), &files), Exception) << name;
        EXPECT_THROW(ExtractReportPages(path(QString::fromLatin1(name)), path(QStringLiteral("e.QRP")), 0, 0, 1, true),
                     Exception)
            << name;
    }
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("m.QRP"))));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("e.QRP"))));
}
