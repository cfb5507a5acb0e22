// TFrmDBGridDlg: the data grid's settings dialog. The left list decides which columns show,
// the right one on which columns the cursor stops when input jumps from column to column.
// Entry i of each list stands for column i of the grid, so opening the dialog and pressing OK
// without a change leaves the grid as it was, also with two columns of one caption.
#pragma once

#include "usystem/vcl/controls/uBase.h"

#include <QPointer>

class QAction;
class TImageList;
class TQxBitBtn;
class TQxCustomDBGrid;
class TQxLabel;
class TQxListBox;
class TQxPopupMenu;

class TFrmDBGridDlg : public TFrmBase
{
    Q_OBJECT

public:
    // "数据编辑框参数设定", client 344 x 301, a fixed border with only the system menu.
    explicit TFrmDBGridDlg(QWidget* parent = nullptr);
    ~TFrmDBGridDlg() override;

    TQxLabel* SPLabel4 = nullptr;
    TQxLabel* SPLabel1 = nullptr;
    TImageList* ImgList = nullptr;
    TQxListBox* LbxColumns = nullptr;
    TQxListBox* LbxTabStop = nullptr;
    TQxPopupMenu* PMColumn = nullptr;
    QAction* N1 = nullptr; // "全部选定"
    QAction* N3 = nullptr; // "设为默认值"
    QAction* N4 = nullptr; // separator
    QAction* N2 = nullptr; // "清除所选列表"
    TQxBitBtn* BtnOk = nullptr;
    TQxBitBtn* BtnCancel = nullptr;

    // The grid whose columns the dialog shows (not owned) and the caller's mode (kept only).
    QPointer<TQxCustomDBGrid> Grid;
    int Mode = 0;
    // Set by OK; the choices are applied only then.
    bool OkPressed() const { return FOk; }

    // Fills both lists from the grid's columns, entry i from column i.
    void FormShow(QObject* Sender) override;
    void N1Click(QObject* Sender);
    void N2Click(QObject* Sender);
    void N3Click(QObject* Sender);
    void BtnOkClick(QObject* Sender);
    void BtnCancelClick(QObject* Sender);

    // Writes the lists into the grid's columns, with the updates of the grid's window locked
    // until the end (unlocked on every path).
    void ApplyChoices();

private:
    bool FOk = false;
};

// The dialog ShowGridSettingsDialog runs (null while none is open).
extern QPointer<TFrmDBGridDlg> FrmDBGridDlg;

// Runs the settings dialog for Grid modally through the dialog service; after OK the choices
// go into the grid's columns. The dialog is freed when it closes.
void ShowGridSettingsDialog(TQxCustomDBGrid* Grid, int Mode);
