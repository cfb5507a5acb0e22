#include "usystem/vcl/preview/uQxRptPrev.h"

#include "platform/env/DialogService.h"
#include "platform/report/QRExport.h"
#include "platform/report/QRPreview.h"
#include "platform/report/QRPrinter.h"
#include "platform/ui/AlignLayout.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/Keys.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/forms/QxFormKit.h"
#include "usystem/vcl/preview/PreviewPictures.h"
#include "usystem/vcl/preview/PreviewPrinting.h"
#include "usystem/vcl/preview/uQxRrtPrDlg.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

namespace kit = qx::kit;
using namespace qx::preview;

namespace {

const QString kStopCaption = QStringLiteral("停止");
const QString kStopHint = QStringLiteral("终止预览处理");
const QString kExitCaption = QStringLiteral("退出");
const QString kExitHint = QStringLiteral("关闭预览窗口");
const QString kPreparing = QStringLiteral(" 正在准备...");
const QString kProducing = QStringLiteral(" 正在生成...");
const QString kFinished = QStringLiteral(" 预览处理完成");
const QString kStopped = QStringLiteral(" 用户终止");

// Zoom menu items: the caption and the Tag (the percentage; 1 page width, 2 whole page).
struct ZoomItem
{
    const char* caption;
    int tag;
};
constexpr ZoomItem kZoomItems[] = {
    {"200%", 200}, {"150%", 150}, {"100%", 100}, {"75%", 75}, {"50%", 50},
    {"25%", 25},   {"10%", 10},   {"页宽", 1},   {"整页", 2},
};
constexpr int kTagPageWidth = 1;
constexpr int kTagWholePage = 2;

} // namespace

// ---- preview interface ---------------------------------------------------------------------------

QWidget* TQRMDIPreviewInterface::Show(TQRPrinter* printer)
{
    auto* window = new TfrmNetScapePreview(printer);
    window->show();
    return window;
}

QWidget* TQRMDIPreviewInterface::ShowModal(TQRPrinter* printer)
{
    QPointer<TfrmNetScapePreview> window = new TfrmNetScapePreview(printer);
    qx::DialogService::instance().execDialog(*window);
    return window.data();
}

// ---- the window --------------------------------------------------------------------------------

