// TRptPrintForm: the print dialog of the report preview window.
//
// The user picks a printer of the list (PrinterList.h) with its model, location, connection
// and the state of the report's printer object, the pages (all, the shown one or a range),
// the number of copies and whether copies are collated. Each printer choice goes to the
// report's printer object at once; closing the dialog without OK gives the printer object
// back the printer it had when the dialog was shown. After OK the caller reads Copies,
// FromPage and ToPage (0 and 0: all pages; -1 and -1: the shown page; else the range),
// CB1's index and chkCollate.
//
// OK with a range checks it first: both edits must hold page numbers with
// 1 <= From <= To <= the page count; otherwise a message says what is wrong and the dialog
// stays open on the From edit.
#pragma once

#include "platform/report/QRPrinter.h"
#include "usystem/vcl/controls/uBase.h"

#include <QPointer>

#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class TQxBitBtn;
class TQxCheckBox;
class TQxGroupBox;
class TQxLabel;

namespace qx {
class PrinterList;
}

class TRptPrintForm : public TFrmBase
{
    Q_OBJECT

public:
    explicit TRptPrintForm(QWidget* parent = nullptr);
    ~TRptPrintForm() override;

    TQxGroupBox* GroupBox1 = nullptr;
    TQxLabel* Label7 = nullptr;
    QComboBox* CB1 = nullptr;
    TQxBitBtn* PropButton = nullptr;
    TQxLabel* Label3 = nullptr;
    TQxLabel* Label4 = nullptr;
    TQxLabel* Label5 = nullptr;
    TQxLabel* Label6 = nullptr;
    TQxLabel* lblStatus = nullptr;
    TQxLabel* lblType = nullptr;
    TQxLabel* lblPosition = nullptr;
    TQxLabel* lblCommon = nullptr;
    TQxGroupBox* GroupBox2 = nullptr;
    QRadioButton* RB1 = nullptr;
    QRadioButton* RB2 = nullptr;
    QRadioButton* RB3 = nullptr;
    QLineEdit* FromEdt = nullptr;
    TQxLabel* Label8 = nullptr;
    QLineEdit* ToEdt = nullptr;
    TQxGroupBox* GroupBox3 = nullptr;
    TQxLabel* Label1 = nullptr;
    QSpinBox* E1 = nullptr;
    QLabel* imgCollate = nullptr;
    TQxCheckBox* chkCollate = nullptr;
    TQxBitBtn* Button1 = nullptr;
    TQxBitBtn* Button2 = nullptr;

    // The printer index the report's printer object had when the dialog was shown.
    int OldPrinterIndex = -1;
    int Copies = 1;
    int FromPage = 0;
    int ToPage = 0;
    // The dialog's own view of the printers.
    qx::PrinterList& InfoPrinter() { return *FInfoPrinter; }

    // The report's printer object; set before the dialog is shown.
    TQRPrinter* QRPrinter() const { return FQRPrinter; }
    void SetQRPrinter(TQRPrinter* printer) { FQRPrinter = printer; }

    // Fills the printer list, selects the default printer (also in the printer object), the
    // range edits 1 and the page count, "所有页" checked.
    void FormShow(QObject* Sender) override;
    // Without OK the printer object gets back OldPrinterIndex.
    void FormDeactivate(QObject* Sender);
    void CB1Click(QObject* Sender);
    void CB1Change(QObject* Sender);
    // Qt's page set-up for the chosen printer, through the dialog service.
    void PropButtonClick(QObject* Sender);
    // A click into either page edit, or a change of the To edit, chooses the range.
    void FromEdtClick(QObject* Sender);
    // The From edit takes digits only: any other character clears it.
    void FromEdtChange(QObject* Sender);
    void RB3Click(QObject* Sender);
    void chkCollateClick(QObject* Sender);
    // Reads the choice; a range is checked first (see above). Closes with mrOk when sound.
    void Button1Click(QObject* Sender);

    void done(int r) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void UpdateCollateImage();
    void UpdatePrinterInfo();
    // Empty when the range is sound, else what is wrong with it.
    QString RangeProblem(int& from, int& to) const;

    std::unique_ptr<qx::PrinterList> FInfoPrinter;
    QPointer<TQRPrinter> FQRPrinter;
    int FClosingResult = 0;
};
