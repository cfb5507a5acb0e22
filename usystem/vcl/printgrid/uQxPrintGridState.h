// The one "current grid print" of the program.
//
// Only one grid print runs at a time: the printer that prints keeps here the parts of the last
// split head or foot line, the page numbers of its span parts (read by the page-number report
// functions), its progress counters and the flag that turns away a second print while one
// runs. Every grid printer reads and writes this one object.
#pragma once

#include "platform/report/QuickRep.h"

#include <QPointer>
#include <QString>

struct QxGridPrintState
{
    // The left, centred and right part of the last line SplitAlignedLine took apart.
    QString LeftPart;
    QString CenterPart;
    QString RightPart;

    // Page within the current span part (0 before its first page header).
    int SpanPageNo = 0;
    // Number of span parts - 1.
    int SpanCount = 0;
    // 0-based span part of the page being printed.
    int CurrentSpan = 0;
    // Page count of the counting pass, 1 without one.
    int TotalPages = 1;
    // The report being printed.
    QPointer<TQuickRep> CurrentReport;

    // Records of the printed dataset (-1 when the dataset cannot tell) and rows printed so far.
    int RecordTotal = 0;
    int PrintedRows = 0;

    // Set while a print runs.
    bool PrintBusy = false;
};

// The program's one grid-print state.
QxGridPrintState& gridPrintState();

// Keeps the grid-print state as it was when the scope began and puts it back when the scope
// ends (also on an exception), for code and tests that run a print of their own.
class QxGridPrintStateScope
{
public:
    QxGridPrintStateScope() : m_saved(gridPrintState()) {}
    ~QxGridPrintStateScope() { gridPrintState() = m_saved; }
    QxGridPrintStateScope(const QxGridPrintStateScope&) = delete;
    QxGridPrintStateScope& operator=(const QxGridPrintStateScope&) = delete;

private:
    QxGridPrintState m_saved;
};
