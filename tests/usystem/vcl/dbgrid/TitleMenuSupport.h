// Opening the data grid's title menu with the mouse and clicking its items, as the user does.
#pragma once

#include <QAction>
#include <QMenu>
#include <QTest>

#include "usystem/vcl/dbgrid/uQxDBGrid.h"

// The centre of the title cell of a grid column (raw index, the indicator being 0).
inline QPoint titleCentre(TQxCustomDBGrid* grid, int rawCol)
{
    return grid->CellRect(rawCol, 0).center();
}

// A right click (press and release) at a point of the grid's cells.
inline void rightClickAt(TQxCustomDBGrid* grid, QPoint pos)
{
    QTest::mouseClick(grid->viewport(), Qt::RightButton, Qt::NoModifier, pos);
}

// The item of the showing title menu with this caption; null when none.
inline QAction* titleMenuItem(TQxCustomDBGrid* grid, const QString& caption)
{
    for (QAction* a : grid->TitleMenu()->actions())
        if (a->text() == caption)
            return a;
    return nullptr;
}

// Opens the title menu over the title of raw column rawCol and clicks the item caption.
inline void chooseTitleMenuItem(TQxCustomDBGrid* grid, const QString& caption, int rawCol = 1)
{
    rightClickAt(grid, titleCentre(grid, rawCol));
    QMenu* menu = grid->TitleMenu();
    ASSERT_TRUE(menu->isVisible());
    QAction* item = titleMenuItem(grid, caption);
    ASSERT_NE(item, nullptr) << caption.toStdString();
    QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(item).center());
}
