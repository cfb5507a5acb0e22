// TFrmDlgBase: the library dialog with a tool bar on top and an exit button. It frees itself
// when it closes (by the exit button, Esc or the close box): callers create it with new, run
// it and read what it handed back, and never delete it.
#pragma once

#include "usystem/vcl/controls/uBase.h"

class TQxButton;
class TQxPanel;

class TFrmDlgBase : public TFrmBase
{
    Q_OBJECT

public:
    explicit TFrmDlgBase(QWidget* parent = nullptr);

    TQxPanel* PnlTop = nullptr;
    TQxPanel* PnlLeft = nullptr;
    TQxPanel* Pnlcenter = nullptr;
    TQxPanel* PnlRight = nullptr;
    TQxButton* BtnClose = nullptr;

    void BtnCloseClick(QObject* Sender);
    // Action := caFree: a shown dialog is released when it closes.
    void FormClose(QObject* Sender, TCloseAction& Action);
};
