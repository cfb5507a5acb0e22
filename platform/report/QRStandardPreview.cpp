#include "platform/report/QRStandardPreview.h"

#include "platform/env/DialogService.h"
#include "platform/env/ExceptionGuard.h"
#include "platform/report/PrintTarget.h"
#include "platform/report/QRExport.h"
#include "platform/report/QRPreview.h"
#include "platform/report/QRPrinter.h"
#include "platform/ui/Fonts.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPrinter>
#include <QToolButton>
#include <QVBoxLayout>

TQRStandardPreview::TQRStandardPreview(TQRPrinter* printer, QWidget* parent)
    : QDialog(parent), m_printer(printer)
{
    setObjectName(QStringLiteral("QRStandardPreview"));
    setFont(qx::libraryFont(9));
    setWindowTitle(printer && !printer->Title().isEmpty() ? printer->Title() : QStringLiteral("预览"));
    resize(808, 580);

    m_bar = new QWidget(this);
    auto* bar = new QHBoxLayout(m_bar);
    bar->setContentsMargins(2, 2, 2, 2);
    auto* zoom100 = addButton(QStringLiteral("btnZoom100"), QStringLiteral("100%"), QStringLiteral("缩放到100%"));
    auto* zoomFit = addButton(QStringLiteral("btnZoomFit"), QStringLiteral("整页"), QStringLiteral("缩放到整页"));
    auto* zoomWidth = addButton(QStringLiteral("btnZoomWidth"), QStringLiteral("页宽"), QStringLiteral("缩放到页宽"));
    m_first = addButton(QStringLiteral("btnFirst"), QStringLiteral("首页"), QStringLiteral("第一页"));
    m_prior = addButton(QStringLiteral("btnPrior"), QStringLiteral("前页"), QStringLiteral("上一页"));
    m_next = addButton(QStringLiteral("btnNext"), QStringLiteral("后页"), QStringLiteral("下一页"));
    m_last = addButton(QStringLiteral("btnLast"), QStringLiteral("末页"), QStringLiteral("最后一页"));
    m_print = addButton(QStringLiteral("btnPrint"), QStringLiteral("打印"), QStringLiteral("输出到打印机"));
    m_save = addButton(QStringLiteral("btnSave"), QStringLiteral("保存"), QStringLiteral("保存报表"));
    auto* close = addButton(QStringLiteral("btnClose"), QStringLiteral("退出"), QStringLiteral("关闭预览窗口"));
    bar->addStretch();

    m_preview = new TQRPreview(this);
    m_preview->setObjectName(QStringLiteral("Preview"));
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("Status"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_bar);
    layout->addWidget(m_preview, 1);
    layout->addWidget(m_status);

    connect(zoom100, &QToolButton::clicked, this, [this] { m_preview->SetZoom(100); });
    connect(zoomFit, &QToolButton::clicked, this, [this] { m_preview->ZoomToFit(); });
    connect(zoomWidth, &QToolButton::clicked, this, [this] { m_preview->ZoomToWidth(); });
    connect(m_first, &QToolButton::clicked, this, &TQRStandardPreview::FirstPage);
    connect(m_prior, &QToolButton::clicked, this, &TQRStandardPreview::PriorPage);
    connect(m_next, &QToolButton::clicked, this, &TQRStandardPreview::NextPage);
    connect(m_last, &QToolButton::clicked, this, &TQRStandardPreview::LastPage);
    connect(m_print, &QToolButton::clicked, this, qx::guarded(this, [this](bool) { PrintPages(); }));
    connect(m_save, &QToolButton::clicked, this, qx::guarded(this, [this](bool) { SavePages(); }));
    connect(close, &QToolButton::clicked, this, &QDialog::close);
    connect(m_preview, &TQRPreview::pageNumberChanged, this, [this] { updateState(); });
    connect(this, &QDialog::finished, this, [this] {
        if (m_printer)
            m_printer->ClosePreview(this);
    });

    m_preview->SetQRPrinter(printer);
    if (printer) {
        connect(printer, &TQRPrinter::pageAvailable, this, [this] { updateState(); });
        connect(printer, &TQRPrinter::statusChanged, this, [this] { updateState(); });
    }
    updateState();
}

