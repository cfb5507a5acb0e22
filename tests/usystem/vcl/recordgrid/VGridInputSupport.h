// Typing into whatever has the focus, the way the user does, and reading the record grid's
// state.
#pragma once

#include <QApplication>
#include <QTest>

#include "VGridTestSupport.h"
#include "platform/env/ScriptedDialogService.h"
#include "usystem/vcl/recordgrid/uQxDBVGridEditor.h"

inline QWidget* focused()
{
    return QApplication::focusWidget();
}

// Press and release go each to the widget that has the focus at that moment, as the window
// system sends them (a press may move the focus into the cell editor).
inline void press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QWidget* target = focused();
    ASSERT_NE(target, nullptr);
    QTest::keyPress(target, key, mods);
    target = focused();
    ASSERT_NE(target, nullptr);
    QTest::keyRelease(target, key, mods);
}

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

inline void keypadPlus()
{
    press(Qt::Key_Plus, Qt::KeypadModifier);
}

inline qx::ScriptedDialogService& dialogs()
{
    qx::ScriptedDialogService* s = qx::ScriptedDialogService::current();
    EXPECT_NE(s, nullptr);
    s->clear();
    return *s;
}

inline TDBVGridInplaceEdit* editorOf(VGridWindow& w)
{
    return w.grid->CellEditor();
}

inline bool editorShowing(VGridWindow& w)
{
    return editorOf(w) && editorOf(w)->isVisible();
}

// The centre of the record cell of field row index.
inline QPoint recordCell(VGridWindow& w, int index)
{
    return w.grid->CellRect(w.grid->TitleOffset(), index + w.grid->IndicatorOffset()).center();
}

inline QPoint titleCell(VGridWindow& w, int index)
{
    return w.grid->CellRect(0, index + w.grid->IndicatorOffset()).center();
}
