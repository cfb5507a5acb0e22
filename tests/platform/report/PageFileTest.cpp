// Page files: a round trip keeps every page; short, damaged and hostile files end in a clear
// error and never crash.
#include "ReportFixture.h"

#include "platform/report/PictureCheck.h"
#include "platform/report/QRPageFile.h"
#include "platform/report/QRShapes.h"
#include "platform/report/ReportFonts.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QPainter>
#include <QPainterPath>
#include <QTemporaryDir>
#include <QtEndian>

#include "platform/report/Checksum.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/ReadOnlyFolder.h"

#include <QDir>

using namespace rpt;
using namespace qx::report;

namespace {

// A report of three pages with text, frames, lines, a rectangle, a circle and a picture.
class PageFiles : public ::testing::Test
{
protected:
    PageFiles() : data(table(QStringLiteral("Data")))
    {
        for (int i = 1; i <= 3; ++i)
            add(*data, QStringLiteral("g"), QStringLiteral("第%1行").arg(i), i);
        report.SetDataSet(data.get());
        report.SetReportTitle(QStringLiteral("页面文件"));
        auto* detail = new TQRBand(&report, rbDetail);
        detail->SetHeight(900);
        auto* cell = expr(detail, QStringLiteral("Name+' '+STR(Qty)"));
        cell->Frame().DrawTop = cell->Frame().DrawBottom = cell->Frame().DrawLeft = cell->Frame().DrawRight = true;
        cell->SetTransparent(false);
        cell->SetColor(clSilver);
        auto* line = new TQRShape(detail);
        line->SetShape(qrsHorLine);
        line->SetTop(40);
        line->SetWidth(200);
        line->SetHeight(1);
        line->Pen().Style = psDash;
        auto* box = new TQRShape(detail);
        box->SetShape(qrsRectangle);
        box->SetTop(60);
        box->SetWidth(100);
        box->SetHeight(50);
        box->Brush().Color = clYellow;
        auto* circle = new TQRShape(detail);
        circle->SetShape(qrsCircle);
        circle->SetTop(120);
        circle->SetWidth(50);
        circle->SetHeight(50);
        auto* image = new TQRImage(detail);
        image->SetTop(200);
        image->SetWidth(10);
        image->SetHeight(10);
        QImage picture(30, 20, QImage::Format_RGB32);
        picture.fill(Qt::red);
        image->SetPicture(picture); // larger than its area: clipped
        report.Prepare();
        path = dir.filePath(QStringLiteral("pages.QRP"));
    }

    QByteArray saved()
    {
        report.QRPrinter()->Save(path);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }

    std::unique_ptr<TQxMemTable> data;
    TQuickRep report;
    QTemporaryDir dir;
    QString path;
};

quint32 crcOf(const QByteArray& bytes)
{
    return qx::report::crc32c(bytes.constData(), bytes.size());
}

// The bytes of the first page's picture and where they start.
qsizetype firstPageAt()
{
    return kPageFileHeaderSize + 8;
}

// The first page's length, after its CRC.
quint32 firstLength(const QByteArray& file)
{
    return qFromBigEndian<quint32>(file.constData() + kPageFileHeaderSize + 4);
}

// Replaces the first page's picture bytes and fixes its length, its CRC and the picture's own
// checksum, as a file made on purpose would.
QByteArray withFirstPage(QByteArray file, QByteArray picture)
{
    if (picture.size() > 6)
        qToBigEndian(quint16(qChecksum(QByteArrayView(picture.constData() + 6, picture.size() - 6))), picture.data() + 4);
    file.replace(firstPageAt(), firstLength(file), picture);
    qToLittleEndian(crcOf(picture), file.data() + kPageFileHeaderSize);
    qToBigEndian(quint32(picture.size()), file.data() + kPageFileHeaderSize + 4);
    return file;
}

QByteArray firstPage(const QByteArray& file)
{
    return file.mid(firstPageAt(), firstLength(file));
}

TEST_F(PageFiles, RoundTripKeepsEveryPage)
{
    TQRPrinter* printer = report.QRPrinter();
    ASSERT_EQ(printer->PageCount(), 3);
    const QStringList before = describePages(*printer);
    ASSERT_TRUE(before.contains(QStringLiteral("page 3")));
    ASSERT_TRUE(before.filter(QStringLiteral("image")).size() == 3);
    ASSERT_TRUE(before.filter(QStringLiteral("ellipse")).size() == 3);

    const QByteArray file = saved();
    EXPECT_EQ(qFromLittleEndian<quint32>(file.constData() + 8), 3u);

    TQRPrinter loaded;
    loaded.Load(path);
    EXPECT_EQ(loaded.PageCount(), 3);
    EXPECT_EQ(describePages(loaded), before);
    EXPECT_DOUBLE_EQ(loaded.PaperWidth(), 2100);
    EXPECT_DOUBLE_EQ(loaded.PaperLength(), 2970);
    EXPECT_EQ(loaded.ReportFont().pixelSize(), report.Font().pixelSize());
    EXPECT_EQ(loaded.Status(), mpFinished);
    EXPECT_EQ(loaded.ParentReport(), nullptr);
}

TEST_F(PageFiles, SaveReplacesAWholeFileOnly)
{
    saved();
    // A folder that does not exist: the save fails and says so.
    EXPECT_THROW(report.QRPrinter()->Save(dir.filePath(QStringLiteral("none/pages.QRP"))), EInOutError);
    TQRPrinter loaded;
    EXPECT_THROW(loaded.Load(dir.filePath(QStringLiteral("missing.QRP"))), EInOutError);
}

// A disk that fills up part way through a save, or a folder that takes no new file: the save
// says so, the report file there before keeps every byte, and no other file is left beside it.
TEST_F(PageFiles, AFailedSaveKeepsTheOldFileWhole)
{
    const QByteArray whole = saved();
    ASSERT_GT(whole.size(), 1000);
    const QByteArray old("an earlier report file");
    const auto putOld = [&] {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(f.write(old), old.size());
    };
    const auto filesThere = [&] { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); };
    for (const qsizetype limit : {qsizetype(0), qsizetype(64), qsizetype(kPageFileHeaderSize + 4), whole.size() / 2,
                                  whole.size() - 1}) {
        SCOPED_TRACE(limit);
        putOld();
        {
            qxtest::FileSizeLimit full{rlim_t(limit)};
            ASSERT_TRUE(full.ok());
            try {
                report.QRPrinter()->Save(path);
                ADD_FAILURE() << "a save onto a full disk was reported as done";
            } catch (const EInOutError& e) {
                EXPECT_TRUE(e.Message().startsWith(QStringLiteral("无法保存报表文件：") + path)) << e.Message().toStdString();
            }
        }
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), old);
        EXPECT_EQ(filesThere(), QStringList{QStringLiteral("pages.QRP")});
    }

    putOld();
    {
        qxtest::ReadOnlyFolder locked(dir.path());
        ASSERT_TRUE(locked.ok());
        EXPECT_THROW(report.QRPrinter()->Save(path), EInOutError);
    }
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), old);
    EXPECT_EQ(filesThere(), QStringList{QStringLiteral("pages.QRP")});

    // With room again the same save goes through whole.
    EXPECT_EQ(saved(), whole);
}

TEST_F(PageFiles, ShortFilesEndInAClearError)
{
    const QByteArray file = saved();
    for (qsizetype cut : {qsizetype(0), qsizetype(4), qsizetype(8), qsizetype(127), qsizetype(128), qsizetype(131),
                          qsizetype(136), qsizetype(200), file.size() / 2, file.size() - 1}) {
        SCOPED_TRACE(cut);
        try {
            decodePageFile(file.left(cut), QStringLiteral("x.QRP"));
            ADD_FAILURE() << "a short file was read";
        } catch (const EReadError& e) {
            EXPECT_TRUE(e.Message().startsWith(QStringLiteral("报表文件不完整")) || e.Message().startsWith(QStringLiteral("不是报表文件"))
                        || e.Message().startsWith(QStringLiteral("报表文件已损坏")))
                << e.Message().toStdString();
        }
    }
}

