// TFrmABillBrowser: the base of the document browsers, the module windows that list the bills
// of one day with their sums and offer the toolbar of actions on them.
//
// The list (QryMain) and its one row of sums (QryTotal) show either one day (when opened, after
// a change of the date picker, "^" or "V") or a find result (after "查询"), until the next of
// these. After the editor, a receipt, a deletion or an approval change the list is reopened
// with the statement and values it has, so a find result stays a find result.
//
// Every action checks the right named after the form's caption and the button's caption; the
// day list checks the caption's "查询" silently and shows no rows without it. Values are
// bound, never pasted: the day, the bill number, the empty-list key. Only the find dialog's
// condition is text, already quoted by the dialog.
//
// A browser of one kind of bill says what differs through the hooks: its statements, its
// editor, its receipt dialog, the undoing of a bill's effects when it is deleted, its tables,
// its history reports and its find page.
#pragma once

#include "app/shell/uABusinessBase.h"
#include "platform/rtl/Currency.h"
#include "platform/rtl/DateTime.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

class QAction;
class QLineEdit;
class QMenu;
class QToolButton;
class TADOConnection;
class TADOQuery;
class TDataSet;
class TDataSource;
class TFrmABillEditor;
class TQxColumn;

namespace qx {
class DatePicker;
}

class TFrmABillBrowser : public TFrmABusinessBase
{
    Q_OBJECT

public:
    ~TFrmABillBrowser() override;

    // The list key no bill has: the list without the query right.
    static const QString EmptyListKey; // "z2zzz3zzzzz1zz"

    // The toolbar, left to right after the base's "退出" (and "保存格式").
    TQxButton* const BtnAdd;       // "增加", F2
    TQxButton* const BtnEdit;      // "修改", F3
    TQxButton* const BtnReceiv;    // "收款", F4
    TQxButton* const BtnQuery;     // "查询", F5
    TQxButton* const btnDelete;    // "删除"
    TQxLabel* const lblDate;       // "日期:"
    qx::DatePicker* const dtpDate; // the day shown, in the long date format
    TQxButton* const BtnPrior;     // "^": the day before
    TQxButton* const BtnNext;      // "V": the day after
    TQxButton* const SpeedButton1; // "取消审核"
    TQxButton* const SpeedButton4; // "打印"
    QToolButton* const BtnPlus;    // "历史查询": its arrow opens pmPlus
    QMenu* const pmPlus;           // the history reports

    TADOQuery* const QryMain;  // the list
    TADOQuery* const QryTotal; // the list's sums, one row
    TADOQuery* const QryTemp;  // scratch: the dictionary titles, deletions, updates
    TADOQuery* const QryTemp2;
    TDataSource* const dsMain;
    TDataSource* const dsTotal;
    TQxDBGrid* const DBGrid1;   // the list, read-only
    QLineEdit* const EdtWhere; // hidden: the find dialog's result

    // Connects the queries, shows today's list, titles the form, loads the grid layouts and
    // adds the columns the layouts do not know.
    void FormShow(QObject* Sender) override;
    // The day list: with the caption's "查询" (checked silently) the bills of the picker's
    // day and their sums, without it none.
    void dtpDateChange(QObject* Sender);
    void BtnPriorClick(QObject* Sender);
    void BtnNextClick(QObject* Sender);
    void BtnAddClick(QObject* Sender);
    void BtnEditClick(QObject* Sender);
    void BtnReceivClick(QObject* Sender);
    void BtnQueryClick(QObject* Sender);
    void btnDeleteClick(QObject* Sender);
    void SpeedButton1Click(QObject* Sender);
    void SpeedButton4Click(QObject* Sender);
    // The history report of the menu item Sender on the current row's key.
    void HistoryItemClick(QObject* Sender);
    void DBGrid1DblClick(QObject* Sender);
    // Sorts the list by the column's field: ascending first, then alternately descending and
    // ascending. The direction last used is kept in the field's Tag (1 ascending, 2
    // descending), so a reopened list, whose fields are new, starts ascending.
    void DBGrid1TitleClick(TQxColumn* Column);
    // TotalAmount red while the row's NoReceiv is above 0, blue otherwise.
    void DBGrid1GetCellTextStyle(QObject* Sender, const QString& FieldName, QString& Text,
                                 TColor& Color);
    // F2 "增加", F3 "修改", F4 "收款", F5 "查询", after the base's keys.
    void FormKeyDown(QObject* Sender, int& Key, TShiftState Shift) override;
    // Frees the browser, then writes the layout of every data grid of the form.
    void BrowserClose(QObject* Sender, TCloseAction& Action);

