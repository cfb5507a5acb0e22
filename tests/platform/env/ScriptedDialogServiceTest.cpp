#include <gtest/gtest.h>

#include <QDialog>
#include <QPushButton>
#include <QTest>

#include "platform/env/ScriptedDialogService.h"

using namespace qx;

namespace {

ScriptedDialogService& script()
{
    ScriptedDialogService* s = ScriptedDialogService::current();
    EXPECT_NE(s, nullptr);
    s->clear();
    return *s;
}

} // namespace

TEST(ScriptedDialogService, MessageBoxTakesQueuedAnswerAndRecordsText)
{
    auto& s = script();
    s.answerMessage(mrNo);
    const int r = messageBox(nullptr, QStringLiteral("您是否确定删除?"), QStringLiteral("询问"),
                             MessageIcon::Question, {mrYes, mrNo}, mrNo);
    EXPECT_EQ(r, mrNo);
    ASSERT_EQ(s.shown().size(), 1);
    EXPECT_EQ(s.shown()[0].caption, QStringLiteral("询问"));
    EXPECT_EQ(s.messages(), QStringList{QStringLiteral("您是否确定删除?")});
    EXPECT_EQ(s.unexpected(), 0);
}

TEST(ScriptedDialogService, UnexpectedDialogIsCountedAndAnsweredAsCancelled)
{
    auto& s = script();
    const int r = messageBox(nullptr, QStringLiteral("x"), QStringLiteral("y"), MessageIcon::Question,
                             {mrOk, mrCancel}, mrOk);
    EXPECT_EQ(r, mrCancel);
    EXPECT_EQ(s.unexpected(), 1);
    EXPECT_FALSE(s.shown()[0].answered);
}

TEST(ScriptedDialogService, AnswerOfWrongKindIsNotConsumed)
{
    auto& s = script();
    s.answerInput(QStringLiteral("abc"));
    messageBox(nullptr, QStringLiteral("x"), QStringLiteral("y"));
    EXPECT_EQ(s.unexpected(), 1);
    EXPECT_EQ(s.pending(), 1);
    EXPECT_EQ(DialogService::instance().inputBox(nullptr, "c", "p", ""), std::optional<QString>("abc"));
}

TEST(ScriptedDialogService, ModalDialogIsDrivenByRealClicks)
{
    auto& s = script();
    QDialog dialog;
    dialog.setObjectName(QStringLiteral("FrmTest"));
    auto* ok = new QPushButton(QStringLiteral("确定"), &dialog);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    s.answerDialog([ok](QDialog&) { QTest::mouseClick(ok, Qt::LeftButton); });
    EXPECT_EQ(DialogService::instance().execDialog(dialog), int(QDialog::Accepted));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(s.shown()[0].text, QStringLiteral("FrmTest"));
}

TEST(ScriptedDialogService, ModalDialogLeftOpenIsCancelled)
{
    auto& s = script();
    QDialog dialog;
    s.answerDialog([](QDialog&) {});
    EXPECT_EQ(DialogService::instance().execDialog(dialog), int(QDialog::Rejected));
    EXPECT_FALSE(dialog.isVisible());
}

TEST(ScriptedDialogService, FileChooserReportsTheChosenFilterEntry)
{
    auto& s = script();
    const QString filter = QStringLiteral("报表文件 (*.QRP);;文本文件 (*.txt)");
    QString chosen;
    FileRequest request;
    request.caption = QStringLiteral("保存报表");
    request.filter = filter;
    request.selectedFilter = &chosen;

    // A plain answer leaves the first entry chosen; an answer may name another one.
    s.answerFile(QStringLiteral("/tmp/a.QRP"));
    EXPECT_EQ(DialogService::instance().saveFileName(nullptr, request), QStringLiteral("/tmp/a.QRP"));
    EXPECT_EQ(chosen, QStringLiteral("报表文件 (*.QRP)"));
    s.answerFile(QStringLiteral("/tmp/a.txt"), QStringLiteral("文本文件 (*.txt)"));
    EXPECT_EQ(DialogService::instance().saveFileName(nullptr, request), QStringLiteral("/tmp/a.txt"));
    EXPECT_EQ(chosen, QStringLiteral("文本文件 (*.txt)"));
    // A cancelled chooser leaves the entry alone.
    chosen.clear();
    s.answerFile(QString());
    EXPECT_TRUE(DialogService::instance().openFileName(nullptr, request).isEmpty());
    EXPECT_TRUE(chosen.isEmpty());

    ASSERT_EQ(s.shown().size(), 3);
    EXPECT_EQ(s.shown()[0].filter, filter);
    EXPECT_EQ(s.shown()[2].kind, ShownDialog::OpenFile);
    EXPECT_EQ(s.unexpected(), 0);
}

TEST(ScriptedDialogService, ColourChooserAnswersAndRecordsWhereItStarted)
{
    auto& s = script();
    s.answerColor(QColor(10, 20, 30));
    s.answerColor(std::nullopt);
    auto& service = DialogService::instance();
    EXPECT_EQ(service.chooseColor(nullptr, QStringLiteral("文字颜色"), Qt::red), QColor(10, 20, 30));
    EXPECT_EQ(service.chooseColor(nullptr, QStringLiteral("填充色"), Qt::blue), std::nullopt);
    // Without an answer the chooser counts as unexpected and as cancelled.
    EXPECT_EQ(service.chooseColor(nullptr, QStringLiteral("填充色"), Qt::green), std::nullopt);
    ASSERT_EQ(s.shown().size(), 3);
    EXPECT_EQ(s.shown()[0].kind, ShownDialog::Color);
    EXPECT_EQ(s.shown()[0].caption, QStringLiteral("文字颜色"));
    EXPECT_EQ(s.shown()[1].color, QColor(Qt::blue));
    EXPECT_FALSE(s.shown()[2].answered);
    EXPECT_EQ(s.unexpected(), 1);
    s.clear();
}

TEST(DialogService, FilterSuffixOfOneEntry)
{
    const struct
    {
        const char* entry;
        const char* suffix;
    } cases[] = {
        {"报表文件 (*.QRP)", "QRP"},
        {"文本文件 (*.txt)", "txt"},
        {"所有文件 (*)", ""},
        {"图片 (*.png *.jpg)", ""},
        {"任意 (*.t?t)", ""},
        {"没有括号", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(filterSuffix(QString::fromUtf8(c.entry)), QString::fromUtf8(c.suffix)) << c.entry;
}
