#include "platform/ui/Keys.h"

#include <gtest/gtest.h>

#include <QKeyEvent>

TEST(Keys, KeypadPlusIsTheActionKeyTypedPlusIsNot)
{
    QKeyEvent keypad(QEvent::KeyPress, Qt::Key_Plus, Qt::KeypadModifier, QStringLiteral("+"));
    QKeyEvent typed(QEvent::KeyPress, Qt::Key_Plus, Qt::ShiftModifier, QStringLiteral("+"));
    EXPECT_TRUE(qx::isKeypadPlus(&keypad));
    EXPECT_FALSE(qx::isKeypadPlus(&typed));
    EXPECT_EQ(qx::vkFromKeyEvent(&keypad), VK_ADD);
    EXPECT_EQ(qx::vkFromKeyEvent(&typed), VK_OEM_PLUS);
    EXPECT_FALSE(qx::isKeypadPlus(nullptr));
}

TEST(Keys, VirtualKeyCodesOfTheKeysTheControlsUse)
{
    struct Case { int qtKey; bool keypad; int vk; };
    const Case cases[] = {
        {Qt::Key_Return, false, VK_RETURN}, {Qt::Key_Enter, true, VK_RETURN},
        {Qt::Key_Escape, false, VK_ESCAPE}, {Qt::Key_Up, false, VK_UP},
        {Qt::Key_Down, false, VK_DOWN},     {Qt::Key_Left, false, VK_LEFT},
        {Qt::Key_Right, false, VK_RIGHT},   {Qt::Key_F2, false, VK_F2},
        {Qt::Key_A, false, 'A'},            {Qt::Key_7, false, '7'},
        {Qt::Key_7, true, VK_NUMPAD7},      {Qt::Key_Minus, true, VK_SUBTRACT},
        {Qt::Key_Space, false, VK_SPACE},   {Qt::Key_Delete, false, VK_DELETE},
        {Qt::Key_Tab, false, VK_TAB},       {Qt::Key_PageDown, false, VK_NEXT},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(qx::vkFromQtKey(c.qtKey, c.keypad), c.vk) << c.qtKey;
        // The way back gives a key that maps to the same code.
        EXPECT_EQ(qx::vkFromQtKey(qx::qtKeyFromVk(c.vk), c.vk >= VK_NUMPAD0 && c.vk <= VK_DIVIDE),
                  c.vk)
            << c.vk;
    }
}

TEST(Keys, ShiftStateAndTypedCharacters)
{
    const TShiftState s = qx::shiftState(Qt::ShiftModifier | Qt::ControlModifier, Qt::LeftButton);
    EXPECT_TRUE(s & ssShift);
    EXPECT_TRUE(s & ssCtrl);
    EXPECT_FALSE(s & ssAlt);
    EXPECT_TRUE(s & ssLeft);

    QKeyEvent ctrlV(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier, QStringLiteral("v"));
    QKeyEvent back(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QKeyEvent letter(QEvent::KeyPress, Qt::Key_A, Qt::ShiftModifier, QStringLiteral("A"));
    QKeyEvent ctrlOnly(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier);
    EXPECT_EQ(qx::keyPressChar(&ctrlV), QChar(22));
    EXPECT_EQ(qx::keyPressChar(&back), QChar(8));
    EXPECT_EQ(qx::keyPressChar(&enter), QChar(13));
    EXPECT_EQ(qx::keyPressChar(&letter), QChar(u'A'));
    EXPECT_TRUE(qx::keyPressChar(&ctrlOnly).isNull());
}
