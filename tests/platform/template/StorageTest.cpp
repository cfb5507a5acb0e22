// The stored form of templates: written and read back through a blob and a file byte for
// byte, the empty template, and damaged or foreign data ending in clear errors.
#include "TemplateFixture.h"

#include "platform/template/TemplateFormat.h"
#include "platform/template/TemplateReport.h"
#include "tests/support/SaveFault.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace tplt;

namespace {

QByteArray fileBytes(const QString& name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void putFile(const QString& name, const QByteArray& bytes)
{
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QString messageOf(const QByteArray& bytes)
{
    try {
        readTemplate(bytes);
    } catch (const ETemplateError& e) {
        return e.Message();
    }
    return QStringLiteral("(read)");
}

} // namespace

TEST(TemplateStorage, EveryKindReadsBackWholeThroughBlobAndFile)
{
    const TemplateDocument doc = everyKind();
    const QByteArray bytes = writeTemplate(doc);
    EXPECT_EQ(readTemplate(bytes), doc);
    EXPECT_EQ(writeTemplate(readTemplate(bytes)), bytes);

    // Through the blob field of a template row.
    auto table = templateTable();
    qx::tpl::TemplateReport writer;
    writer.Document() = doc;
    table->Append();
    table->FieldByName(QStringLiteral("ReportName"))->SetAsString(QStringLiteral("工单"));
    writer.SaveToBlob(table.get());
    table->Post();
    EXPECT_EQ(table->FieldByName(QStringLiteral("ReportData"))->AsBytes(), bytes);
    qx::tpl::TemplateReport reader;
    reader.LoadFromBlob(table.get());
    EXPECT_EQ(reader.Document(), doc);

    // Through a file; the receipt's name stays, the format inside is ours.
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("CardAddRpt.rmf"));
    reader.SaveToFile(file);
    EXPECT_EQ(fileBytes(file), bytes);
    qx::tpl::TemplateReport fromFile;
    fromFile.LoadFromFile(file);
    EXPECT_EQ(fromFile.Document(), doc);
    EXPECT_EQ(fromFile.Document().bands.at(0).objects.at(1).png, pngBytes());
}

TEST(TemplateStorage, AnEmptyBlobIsAnEmptyTemplateOfOnePage)
{
    auto table = templateTable();
    table->Append();
    table->Post();
    qx::tpl::TemplateReport report;
    report.Document() = everyKind();
    report.LoadFromBlob(table.get());
    EXPECT_TRUE(report.Document().isEmpty());
    EXPECT_EQ(report.Document(), TemplateDocument());
    EXPECT_TRUE(report.PrepareReport());
    EXPECT_EQ(report.PageCount(), 1);
}

TEST(TemplateStorage, DamagedOrForeignDataEndsInAClearError)
{
    const QByteArray good = writeTemplate(everyKind());
    auto replaced = [&good](const char* from, const char* to) {
        QByteArray b = good;
        const qsizetype at = b.indexOf(from);
        EXPECT_GE(at, 0) << from;
        return b.replace(at, qsizetype(qstrlen(from)), to);
    };
    QByteArray hugePng = pngBytes();
    // The IHDR width and height say 10000 x 10000.
    hugePng[16] = 0; hugePng[17] = 0; hugePng[18] = char(0x27); hugePng[19] = char(0x10);
    hugePng[20] = 0; hugePng[21] = 0; hugePng[22] = char(0x27); hugePng[23] = char(0x10);
    const QString hugeBase64 = QString::fromLatin1(hugePng.toBase64());
    const QByteArray realBase64 = pngBytes().toBase64();

    const struct
    {
        QByteArray bytes;
        QString message;
    } cases[] = {
        {QByteArray("\x89PNG garbage"), QStringLiteral("不是本系统的报表模板")},
        {QByteArray("{\"format\":\"other\",\"version\":1}"), QStringLiteral("不是本系统的报表模板")},
        {good.left(good.size() / 2), QStringLiteral("不是本系统的报表模板")},
        {QByteArray(5000, '[') , QStringLiteral("不是本系统的报表模板")},
        {replaced("\"version\": 1", "\"version\": 7"), QStringLiteral("报表模板的格式版本 7 比本程序新，无法读取")},
        {replaced("\"version\": 1", "\"version\": \"1\""), QStringLiteral("报表模板已损坏：version 不是 1 到 1000000 之间的整数")},
        {replaced("\"height\": 200", "\"height\": 1e300"), QStringLiteral("报表模板已损坏：bands[0].height 不是 0 到 100000 之间的整数")},
        {replaced("\"height\": 200", "\"height\": 2.5"), QStringLiteral("报表模板已损坏：bands[0].height 不是 0 到 100000 之间的整数")},
        {replaced("\"kind\": \"title\"", "\"kind\": \"banner\""), QStringLiteral("报表模板已损坏：bands[0].kind 是未知的带类型“banner”")},
        {replaced("\"kind\": \"picture\"", "\"kind\": \"movie\""), QStringLiteral("报表模板已损坏：bands[0].objects[1].kind 是未知的对象类型“movie”")},
        {replaced("\"fill\": \"#ffff00\"", "\"fill\": \"yellow\""), QStringLiteral("报表模板已损坏：bands[0].objects[0].fill 不是 #rrggbb 形式的颜色")},
        {replaced("\"bold\": true", "\"bold\": 1"), QStringLiteral("报表模板已损坏：bands[0].objects[0].font.bold 不是 true 或 false")},
        {replaced("\"objects\": [", "\"objects\": [7,"), QStringLiteral("报表模板已损坏：bands[0].objects[0] 不是对象")},
        {replaced("\"paper\": \"A5\"", "\"paper\": \"Napkin\""), QStringLiteral("报表模板已损坏：page.paper 是未知的纸张“Napkin”")},
        {replaced("\"left\": 150,", "\"left\": 2100,"), QStringLiteral("报表模板已损坏：page.margins 不给页面留下可打印的地方")},
        {replaced(realBase64.constData(), "not*base64"), QStringLiteral("报表模板已损坏：bands[0].objects[1].png 不是 Base64 编码")},
        {replaced(realBase64.constData(), "AAAAAAAA"), QStringLiteral("报表模板已损坏：bands[0].objects[1].png 不是 PNG 图片")},
        {replaced(realBase64.constData(), hugeBase64.toLatin1().constData()),
         QStringLiteral("报表模板已损坏：bands[0].objects[1].png 的图片尺寸 10000×10000 超出限度")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(messageOf(c.bytes), c.message) << c.bytes.left(60).constData();
}

TEST(TemplateStorage, AFailedLoadKeepsTheTemplateAndAFailedSaveTheFile)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("t.rmf"));
    putFile(file, "{ damaged");
    qx::tpl::TemplateReport report;
    report.Document() = everyKind();
    EXPECT_THROW(report.LoadFromFile(file), ETemplateError);
    EXPECT_THROW(report.LoadFromFile(dir.filePath(QStringLiteral("none.rmf"))), EInOutError);
    EXPECT_EQ(report.Document(), everyKind());

    {
        const qxtest::SaveFault full(qx::SaveStep::Write, ENOSPC);
        EXPECT_THROW(report.SaveToFile(file), EInOutError);
    }
    EXPECT_EQ(fileBytes(file), QByteArray("{ damaged"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("t.rmf")});

    auto noBlob = lines(QStringLiteral("Name"), {});
    EXPECT_THROW(report.LoadFromBlob(noBlob.get()), EDatabaseError);
}

TEST(TemplatePictures, DecodeOnlyWithinTheLimits)
{
    const QImage image = decodePng(pngBytes(5, 2));
    EXPECT_EQ(image.size(), QSize(5, 2));
    EXPECT_TRUE(decodePng(QByteArray("\x89PNG\r\n\x1a\n")).isNull());
    QByteArray cut = pngBytes(5, 2);
    cut.chop(20);
    EXPECT_TRUE(decodePng(cut).isNull());
}
