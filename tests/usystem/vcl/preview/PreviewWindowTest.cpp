// The preview window: page moves, zoom, the state of a production, closing, report files.
#include "PreviewFixture.h"

#include "platform/report/QRExport.h"
#include "platform/report/QRPreview.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/Widgets.h"
#include "platform/rtl/Exceptions.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/preview/uQxRptPrev.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QProgressBar>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>

using namespace qx::test;

class PreviewWindow : public ::testing::Test
{
protected:
    PreviewWindow() : dialogs(script())
    {
        makePages(printer, 5);
        printer.SetTitle(QStringLiteral("销售单"));
        window = new TfrmNetScapePreview(&printer);
        window->show();
    }
    ~PreviewWindow() override
    {
        delete window.data();
    }

    QString pageInfo() const { return window->PanelText(1); }
    bool enabled(QToolButton* b) const { return b->isEnabled(); }

    qx::ScriptedDialogService& dialogs;
    TQRPrinter printer;
    QPointer<TfrmNetScapePreview> window;
    QTemporaryDir dir;
};

TEST_F(PreviewWindow, ToolBarHoldsItsButtonsInOrder)
{
    QStringList names;
    for (QObject* child : window->ToolBar1->children())
        if (auto* b = qobject_cast<QToolButton*>(child); b && !b->objectName().startsWith(QLatin1String("qt_")))
            names << b->objectName();
    EXPECT_EQ(names.join(u' '), QStringLiteral("tbLine btn100 btnOnePage btnPageWidth btnPrint btnTop btnPrevPage "
                                               "btnNextPage btnLast ToolButton1 btnSave btnClose"));
    EXPECT_EQ(window->btnSave->toolTip(), QStringLiteral("报表另存为：\n    *.QRP   ---- 报表文件"));
    EXPECT_EQ(window->ToolButton1->toolTip(), QStringLiteral("打开已存的报表文件 "));
    EXPECT_EQ(window->btnClose->text(), QStringLiteral("退出"));
    EXPECT_EQ(window->btnClose->property("ImageIndex").toInt(), 10);
    EXPECT_EQ(window->Caption(), QStringLiteral("销售单 - 共 5 页"));
    EXPECT_TRUE(window->btnPrint->isEnabled());
    EXPECT_EQ(window->StatusText(), QStringLiteral(" 预览处理完成"));
    // The progress bar sits in the status bar, over its third panel.
    EXPECT_EQ(window->ProgressBar->parentWidget(), static_cast<QWidget*>(window->StatusBar));
    EXPECT_EQ(window->ProgressBar->maximum(), 100);
}

TEST_F(PreviewWindow, PageMovesEnableTheButtonsThatCanMove)
{
    const struct
    {
        const char* step;
        std::function<void()> act;
        int page;
    } steps[] = {
        {"start", [] {}, 1},
        {"next", [this] { QTest::mouseClick(window->btnNextPage, Qt::LeftButton); }, 2},
        {"next", [this] { QTest::mouseClick(window->btnNextPage, Qt::LeftButton); }, 3},
        {"last", [this] { QTest::mouseClick(window->btnLast, Qt::LeftButton); }, 5},
        {"previous", [this] { QTest::mouseClick(window->btnPrevPage, Qt::LeftButton); }, 4},
        {"first", [this] { QTest::mouseClick(window->btnTop, Qt::LeftButton); }, 1},
        {"End", [this] { QTest::keyClick(window->QRPreview1, Qt::Key_End); }, 5},
        {"Page Up", [this] { QTest::keyClick(window->QRPreview1, Qt::Key_PageUp); }, 4},
        {"Home", [this] { QTest::keyClick(window->QRPreview1, Qt::Key_Home); }, 1},
        {"Page Down", [this] { QTest::keyClick(window->QRPreview1, Qt::Key_PageDown); }, 2},
    };
    for (const auto& s : steps) {
        s.act();
        const int page = s.page;
        EXPECT_EQ(window->QRPreview1->PageNumber(), page) << s.step;
        EXPECT_EQ(pageInfo(), QStringLiteral("    第 %1 页 / 共 5 页").arg(page)) << s.step;
        EXPECT_EQ(enabled(window->btnTop), page > 1) << s.step;
        EXPECT_EQ(enabled(window->btnPrevPage), page > 1) << s.step;
        EXPECT_EQ(enabled(window->btnNextPage), page < 5) << s.step;
        EXPECT_EQ(enabled(window->btnLast), page < 5) << s.step;
    }
}

