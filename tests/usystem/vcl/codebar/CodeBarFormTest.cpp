// The barcode label list dialog driven as the user drives it: typing into its edits, clicking
// its buttons, answering its file choosers.
#include "usystem/vcl/codebar/uQxCodebar.h"
#include "tests/support/Scoped.h"

#include "platform/db/DataSource.h"
#include "platform/db/QxMemTable.h"
#include "platform/env/ScriptedDialogService.h"
#include "platform/rtl/Gbk.h"
#include "usystem/vcl/controls/uQxButtons.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/edits/uQxEdits.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "tests/support/SaveFault.h"
#include "tests/support/SmallFileSystem.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QPointer>

#include <functional>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

#include <memory>

namespace {

// The scripted dialogs, also keeping what each file chooser was asked for.
class RecordingDialogs : public qx::ScriptedDialogService
{
public:
    QString openFileName(QWidget* parent, const qx::FileRequest& request) override
    {
        openRequests.append(request);
        return ScriptedDialogService::openFileName(parent, request);
    }
    QString saveFileName(QWidget* parent, const qx::FileRequest& request) override
    {
        saveRequests.append(request);
        return ScriptedDialogService::saveFileName(parent, request);
    }

    QList<qx::FileRequest> openRequests;
    QList<qx::FileRequest> saveRequests;
};

struct Row
{
    QString code;
    QString name;
    QString price;
    QString remark;
    bool operator==(const Row&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Row& r)
{
    return os << '{' << r.code.toStdString() << ", " << r.name.toStdString() << ", " << r.price.toStdString()
              << ", " << r.remark.toStdString() << '}';
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

class CodeBarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto service = std::make_unique<RecordingDialogs>();
        dialogs = service.get();
        recording.emplace(std::move(service));
        ASSERT_TRUE(dir.isValid());
        form = new TFrmCodeBar;
        form->show();
        QApplication::setActiveWindow(form);
        QApplication::processEvents();
    }

    void TearDown() override
    {
        if (form)
            delete form.data();
        EXPECT_EQ(dialogs->unexpected(), 0) << dialogs->messages().join(u'|').toStdString();
        EXPECT_EQ(dialogs->pending(), 0);
    }

    void type(TQxEdit* edit, const QString& text)
    {
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Delete);
        for (QChar c : text) {
            if (c.unicode() < 0x80) {
                QTest::keyClick(edit, c.toLatin1());
            } else {
                // Chinese text comes from the input method, committed a character at a time.
                QInputMethodEvent commit;
                commit.setCommitString(QString(c));
                QApplication::sendEvent(edit, &commit);
            }
        }
    }

    void setCount(QSpinBox* spin, int value)
    {
        spin->setFocus();
        QTest::keyClick(spin, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(spin, QString::number(value));
        QTest::keyClick(spin, Qt::Key_Tab);
    }

    void click(QWidget* button)
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(button->width() / 2, button->height() / 2));
    }

    void fixed(const QString& code, int count, const QString& name, const QString& price)
    {
        type(form->Edtitemcode1, code);
        setCount(form->EdtValue1, count);
        type(form->EdtitemName1, name);
        type(form->Edtsaleprice1, price);
        click(form->Button1);
    }

    void sequential(const QString& start, int count)
    {
        type(form->EdtItemCode2, start);
        setCount(form->EdtValue2, count);
        click(form->Button2);
    }

    QList<Row> rows()
    {
        TQxMemTable* t = form->tblitemcode;
        QList<Row> list;
        for (t->First(); !t->Eof(); t->Next())
            list.append({t->FieldByName("itemcode")->AsString(), t->FieldByName("itemname")->AsString(),
                         t->FieldByName("saleprice")->AsString(), t->FieldByName("remark")->AsString()});
        return list;
    }

    QList<Row> codes(std::initializer_list<const char*> list)
    {
        QList<Row> out;
        for (const char* c : list)
            out.append({QString::fromLatin1(c), {}, {}, {}});
        return out;
    }

    QString path(const QString& name) const { return dir.filePath(name); }

    RecordingDialogs* dialogs = nullptr;
    std::optional<qx::test::ScopedDialogService> recording;
    QTemporaryDir dir;
    QPointer<TFrmCodeBar> form;
};

