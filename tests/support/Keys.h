// Keys as the user types them: each press and each release goes to the widget that has the
// focus at that moment, as the window system sends them (a press may move the focus, into a
// grid's cell editor for one).
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QString>
#include <QTest>
#include <QWidget>

namespace qx::test {

inline QWidget* focused()
{
    return QApplication::focusWidget();
}

inline void press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QWidget* target = focused();
    ASSERT_NE(target, nullptr);
    QTest::keyPress(target, key, mods);
    target = focused();
    ASSERT_NE(target, nullptr);
    QTest::keyRelease(target, key, mods);
}

// Latin text, one key per character.
inline void typeText(const QString& text)
{
    for (QChar c : text) {
        QWidget* target = focused();
        ASSERT_NE(target, nullptr);
        QTest::keyPress(target, c.toLatin1());
        target = focused();
        ASSERT_NE(target, nullptr);
        QTest::keyRelease(target, c.toLatin1());
    }
}

// The '+' of the numeric keypad.
inline void keypadPlus()
{
    press(Qt::Key_Plus, Qt::KeypadModifier);
}

} // namespace qx::test
