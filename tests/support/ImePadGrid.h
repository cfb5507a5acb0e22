// A grid window (DataGridWindow.h) whose application answers the candidate pad: any typed
// text gets the lines "甲" and "乙"; line 1 stands for the code `code`. The derived fixture
// sets up its columns, marks the one that takes input codes, then calls answerPad().
#pragma once

#include "usystem/vcl/edits/uQxIMEPad.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QString>
#include <QTest>

namespace qx::test {

template <class Window>
struct ImePadGrid
{
    Window w{4};
    QString lastText;
    QString code = QStringLiteral("JIA");
    int asked = 0;

    // The application's handlers, and the cell of data column (or field row) 1.
    void answerPad()
    {
        w.grid->OnCellTextChange = [this](QObject*, const QString& text, TQxIMEPad*& pad) {
            lastText = text;
            if (!text.isEmpty())
                pad->SetLines({QStringLiteral("甲"), QStringLiteral("乙")});
        };
        w.grid->OnCellImeCode = [this](QObject*, int line, QString& c) {
            ++asked;
            if (line == 1)
                c = code;
        };
        w.grid->SetSelectedIndex(1);
    }
    TQxIMEPad* pad() const { return w.grid->ImePad(); }
    // The mouse over the pad at pos (the pad marks the line under it).
    void hover(QPoint pos) const
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(pos), pad()->mapToGlobal(QPointF(pos)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(pad(), &move);
    }
    void clickLine(int line) const
    {
        const QPoint at(30, line * TQxIMEPad::LineHeight + 5);
        hover(at);
        QTest::mouseClick(pad(), Qt::LeftButton, Qt::NoModifier, at);
    }
    QString name() const { return w.table->FieldByName("Name")->AsString(); }
};

} // namespace qx::test