// ---- the dialog ------------------------------------------------------------------------------

TEST_F(CodeBarTest, DialogHoldsTheListColumnsAndControls)
{
    EXPECT_EQ(form->windowTitle(), QStringLiteral("条形码设置器"));
    EXPECT_EQ(form->size(), QSize(806, 529));
    EXPECT_EQ(form->minimumSize(), form->maximumSize());

    TQxMemTable* t = form->tblitemcode;
    ASSERT_TRUE(t->Active());
    EXPECT_EQ(t->RecordCount(), 0);
    EXPECT_EQ(form->dsitemcode->DataSet(), t);
    const struct
    {
        const char* field;
        TFieldType type;
        int size;
        const char16_t* title;
    } columns[] = {
        {"itemcode", ftString, 18, u"条码"},
        {"itemname", ftString, 30, u"名称"},
        {"saleprice", ftCurrency, 0, u"销售价"},
        {"remark", ftString, 60, u"说明"},
    };
    ASSERT_EQ(form->DBGrid1->Columns()->Count(), 4);
    EXPECT_EQ(form->DBGrid1->DataSource(), form->dsitemcode);
    EXPECT_EQ(form->DBGrid1->width(), 537);
    for (int i = 0; i < 4; ++i) {
        TField* f = t->FieldByName(QString::fromLatin1(columns[i].field));
        ASSERT_NE(f, nullptr) << columns[i].field;
        EXPECT_EQ(f->DataType(), columns[i].type);
        if (columns[i].size) {
            EXPECT_EQ(f->Size(), columns[i].size);
        }
        TQxColumn* c = form->DBGrid1->Columns()->Items(i);
        EXPECT_EQ(c->FieldName(), QString::fromLatin1(columns[i].field));
        EXPECT_EQ(c->Title()->Caption(), QString::fromUtf16(columns[i].title));
        EXPECT_EQ(c->Title()->Alignment(), taCenter);
    }

    // The tool bar's buttons from the left.
    const TQxButton* buttons[] = {form->QxButton6, form->QxButton5, form->QxButton4, form->QxButton3,
                                  form->QxButton1};
    const char16_t* captions[] = {u"清空", u"保存", u"读出", u"打印", u"退出"};
    int left = -1;
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(buttons[i]->Caption(), QString::fromUtf16(captions[i]));
        EXPECT_GT(buttons[i]->x(), left);
        left = buttons[i]->x();
    }
    EXPECT_EQ(form->Panel1->height(), 41);

    EXPECT_EQ(form->GroupBox1->title(), QStringLiteral("固定条码："));
    EXPECT_EQ(form->GroupBox2->title(), QStringLiteral("自动序号条码："));
    EXPECT_EQ(form->EdtValue1->value(), 1);
    EXPECT_EQ(form->EdtValue2->value(), 1);
    for (TQxEdit* e : {form->Edtitemcode1, form->EdtitemName1, form->Edtsaleprice1, form->EdtItemCode2})
        EXPECT_EQ(e->MaxLength(), 18) << e->objectName().toStdString();
    EXPECT_EQ(form->Button1->text(), QStringLiteral("生成"));
    EXPECT_EQ(form->Button2->text(), QStringLiteral("生成"));
}

// The edits are in the form's font, as its labels and counts are, not in the library edit's
// own: the typed codes and names read at the same size as their captions.
TEST_F(CodeBarTest, TheEditsUseTheFormsFont)
{
    const QFont formFont = form->font();
    for (QWidget* w : std::initializer_list<QWidget*>{form->Edtitemcode1, form->EdtitemName1, form->Edtsaleprice1,
                                                      form->EdtItemCode2, form->EdtValue1, form->Label1}) {
        SCOPED_TRACE(w->objectName().toStdString());
        EXPECT_EQ(w->font().family(), formFont.family());
        EXPECT_EQ(w->font().pointSize(), formFont.pointSize());
    }
    EXPECT_NE(form->Edtitemcode1->font().family(), QStringLiteral("Times New Roman"));
}

