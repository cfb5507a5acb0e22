// The library's edit base with real focus moves, key presses, clipboard pastes and input-method
// commits: focus colour, focus keys, the valid-character filter on every way text comes in,
// frame lines, the candidate pop-up hook and the in-edit button's rectangle.
#include "usystem/vcl/edits/uQxEdits.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

class EditBase : public ::testing::Test
{
protected:
    void SetUp() override
    {
        form = std::make_unique<QWidget>();
        form->resize(300, 200);
        first = new TQxCustomEdit(form.get());
        first->setObjectName("first");
        first->setGeometry(10, 10, 120, 21);
        second = new TQxCustomEdit(form.get());
        second->setObjectName("second");
        second->setGeometry(10, 40, 120, 21);
        third = new TQxCustomEdit(form.get());
        third->setObjectName("third");
        third->setGeometry(10, 70, 120, 21);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        QApplication::setActiveWindow(form.get());
        second->setFocus();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        form.reset();
        qx::setImePadBinding({});
        QApplication::processEvents();
    }

    QColor pixel(QWidget* w, const QPoint& p) { return w->grab().toImage().pixelColor(p); }

    std::unique_ptr<QWidget> form;
    TQxCustomEdit* first = nullptr;
    TQxCustomEdit* second = nullptr;
    TQxCustomEdit* third = nullptr;
};

} // namespace

TEST_F(EditBase, FocusedEditTurnsInfoBackground)
{
    ASSERT_TRUE(second->hasFocus());
    EXPECT_EQ(second->Color(), clInfoBk);
    EXPECT_EQ(second->palette().color(QPalette::Base), toQColor(clInfoBk));
    EXPECT_EQ(pixel(second, QPoint(60, 10)), toQColor(clInfoBk));
    EXPECT_EQ(first->Color(), clWindow);

    third->setFocus();
    EXPECT_EQ(second->Color(), clWindow);
    EXPECT_EQ(pixel(second, QPoint(60, 10)), toQColor(clWindow));
    EXPECT_EQ(third->Color(), clInfoBk);
}

TEST_F(EditBase, ColourSetWhileFocusedComesBackOnExit)
{
    first->setColor(clYellow);
    first->setFocus();
    EXPECT_EQ(first->Color(), clInfoBk);
    first->setColor(clRed);
    EXPECT_EQ(first->Color(), clRed);
    third->setFocus();
    EXPECT_EQ(first->Color(), clRed);
    first->setFocus();
    third->setFocus();
    EXPECT_EQ(first->Color(), clRed);
}

TEST_F(EditBase, EnteringSelectsTheText)
{
    third->setText("abc");
    third->setFocus();
    EXPECT_EQ(third->selectedText(), "abc");
}

