// Typing into whatever has the focus, the way the user does, and reading the grid's state.
#pragma once

#include <QApplication>
#include <QTest>

#include "DBGridTestSupport.h"
#include "platform/env/ScriptedDialogService.h"
#include "usystem/vcl/dbgrid/uQxDBGridEditor.h"
#include "usystem/vcl/dbgrid/uQxDBGridFind.h"

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

inline QString codeOf(DBGridWindow& w)
{
    return w.table->FieldByName("Code")->AsString();
}

inline TQxDBGridInplaceEdit* editorOf(DBGridWindow& w)
{
    return w.grid->CellEditor();
}

inline bool editorShowing(DBGridWindow& w)
{
    return editorOf(w) && editorOf(w)->isVisible();
}

// Stored columns over every field of the parts table (Code, Name, Qty, Done).
inline void storeColumns(DBGridWindow& w)
{
    w.grid->Columns()->BeginUpdate();
    for (const char* name : {"Code", "Name", "Qty", "Done"})
        w.grid->Columns()->Add()->SetFieldName(QString::fromLatin1(name));
    w.grid->Columns()->EndUpdate();
    w.grid->LayoutChanged();
}

// The row's data cell centre of a data column (index into the columns) and data row.
inline QPoint cellCentre(DBGridWindow& w, int dataCol, int dataRow)
{
    return w.grid->CellRect(w.grid->DataToRawColumn(dataCol), dataRow + w.grid->TitleOffset())
        .center();
}

// A window with a data grid over a table the test made itself.
struct GridOver
{
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    std::unique_ptr<TQxMemTable> table;
    TDataSource* source = nullptr;
    TQxDBGrid* grid = nullptr;
    QWidget* other = nullptr;

    explicit GridOver(std::unique_ptr<TQxMemTable> t)
        : table(std::move(t))
    {
        source = new TDataSource(window.get());
        source->SetDataSet(table.get());
        auto* layout = new QVBoxLayout(window.get());
        layout->setContentsMargins(0, 0, 0, 0);
        grid = new TQxDBGrid(window.get());
        other = new QWidget(window.get());
        other->setFocusPolicy(Qt::StrongFocus);
        other->setFixedHeight(10);
        layout->addWidget(grid);
        layout->addWidget(other);
        window->resize(420, 260);
        grid->SetDataSource(source);
        window->show();
        window->activateWindow();
        (void)QTest::qWaitForWindowActive(window.get());
        grid->setFocus();
        QApplication::processEvents();
    }
    ~GridOver() { window.reset(); }
};