TEST_F(CodeBarTest, ChoosersProposeLabelFiles)
{
    dialogs->answerFile(QString());
    click(form->QxButton5);
    dialogs->answerFile(QString());
    click(form->QxButton4);
    ASSERT_EQ(dialogs->saveRequests.size(), 1);
    ASSERT_EQ(dialogs->openRequests.size(), 1);
    for (const qx::FileRequest& r : {dialogs->saveRequests[0], dialogs->openRequests[0]}) {
        EXPECT_EQ(r.defaultSuffix, QStringLiteral("Bar"));
        EXPECT_EQ(r.filter, QStringLiteral("条码文件 (*.Bar)"));
    }
}

// ---- fixed codes -----------------------------------------------------------------------------

TEST_F(CodeBarTest, FixedCodeMakesPostedCopies)
{
    fixed(QStringLiteral("6901234567890"), 3, QStringLiteral("电池"), QStringLiteral("12.50"));
    const Row copy{QStringLiteral("6901234567890"), QStringLiteral("电池"), QStringLiteral("12.5"), QString()};
    EXPECT_EQ(rows(), (QList<Row>{copy, copy, copy}));
    // Every copy is a stored row; none waits in the insert state.
    EXPECT_EQ(form->tblitemcode->State(), dsBrowse);
    EXPECT_EQ(form->tblitemcode->RecordCount(), 3);
}

TEST_F(CodeBarTest, FixedCodeWithoutNameOrPriceLeavesThemEmpty)
{
    fixed(QStringLiteral("A-01"), 1, QString(), QString());
    EXPECT_EQ(rows(), (QList<Row>{{QStringLiteral("A-01"), QString(), QString(), QString()}}));
    EXPECT_TRUE(form->tblitemcode->FieldByName("saleprice")->IsNull());
}

TEST_F(CodeBarTest, NoCodeOrNoCopiesMakesNoRows)
{
    fixed(QString(), 3, QStringLiteral("电池"), QStringLiteral("1"));
    fixed(QStringLiteral("123"), 0, QStringLiteral("电池"), QStringLiteral("1"));
    fixed(QStringLiteral("123"), -2, QStringLiteral("电池"), QStringLiteral("1"));
    sequential(QString(), 3);
    sequential(QStringLiteral("501"), 0);
    sequential(QStringLiteral("501"), -1);
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_TRUE(dialogs->shown().isEmpty());
}

TEST_F(CodeBarTest, PriceThatIsNoNumberIsRefusedBeforeAnyRow)
{
    fixed(QStringLiteral("111"), 1, QStringLiteral("旧"), QStringLiteral("3"));
    dialogs->answerMessage(qx::mrOk);
    fixed(QStringLiteral("222"), 3, QStringLiteral("新"), QStringLiteral("12a"));
    EXPECT_EQ(dialogs->messages(), QStringList{QStringLiteral("'12a' is not a valid floating point value")});
    // No half-filled row of code and name waits to be posted by the next move.
    EXPECT_EQ(form->tblitemcode->State(), dsBrowse);
    EXPECT_EQ(rows(), (QList<Row>{{QStringLiteral("111"), QStringLiteral("旧"), QStringLiteral("3"), QString()}}));
}

// ---- sequential codes ------------------------------------------------------------------------

TEST_F(CodeBarTest, SequentialCodesCountOnTheDigits)
{
    const struct
    {
        const char* start;
        int count;
        QList<Row> expected;
    } cases[] = {
        {"501", 3, codes({"501", "502", "503"})},
        {"00120", 3, codes({"00120", "00121", "00122"})},
        {"0099", 2, codes({"0099", "0100"})},
        {"999", 2, codes({"999", "1000"})},
        {"123456789012345678", 3, codes({"123456789012345678", "123456789012345679", "123456789012345680"})},
        {"999999999999999999", 1, codes({"999999999999999999"})},
    };
    for (const auto& c : cases) {
        click(form->QxButton6);
        sequential(QString::fromLatin1(c.start), c.count);
        EXPECT_EQ(rows(), c.expected) << c.start;
        EXPECT_EQ(form->tblitemcode->State(), dsBrowse) << c.start;
    }
    EXPECT_TRUE(dialogs->shown().isEmpty());
}

