#include "platform/ui/MaskEdit.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QMenu>
#include <QTest>
#include <QVBoxLayout>

namespace {

// An edit that lets only digits in, through the one filter hook, and counts what reached it.
class DigitsEdit : public TCustomMaskEdit
{
public:
    using TCustomMaskEdit::TCustomMaskEdit;
    QString lastFiltered;

protected:
    QString FilterText(const QString& text) override
    {
        lastFiltered = text;
        QString out;
        for (QChar c : text)
            if (c.isDigit())
                out += c;
        return out;
    }
};

struct Window
{
    QWidget form;
    QVBoxLayout* lay = new QVBoxLayout(&form);
    template <class T> T* add()
    {
        auto* w = new T(&form);
        lay->addWidget(w);
        return w;
    }
    void show()
    {
        form.show();
        form.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
    }
};

} // namespace

TEST(MaskEdit, FreeTextWithoutMaskAndMaxLength)
{
    TCustomMaskEdit e;
    QTest::keyClicks(&e, QStringLiteral("abc"));
    EXPECT_EQ(e.Text(), "abc");
    EXPECT_TRUE(e.Modified());
    e.setMaxLength(4);
    QTest::keyClicks(&e, QStringLiteral("def"));
    EXPECT_EQ(e.Text(), "abcd");
    e.setMaxLength(0);
    QTest::keyClicks(&e, QStringLiteral("ef"));
    EXPECT_EQ(e.Text(), "abcdef");
}

TEST(MaskEdit, MaskTakesOnlyWhatItsPositionsAllow)
{
    struct Case { const char* mask; const char* typed; const char* text; const char* shown; };
    const Case cases[] = {
        // date with saved literals: '/' is the date separator '-'
        {"0000/00/00;1;_", "20240315", "2024-03-15", "2024-03-15"},
        // literals not saved
        {"0000/00/00;0;_", "20240315", "20240315", "2024-03-15"},
        // letters rejected in digit positions, partial entry keeps blanks shown
        {"000;1;_", "1x2", "12", "12_"},
        // upper case and letter positions
        {">LL-00;1;*", "ab12", "AB-12", "AB-12"},
        // optional positions and a literal escaped
        {"\\A99;1;_", "7", "A7", "A7_"},
        // empty mask is free text
        {"", "a-1", "a-1", "a-1"},
    };
    for (const Case& c : cases) {
        TCustomMaskEdit e;
        e.setEditMask(QString::fromUtf8(c.mask));
        e.setFocus();
        e.setCursorPosition(0);
        QTest::keyClicks(&e, QString::fromUtf8(c.typed));
        EXPECT_EQ(e.Text(), QString::fromUtf8(c.text)) << c.mask;
        EXPECT_EQ(e.EditText(), QString::fromUtf8(c.shown)) << c.mask;
    }
}

TEST(MaskEdit, SettingTextFillsTheMaskAndValidateRaisesWhenIncomplete)
{
    TCustomMaskEdit e;
    e.setEditMask(QStringLiteral("0000/00/00;1;_"));
    e.setText(QStringLiteral("2023-12-01"));
    EXPECT_EQ(e.EditText(), "2023-12-01");
    EXPECT_EQ(e.Text(), "2023-12-01");
    EXPECT_NO_THROW(e.ValidateEdit());
    e.setText(QStringLiteral("2023"));
    EXPECT_EQ(e.EditText(), "2023-__-__");
    EXPECT_THROW(e.ValidateEdit(), EDBEditError);

    TCustomMaskEdit n;
    n.setEditMask(QStringLiteral("000-000;0; "));
    n.setText(QStringLiteral("123456"));
    EXPECT_EQ(n.EditText(), "123-456");
    EXPECT_EQ(n.Text(), "123456");
    n.setText(QString());
    EXPECT_EQ(n.Text(), "");
}

TEST(MaskEdit, EscPutsBackTheTextOfAChangedMaskedEdit)
{
    Window w;
    auto* other = w.add<TCustomMaskEdit>();
    auto* e = w.add<TCustomMaskEdit>();
    e->setEditMask(QStringLiteral("000-000;0;_"));
    e->setText(QStringLiteral("123456"));
    w.show();
    other->setFocus();
    e->setFocus();
    e->setCursorPosition(0);
    QTest::keyClicks(e, QStringLiteral("99"));
    EXPECT_EQ(e->Text(), "993456");
    QTest::keyClick(e, Qt::Key_Escape);
    EXPECT_EQ(e->Text(), "123456");
    EXPECT_FALSE(e->Modified());
}

TEST(MaskEdit, KeyDownCanSwallowAndKeyPressCanReplaceOrDrop)
{
    TCustomMaskEdit e;
    QList<int> downs;
    e.OnKeyDown = [&](QObject* sender, int& key, TShiftState) {
        EXPECT_EQ(sender, &e);
        downs << key;
        if (key == VK_F2)
            key = 0;
    };
    e.OnKeyPress = [&](QObject*, QChar& key) {
        if (key == u'x')
            key = QChar();
        else if (key == u'a')
            key = u'b';
    };
    QTest::keyClicks(&e, QStringLiteral("axc"));
    EXPECT_EQ(e.Text(), "bc");
    QTest::keyClick(&e, Qt::Key_F2);
    EXPECT_EQ(downs.last(), VK_F2);
    int up = 0;
    e.OnKeyUp = [&](QObject*, int& key, TShiftState) { up = key; };
    QTest::keyClick(&e, Qt::Key_Left);
    EXPECT_EQ(up, VK_LEFT);
}