TfrmNetScapePreview::TfrmNetScapePreview(TQRPrinter* Printer, QWidget* parent)
    : TFrmBase(parent), FQRPrinter(Printer)
{
    setObjectName(QStringLiteral("frmNetScapePreview"));
    SetCaption(QStringLiteral("frmNetScapePreview"));
    resize(808, 580);
    SetPosition(poScreenCenter);
    setWindowFlags(Qt::Window | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);

    ImageList1 = new TImageList(this);
    ImageList1->setObjectName(QStringLiteral("ImageList1"));
    addToolPictures(*ImageList1);

    ProcMenu = new TQxPopupMenu(this);
    ProcMenu->setObjectName(QStringLiteral("ProcMenu"));
    FZoomItems = new QActionGroup(this);
    FZoomItems->setExclusive(true);
    for (const ZoomItem& item : kZoomItems) {
        QAction* action = ProcMenu->addAction(QString::fromUtf8(item.caption));
        action->setCheckable(true);
        action->setProperty("Tag", item.tag);
        FZoomItems->addAction(action);
        connect(action, &QAction::triggered, this, qx::guarded(this, [this, action](bool) { N2001Click(action); }));
        if (item.tag == 100)
            Menu100 = action;
        else if (item.tag == kTagPageWidth)
            MenuWidth = action;
        else if (item.tag == kTagWholePage)
            MenuPage = action;
    }
    Menu100->setObjectName(QStringLiteral("Menu100"));
    MenuWidth->setObjectName(QStringLiteral("MenuWidth"));
    MenuPage->setObjectName(QStringLiteral("MenuPage"));

    ToolBar1 = kit::toolBar(this, "ToolBar1", QSize(31, 35));
    tbLine = kit::toolBarButton(ToolBar1, "tbLine", QStringLiteral("缩放"), QStringLiteral("按比例缩放"), ImageList1, picZoom);
    tbLine->setMenu(ProcMenu);
    tbLine->setPopupMode(QToolButton::InstantPopup);
    btn100 = kit::toolBarButton(ToolBar1, "btn100", QStringLiteral("100%"), QStringLiteral("缩放到100%"), ImageList1, picZoom100);
    btnOnePage = kit::toolBarButton(ToolBar1, "btnOnePage", QStringLiteral("整页"), QStringLiteral("缩放到整页"), ImageList1, picWholePage);
    btnPageWidth = kit::toolBarButton(ToolBar1, "btnPageWidth", QStringLiteral("页宽"), QStringLiteral("缩放到页宽"), ImageList1, picPageWidth);
    for (QToolButton* button : {btn100, btnOnePage, btnPageWidth})
        button->setCheckable(true);
    ToolBar1->addSeparator();
    btnPrint = kit::toolBarButton(ToolBar1, "btnPrint", QStringLiteral("打印"), QStringLiteral("输出到打印机"), ImageList1, picPrint);
    ToolBar1->addSeparator();
    btnTop = kit::toolBarButton(ToolBar1, "btnTop", QStringLiteral("首页"), QStringLiteral("第一页"), ImageList1, picFirst);
    btnPrevPage = kit::toolBarButton(ToolBar1, "btnPrevPage", QStringLiteral("前页"), QStringLiteral("上一页"), ImageList1, picPrior);
    btnNextPage = kit::toolBarButton(ToolBar1, "btnNextPage", QStringLiteral("后页"), QStringLiteral("下一页"), ImageList1, picNext);
    btnLast = kit::toolBarButton(ToolBar1, "btnLast", QStringLiteral("末页"), QStringLiteral("最后一页"), ImageList1, picLast);
    ToolBar1->addSeparator();
    ToolButton1 = kit::toolBarButton(ToolBar1, "ToolButton1", QStringLiteral("打开"), QStringLiteral("打开已存的报表文件 "), ImageList1, picOpen);
    btnSave = kit::toolBarButton(ToolBar1, "btnSave", QStringLiteral("保存"),
                                 QStringLiteral("报表另存为：\n    *.QRP   ---- 报表文件"), ImageList1, picSave);
    ToolBar1->addSeparator();
    btnClose = kit::toolBarButton(ToolBar1, "btnClose", kExitCaption, kExitHint, ImageList1, picExit);

    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setSizeGripEnabled(false);
    qx::setAlign(StatusBar, alBottom);
    const int panelWidths[] = {100, 150};
    for (int i = 0; i < 2; ++i) {
        FPanels[i] = new QLabel(StatusBar);
        FPanels[i]->setFixedWidth(panelWidths[i]);
        StatusBar->addWidget(FPanels[i]);
    }
    FProgressPanel = new QWidget(StatusBar);
    FProgressPanel->setFixedWidth(50);
    StatusBar->addWidget(FProgressPanel);
    ProgressBar = new QProgressBar(this);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setRange(0, 100);
    ProgressBar->setValue(0);
    ProgressBar->setTextVisible(false);

    QRPreview1 = new TQRPreview(this);
    QRPreview1->setObjectName(QStringLiteral("QRPreview1"));
    qx::setAlign(QRPreview1, alClient);
    QRPreview1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(QRPreview1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { ProcMenu->popup(QRPreview1->mapToGlobal(pos)); });
    QRPreview1->OnPageAvailable = [this](QObject* Sender, int PageNum) {
        qx::guard(this, [&] { QRPreview1PageAvailable(Sender, PageNum); });
    };
    QRPreview1->OnProgressUpdate = [this](QObject* Sender, int Progress) {
        qx::guard(this, [&] { QRPreview1ProgressUpdate(Sender, Progress); });
    };

    auto wire = [this](QToolButton* button, void (TfrmNetScapePreview::*handler)(QObject*)) {
        connect(button, &QToolButton::clicked, this, qx::guarded(this, [this, button, handler](bool) { (this->*handler)(button); }));
    };
    wire(btn100, &TfrmNetScapePreview::btn100Click);
    wire(btnOnePage, &TfrmNetScapePreview::btnOnePageClick);
    wire(btnPageWidth, &TfrmNetScapePreview::btnPageWidthClick);
    wire(btnPrint, &TfrmNetScapePreview::btnPrintClick);
    wire(btnTop, &TfrmNetScapePreview::btnTopClick);
    wire(btnPrevPage, &TfrmNetScapePreview::btnPrevPageClick);
    wire(btnNextPage, &TfrmNetScapePreview::btnNextPageClick);
    wire(btnLast, &TfrmNetScapePreview::btnLastClick);
    wire(ToolButton1, &TfrmNetScapePreview::btnOpenClick);
    wire(btnSave, &TfrmNetScapePreview::btnSaveClick);
    wire(btnClose, &TfrmNetScapePreview::btnCloseClick);
    OnCloseQuery = [this](QObject* Sender, bool& CanClose) { FormCloseQuery(Sender, CanClose); };
    OnClose = [this](QObject* Sender, TCloseAction& Action) { FormClose(Sender, Action); };

    // The base form ran its own create handler; this window's runs now that it is built.
    FormCreate(this);

    QRPreview1->SetQRPrinter(Printer);
    if (Printer && !Printer->Title().isEmpty())
        SetCaption(Printer->Title());
    // A printer object whose pages are already made shows them as they are.
    if (Printer && Printer->PageCount() > 0)
        QRPreview1PageAvailable(QRPreview1, Printer->PageCount());
    else
        ShowProductionState();
    UpdatePageInfo();
}

