// The engine's plain progress window, shown while a report is made for the printer (the
// report's ShowProgress): the report's title, a progress bar that follows the printer object
// and a cancel button that stops the production.
#pragma once

#include <QPointer>
#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;
class TQRPrinter;

namespace qx::report {

class ProgressWindow : public QWidget
{
    Q_OBJECT

public:
    ProgressWindow(TQRPrinter* printer, const QString& title, QWidget* parent = nullptr);

    QProgressBar* Bar() const { return m_bar; }
    QPushButton* CancelButton() const { return m_cancel; }

private:
    QPointer<TQRPrinter> m_printer;
    QLabel* m_label;
    QProgressBar* m_bar;
    QPushButton* m_cancel;
};

} // namespace qx::report