TEST(MaskEdit, FilterHookSeesTypedInputMethodAndPastedText)
{
    DigitsEdit e;
    QTest::keyClicks(&e, QStringLiteral("1a2"));
    EXPECT_EQ(e.Text(), "12");

    // Input-method commit text.
    QInputMethodEvent ime;
    ime.setCommitString(QStringLiteral("3四5"));
    QApplication::sendEvent(&e, &ime);
    EXPECT_EQ(e.Text(), "1235");
    EXPECT_EQ(e.lastFiltered, "3四5");

    // The paste shortcut, first line only.
    QGuiApplication::clipboard()->setText(QStringLiteral("6-7\n8"));
    QTest::keyClick(&e, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(e.Text(), "123567");

    // The context menu's Paste.
    QGuiApplication::clipboard()->setText(QStringLiteral("x9"));
    std::unique_ptr<QMenu> menu(e.createContextMenu());
    QAction* paste = nullptr;
    for (QAction* a : menu->actions())
        if (a->text().startsWith(QCoreApplication::translate("QLineEdit", "&Paste")))
            paste = a;
    ASSERT_NE(paste, nullptr);
    paste->trigger();
    EXPECT_EQ(e.Text(), "1235679");

    // Control keys are not text: Backspace still deletes.
    QTest::keyClick(&e, Qt::Key_Backspace);
    EXPECT_EQ(e.Text(), "123567");
}

TEST(MaskEdit, ReadOnlyTakesNoInput)
{
    TCustomMaskEdit e;
    e.setText(QStringLiteral("keep"));
    e.setReadOnly(true);
    EXPECT_TRUE(e.ReadOnly());
    QTest::keyClicks(&e, QStringLiteral("zz"));
    QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
    e.PasteFromClipboard();
    EXPECT_EQ(e.Text(), "keep");
}

TEST(MaskEdit, CharCaseAppliesToTypedAndExistingText)
{
    TCustomMaskEdit e;
    e.setText(QStringLiteral("Abc"));
    e.setCharCase(ecUpperCase);
    EXPECT_EQ(e.Text(), "ABC");
    e.setCursorPosition(3);
    QTest::keyClicks(&e, QStringLiteral("de"));
    EXPECT_EQ(e.Text(), "ABCDE");
    e.setCharCase(ecLowerCase);
    EXPECT_EQ(e.Text(), "abcde");
}

TEST(MaskEdit, SelectionProperties)
{
    TCustomMaskEdit e;
    e.setText(QStringLiteral("hello world"));
    e.setSelStart(6);
    EXPECT_EQ(e.SelStart(), 6);
    EXPECT_EQ(e.SelLength(), 0);
    e.setSelLength(5);
    EXPECT_EQ(e.SelText(), "world");
    e.setSelText(QStringLiteral("there"));
    EXPECT_EQ(e.Text(), "hello there");
    e.SelectAll();
    EXPECT_EQ(e.SelLength(), 11);
}

TEST(MaskEdit, ColorPaintsTheBackground)
{
    TCustomMaskEdit e;
    EXPECT_EQ(e.Color(), clWindow);
    e.setColor(clInfoBk);
    e.resize(80, 22);
    const QImage img = e.grab().toImage();
    EXPECT_EQ(img.pixelColor(40, 11), toQColor(clInfoBk));
}

TEST(MaskEdit, EventsChangeEnterExitClick)
{
    Window w;
    auto* a = w.add<TCustomMaskEdit>();
    auto* b = w.add<TCustomMaskEdit>();
    QStringList log;
    a->OnEnter = [&](QObject*) { log << "enter a"; };
    a->OnExit = [&](QObject*) { log << "exit a"; };
    a->OnChange = [&](QObject*) { log << "change a"; };
    b->OnEnter = [&](QObject*) { log << "enter b"; };
    b->OnClick = [&](QObject*) { log << "click b"; };
    b->OnDblClick = [&](QObject*) { log << "dblclick b"; };
    w.show();
    a->setFocus();
    a->setText(QStringLiteral("x"));
    QTest::mouseClick(b, Qt::LeftButton);
    QTest::mouseDClick(b, Qt::LeftButton);
    // The double click's second press is the double-click itself, not another click.
    EXPECT_EQ(log, (QStringList{"enter a", "change a", "exit a", "enter b", "click b",
                                "dblclick b"}));
}

TEST(MaskEdit, AutoSelectSelectsOnEntryByKeyNotByMouse)
{
    Window w;
    auto* a = w.add<TCustomMaskEdit>();
    auto* b = w.add<TCustomMaskEdit>();
    b->setText(QStringLiteral("text"));
    w.show();
    a->setFocus();
    QTest::keyClick(a, Qt::Key_Tab);
    EXPECT_EQ(b->SelLength(), 4);
    a->setFocus();
    b->setAutoSelect(false);
    QTest::keyClick(a, Qt::Key_Tab);
    EXPECT_EQ(b->SelLength(), 0);
}