TfrmNetScapePreview::~TfrmNetScapePreview() = default;

QString TfrmNetScapePreview::PanelText(int index) const
{
    return index >= 0 && index < 2 ? FPanels[index]->text() : QString();
}

bool TfrmNetScapePreview::Producing() const
{
    return FQRPrinter && FQRPrinter->Status() == mpBusy;
}

bool TfrmNetScapePreview::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FProgressPanel && (event->type() == QEvent::Resize || event->type() == QEvent::Move))
        StatusBarDrawPanel();
    return TFrmBase::eventFilter(watched, event);
}

// ---- form events --------------------------------------------------------------------------------

void TfrmNetScapePreview::FormCreate(QObject*)
{
    if (!ProgressBar)
        return;
    ProgressBar->setParent(StatusBar);
    StatusBarDrawPanel();
    ProgressBar->show();
}

void TfrmNetScapePreview::FormShow(QObject* Sender)
{
    TFrmBase::FormShow(Sender);
    FFirstShow = true;
    setWindowState(windowState() | Qt::WindowMaximized);
    unsetCursor();
    // Pages made before the window came up count as arrived.
    if (FQRPrinter && FQRPrinter->PageCount() > 0)
        MarkFirstPage();
}

void TfrmNetScapePreview::FormCloseQuery(QObject*, bool& CanClose)
{
    CanClose = !Producing();
}

void TfrmNetScapePreview::FormClose(QObject*, TCloseAction& Action)
{
    if (FQRPrinter)
        FQRPrinter->ClosePreview(this);
    Action = caFree;
}

void TfrmNetScapePreview::FormKeyDown(QObject* Sender, int& Key, TShiftState)
{
    auto scroll = [](QScrollBar* bar, int direction) {
        bar->setValue(bar->value() + direction * ((bar->maximum() - bar->minimum()) / 10));
    };
    switch (Key) {
    case VK_ESCAPE:
        btnCloseClick(Sender);
        break;
    case VK_PRIOR:
        btnPrevPageClick(Sender);
        break;
    case VK_NEXT:
        btnNextPageClick(Sender);
        break;
    case VK_END:
        QRPreview1->SetPageNumber(FQRPrinter ? FQRPrinter->PageCount() : 0);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        UpdatePageInfo();
        break;
    case VK_HOME:
        QRPreview1->SetPageNumber(1);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        UpdatePageInfo();
        break;
    case VK_LEFT:
        scroll(QRPreview1->HorzScrollBar(), -1);
        break;
    case VK_RIGHT:
        scroll(QRPreview1->HorzScrollBar(), 1);
        break;
    case VK_UP:
        scroll(QRPreview1->VertScrollBar(), -1);
        break;
    case VK_DOWN:
        scroll(QRPreview1->VertScrollBar(), 1);
        break;
    default:
        return;
    }
    // Handled here; the preview control does not move again.
    Key = 0;
}

// ---- pages arriving -----------------------------------------------------------------------------

void TfrmNetScapePreview::QRPreview1PageAvailable(QObject*, int PageNum)
{
    if (!FQRPrinter)
        return;
    MarkFirstPage();
    const QString title = FQRPrinter->Title().isEmpty() ? QStringLiteral("无标题") : FQRPrinter->Title();
    SetCaption(title + QStringLiteral(" - 共 ") + QString::number(PageNum) + QStringLiteral(" 页"));
    ShowProductionState();
    UpdatePageInfo();
}