    // Appends a hidden column for every field of the open list that no column shows, titled
    // with the field's name in the data dictionary of TableName (the field name when the
    // dictionary has none).
    void AddMissingColumns(const QString& TableName);

    // The statement the list was last opened on, and its values.
    QString ListStatement() const { return FListSql; }
    // True while the list is a find result, until the day changes.
    bool ShowsFindResult() const { return FFindResult; }

protected:
    TFrmABillBrowser(const char* formName, const QString& caption, QWidget* parent);

    // The list's statement up to its condition, and the sums' ("Select ... from t_X").
    virtual QString ListText() const = 0;
    virtual QString TotalText() const = 0;
    // The head's date column the day list compares ("INtime").
    virtual QString DayColumn() const = 0;
    // The head table (dictionary titles, cancel approval).
    virtual QString HeadTable() const = 0;
    // The bill's tables, head first, whose rows a deletion removes by BillNo.
    virtual QStringList BillTables() const = 0;
    // The find dialog's page of the browser ("Reception").
    virtual QString FindPage() const = 0;
    // A new editor of the browser's bills (its opener sets the number and the day).
    virtual TFrmABillEditor* CreateEditor() = 0;
    // Shows the receipt dialog of BillNo, which still has AmountDue to pay, on Day.
    virtual void ShowReceiptDialog(const QString& BillNo, Currency AmountDue, TDateTime Day) = 0;
    // Undoes what the bill did beyond its own rows (stock), inside the deletion's transaction;
    // raising rolls the whole deletion back.
    virtual void UndoBillEffects(const QString& BillNo);
    // Prints the list, master the sums and first detail the list, with the report-template
    // dialog of the form's caption.
    virtual void PrintList();
    // A history item: the menu item, the report it runs and the list's field that gives its
    // condition value.
    void AddHistoryItem(const char* name, const QString& reportName, const QString& keyField);

    // Opens the list and the sums on statements that follow ListText() and TotalText() with
    // the same condition and values, and gives their money fields "0.00". The new list is in
    // the statement's order (no sort of the previous list).
    void OpenList(const QString& condition, const QVariantMap& values);
    // Reopens the list and the sums with the statements and values they have; the list keeps
    // its sort.
    void ReopenList();
    // "0.00" on every currency and decimal field of the list and the sums.
    void SetMoneyFormats();
    // The connection of the data module.
    TADOConnection* Connection() const;
    // True when the form's caption holds the right Action (with the rights message unless
    // Silent).
    bool HasRight(const QString& Action, bool Silent = false) const;
    // The current row's BillNo; empty on an empty or closed list.
    QString CurrentBillNo() const;
    bool ListHasRows() const;
    // Raises the toolbar button's click, as a function key does (a hidden or disabled button
    // does nothing).
    static void ClickButton(TQxButton* button);

private:
    struct HistoryItem
    {
        QAction* action = nullptr;
        QString report;
        QString keyField;
    };
    void BuildToolbar();
    void ShiftDay(int days);
    // Runs the editor on BillNo (a new bill when empty), then reopens the list.
    void RunEditor(const QString& BillNo);
    void OpenQuery(TADOQuery& query, const QString& sql, const QVariantMap& values);

    QList<HistoryItem> FHistory;
    QString FListSql;
    bool FFindResult = false;
};
