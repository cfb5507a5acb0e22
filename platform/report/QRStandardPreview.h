// The engine's plain standard preview window: a page at a time in a TQRPreview, with buttons
// to zoom (100 %, whole page, page width), move between pages (first, previous, next, last;
// also Home, Page Up, Page Down and End), print (the print dialog of the dialog service), save
// (the page file or any registered export filter, chosen by the file's extension) and close.
// Printing waits until all pages exist; closing while pages are being made stops their
// production first. When it closes it tells the printer object (TQRPrinter::ClosePreview).
#pragma once

#include <QDialog>
#include <QPointer>

class QLabel;
class QToolButton;
class TQRPreview;
class TQRPrinter;

class TQRStandardPreview : public QDialog
{
    Q_OBJECT

public:
    explicit TQRStandardPreview(TQRPrinter* printer, QWidget* parent = nullptr);
    ~TQRStandardPreview() override;

    TQRPreview* Preview() const { return m_preview; }
    TQRPrinter* QRPrinter() const;
    // "第 n 页 / 共 m 页" and the production state.
    QString StatusText() const;

    void FirstPage();
    void PriorPage();
    void NextPage();
    void LastPage();
    void PrintPages();
    void SavePages();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QToolButton* addButton(const QString& name, const QString& text, const QString& hint);
    void updateState();

    QPointer<TQRPrinter> m_printer;
    TQRPreview* m_preview = nullptr;
    QLabel* m_status = nullptr;
    QToolButton* m_print = nullptr;
    QToolButton* m_save = nullptr;
    QToolButton* m_first = nullptr;
    QToolButton* m_prior = nullptr;
    QToolButton* m_next = nullptr;
    QToolButton* m_last = nullptr;
    QWidget* m_bar = nullptr;
};