TEST_F(CodeBarTest, SequentialStartWithOtherThanDigitsIsRefused)
{
    sequential(QStringLiteral("7"), 1);
    for (const char16_t* start : {u"12A", u"1.5", u"-3", u"1 2", u"１２"}) {
        dialogs->answerMessage(qx::mrOk);
        sequential(QString::fromUtf16(start), 3);
    }
    EXPECT_EQ(dialogs->messages(), QStringList(5, QStringLiteral("起始条码只能由数字 0-9 组成！")));
    EXPECT_EQ(rows(), codes({"7"}));
}

TEST_F(CodeBarTest, SequentialRunPastEighteenDigitsIsRefusedWhole)
{
    dialogs->answerMessage(qx::mrOk);
    sequential(QStringLiteral("999999999999999998"), 3);
    EXPECT_EQ(dialogs->messages(), QStringList{QStringLiteral("生成的条码超过 18 位！")});
    EXPECT_TRUE(rows().isEmpty());
    sequential(QStringLiteral("999999999999999998"), 2);
    EXPECT_EQ(rows(), codes({"999999999999999998", "999999999999999999"}));
}

TEST_F(CodeBarTest, EmptyingDropsEveryRow)
{
    sequential(QStringLiteral("1"), 4);
    fixed(QStringLiteral("X"), 2, QStringLiteral("壳"), QStringLiteral("5"));
    ASSERT_EQ(form->tblitemcode->RecordCount(), 6);
    click(form->QxButton6);
    EXPECT_EQ(form->tblitemcode->RecordCount(), 0);
    EXPECT_TRUE(rows().isEmpty());
    // The list takes new rows afterwards.
    sequential(QStringLiteral("08"), 2);
    EXPECT_EQ(rows(), codes({"08", "09"}));
}

// ---- files -----------------------------------------------------------------------------------

TEST_F(CodeBarTest, SavingWritesOnlyTheRows)
{
    fixed(QStringLiteral("690123"), 2, QStringLiteral("电池"), QStringLiteral("12.50"));
    sequential(QStringLiteral("0099"), 2);
    dialogs->answerFile(path(QStringLiteral("list.Bar")));
    click(form->QxButton5);
    // GBK, one row a line, no column definitions; empty values stay empty.
    const QByteArray expected = qx::toGbk(QStringLiteral("\"690123\",\"电池\",12.5,\r\n"
                                                         "\"690123\",\"电池\",12.5,\r\n"
                                                         "\"0099\",,,\r\n"
                                                         "\"0100\",,,\r\n"));
    EXPECT_EQ(readFile(path(QStringLiteral("list.Bar"))), expected);
    EXPECT_TRUE(dialogs->messages().isEmpty());
}

TEST_F(CodeBarTest, SavingTakesTheRowBeingTyped)
{
    sequential(QStringLiteral("1"), 1);
    TQxMemTable* t = form->tblitemcode;
    t->Append();
    t->FieldByName("itemcode")->SetAsString(QStringLiteral("2"));
    t->FieldByName("remark")->SetAsString(QStringLiteral("手写"));
    dialogs->answerFile(path(QStringLiteral("typed.Bar")));
    click(form->QxButton5);
    EXPECT_EQ(readFile(path(QStringLiteral("typed.Bar"))),
              qx::toGbk(QStringLiteral("\"1\",,,\r\n\"2\",,,\"手写\"\r\n")));
    EXPECT_EQ(t->State(), dsBrowse);
}

TEST_F(CodeBarTest, NameWithoutExtensionGetsTheListsOwn)
{
    sequential(QStringLiteral("5"), 1);
    dialogs->answerFile(path(QStringLiteral("labels")));
    click(form->QxButton5);
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("labels"))));
    EXPECT_EQ(readFile(path(QStringLiteral("labels.Bar"))), QByteArray("\"5\",,,\r\n"));
}

TEST_F(CodeBarTest, FileThatCannotBeWrittenIsReported)
{
    sequential(QStringLiteral("5"), 2);
    dialogs->answerFile(path(QStringLiteral("no-such-folder/list.Bar")));
    dialogs->answerMessage(qx::mrOk);
    click(form->QxButton5);
    ASSERT_EQ(dialogs->messages().size(), 1);
    EXPECT_TRUE(dialogs->messages()[0].contains(QStringLiteral("list.Bar")));
    EXPECT_EQ(rows(), codes({"5", "6"}));
}

