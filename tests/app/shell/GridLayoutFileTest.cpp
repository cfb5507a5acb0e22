// The browsers' layout files: "保存格式" writes every grid's columns into the program folder,
// the browser loads them back, a damaged file is passed by, and a save that cannot write
// says so and keeps the old file.
#include "ShellFixture.h"

#include "app/shell/ColorPanel.h"
#include "app/shell/uABusinessBase.h"
#include "tests/support/ReadOnlyFolder.h"
#include "platform/db/DataSource.h"
#include "platform/db/QxMemTable.h"
#include "usystem/vcl/controls/uQxButtons.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

namespace qx::app::test {
namespace {

// A browser titled caption with one grid per name over a small parts table.
struct Browser
{
    std::unique_ptr<TQxMemTable> table = std::make_unique<TQxMemTable>();
    QPointer<TFrmABusinessBase> form = new TFrmABusinessBase;
    QList<TQxDBGrid*> grids;

    Browser(const QString& caption, const QStringList& gridNames)
    {
        table->FieldDefs()->Add("Code", ftString, 10);
        table->FieldDefs()->Add("Name", ftString, 20);
        table->FieldDefs()->Add("Qty", ftInteger, 0);
        table->Open();
        auto* source = new TDataSource(form);
        source->SetDataSet(table.get());
        form->SetCaption(caption);
        for (const QString& name : gridNames) {
            auto* grid = new TQxDBGrid(form->Panel1);
            grid->setObjectName(name);
            grid->SetDataSource(source);
            grids << grid;
        }
        form->show();
    }
    ~Browser()
    {
        // The grids let go of the table before it goes.
        delete form.data();
    }
    TQxDBGridColumns* columns(int i) const { return grids.at(i)->Columns(); }
};

QStringList fieldNames(const TQxDBGridColumns* cols)
{
    QStringList out;
    for (int i = 0; i < cols->Count(); ++i)
        out << cols->Items(i)->FieldName() + (cols->Items(i)->IsStored() ? "" : "*");
    return out;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

class GridLayoutFile : public ShellTest
{
protected:
    QString programFile(const QString& name) const { return database.filePath(name); }
};

} // namespace

TEST_F(GridLayoutFile, SaveLayoutWritesEachGridsColumnsIntoTheProgramFolder)
{
    const QString before = QDir::currentPath();
    QDir::setCurrent(QDir::tempPath());
    {
        Browser b(QStringLiteral("库存管理"), {"DBGrid1", "DBGrid2"});
        b.columns(0)->Add()->SetFieldName("Name");
        b.columns(0)->Add()->SetFieldName("Code");
        b.columns(1)->Add()->SetFieldName("Qty");
        QTest::mouseClick(b.form->SpeedButton2, Qt::LeftButton);
    }
    QDir::setCurrent(before);
    EXPECT_TRUE(dialogs().messages().isEmpty());
    EXPECT_TRUE(readAll(programFile(QStringLiteral("库存管理DBGrid1.dbg"))).startsWith("TPF0"));
    EXPECT_TRUE(readAll(programFile(QStringLiteral("库存管理DBGrid2.dbg"))).startsWith("TPF0"));
    EXPECT_FALSE(QFile::exists(QDir::temp().filePath(QStringLiteral("库存管理DBGrid1.dbg"))));

    // The next browser of that title opens with those columns.
    Browser again(QStringLiteral("库存管理"), {"DBGrid1", "DBGrid2", "DBGrid3"});
    again.form->LoadGridLayouts();
    EXPECT_EQ(fieldNames(again.columns(0)), (QStringList{"Name", "Code"}));
    EXPECT_EQ(fieldNames(again.columns(1)), (QStringList{"Qty"}));
    // A grid without a file keeps the dataset's columns.
    EXPECT_EQ(fieldNames(again.columns(2)), (QStringList{"Code*", "Name*", "Qty*"}));
    EXPECT_FALSE(again.form->LoadGridLayout(*again.grids[2]));
}

TEST_F(GridLayoutFile, ALayoutFollowsTheTitleNotTheForm)
{
    {
        Browser b(QStringLiteral("销售管理"), {"DBGrid1"});
        b.columns(0)->Add()->SetFieldName("Qty");
        QTest::mouseClick(b.form->SpeedButton2, Qt::LeftButton);
    }
    Browser other(QStringLiteral("购货管理"), {"DBGrid1"});
    EXPECT_FALSE(other.form->LoadGridLayout(*other.grids[0]));
    EXPECT_EQ(other.columns(0)->Count(), 3);
    Browser same(QStringLiteral("销售管理"), {"DBGrid1"});
    EXPECT_TRUE(same.form->LoadGridLayout(*same.grids[0]));
    EXPECT_EQ(fieldNames(same.columns(0)), QStringList{"Qty"});
}

TEST_F(GridLayoutFile, ADamagedLayoutFileIsPassedByAndTheGridKeepsItsColumns)
{
    const QString file = programFile(QStringLiteral("工单录入DBGrid1.dbg"));
    const QByteArray cases[] = {
        QByteArray("TPF0\x11TQxColumnsWrapper\x00\x07Colu", 28), // cut short
        QByteArray("\x89PNG\r\n\x1a\n not a layout"),
        QByteArray(),
    };
    for (const QByteArray& bytes : cases) {
        writeAll(file, bytes);
        Browser b(QStringLiteral("工单录入"), {"DBGrid1"});
        b.columns(0)->Add()->SetFieldName("Code");
        EXPECT_FALSE(b.form->LoadGridLayout(*b.grids[0]));
        EXPECT_EQ(fieldNames(b.columns(0)), QStringList{"Code"});
        // The file stays where it is until the next save writes a good one over it.
        EXPECT_EQ(readAll(file), bytes);
        QTest::mouseClick(b.form->SpeedButton2, Qt::LeftButton);
        EXPECT_TRUE(readAll(file).startsWith("TPF0"));
    }
    EXPECT_TRUE(dialogs().messages().isEmpty());
}

using qxtest::ReadOnlyFolder;

TEST_F(GridLayoutFile, ASaveThatCannotWriteSaysSoAndKeepsTheOldFile)
{
    const QString file1 = programFile(QStringLiteral("库存管理DBGrid1.dbg"));
    const QString file2 = programFile(QStringLiteral("库存管理DBGrid2.dbg"));
    Browser b(QStringLiteral("库存管理"), {"DBGrid1", "DBGrid2"});
    b.columns(0)->Add()->SetFieldName("Code");
    QTest::mouseClick(b.form->SpeedButton2, Qt::LeftButton);
    const QByteArray old1 = readAll(file1);
    const QByteArray old2 = readAll(file2);
    ASSERT_TRUE(old1.startsWith("TPF0"));

    b.columns(0)->Add()->SetFieldName("Qty");
    b.columns(1)->Add()->SetFieldName("Name");
    {
        ReadOnlyFolder ro(QFileInfo(file1).absolutePath());
        if (!ro.ok())
            GTEST_SKIP() << "the program folder cannot be made read-only here";
        dialogs().answerMessage(mrOk);
        QTest::mouseClick(b.form->SpeedButton2, Qt::LeftButton);
    }
    // One error box for both grids, naming the files.
    ASSERT_EQ(dialogs().messages().size(), 1);
    EXPECT_TRUE(dialogs().messages()[0].contains(QStringLiteral("库存管理DBGrid1.dbg")));
    EXPECT_TRUE(dialogs().messages()[0].contains(QStringLiteral("库存管理DBGrid2.dbg")));
    EXPECT_EQ(readAll(file1), old1);
    EXPECT_EQ(readAll(file2), old2);
    // The browser is still there to try again.
    EXPECT_TRUE(b.form->isVisible());
}

} // namespace qx::app::test