void TfrmNetScapePreview::QRPreview1ProgressUpdate(QObject*, int Progress)
{
    ProgressBar->setValue(Progress);
    if (Progress == 100) {
        SetStatusText(kFinished);
        ShowExitButton();
    }
    if (Progress == 0 || Progress == 100)
        ProgressBar->setValue(0);
}

void TfrmNetScapePreview::ShowProductionState()
{
    if (!FQRPrinter)
        return;
    switch (FQRPrinter->Status()) {
    case mpReady:
        SetStatusText(kPreparing);
        SetProducing(true);
        break;
    case mpBusy:
        if (!FQRPrinter->Cancelled()) {
            SetStatusText(kProducing);
            SetProducing(true);
        }
        break;
    case mpFinished:
        // A stopped production keeps saying so.
        SetStatusText(FQRPrinter->Cancelled() ? kStopped : kFinished);
        ProgressBar->setValue(0);
        SetProducing(false);
        break;
    }
}

void TfrmNetScapePreview::SetProducing(bool producing)
{
    // Printing, opening and saving wait until every page exists.
    btnPrint->setEnabled(!producing);
    ToolButton1->setEnabled(!producing);
    btnSave->setEnabled(!producing);
    if (producing)
        ShowStopButton();
    else
        ShowExitButton();
}

void TfrmNetScapePreview::ShowExitButton()
{
    btnClose->setText(kExitCaption);
    btnClose->setToolTip(kExitHint);
    kit::setImageIndex(btnClose, *ImageList1, picExit);
}

void TfrmNetScapePreview::ShowStopButton()
{
    btnClose->setText(kStopCaption);
    btnClose->setToolTip(kStopHint);
    kit::setImageIndex(btnClose, *ImageList1, picStop);
}

void TfrmNetScapePreview::SetStatusText(const QString& text)
{
    FStatusText = text;
    FPanels[0]->setText(text);
}

void TfrmNetScapePreview::MarkFirstPage()
{
    if (!FFirstShow)
        return;
    PressZoomButton(btnPageWidth);
    FFirstShow = false;
}

void TfrmNetScapePreview::UpdatePageInfo()
{
    const int page = QRPreview1->PageNumber();
    const int count = FQRPrinter ? FQRPrinter->PageCount() : 0;
    btnPrevPage->setEnabled(page > 1);
    btnTop->setEnabled(page > 1);
    btnNextPage->setEnabled(page < count);
    btnLast->setEnabled(page < count);
    FPanels[0]->setText(FStatusText);
    FPanels[1]->setText(QStringLiteral("    第 ") + QString::number(page) + QStringLiteral(" 页 / 共 ")
                        + QString::number(count) + QStringLiteral(" 页"));
}

void TfrmNetScapePreview::StatusBarDrawPanel()
{
    if (!ProgressBar || !FProgressPanel || ProgressBar->parentWidget() != StatusBar)
        return;
    ProgressBar->setGeometry(FProgressPanel->geometry().adjusted(-1, -1, 1, 1));
    ProgressBar->raise();
}

// ---- buttons ----------------------------------------------------------------------------------

void TfrmNetScapePreview::btnCloseClick(QObject*)
{
    if (Producing() && !FQRPrinter->Cancelled()) {
        FQRPrinter->Cancel();
        ShowExitButton();
        SetStatusText(kStopped);
        btnPrint->setEnabled(true);
        return;
    }
    Close();
}

void TfrmNetScapePreview::movePage(int page)
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QRPreview1->SetPageNumber(page);
    UpdatePageInfo();
}

void TfrmNetScapePreview::btnTopClick(QObject*)
{
    movePage(1);
}

void TfrmNetScapePreview::btnLastClick(QObject*)
{
    movePage(FQRPrinter ? FQRPrinter->PageCount() : 0);
}

void TfrmNetScapePreview::btnPrevPageClick(QObject*)
{
    const int page = QRPreview1->PageNumber();
    movePage(page > 1 ? page - 1 : page);
}

void TfrmNetScapePreview::btnNextPageClick(QObject*)
{
    const int page = QRPreview1->PageNumber();
    const int count = FQRPrinter ? FQRPrinter->PageCount() : 0;
    movePage(page < count ? page + 1 : page);
}

void TfrmNetScapePreview::PressZoomButton(QToolButton* Button)
{
    for (QToolButton* button : {btn100, btnOnePage, btnPageWidth})
        button->setChecked(button == Button);
}