// "保存" on a disk that cannot take the list: the message says why, the old list file keeps
// every byte and the list on screen stays; through a failing write, then on a file system
// that is really full.
TEST_F(CodeBarTest, SavingOnAFullDiskKeepsTheOldFile)
{
    sequential(QStringLiteral("5"), 2);
    dialogs->answerFile(path(QStringLiteral("list.Bar")));
    click(form->QxButton5);
    const QByteArray old = readFile(path(QStringLiteral("list.Bar")));
    ASSERT_FALSE(old.isEmpty());

    sequential(QStringLiteral("100"), 50);
    {
        qxtest::SaveFault fault(qx::SaveStep::Write, ENOSPC);
        dialogs->answerFile(path(QStringLiteral("list.Bar")));
        dialogs->answerMessage(qx::mrOk);
        click(form->QxButton5);
    }
    ASSERT_EQ(dialogs->messages().size(), 1);
    EXPECT_TRUE(dialogs->messages()[0].contains(QStringLiteral("磁盘空间不足。"))) << dialogs->messages()[0].toStdString();
    EXPECT_EQ(readFile(path(QStringLiteral("list.Bar"))), old);
    EXPECT_EQ(rows().size(), 52);
}

TEST_F(CodeBarTest, SavingOnAFullFileSystemKeepsTheOldFile)
{
    qxtest::SmallFileSystem fs(64);
    if (!fs.ok())
        GTEST_SKIP() << "no right to mount a small file system here";
    const QString file = fs.filePath(QStringLiteral("labels.Bar"));
    sequential(QStringLiteral("5"), 3);
    dialogs->answerFile(file);
    click(form->QxButton5);
    const QByteArray before = readFile(file);
    ASSERT_EQ(before, QByteArray("\"5\",,,\r\n\"6\",,,\r\n\"7\",,,\r\n"));
    sequential(QStringLiteral("1000"), 2000);
    fs.fill();
    dialogs->answerFile(file);
    dialogs->answerMessage(qx::mrOk);
    click(form->QxButton5);
    ASSERT_EQ(dialogs->messages().size(), 1);
    EXPECT_TRUE(dialogs->messages()[0].contains(QStringLiteral("磁盘空间不足。"))) << dialogs->messages()[0].toStdString();
    EXPECT_EQ(readFile(file), before);
    EXPECT_EQ(rows().size(), 2003);
}

// A list file holding a value its column cannot hold (a 25-digit code, a 40-character name) is
// refused with the line named; nothing is read in cut, and the list on screen stays.
TEST_F(CodeBarTest, ValuesLongerThanTheirColumnAreRefusedWithTheLine)
{
    sequential(QStringLiteral("30"), 2);
    const struct
    {
        const char* name;
        QString text;
        const char* expected;
    } files[] = {
        {"code.Bar", QStringLiteral("\"1\",,,\r\n\"1234567890123456789012345\",\"屏幕\",88,\r\n"),
         "line 2: '1234567890123456789012345' is longer than the 18 characters of field 'itemcode'"},
        {"name.Bar", QStringLiteral("\"2\",\"%1\",,\r\n").arg(QString(40, u'名')),
         "line 1: '%1' is longer than the 30 characters of field 'itemname'"},
    };
    for (const auto& f : files) {
        ASSERT_TRUE(writeFile(path(QString::fromLatin1(f.name)), qx::toGbk(f.text)));
        dialogs->answerFile(path(QString::fromLatin1(f.name)));
        dialogs->answerMessage(qx::mrOk);
        click(form->QxButton4);
        EXPECT_EQ(rows(), codes({"30", "31"})) << f.name;
        ASSERT_FALSE(dialogs->messages().isEmpty());
        EXPECT_TRUE(dialogs->messages().last().contains(QString::fromUtf8(f.expected).replace(QStringLiteral("%1"), QString(40, u'名'))))
            << dialogs->messages().last().toStdString();
    }
}