TEST_F(PreviewWindow, ArrowKeysScrollByATenthOfTheRange)
{
    QTest::mouseClick(window->btn100, Qt::LeftButton);
    window->resize(300, 300);
    QScrollBar* v = window->QRPreview1->VertScrollBar();
    ASSERT_GT(v->maximum(), 0);
    v->setValue(0);
    QTest::keyClick(window->QRPreview1, Qt::Key_Down);
    EXPECT_EQ(v->value(), v->maximum() / 10);
    QTest::keyClick(window->QRPreview1, Qt::Key_Up);
    EXPECT_EQ(v->value(), 0);
    EXPECT_EQ(window->QRPreview1->PageNumber(), 1);
}

TEST_F(PreviewWindow, ZoomItemsAndButtons)
{
    const auto pressed = [this] {
        QString out;
        for (QToolButton* b : {window->btn100, window->btnOnePage, window->btnPageWidth})
            if (b->isChecked())
                out += b->objectName() + u' ';
        return out.trimmed();
    };
    // The percentages straight; -1 and -2: the zoom at which the page's width, or the whole
    // page, fits the control (zooming there again changes nothing).
    const auto fitted = [this](int kind) {
        const int zoom = window->QRPreview1->Zoom();
        if (kind == -1)
            window->QRPreview1->ZoomToWidth();
        else
            window->QRPreview1->ZoomToFit();
        return window->QRPreview1->Zoom() == zoom ? kind : zoom;
    };
    const int widthZoom = -1;
    const int pageZoom = -2;

    const QList<QAction*> items = window->ProcMenu->actions();
    ASSERT_EQ(items.size(), 9);
    const struct
    {
        const char* caption;
        int tag;
        int zoom;
        const char* pressed;
    } cases[] = {
        {"200%", 200, 200, ""},     {"150%", 150, 150, ""},  {"100%", 100, 100, "btn100"},
        {"75%", 75, 75, ""},        {"50%", 50, 50, ""},     {"25%", 25, 25, ""},
        {"10%", 10, 10, ""},        {"页宽", 1, widthZoom, "btnPageWidth"}, {"整页", 2, pageZoom, "btnOnePage"},
    };
    for (int i = 0; i < 9; ++i) {
        const auto& c = cases[i];
        QAction* item = items[i];
        EXPECT_EQ(item->text(), QString::fromUtf8(c.caption));
        EXPECT_EQ(item->property("Tag").toInt(), c.tag);
        window->btn100->setChecked(true);
        item->trigger();
        EXPECT_EQ(c.zoom < 0 ? fitted(c.zoom) : window->QRPreview1->Zoom(), c.zoom) << c.caption;
        EXPECT_EQ(pressed(), QString::fromLatin1(c.pressed)) << c.caption;
        EXPECT_TRUE(item->isChecked()) << c.caption;
        for (QAction* other : items) {
            if (other != item) {
                EXPECT_FALSE(other->isChecked()) << c.caption;
            }
        }
    }

    const struct
    {
        QToolButton* button;
        QAction* item;
        int zoom;
    } buttons[] = {
        {window->btn100, window->Menu100, 100},
        {window->btnPageWidth, window->MenuWidth, widthZoom},
        {window->btnOnePage, window->MenuPage, pageZoom},
    };
    for (const auto& b : buttons) {
        window->ProcMenu->actions()[0]->trigger();
        QTest::mouseClick(b.button, Qt::LeftButton);
        EXPECT_EQ(b.zoom < 0 ? fitted(b.zoom) : window->QRPreview1->Zoom(), b.zoom) << b.button->objectName().toStdString();
        EXPECT_EQ(pressed(), b.button->objectName());
        EXPECT_TRUE(b.item->isChecked());
        // Clicking a pressed button keeps it pressed.
        QTest::mouseClick(b.button, Qt::LeftButton);
        EXPECT_EQ(pressed(), b.button->objectName());
    }
}

