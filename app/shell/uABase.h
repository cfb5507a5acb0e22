// TFrmABase: the root of the application's dialogs, editors and main window. It gives the
// shop's look (the left button panel), frees itself when it closes and keeps Esc for the
// descendants: the base key handler does nothing, so an editor decides itself what Esc means.
//
// ShowInfo, beside it, is the information box of the maintenance operations.
#pragma once

#include "usystem/vcl/controls/uBase.h"

class QKeyEvent;
class TDataSet;

namespace qx::app {
class ColorPanel;
}

class TFrmABase : public TFrmBase
{
    Q_OBJECT

public:
    explicit TFrmABase(QWidget* parent = nullptr);
    ~TFrmABase() override;

    // Aligned left; descendants put their buttons on it, resize it or hide it.
    qx::app::ColorPanel* const pnlleft;

    // Action := caFree: a closed form is released after its caller has read the result, so a
    // dialog is always created afresh with fresh data. Its creator never deletes it.
    void FormClose(QObject* Sender, TCloseAction& Action);
    // The hook of the descendants' keys; the base does nothing (Esc does not close).
    void FormKeyDown(QObject* Sender, int& Key, TShiftState Shift) override;

    // The print entry of every print button: the template dialog over the templates of
    // ReportClass, with this form owning the report objects and the data module's connection.
    // A form passes null for the detail datasets it does not have.
    void PrintWithDialog(const QString& ReportClass, TDataSet* Master, TDataSet* Detail1 = nullptr,
                         TDataSet* Detail2 = nullptr, TDataSet* Detail3 = nullptr, TDataSet* Detail4 = nullptr);

protected:
    // Esc reaches the descendants' key handlers but does not cancel the form by itself.
    void keyPressEvent(QKeyEvent* event) override;
};

// Text in the message box captioned "信息" with the information icon and one OK button.
void ShowInfo(const QString& Text);
