// The spreadsheet and word-processor exports on a disk that fills up part way: the message,
// nothing opened, and no empty or cut file left in the temporary folder under the export's name.
#include <gtest/gtest.h>

#include "ExportTestSupport.h"
#include "platform/env/ScriptedDialogService.h"
#include "platform/office/DesktopOpen.h"
#include "tests/support/FileSizeLimit.h"
#include "usystem/vcl/export/uQxDBGridRoutines.h"
#include "usystem/vcl/export/uQxTranOut.h"

#include <QDir>

#include <functional>

TEST(OfficeFilesFullDisk, NoFileIsLeftUnderTheExportsName)
{
    const struct
    {
        const char* name;
        std::function<bool(TQxDBGrid*)> exportGrid;
        const char* message;
    } cases[] = {
        {"spreadsheet", [](TQxDBGrid* g) { return ExportGridToExcel(QString(), QString(), g); }, "没有发现Excel!"},
        {"word processor", [](TQxDBGrid* g) { return ExportGridToWord(g, QString(), QString(), g); }, "WORD没有正确安装！"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        qxtest::ExportGrid g({{"Code", ftString, 10}, {"Note", ftMemo}}, {{"a", QString(3000, u'注')}, {"b", "x"}});
        const QString caption = QStringLiteral("满盘导出测试");
        g.grid()->window()->setWindowTitle(caption);
        auto* dialogs = qx::ScriptedDialogService::current();
        ASSERT_NE(dialogs, nullptr);
        dialogs->clear();
        dialogs->answerMessage(qx::mrOk);
        qx::DesktopOpeningOff off;
        {
            qxtest::FileSizeLimit full(1000);
            ASSERT_TRUE(full.ok());
            EXPECT_FALSE(c.exportGrid(g.grid()));
        }
        EXPECT_EQ(dialogs->messages(), QStringList{QString::fromUtf8(c.message)});
        EXPECT_TRUE(off.requested().isEmpty());
        const QStringList left = QDir::temp().entryList({caption + QStringLiteral("*")}, QDir::Files | QDir::Hidden);
        for (const QString& file : left)
            QFile::remove(QDir::temp().filePath(file));
        EXPECT_TRUE(left.isEmpty()) << left.join(u' ').toStdString();
        EXPECT_EQ(dialogs->unexpected(), 0);
    }
}
