#include "platform/report/ProgressWindow.h"

#include "platform/report/QRPrinter.h"
#include "platform/ui/Fonts.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace qx::report {

ProgressWindow::ProgressWindow(TQRPrinter* printer, const QString& title, QWidget* parent)
    : QWidget(parent, Qt::Dialog), m_printer(printer)
{
    setObjectName(QStringLiteral("QRProgress"));
    setFont(libraryFont(9));
    setWindowTitle(QStringLiteral("正在打印..."));
    m_label = new QLabel(title.isEmpty() ? QStringLiteral("正在生成报表") : title, this);
    m_bar = new QProgressBar(this);
    m_bar->setRange(0, 100);
    m_cancel = new QPushButton(QStringLiteral("取 消"), this);
    m_cancel->setObjectName(QStringLiteral("CancelButton"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_bar);
    layout->addWidget(m_cancel, 0, Qt::AlignHCenter);
    if (printer) {
        m_bar->setValue(printer->Progress());
        connect(printer, &TQRPrinter::progressChanged, m_bar, &QProgressBar::setValue);
    }
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        if (m_printer)
            m_printer->Cancel();
    });
}

} // namespace qx::report
