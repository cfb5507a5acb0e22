// A layout does not depend on the screen: the same report laid out by programs started under
// different screen resolutions records the same pages.
#include "SampleReport.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

using namespace rpt;

namespace {

struct Dump
{
    QString dpi;
    QStringList layout;
};

Dump layoutUnder(const QString& fontDpi, const QString& file)
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("QT_ENABLE_HIGHDPI_SCALING"), QStringLiteral("0"));
    env.insert(QStringLiteral("QT_FONT_DPI"), fontDpi);
    child.setProcessEnvironment(env);
    child.start(QStringLiteral(QX_LAYOUT_DUMP), {file});
    EXPECT_TRUE(child.waitForFinished(60000));
    EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardError().toStdString();
    QFile f(file);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return {QString::fromUtf8(child.readAllStandardOutput()).trimmed(), QString::fromUtf8(f.readAll()).split(u'\n')};
}

TEST(ScreenDpi, SameLayoutUnderDifferentScreens)
{
    QTemporaryDir dir;
    const Dump low = layoutUnder(QStringLiteral("96"), dir.filePath(QStringLiteral("96.txt")));
    const Dump high = layoutUnder(QStringLiteral("144"), dir.filePath(QStringLiteral("144.txt")));
    ASSERT_EQ(low.dpi, QStringLiteral("96"));
    ASSERT_EQ(high.dpi, QStringLiteral("144")); // the child really ran on a 144-dpi screen
    ASSERT_GT(low.layout.size(), 50);
    EXPECT_EQ(high.layout, low.layout);

    // And the same as this process lays it out.
    SampleReport sample;
    sample.report.Prepare();
    EXPECT_EQ(qx::report::describePages(*sample.report.QRPrinter()), low.layout);
}

} // namespace