TEST_F(PageFiles, DamagedFilesEndInAClearErrorAndKeepThePages)
{
    const QByteArray file = saved();
    const struct
    {
        const char* what;
        std::function<void(QByteArray&)> damage;
        const char* message;
    } cases[] = {
        {"signature", [](QByteArray& f) { f[0] = 'X'; }, "不是报表文件：x.QRP"},
        {"page count beyond the file", [](QByteArray& f) { qToLittleEndian(quint32(0x7FFFFFFF), f.data() + 8); }, "报表文件不完整：x.QRP"},
        {"one page more than there is", [](QByteArray& f) { qToLittleEndian(quint32(4), f.data() + 8); }, "报表文件不完整：x.QRP"},
        {"one page less", [](QByteArray& f) { qToLittleEndian(quint32(2), f.data() + 8); }, "报表文件已损坏：x.QRP"},
        {"page length beyond the file", [](QByteArray& f) { qToBigEndian(quint32(0xFFFFFFF0), f.data() + 132); }, "报表文件不完整：x.QRP"},
        {"a page's CRC", [](QByteArray& f) { f[129] = char(f[129] ^ 1); }, "报表文件已损坏：x.QRP"},
        {"a byte of a page", [](QByteArray& f) { f[300] = char(f[300] ^ 0x40); }, "报表文件已损坏：x.QRP"},
        {"trailing bytes", [](QByteArray& f) { f.append("junk"); }, "报表文件已损坏：x.QRP"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QByteArray damaged = file;
        c.damage(damaged);
        try {
            decodePageFile(damaged, QStringLiteral("x.QRP"));
            ADD_FAILURE() << "a damaged file was read";
        } catch (const EReadError& e) {
            EXPECT_EQ(e.Message(), QString::fromUtf8(c.message));
        }
    }

    // Loading a damaged file leaves the printer's pages as they were.
    QByteArray damaged = file;
    damaged[400] = char(damaged[400] ^ 1);
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(damaged);
    out.close();
    EXPECT_THROW(report.QRPrinter()->Load(path), EReadError);
    EXPECT_EQ(report.QRPrinter()->PageCount(), 3);
}

TEST_F(PageFiles, EveryChangedByteOfAPageIsRefusedOrPlaysSafely)
{
    // With the CRC made to fit, as a file made on purpose would have it: the picture check
    // alone stands between the bytes and the player.
    const QByteArray file = saved();
    const QByteArray page = firstPage(file);
    int refused = 0;
    int played = 0;
    for (qsizetype i = 0; i < page.size(); ++i) {
        for (const char value : {char(0xFF), char(0x7F), char(0x00)}) {
            QByteArray changed = page;
            if (changed[i] == value)
                continue;
            changed[i] = value;
            try {
                const PageFileContent content = decodePageFile(withFirstPage(file, changed), QStringLiteral("x.QRP"));
                RecordingPaintDevice device;
                QPainter painter(&device);
                TQRPrinter::PlayPage(painter, content.pages.front());
                painter.end();
                ++played;
            } catch (const EReadError&) {
                ++refused;
            }
        }
    }
    EXPECT_GT(refused, 0);
    EXPECT_GT(played, 0);
}

// Pictures with counts that claim more than is there.
TEST(PictureCheck, RefusesCountsBeyondTheData)
{
    auto record = [](const std::function<void(QPainter&)>& paint) {
        QPicture picture;
        QPainter painter(&picture);
        paint(painter);
        painter.end();
        return QByteArray(picture.data(), picture.size());
    };
    QString why;
    const QByteArray polyline = record([](QPainter& p) { p.drawLine(QLineF(1, 2, 3, 4)); });
    ASSERT_TRUE(checkPictureData(polyline.constData(), polyline.size(), &why)) << why.toStdString();
    // The point count of the polyline record (code 12) follows its two header bytes.
    const qsizetype at = polyline.indexOf(QByteArray::fromHex("0c24")) + 2;
    ASSERT_GT(at, 2);
    QByteArray hostile = polyline;
    qToBigEndian(quint32(0x40000000), hostile.data() + at);
    EXPECT_FALSE(checkPictureData(hostile.constData(), hostile.size(), &why));
    EXPECT_EQ(why, QStringLiteral("多边形超出页面数据"));

    QPainterPath curve;
    curve.moveTo(0, 0);
    curve.cubicTo(1, 1, 2, 2, 3, 3);
    const QByteArray path = record([&](QPainter& p) { p.drawPath(curve); });
    ASSERT_TRUE(checkPictureData(path.constData(), path.size(), &why)) << why.toStdString();

    const QByteArray text = record([](QPainter& p) {
        p.setFont(defaultReportFont());
        p.drawText(QPointF(10, 20), QStringLiteral("合计"));
    });
    ASSERT_TRUE(checkPictureData(text.constData(), text.size(), &why)) << why.toStdString();

    EXPECT_FALSE(checkPictureData(text.constData(), 9, &why));
    EXPECT_FALSE(checkPictureData("QPIC", 4, &why));
    QByteArray wrongVersion = text;
    wrongVersion[6] = 0x7F;
    EXPECT_FALSE(checkPictureData(wrongVersion.constData(), wrongVersion.size(), &why));
    EXPECT_EQ(why, QStringLiteral("页面数据的版本不符"));
}

TEST(PictureCheck, RefusesUnbalancedAndNestedRecords)
{
    QPicture picture;
    QPainter painter(&picture);
    painter.drawLine(QLineF(1, 2, 3, 4));
    painter.end();
    QByteArray bytes(picture.data(), picture.size());
    QString why;
    // A Restore (33) without a Save, put in place of the end record's two bytes.
    QByteArray restore = bytes;
    restore.insert(restore.size() - 2, QByteArray::fromHex("2100"));
    EXPECT_FALSE(checkPictureData(restore.constData(), restore.size(), &why));
    EXPECT_EQ(why, QStringLiteral("恢复没有对应的保存"));
    // A nested Begin record (30).
    QByteArray nested = bytes;
    nested.insert(nested.size() - 2, QByteArray::fromHex("1e0400000000"));
    EXPECT_FALSE(checkPictureData(nested.constData(), nested.size(), &why));
    EXPECT_EQ(why, QStringLiteral("不支持的记录 30"));
    // Saves nested deeper than a page ever needs.
    QByteArray deep = bytes;
    deep.insert(deep.size() - 2, QByteArray::fromHex("2000").repeated(65));
    EXPECT_FALSE(checkPictureData(deep.constData(), deep.size(), &why));
}

} // namespace