TEST_F(PreviewWindow, SavesAndOpensReportFiles)
{
    const QString saved = dir.filePath(QStringLiteral("saved.QRP"));
    dialogs.answerFile(saved);
    QTest::mouseClick(window->btnSave, Qt::LeftButton);
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown()[0].caption, QStringLiteral("保存报表"));
    EXPECT_EQ(dialogs.shown()[0].filter, QRExportFilterLibrary().SaveFileFilter());
    EXPECT_TRUE(dialogs.shown()[0].filter.startsWith(QStringLiteral("报表文件 (*.QRP)")));
    EXPECT_EQ(fileTexts(saved).join(u','), QStringLiteral("P1,P2,P3,P4,P5"));

    const QString other = dir.filePath(QStringLiteral("other.QRP"));
    writeReportFile(other, 2, QStringLiteral("Q"));
    QTest::mouseClick(window->btnLast, Qt::LeftButton);
    dialogs.answerFile(other);
    QTest::mouseClick(window->ToolButton1, Qt::LeftButton);
    EXPECT_EQ(dialogs.shown().last().caption, QStringLiteral("打开报表"));
    EXPECT_EQ(dialogs.shown().last().filter, QStringLiteral("报表文件 (*.QRP)"));
    EXPECT_EQ(pageTexts(printer).join(u','), QStringLiteral("Q1,Q2"));
    EXPECT_EQ(window->QRPreview1->PageNumber(), 1);
    EXPECT_EQ(window->Caption(), QStringLiteral("查看已保存文件 - %1 - 共 2 页").arg(other));
    EXPECT_EQ(pageInfo(), QStringLiteral("    第 1 页 / 共 2 页"));
    EXPECT_EQ(dialogs.unexpected(), 0);
}

TEST_F(PreviewWindow, MissingAndDamagedFilesKeepThePages)
{
    const QString damaged = dir.filePath(QStringLiteral("damaged.QRP"));
    writeReportFile(damaged, 2);
    {
        QFile f(damaged);
        ASSERT_TRUE(f.resize(f.size() - 7));
    }
    dialogs.answerFile(dir.filePath(QStringLiteral("missing.QRP")));
    dialogs.answerMessage(qx::mrOk);
    QTest::mouseClick(window->ToolButton1, Qt::LeftButton);
    dialogs.answerFile(damaged);
    dialogs.answerMessage(qx::mrOk);
    QTest::mouseClick(window->ToolButton1, Qt::LeftButton);

    const QStringList messages = dialogs.messages();
    ASSERT_EQ(messages.size(), 2);
    EXPECT_EQ(messages[0], QStringLiteral("文件不存在！"));
    EXPECT_TRUE(messages[1].contains(damaged)) << messages[1].toStdString();
    EXPECT_EQ(printer.PageCount(), 5);
    EXPECT_EQ(window->Caption(), QStringLiteral("销售单 - 共 5 页"));
    EXPECT_EQ(dialogs.unexpected(), 0);
}

