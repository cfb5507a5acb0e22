// Names of the files exports put in the temporary folder.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include "platform/office/ExportFileName.h"
#include "tests/support/Scoped.h"

TEST(ExportFileName, CaptionAndTimeStampInTheTemporaryFolder)
{
    const qx::test::ScopedToday now(TDateTime::fromQDateTime(QDateTime(QDate(2026, 3, 5), QTime(14, 7, 9))));
    const struct { QString caption; QString name; } cases[] = {
        {QStringLiteral("工单浏览"), QStringLiteral("工单浏览_20260305140709.xlsx")},
        {QStringLiteral(" a/b:c*? "), QStringLiteral("a_b_c___20260305140709.xlsx")},
        {QString(), QStringLiteral("20260305140709.xlsx")},
        {QString(100, u'长'), QString(80, u'长') + QStringLiteral("_20260305140709.xlsx")},
    };
    for (const auto& c : cases) {
        const QString name = qx::newExportFileName(c.caption, QStringLiteral("xlsx"));
        EXPECT_EQ(QFileInfo(name).absolutePath(), QFileInfo(QDir::tempPath()).absoluteFilePath());
        EXPECT_EQ(QFileInfo(name).fileName(), c.name) << c.caption.toStdString();
        QFile::remove(name); // the name was claimed by an empty file
    }
}

TEST(ExportFileName, AnExistingFileIsNeverReused)
{
    const qx::test::ScopedToday now(TDateTime::fromQDateTime(QDateTime(QDate(2026, 3, 5), QTime(14, 7, 9))));
    const QString caption = QStringLiteral("导出名称测试%1").arg(QCoreApplication::applicationPid());
    // The first name is claimed by an empty file as it is handed out, so a second export in
    // the same second (here or in another process) gets the next name before anything is saved.
    const QString first = qx::newExportFileName(caption, QStringLiteral("docx"));
    const auto removeFirst = qScopeGuard([&] { QFile::remove(first); });
    EXPECT_TRUE(QFileInfo::exists(first));
    const QString second = qx::newExportFileName(caption, QStringLiteral("docx"));
    const auto removeSecond = qScopeGuard([&] { QFile::remove(second); });
    EXPECT_EQ(QFileInfo(second).fileName(), caption + QStringLiteral("_20260305140709_2.docx"));
}
