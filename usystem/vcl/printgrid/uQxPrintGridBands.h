// The head and foot printables of the grid printer: how a control of a head or foot panel
// prints (its text, font and position), shared by the printables builder and the text-lines
// builder.
#pragma once

#include "platform/ui/Colors.h"

#include <QFont>
#include <QString>

class QWidget;

namespace qx::printgrid {

// What one panel control prints.
struct PanelControlText
{
    bool matched = false;  // the control is of a class that prints
    QString text;          // the printed text (may be empty: nothing prints)
    QFont font;            // the control's font
    TColor color = clBlack; // and its colour
    int top = 0;           // the text's top relative to the panel
    bool centred = false;  // placed in the middle of the control's height
};

// The text of Control as a panel control prints it. ForText: the text-lines form (a date
// picker always as a date; tops of boxes with a list shifted by 2).
PanelControlText panelControlText(QWidget* Control, bool ForText);

} // namespace qx::printgrid