TEST_F(CodeBarTest, CancelledChoosersDoNothing)
{
    sequential(QStringLiteral("10"), 2);
    dialogs->answerFile(QString());
    click(form->QxButton5);
    dialogs->answerFile(QString());
    click(form->QxButton4);
    EXPECT_EQ(rows(), codes({"10", "11"}));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(dialogs->messages().isEmpty());
}

TEST_F(CodeBarTest, ReadingReplacesTheWholeList)
{
    ASSERT_TRUE(writeFile(path(QStringLiteral("old.Bar")),
                          qx::toGbk(QStringLiteral("\"0001\",\"屏幕\",88,\"含税\"\r\n\"0002\",,,\r\n"))));
    sequential(QStringLiteral("77"), 3);
    dialogs->answerFile(path(QStringLiteral("old.Bar")));
    click(form->QxButton4);
    // The list shows from its first row.
    EXPECT_EQ(form->tblitemcode->RecNo(), 1);
    EXPECT_EQ(rows(), (QList<Row>{{QStringLiteral("0001"), QStringLiteral("屏幕"), QStringLiteral("88"),
                                   QStringLiteral("含税")},
                                  {QStringLiteral("0002"), QString(), QString(), QString()}}));
}

TEST_F(CodeBarTest, SavedListReadsBackTheSame)
{
    fixed(QStringLiteral("690123"), 2, QStringLiteral("数据线,白色"), QStringLiteral("9.9"));
    sequential(QStringLiteral("000000000000000998"), 3);
    const QList<Row> before = rows();
    dialogs->answerFile(path(QStringLiteral("a.Bar")));
    click(form->QxButton5);
    click(form->QxButton6);
    ASSERT_TRUE(rows().isEmpty());
    dialogs->answerFile(path(QStringLiteral("a.Bar")));
    click(form->QxButton4);
    EXPECT_EQ(rows(), before);
    dialogs->answerFile(path(QStringLiteral("b.Bar")));
    click(form->QxButton5);
    EXPECT_EQ(readFile(path(QStringLiteral("b.Bar"))), readFile(path(QStringLiteral("a.Bar"))));
    EXPECT_TRUE(dialogs->messages().isEmpty());
}

TEST_F(CodeBarTest, UnreadableFileLeavesTheListAsItWas)
{
    sequential(QStringLiteral("30"), 2);
    const struct
    {
        const char* name;
        QByteArray bytes;
    } files[] = {
        {"quote.Bar", QByteArray("\"1\",\"no end,,\r\n")},
        {"columns.Bar", QByteArray("\"1\",,\r\n")},
        {"price.Bar", QByteArray("\"1\",,abc,\r\n")},
    };
    for (const auto& f : files) {
        ASSERT_TRUE(writeFile(path(QString::fromLatin1(f.name)), f.bytes));
        dialogs->answerFile(path(QString::fromLatin1(f.name)));
        dialogs->answerMessage(qx::mrOk);
        click(form->QxButton4);
        EXPECT_EQ(rows(), codes({"30", "31"})) << f.name;
    }
    dialogs->answerFile(path(QStringLiteral("missing.Bar")));
    dialogs->answerMessage(qx::mrOk);
    click(form->QxButton4);
    EXPECT_EQ(rows(), codes({"30", "31"}));
    EXPECT_EQ(dialogs->messages().size(), 4);
}

// ---- closing ---------------------------------------------------------------------------------

// "退出" and Esc both close the dialog, and a closed dialog frees itself.
TEST_F(CodeBarTest, ExitOrEscClosesAndFreesTheDialog)
{
    const std::function<void()> ways[] = {
        [this] { click(form->QxButton1); },
        [this] { QTest::keyClick(form->Edtitemcode1, Qt::Key_Escape); },
    };
    for (int i = 0; i < 2; ++i) {
        if (!form) {
            form = new TFrmCodeBar;
            form->show();
            QApplication::setActiveWindow(form);
            QApplication::processEvents();
        }
        ways[i]();
        EXPECT_FALSE(form && form->isVisible()) << i;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(form.isNull()) << i;
    }
}

TEST_F(CodeBarTest, PrintButtonDoesNothing)
{
    sequential(QStringLiteral("1"), 2);
    click(form->QxButton3);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(rows(), codes({"1", "2"}));
    EXPECT_TRUE(dialogs->shown().isEmpty());
}

} // namespace
