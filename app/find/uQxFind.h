// TFrmFind: the one find dialog of the document and master-data browsers ("查询"). A browser
// opens it on the notebook page of its table; the dialog turns what was filled in into a where
// text and writes it into the browser's edit, without running anything itself:
//   empty             cancelled (the browser does nothing)
//   "1"               OK without any condition (all rows)
//   " Where " + text  the condition the browser appends to its statement
// The text keeps the date literals CVDate('YYYY-MM-DD') and the word true; the browsers run it
// through the Jet compatibility layer. Every typed value is quoted, LIKE wildcards escaped and
// range values checked as numbers; the condition is never cut, however long.
//
// The pages and their conditions come from one table (FindModel.h).
#pragma once

#include "app/find/FindInputs.h"
#include "app/shell/uABase.h"

#include <QPointer>
#include <QString>

#include <vector>

class QLineEdit;
class QStackedWidget;
class TQxBitBtn;
class TQxLabel;
class TQxPanel;

class TFrmFind : public TFrmABase
{
    Q_OBJECT

public:
    explicit TFrmFind(QWidget* parent = nullptr);
    ~TFrmFind() override;

    // The thirteen pages, named "Reception" .. "Out" (FindPages() order).
    QStackedWidget* const Notebook1;
    TQxPanel* const PnlBottom;
    TQxLabel* const LblHint; // "F12 确定查询  ESC 取消退出"
    TQxBitBtn* const BtnOK;    // "确定"
    TQxBitBtn* const BtnClose; // "取消"

    // The calling browser's edit that receives the result; not owned.
    QPointer<QLineEdit> ResultEdit;

    // The page shown, by name. A name is matched without regard to case; one that matches no
    // page leaves the page shown.
    QString ActivePage() const;
    void SetActivePage(const QString& Name);

    // The type list of the page "Client" or "Supplier", read afresh; other pages read nothing.
    void FormShow(QObject* Sender) override;
    // Builds the where text, writes it (or "1") into ResultEdit and closes. A range edit that
    // is not a number stops the build with its message: nothing is written, the dialog stays.
    void BtnOKClick(QObject* Sender);
    // Closes without writing.
    void BtnCloseClick(QObject* Sender);
    // Enter moves to the next control (a TQxEdit moves on by itself), Esc cancels, F12 builds.
    void FormKeyDown(QObject* Sender, int& Key, TShiftState Shift) override;
    // The button of a value edit: the pick list of the condition's name fills the edit; a
    // button without a list opens nothing.
    void PickButtonClick(QObject* Sender);

    // The conditions' text as built so far, joined in the table's order (each fragment with
    // its own leading " and " or "and "); empty when nothing is filled in.
    QString ConditionText();

private:
    std::vector<qx::app::find::FindInputs> FInputs;
};

// What a find came to, for the browsers.
struct FindResult
{
    enum TOutcome { Cancelled, AllRows, Condition };
    TOutcome Outcome = Cancelled;
    // " Where ..." for Condition; empty otherwise, so it can always be appended.
    QString Where;
};

// The browsers' find: makes the dialog on Page, empties ResultEdit, shows the dialog modally
// and reads ResultEdit afterwards (it keeps what the dialog wrote).
FindResult RunFind(const QString& Page, QLineEdit* ResultEdit);