void TfrmNetScapePreview::btn100Click(QObject*)
{
    QRPreview1->SetZoom(100);
    Menu100->setChecked(true);
    PressZoomButton(btn100);
}

void TfrmNetScapePreview::btnPageWidthClick(QObject*)
{
    QRPreview1->ZoomToWidth();
    MenuWidth->setChecked(true);
    PressZoomButton(btnPageWidth);
}

void TfrmNetScapePreview::btnOnePageClick(QObject*)
{
    QRPreview1->ZoomToFit();
    MenuPage->setChecked(true);
    PressZoomButton(btnOnePage);
}

void TfrmNetScapePreview::N2001Click(QObject* Sender)
{
    auto* item = qobject_cast<QAction*>(Sender);
    if (!item)
        return;
    const int tag = item->property("Tag").toInt();
    if (tag == kTagPageWidth) {
        QRPreview1->ZoomToWidth();
        PressZoomButton(btnPageWidth);
    } else if (tag == kTagWholePage) {
        QRPreview1->ZoomToFit();
        PressZoomButton(btnOnePage);
    } else {
        QRPreview1->SetZoom(tag);
        PressZoomButton(tag == 100 ? btn100 : nullptr);
    }
    item->setChecked(true);
}

void TfrmNetScapePreview::btnOpenClick(QObject*)
{
    if (Producing())
        return;
    qx::FileRequest request;
    request.caption = QStringLiteral("打开报表");
    request.filter = qx::report::pageFileFilter();
    const QString fileName = qx::DialogService::instance().openFileName(this, request);
    if (fileName.isEmpty())
        return;
    if (!QFileInfo(fileName).isFile()) {
        qx::messageBox(this, QStringLiteral("文件不存在！"), Caption(), qx::MessageIcon::Warning);
        return;
    }
    if (!FQRPrinter) {
        // The report let go of its printer object: the file gets one of the window's own.
        FQRPrinter = new TQRPrinter(this);
        QRPreview1->SetQRPrinter(FQRPrinter);
    }
    FQRPrinter->Load(fileName);
    QRPreview1->SetPageNumber(1);
    SetCaption(QStringLiteral("查看已保存文件 - ") + fileName + QStringLiteral(" - 共 ")
               + QString::number(FQRPrinter->PageCount()) + QStringLiteral(" 页"));
    UpdatePageInfo();
}

void TfrmNetScapePreview::btnSaveClick(QObject*)
{
    if (!FQRPrinter || Producing())
        return;
    const TQRExportFilterLibrary& filters = QRExportFilterLibrary();
    QString chosen;
    qx::FileRequest request;
    request.caption = QStringLiteral("保存报表");
    request.filter = filters.SaveFileFilter();
    request.defaultSuffix = QStringLiteral("QRP");
    request.selectedFilter = &chosen;
    const QString fileName = qx::DialogService::instance().saveFileName(this, request);
    if (fileName.isEmpty())
        return;
    // The report file is the first entry, the export filters follow in their order.
    const QStringList entries = request.filter.split(QStringLiteral(";;"));
    const qsizetype index = std::max<qsizetype>(0, entries.indexOf(chosen));
    if (index == 0) {
        FQRPrinter->Save(fileName);
        return;
    }
    const std::size_t filterIndex = std::size_t(index - 1);
    if (filterIndex >= filters.Filters().size())
        return;
    std::unique_ptr<TQRExportFilter> filter = filters.Filters()[filterIndex].Create(fileName);
    FQRPrinter->ExportToFilter(*filter);
}

void TfrmNetScapePreview::btnPrintClick(QObject*)
{
    if (!FQRPrinter || Producing())
        return;
    TRptPrintForm dialog(this);
    dialog.SetQRPrinter(FQRPrinter);
    if (qx::DialogService::instance().execDialog(dialog) != qx::mrOk)
        return;
    PrintRequest request;
    request.printerIndex = dialog.CB1->currentIndex();
    FQRPrinter->SetPrinterIndex(request.printerIndex);
    request.fromPage = dialog.FromPage;
    request.toPage = dialog.ToPage;
    if (request.fromPage == -1)
        request.fromPage = request.toPage = QRPreview1->PageNumber();
    request.copies = dialog.Copies;
    request.collate = dialog.Copies == 1 || dialog.chkCollate->isChecked();
    if (!request.collate && request.fromPage == 0) {
        request.fromPage = 1;
        request.toPage = FQRPrinter->PageCount();
    }
    printPages(*FQRPrinter, request, this);
}