TEST_F(EditBase, EnterAndDownMoveOnUpMovesBack)
{
    second->setText("keep");
    QTest::keyClick(second, Qt::Key_Return);
    EXPECT_TRUE(third->hasFocus());
    EXPECT_EQ(second->Text(), "keep");
    QTest::keyClick(third, Qt::Key_Up);
    EXPECT_TRUE(second->hasFocus());
    QTest::keyClick(second, Qt::Key_Up);
    EXPECT_TRUE(first->hasFocus());
    QTest::keyClick(first, Qt::Key_Down);
    EXPECT_TRUE(second->hasFocus());
    QTest::keyClick(second, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(third->hasFocus());
    // Any shift state.
    QTest::keyClick(third, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_TRUE(second->hasFocus());
    QTest::keyClick(second, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_TRUE(third->hasFocus());
}

TEST_F(EditBase, EnterTurnsTheInputCodeIntoAValue)
{
    second->SetImePadVisible(true);
    QString asked;
    second->OnImeCode = [&](QObject* sender, const QString& code, QString& value) {
        EXPECT_TRUE(sender == second || sender == third);
        asked = code;
        value = code == "zg" ? QStringLiteral("中国") : QString();
    };
    QTest::keyClicks(second, "zg");
    QTest::keyClick(second, Qt::Key_Return);
    EXPECT_EQ(asked, "zg");
    EXPECT_EQ(second->Text(), "中国");
    EXPECT_TRUE(third->hasFocus());

    third->SetImePadVisible(true);
    third->OnImeCode = second->OnImeCode;
    QTest::keyClicks(third, "xx");
    QTest::keyClick(third, Qt::Key_Return);
    EXPECT_EQ(third->Text(), "xx"); // no value for the code: the text stays
}

TEST_F(EditBase, EnterWithoutPadAsksNothing)
{
    bool asked = false;
    second->OnImeCode = [&](QObject*, const QString&, QString&) { asked = true; };
    QTest::keyClicks(second, "zg");
    QTest::keyClick(second, Qt::Key_Return);
    EXPECT_FALSE(asked);
    EXPECT_EQ(second->Text(), "zg");
}

TEST_F(EditBase, EscapeGoesOnToTheForm)
{
    struct Form : QWidget
    {
        using QWidget::QWidget;
        int escapes = 0;
        void keyPressEvent(QKeyEvent* e) override
        {
            if (e->key() == Qt::Key_Escape)
                ++escapes;
        }
    };
    Form f;
    auto* edit = new TQxCustomEdit(&f);
    edit->setText("abc");
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    QApplication::setActiveWindow(&f);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_EQ(f.escapes, 1);
    EXPECT_EQ(edit->Text(), "abc");
}

TEST_F(EditBase, ValidCharsFilterTypedKeysButNotEditingKeys)
{
    second->SetValidChars("1234567890");
    QTest::keyClicks(second, "12.3-4a");
    EXPECT_EQ(second->Text(), "1234");
    QTest::keyClick(second, Qt::Key_Backspace);
    EXPECT_EQ(second->Text(), "123");
    QTest::keyClick(second, Qt::Key_Home);
    QTest::keyClick(second, Qt::Key_Delete);
    EXPECT_EQ(second->Text(), "23");
    QTest::keyClick(second, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(second->selectedText(), "23");
    QTest::keyClick(second, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "23");
}

TEST_F(EditBase, PastedTextIsFiltered)
{
    second->SetValidChars("1234567890");
    QApplication::clipboard()->setText("12.5-6元7");
    QTest::keyClick(second, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(second->Text(), "12567");
    second->clear();
    QApplication::clipboard()->setText("abc");
    QTest::keyClick(second, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(second->Text(), "");

    second->SetValidChars("");
    QApplication::clipboard()->setText("any 文字");
    QTest::keyClick(second, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(second->Text(), "any 文字");
}

TEST_F(EditBase, InputMethodTextIsAcceptedAndFiltered)
{
    QInputMethodEvent chinese;
    chinese.setCommitString(QStringLiteral("维修单"));
    QApplication::sendEvent(second, &chinese);
    EXPECT_EQ(second->Text(), "维修单");

    third->setFocus();
    third->SetValidChars("0123456789");
    QInputMethodEvent mixed;
    mixed.setCommitString(QStringLiteral("12三4"));
    QApplication::sendEvent(third, &mixed);
    EXPECT_EQ(third->Text(), "124");
}

TEST_F(EditBase, FrameLinesOnlyWithoutTheSingleBorder)
{
    TQxCustomEdit* e = first;
    e->SetLineColor(clRed);
    const QPoint top(60, 0), bottom(60, e->height() - 1), left(0, 10), right(e->width() - 1, 10);
    // bsSingle (the platform's border): no frame lines.
    EXPECT_NE(pixel(e, top), toQColor(clRed));

    e->SetBorderStyle(TQxCustomEdit::bsNone);
    EXPECT_EQ(pixel(e, top), toQColor(clRed));
    EXPECT_EQ(pixel(e, bottom), toQColor(clRed));
    EXPECT_EQ(pixel(e, left), toQColor(clRed));
    EXPECT_EQ(pixel(e, right), toQColor(clRed));

    e->SetFrameStyle(TFrameStyle(fsBottom));
    EXPECT_NE(pixel(e, top), toQColor(clRed));
    EXPECT_EQ(pixel(e, bottom), toQColor(clRed));
    EXPECT_NE(pixel(e, left), toQColor(clRed));

    e->SetFrameStyle(TFrameStyle());
    EXPECT_NE(pixel(e, bottom), toQColor(clRed));
}

TEST_F(EditBase, AlignmentChangeKeepsTheText)
{
    first->setText("12.50");
    first->SetAlignment(TQxCustomEdit::taRightJustify);
    EXPECT_EQ(first->Text(), "12.50");
    EXPECT_TRUE(first->alignment().testFlag(Qt::AlignRight));
    first->SetAlignment(TQxCustomEdit::taCenter);
    EXPECT_TRUE(first->alignment().testFlag(Qt::AlignHCenter));
}

TEST_F(EditBase, PublishedPropertiesInOrder)
{
    const QMetaObject* mo = first->metaObject();
    QStringList names;
    for (int i = mo->superClass()->propertyCount(); i < mo->propertyCount(); ++i)
        names << mo->property(i).name();
    EXPECT_EQ(names.join(','), "Align,PasswordChar,Text,Ctl3D,Alignment,ImePadVisible,ImeText,FrameStyle,"
                               "LineColor,ValidChars,InPutType,InPutField");
    EXPECT_TRUE(mo->property(mo->indexOfProperty("FrameStyle")).isFlagType());
    EXPECT_TRUE(mo->property(mo->indexOfProperty("Align")).isEnumType());
    EXPECT_EQ(first->Align(), alNone);
    EXPECT_EQ(first->FrameStyle(), TFrameStyle(fsTop | fsBottom | fsLeft | fsRight));
    EXPECT_EQ(first->LineColor(), clBlack);
    EXPECT_EQ(first->font().family(), "Times New Roman");
    EXPECT_EQ(first->font().pointSize(), 9);
}

TEST_F(EditBase, CandidatePopupIsFilledWhileTypingAndFreedOnExit)
{
    // A stand-in pop-up: a plain window the binding creates and shows under the edit.
    QList<QPointer<QWidget>> created;
    QList<QPair<QWidget*, TQxCustomEdit*>> shown;
    qx::setImePadBinding({
        [&](TQxCustomEdit* owner) {
            auto* w = new QWidget(owner, Qt::ToolTip);
            created << w;
            return reinterpret_cast<TQxIMEPad*>(w);
        },
        [](TQxIMEPad* pad) { return reinterpret_cast<QWidget*>(pad); },
        [&](TQxIMEPad* pad, TQxCustomEdit* edit) {
            auto* w = reinterpret_cast<QWidget*>(pad);
            w->move(edit->mapToGlobal(QPoint(0, edit->height())));
            w->show();
            shown << qMakePair(w, edit);
        },
    });
    QStringList texts;
    second->OnImeTextChange = [&](QObject*, const QString& text, TQxIMEPad*& pad) {
        texts << text;
        EXPECT_NE(pad, nullptr);
    };

    QTest::keyClicks(second, "zg");
    EXPECT_TRUE(shown.isEmpty()); // the pop-up is off until ImePadVisible
    second->SetImePadVisible(true);
    QTest::keyClick(second, Qt::Key_R);
    EXPECT_EQ(texts, QStringList{"zgr"});
    ASSERT_EQ(created.size(), 1);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown.last().second, second);
    EXPECT_NE(SharedImePad(), nullptr);
    QTest::keyClick(second, Qt::Key_Return); // Enter asks no candidates
    EXPECT_EQ(texts.size(), 1);

    // The focus left: the shared pop-up is freed.
    EXPECT_TRUE(third->hasFocus());
    EXPECT_EQ(SharedImePad(), nullptr);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(created.first().isNull());
}

TEST_F(EditBase, EditButtonRectangle)
{
    TQxEditButton button(first);
    QRect r;
    button.GetButtonRect(r);
    EXPECT_TRUE(r.isEmpty()); // no glyph
    EXPECT_EQ(button.Cursor(), TQxEditButton::crHandPoint);
    EXPECT_EQ(button.Hint(), " [+键]: 弹出对话框选择 ");
    EXPECT_EQ(button.HotKey, 0x6B);

    QPixmap glyph(14, 12);
    glyph.fill(Qt::black);
    button.SetGlyph(glyph);
    button.GetButtonRect(r);
    EXPECT_EQ(r, QRect(120 - 17, 0, 17, 21));
    first->SetCtl3D(false);
    button.GetButtonRect(r);
    EXPECT_EQ(r, QRect(120 - 17, 1, 17, 19));
    button.SetVisible(false);
    button.GetButtonRect(r);
    EXPECT_TRUE(r.isEmpty());
}