// "保存" onto a disk that fills up: the user reads why, the report file there before keeps its
// pages, nothing else is left in the folder, and the window keeps its pages.
TEST_F(PreviewWindow, SaveOntoAFullDiskKeepsTheOldFile)
{
    const QString saved = dir.filePath(QStringLiteral("saved.QRP"));
    writeReportFile(saved, 2, QStringLiteral("Q"));
    {
        qxtest::FileSizeLimit full(200);
        ASSERT_TRUE(full.ok());
        dialogs.answerFile(saved);
        dialogs.answerMessage(qx::mrOk);
        QTest::mouseClick(window->btnSave, Qt::LeftButton);
    }
    const QStringList messages = dialogs.messages();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("无法保存报表文件：") + saved)) << messages[0].toStdString();
    EXPECT_EQ(fileTexts(saved).join(u','), QStringLiteral("Q1,Q2"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("saved.QRP")});
    EXPECT_EQ(printer.PageCount(), 5);
    EXPECT_EQ(dialogs.unexpected(), 0);
}

namespace {

// An export filter that writes the texts it is handed, a page to a line.
class LineFilter : public TQRExportFilter
{
public:
    using TQRExportFilter::TQRExportFilter;
    QString Description() const override { return QStringLiteral("测试文本"); }
    QString Extension() const override { return QStringLiteral("tst"); }
    QString FilterName() const override { return QStringLiteral("LineFilter"); }
    void NewPage() override { m_lines << QString(); }
    void TextOut(double, double, const QFont&, TColor, TAlignment, const QString& Text) override { m_lines.last() += Text; }
    void Finish() override
    {
        QFile f(FileName());
        const QByteArray bytes = m_lines.join(u'\n').toUtf8();
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.flush())
            throw EInOutError(QStringLiteral("生成文件:%1出错！").arg(FileName()));
    }

private:
    QStringList m_lines;
};

} // namespace