TQRStandardPreview::~TQRStandardPreview() = default;

TQRPrinter* TQRStandardPreview::QRPrinter() const
{
    return m_printer;
}

QToolButton* TQRStandardPreview::addButton(const QString& name, const QString& text, const QString& hint)
{
    auto* button = new QToolButton(m_bar);
    button->setObjectName(name);
    button->setText(text);
    button->setToolTip(hint);
    button->setAutoRaise(true);
    m_bar->layout()->addWidget(button);
    return button;
}

QString TQRStandardPreview::StatusText() const
{
    const int count = m_printer ? m_printer->PageCount() : 0;
    QString state;
    if (m_printer && m_printer->Status() == mpBusy)
        state = QStringLiteral("  正在生成...");
    return QStringLiteral("第 %1 页 / 共 %2 页%3").arg(m_preview->PageNumber()).arg(count).arg(state);
}

void TQRStandardPreview::updateState()
{
    const int count = m_printer ? m_printer->PageCount() : 0;
    const int page = m_preview->PageNumber();
    const bool finished = m_printer && m_printer->Status() != mpBusy;
    m_first->setEnabled(page > 1);
    m_prior->setEnabled(page > 1);
    m_next->setEnabled(page < count);
    m_last->setEnabled(page < count);
    m_print->setEnabled(finished && count > 0);
    m_save->setEnabled(finished && count > 0);
    m_status->setText(StatusText());
}

void TQRStandardPreview::FirstPage()
{
    m_preview->SetPageNumber(1);
}

void TQRStandardPreview::PriorPage()
{
    m_preview->SetPageNumber(m_preview->PageNumber() - 1);
}

void TQRStandardPreview::NextPage()
{
    m_preview->SetPageNumber(m_preview->PageNumber() + 1);
}

void TQRStandardPreview::LastPage()
{
    if (m_printer)
        m_preview->SetPageNumber(m_printer->PageCount());
}

void TQRStandardPreview::PrintPages()
{
    if (!m_printer || m_printer->Status() == mpBusy || m_printer->PageCount() == 0)
        return;
    std::unique_ptr<QPrinter> target = qx::report::makePrinter(m_printer->PrinterIndex());
    qx::report::PrintChoice choice;
    if (!qx::report::choosePrinter(*target, m_printer->PageCount(), choice, this))
        return;
    m_printer->Print(*target, choice.fromPage, choice.toPage, choice.copies);
}

void TQRStandardPreview::SavePages()
{
    if (!m_printer || m_printer->Status() == mpBusy || m_printer->PageCount() == 0)
        return;
    qx::FileRequest request;
    request.caption = QStringLiteral("保存报表");
    request.filter = QRExportFilterLibrary().SaveFileFilter();
    request.defaultSuffix = QStringLiteral("QRP");
    const QString fileName = qx::DialogService::instance().saveFileName(this, request);
    if (fileName.isEmpty())
        return;
    const QString suffix = QFileInfo(fileName).suffix();
    if (suffix.isEmpty() || suffix.compare(QLatin1String("QRP"), Qt::CaseInsensitive) == 0) {
        m_printer->Save(fileName);
        return;
    }
    for (const TQRExportFilterEntry& entry : QRExportFilterLibrary().Filters()) {
        if (entry.Extension.compare(suffix, Qt::CaseInsensitive) == 0) {
            std::unique_ptr<TQRExportFilter> filter = entry.Create(fileName);
            m_printer->ExportToFilter(*filter);
            return;
        }
    }
    m_printer->Save(fileName);
}

void TQRStandardPreview::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Home:
        FirstPage();
        return;
    case Qt::Key_PageUp:
        PriorPage();
        return;
    case Qt::Key_PageDown:
        NextPage();
        return;
    case Qt::Key_End:
        LastPage();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void TQRStandardPreview::closeEvent(QCloseEvent* event)
{
    if (m_printer && m_printer->Status() == mpBusy)
        m_printer->Cancel();
    QDialog::closeEvent(event);
}
