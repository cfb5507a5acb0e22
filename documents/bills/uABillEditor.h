// TFrmABillEditor: the base of the bill editors (work order, sale, purchase, stock-taking).
//
// The browser sets CurrentBillNo (the stored bill's number, empty for a new bill) and
// NewBillDate (its working day) and shows the editor modally. On show the editor loads the
// bill into memory tables (LoadBill) and the saved column layouts of its grids; the user edits
// there, every typed value passing the editor's field rules (BillFieldSetText), and nothing is
// written until a save. Closing writes the grids' layouts again.
//
// The base gives the toolbar ("取消退出", "保存增加", "保存退出", "保存审核", "打印", the hidden
// "收款" and the check box "保存后立即打印"), the title strip, the help line at the foot and the
// keys every bill editor shares: Esc asks "是否取消退出。" before "取消退出" closes without
// saving, F2, F3, F4 and F9 click their buttons (a disabled button does nothing), F6 puts the
// cursor in the first column of the line grid.
#pragma once

#include "app/shell/uABase.h"
#include "documents/bills/BillTables.h"
#include "platform/rtl/DateTime.h"

#include <QList>
#include <QString>
#include <QVariantMap>

class TDataSet;
class TField;
class TQxBitBtn;
class TQxCheckBox;
class TQxDBGrid;
class TQxLabel;
class TQxMemTable;
class TQxPanel;

namespace qx::app {
class ColorPanel;
}

class TFrmABillEditor : public TFrmABase
{
    Q_OBJECT

public:
    ~TFrmABillEditor() override;

    // Set by the opener before the editor is shown.
    QString CurrentBillNo;    // the stored bill; empty for a new one
    TDateTime NewBillDate;    // the browser's day: a new bill's date

    TQxPanel* const pnlTool;
    TQxBitBtn* const BtnClose;   // "取消退出"
    TQxBitBtn* const BtnAdd;     // "保存增加"
    TQxBitBtn* const BtnSave;    // "保存退出"
    TQxBitBtn* const BtnCheck;   // "保存审核"
    TQxBitBtn* const BtnPrint;   // "打印"
    TQxBitBtn* const BtnReceiv;  // "收款", hidden: only the saves run it
    TQxCheckBox* const ChkPrint; // "保存后立即打印", unticked
    qx::app::ColorPanel* const pnlTitle;
    TQxLabel* const lblBillType; // the editor's caption
    TQxPanel* const pnlHelp;
    TQxLabel* const lblHelp; // the keys, at the foot

    // Builds the memory tables of CurrentBillNo.
    virtual void LoadBill() = 0;
    // The field rules: the text handler of every field of the editor's memory tables.
    virtual void BillFieldSetText(TField* Field, const QString& Text) = 0;

    // "取消退出": closes without saving.
    virtual void BtnCloseClick(QObject* Sender);
    // The save, approve, print and receipt actions. The base writes nothing: an editor's saving
    // gives them their work.
    virtual void BtnAddClick(QObject* Sender);
    virtual void BtnSaveClick(QObject* Sender);
    virtual void BtnCheckClick(QObject* Sender);
    virtual void BtnPrintClick(QObject* Sender);
    virtual void BtnReceivClick(QObject* Sender);

    // Runs LoadBill.
    void FormShow(QObject* Sender) override;
    // Esc, F2, F3, F4, F6 and F9 (see the top of this file).
    void FormKeyDown(QObject* Sender, int& Key, TShiftState Shift) override;
    // Frees the form, then writes the layout of every grid of the form.
    virtual void FormClose(QObject* Sender, TCloseAction& Action);

    // The program folder's layout file of a grid: the caption, the grid's name and ".dbg".
    QString GridLayoutFileName(const TQxDBGrid& Grid) const;
    // Loads the layout of every grid of the form whose file exists.
    void LoadGridLayouts();
    // Every data grid of the form, in creation order.
    QList<TQxDBGrid*> Grids() const;

protected:
    TFrmABillEditor(const char* formName, const QString& caption, const QString& helpLine,
                    QWidget* parent);

    // The grid F6 goes to.
    virtual TQxDBGrid* LineGrid() const = 0;
    // Puts the focus in the grid's first column.
    void FocusGrid(TQxDBGrid* Grid);

    // Fills table with the rows of sql (params bound) on the data module's connection: when
    // the table is closed or shaped otherwise it is defined from the query's columns and the
    // extras; else it keeps its fields (so this is safe while one of its fields' handlers
    // runs) and only its rows are replaced. The fields get the field rules and the money
    // display.
    void LoadBillTable(TQxMemTable& Table, const QString& Sql, const QVariantMap& Params,
                       qx::documents::MoneyDisplay Display,
                       const QList<qx::documents::ExtraField>& Extras = {});
    // Replaces the rows of an open table by those of sql and gives its fields the rules again.
    void RefillBillTable(TQxMemTable& Table, const QString& Sql, const QVariantMap& Params,
                         qx::documents::MoneyDisplay Display);

    // Puts the dataset into edit state unless it already edits or inserts.
    static void EnsureEditing(TDataSet* DataSet);
    static bool SameName(const QString& a, const QString& b);

private:
    // "是否取消退出。", captioned "询问"; true for OK.
    bool AskCancel();
};
