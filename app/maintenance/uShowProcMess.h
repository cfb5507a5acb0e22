// TFrmShowProcMess: the small window that tells the operator a long maintenance step is running:
// a bold message and a progress bar from 0 to 100. Whoever runs the step sets both; the window
// has no behaviour of its own.
#pragma once

#include "app/shell/uABase.h"

class QProgressBar;
class TQxLabel;

class TFrmShowProcMess : public TFrmABase
{
    Q_OBJECT

public:
    explicit TFrmShowProcMess(QWidget* parent = nullptr);
    ~TFrmShowProcMess() override;

    TQxLabel* const Lb;
    QProgressBar* const PB;
};
