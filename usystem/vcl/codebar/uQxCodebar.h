// TFrmCodeBar: the dialog "条形码设置器" in which the user prepares a list of barcode labels
// (code, name, sale price, remark). Rows are made as copies of one fixed code or as a run of
// consecutive numeric codes, edited in the grid, emptied, and saved to or read back from a
// comma-text file of the user's choice (rows only, no column definitions).
//
// Sequential codes are digit strings, never numbers: "00120" runs on as "00121", "00122",
// and an 18-digit code stays exact. Every generated row is posted as it is appended, and the
// inputs are checked before the first row goes in, so a refused input leaves no row behind.
#pragma once

#include "platform/env/DialogService.h"
#include "platform/ui/Events.h"
#include "usystem/vcl/controls/uBase.h"

#include <QString>

#include <cstdint>

class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;
class TDataSource;
class TQxButton;
class TQxDBGrid;
class TQxEdit;
class TQxMemTable;
class TQxPanel;

namespace qx {

// The digit string `by` places after digits, counted in decimal with carry: the string keeps
// its width and its leading zeros ("0099" + 1 = "0100") and widens only when the carry runs
// out at the left ("999" + 1 = "1000"). digits must be non-empty and hold only '0'..'9'.
QString addToDigitCode(const QString& digits, std::uint64_t by);

// Whether text is a non-empty run of the ASCII digits '0'..'9'.
bool isDigitCode(const QString& text);

} // namespace qx

class TFrmCodeBar : public TFrmBase
{
    Q_OBJECT

public:
    // The longest code the list holds (the size of its code column).
    static constexpr int MaxCodeLength = 18;

    explicit TFrmCodeBar(QWidget* parent = nullptr);
    ~TFrmCodeBar() override;

    TQxMemTable* tblitemcode = nullptr;
    TDataSource* dsitemcode = nullptr;

    TQxPanel* Panel1 = nullptr;
    TQxButton* QxButton6 = nullptr;
    TQxButton* QxButton5 = nullptr;
    TQxButton* QxButton4 = nullptr;
    TQxButton* QxButton3 = nullptr;
    TQxButton* QxButton1 = nullptr;

    TQxDBGrid* DBGrid1 = nullptr;

    QGroupBox* GroupBox1;
    QLabel* Label1;
    TQxEdit* Edtitemcode1 = nullptr;
    QLabel* Label2;
    QSpinBox* EdtValue1;
    QLabel* Label3;
    TQxEdit* EdtitemName1 = nullptr;
    QLabel* Label4;
    TQxEdit* Edtsaleprice1 = nullptr;
    QPushButton* Button1;

    QGroupBox* GroupBox2;
    QLabel* Label5;
    TQxEdit* EdtItemCode2 = nullptr;
    QLabel* Label6;
    QSpinBox* EdtValue2;
    QPushButton* Button2;

    // What the open and save choosers ask for; each keeps the last file chosen with it.
    qx::FileRequest OpenDialog;
    qx::FileRequest SaveDialog;

    // "生成" of the fixed code: EdtValue1 rows of the code, name and price.
    void Button1Click(QObject* Sender);
    // "生成" of the sequential codes: EdtValue2 rows from the start code on.
    void Button2Click(QObject* Sender);
    // "清空": every row goes.
    void QxButton6Click(QObject* Sender);
    // "保存": the rows to a file the user chooses.
    void QxButton5Click(QObject* Sender);
    // "读出": the list becomes the rows of a file the user chooses.
    void QxButton4Click(QObject* Sender);
    // "退出".
    void QxButton1Click(QObject* Sender);
    // The dialog frees itself when it closes.
    void FormClose(QObject* Sender, TCloseAction& Action);

private:
    void BuildTable();
    void BuildToolBar();
    void BuildGrid();
    void BuildFixedGroup();
    void BuildSequentialGroup();
    // Makes the list's structure on a memory table (the list itself, or a scratch table a
    // file is read into first).
    static void DefineFields(TQxMemTable* table);
};