TEST_F(PreviewWindow, SaveDialogOffersTheExportFiltersAfterTheReportFile)
{
    QRExportFilterLibrary().AddFilter<LineFilter>();
    const QString file = dir.filePath(QStringLiteral("pages.tst"));
    dialogs.answerFile(file, QStringLiteral("测试文本 (*.tst)"));
    QTest::mouseClick(window->btnSave, Qt::LeftButton);
    const QStringList entries = dialogs.shown().last().filter.split(QStringLiteral(";;"));
    ASSERT_GE(entries.size(), 2);
    EXPECT_EQ(entries.first(), QStringLiteral("报表文件 (*.QRP)"));
    EXPECT_EQ(entries.last(), QStringLiteral("测试文本 (*.tst)"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(f.readAll()), QStringLiteral("P1\nP2\nP3\nP4\nP5"));
}

// ---- while the report makes its pages ------------------------------------------------------------

class PreviewProduction : public ::testing::Test
{
protected:
    PreviewProduction() : dialogs(script()), pages(4) {}

    // Runs f at the end of each record's band, with the preview window.
    void onRecord(std::function<void(int record, TfrmNetScapePreview& window)> f)
    {
        pages.detail->AfterPrint = [this, f](TQRCustomBand*, bool) {
            ++record;
            const QList<TfrmNetScapePreview*> windows = previewWindows();
            ASSERT_EQ(windows.size(), 1);
            f(record, *windows.first());
        };
    }

    qx::ScriptedDialogService& dialogs;
    PreviewWindowsCleanup cleanup;
    ScopedLibraryPreview libraryPreview;
    PageReport pages;
    int record = 0;
};

TEST_F(PreviewProduction, ShowsTheStateWhilePagesArriveAndRefusesToClose)
{
    QStringList states;
    onRecord([&](int, TfrmNetScapePreview& w) {
        states << w.StatusText() + u'|' + w.btnClose->text() + u'|' + (w.btnPrint->isEnabled() ? u'P' : u'-')
                      + u'|' + w.PanelText(1).trimmed();
        w.Close();
        EXPECT_TRUE(w.isVisible());
    });
    pages.report.Preview();
    EXPECT_EQ(states, (QStringList{
                          QStringLiteral(" 正在准备...|停止|-|第 0 页 / 共 0 页"),
                          QStringLiteral(" 正在生成...|停止|-|第 1 页 / 共 1 页"),
                          QStringLiteral(" 正在生成...|停止|-|第 1 页 / 共 2 页"),
                          QStringLiteral(" 正在生成...|停止|-|第 1 页 / 共 3 页"),
                      }));
    const QList<TfrmNetScapePreview*> windows = previewWindows();
    ASSERT_EQ(windows.size(), 1);
    TfrmNetScapePreview& w = *windows.first();
    EXPECT_EQ(w.StatusText(), QStringLiteral(" 预览处理完成"));
    EXPECT_EQ(w.btnClose->text(), QStringLiteral("退出"));
    EXPECT_EQ(w.btnClose->toolTip(), QStringLiteral("关闭预览窗口"));
    EXPECT_TRUE(w.btnPrint->isEnabled());
    EXPECT_EQ(w.Caption(), QStringLiteral("维修单 - 共 4 页"));
    EXPECT_EQ(w.ProgressBar->value(), 0);
    // The first page pressed the page-width button.
    EXPECT_TRUE(w.btnPageWidth->isChecked());

    // Now the exit button closes it, and the report lets go of its printer object.
    QPointer<TfrmNetScapePreview> gone(&w);
    QTest::mouseClick(w.btnClose, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(gone.isNull());
    EXPECT_EQ(pages.report.QRPrinter(), nullptr);
}

TEST_F(PreviewProduction, StopEndsTheProduction)
{
    QString during;
    onRecord([&](int n, TfrmNetScapePreview& w) {
        if (n != 2)
            return;
        QTest::mouseClick(w.btnClose, Qt::LeftButton);
        during = w.StatusText() + u'|' + w.btnClose->text() + u'|' + w.btnClose->toolTip();
        EXPECT_TRUE(w.btnPrint->isEnabled());
    });
    pages.report.Preview();
    EXPECT_EQ(during, QStringLiteral(" 用户终止|退出|关闭预览窗口"));
    EXPECT_LE(record, 3);
    const QList<TfrmNetScapePreview*> windows = previewWindows();
    ASSERT_EQ(windows.size(), 1);
    EXPECT_EQ(windows.first()->StatusText(), QStringLiteral(" 用户终止"));
    EXPECT_LT(windows.first()->QRPrinter()->PageCount(), 4);
    EXPECT_TRUE(windows.first()->isVisible());
}

TEST_F(PreviewProduction, EscStopsTooThenCloses)
{
    onRecord([&](int n, TfrmNetScapePreview& w) {
        if (n == 1)
            QTest::keyClick(w.QRPreview1, Qt::Key_Escape);
    });
    pages.report.Preview();
    const QList<TfrmNetScapePreview*> windows = previewWindows();
    ASSERT_EQ(windows.size(), 1);
    EXPECT_EQ(windows.first()->StatusText(), QStringLiteral(" 用户终止"));
    QTest::keyClick(windows.first()->QRPreview1, Qt::Key_Escape);
    EXPECT_TRUE(previewWindows().isEmpty());
}

TEST_F(PreviewProduction, ModalPreviewShowsTheFinishedPages)
{
    dialogs.answerDialog([](QDialog& d) {
        auto& w = static_cast<TfrmNetScapePreview&>(d);
        EXPECT_EQ(w.StatusText(), QStringLiteral(" 预览处理完成"));
        EXPECT_EQ(w.PanelText(1), QStringLiteral("    第 1 页 / 共 4 页"));
        EXPECT_TRUE(w.btnPrint->isEnabled());
        QTest::mouseClick(w.btnClose, Qt::LeftButton);
    });
    pages.report.PreviewModal();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(pages.report.QRPrinter(), nullptr);
    EXPECT_EQ(dialogs.unexpected(), 0);
}
