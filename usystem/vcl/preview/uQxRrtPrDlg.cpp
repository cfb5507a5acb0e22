#include "usystem/vcl/preview/uQxRrtPrDlg.h"

#include "platform/env/DialogService.h"
#include "platform/report/PrintTarget.h"
#include "platform/report/QRPrinter.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/forms/QxFormKit.h"
#include "usystem/vcl/preview/PreviewPictures.h"
#include "usystem/vcl/preview/PrinterList.h"

#include <QBitmap>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QSpinBox>

namespace kit = qx::kit;

namespace {

QPixmap printerPixmap()
{
    // The icon's ground colour is see-through.
    const QImage icon = qx::preview::printerIcon();
    QPixmap pixmap = QPixmap::fromImage(icon);
    pixmap.setMask(QBitmap::fromImage(icon.createMaskFromColor(toQColor(qx::preview::kPrinterIconGround).rgb(), Qt::MaskInColor)));
    return pixmap;
}

bool allDigits(const QString& text)
{
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

} // namespace

TRptPrintForm::TRptPrintForm(QWidget* parent)
    : TFrmBase(parent), FInfoPrinter(std::make_unique<qx::PrinterList>())
{
    setObjectName(QStringLiteral("RptPrintForm"));
    SetCaption(QStringLiteral("打印..."));
    setFixedSize(465, 255);
    SetPosition(poScreenCenter);

    GroupBox1 = kit::groupBox(this, "GroupBox1", QStringLiteral("打印机"), {8, 6, 449, 124});
    Label7 = kit::label(GroupBox1, "Label7", QStringLiteral("名称(&N):"), 12, 24);
    CB1 = kit::make<QComboBox>(GroupBox1, "CB1", {84, 20, 260, 22});
    CB1->setIconSize(QSize(18, 16));
    PropButton = kit::button(GroupBox1, "PropButton", QStringLiteral("属性(&P)"), {356, 19, 81, 25});
    Label3 = kit::label(GroupBox1, "Label3", QStringLiteral("状态:"), 12, 52);
    Label4 = kit::label(GroupBox1, "Label4", QStringLiteral("型号:"), 12, 70);
    Label5 = kit::label(GroupBox1, "Label5", QStringLiteral("位置:"), 12, 88);
    Label6 = kit::label(GroupBox1, "Label6", QStringLiteral("备注:"), 12, 106);
    lblStatus = kit::label(GroupBox1, "lblStatus", QString(), {84, 52, 244, 14});
    lblType = kit::label(GroupBox1, "lblType", QString(), {84, 70, 244, 14});
    lblPosition = kit::label(GroupBox1, "lblPosition", QString(), {84, 88, 244, 14});
    lblCommon = kit::label(GroupBox1, "lblCommon", QString(), {84, 106, 244, 14});

    GroupBox2 = kit::groupBox(this, "GroupBox2", QStringLiteral("打印范围"), {8, 136, 220, 86});
    RB1 = kit::radioButton(GroupBox2, "RB1", QStringLiteral("所有页"), {12, 18, 100, 17});
    RB2 = kit::radioButton(GroupBox2, "RB2", QStringLiteral("当前页"), {12, 38, 100, 17});
    RB3 = kit::radioButton(GroupBox2, "RB3", QStringLiteral("指定范围:"), {12, 60, 80, 17});
    FromEdt = kit::make<QLineEdit>(GroupBox2, "FromEdt", {92, 58, 48, 21});
    Label8 = kit::label(GroupBox2, "Label8", QStringLiteral("->"), 144, 62);
    ToEdt = kit::make<QLineEdit>(GroupBox2, "ToEdt", {162, 58, 48, 21});
    RB1->setChecked(true);

    GroupBox3 = kit::groupBox(this, "GroupBox3", QStringLiteral("副本"), {236, 136, 221, 86});
    Label1 = kit::label(GroupBox3, "Label1", QStringLiteral("份数(&C):"), 10, 20);
    E1 = kit::make<QSpinBox>(GroupBox3, "E1", {10, 38, 56, 21});
    E1->setRange(1, 50);
    E1->setValue(1);
    imgCollate = kit::make<QLabel>(GroupBox3, "imgCollate", {108, 16, 103, 53});
    chkCollate = kit::checkBox(GroupBox3, "chkCollate", QStringLiteral("逐份打印(&T)"), {10, 64, 96, 17});

    Button1 = kit::button(this, "Button1", QStringLiteral("确定"), {292, 226, 75, 25});
    Button1->SetDefault(true);
    Button2 = kit::button(this, "Button2", QStringLiteral("取消"), {380, 226, 75, 25});
    Button2->SetModalResult(qx::mrCancel);

    // Button1 closes the dialog itself once the choice is sound.
    kit::onClick(Button1, this, &TRptPrintForm::Button1Click);
    kit::onClick(PropButton, this, &TRptPrintForm::PropButtonClick);
    kit::onClick(chkCollate, this, &TRptPrintForm::chkCollateClick);
    connect(CB1, &QComboBox::activated, this, qx::guarded(this, [this](int) {
        CB1Click(CB1);
        CB1Change(CB1);
    }));
    connect(RB3, &QRadioButton::clicked, this, qx::guarded(this, [this](bool) { RB3Click(RB3); }));
    connect(FromEdt, &QLineEdit::textChanged, this, qx::guarded(this, [this](const QString&) { FromEdtChange(FromEdt); }));
    connect(ToEdt, &QLineEdit::textChanged, this, qx::guarded(this, [this](const QString&) { FromEdtClick(ToEdt); }));
}

TRptPrintForm::~TRptPrintForm() = default;

bool TRptPrintForm::eventFilter(QObject* watched, QEvent* event)
{
    // The form watches every control of its own (key preview), the page edits' clicks too.
    if (event->type() == QEvent::MouseButtonPress && (watched == FromEdt || watched == ToEdt))
        qx::guard(this, [&] { FromEdtClick(watched); });
    return TFrmBase::eventFilter(watched, event);
}

void TRptPrintForm::FormShow(QObject* Sender)
{
    TFrmBase::FormShow(Sender);
    CB1->clear();
    const QPixmap icon = printerPixmap();
    for (const QString& name : FInfoPrinter->Names())
        CB1->addItem(QIcon(icon), name);
    OldPrinterIndex = FQRPrinter ? FQRPrinter->PrinterIndex() : -1;
    FInfoPrinter->SetPrinterIndex(-1);
    if (FQRPrinter)
        FQRPrinter->SetPrinterIndex(FInfoPrinter->PrinterIndex());
    CB1->setCurrentIndex(FInfoPrinter->PrinterIndex());
    UpdateCollateImage();
    UpdatePrinterInfo();
    FromEdt->setText(QStringLiteral("1"));
    ToEdt->setText(QString::number(FQRPrinter ? FQRPrinter->PageCount() : 0));
    RB1->setChecked(true);
}

void TRptPrintForm::done(int r)
{
    FClosingResult = r;
    FormDeactivate(this);
    TFrmBase::done(r);
}

void TRptPrintForm::FormDeactivate(QObject*)
{
    if (FClosingResult != qx::mrOk && FQRPrinter)
        FQRPrinter->SetPrinterIndex(OldPrinterIndex);
}

void TRptPrintForm::CB1Click(QObject*)
{
    FInfoPrinter->SetPrinterIndex(CB1->currentIndex());
    if (FQRPrinter)
        FQRPrinter->SetPrinterIndex(CB1->currentIndex());
}

void TRptPrintForm::CB1Change(QObject*)
{
    UpdatePrinterInfo();
}

void TRptPrintForm::PropButtonClick(QObject*)
{
    std::unique_ptr<QPrinter> printer = qx::report::makePrinter(FInfoPrinter->PrinterIndex());
    QPageSetupDialog setup(printer.get(), this);
    qx::DialogService::instance().execDialog(setup);
    UpdatePrinterInfo();
    CB1->setCurrentIndex(FInfoPrinter->PrinterIndex());
}

void TRptPrintForm::FromEdtClick(QObject*)
{
    RB3->setChecked(true);
}

void TRptPrintForm::FromEdtChange(QObject*)
{
    if (!allDigits(FromEdt->text()))
        FromEdt->clear();
}

void TRptPrintForm::RB3Click(QObject*)
{
    FromEdt->setFocus();
}

void TRptPrintForm::chkCollateClick(QObject*)
{
    UpdateCollateImage();
}

void TRptPrintForm::UpdateCollateImage()
{
    imgCollate->setPixmap(QPixmap::fromImage(qx::preview::copiesPicture(chkCollate->isChecked())));
}

void TRptPrintForm::UpdatePrinterInfo()
{
    const qx::PrinterEntry* printer = FInfoPrinter->Selected();
    if (!printer) {
        lblType->SetCaption(QString());
        lblPosition->SetCaption(QString());
    } else {
        lblType->SetCaption(printer->makeAndModel.isEmpty() ? printer->name : printer->makeAndModel);
        lblPosition->SetCaption(printer->location);
        lblCommon->SetCaption(printer->usable() ? QStringLiteral("连接正常") : QStringLiteral("不能连接"));
    }
    QString status;
    if (FQRPrinter) {
        switch (FQRPrinter->Status()) {
        case mpReady:
            status = QStringLiteral("空闲");
            break;
        case mpBusy:
            status = QStringLiteral("正在打印");
            break;
        case mpFinished:
            status = QStringLiteral("就绪");
            break;
        }
    }
    lblStatus->SetCaption(status);
}

QString TRptPrintForm::RangeProblem(int& from, int& to) const
{
    const QString fromText = FromEdt->text().trimmed();
    const QString toText = ToEdt->text().trimmed();
    bool fromOk = !fromText.isEmpty() && allDigits(fromText);
    bool toOk = !toText.isEmpty() && allDigits(toText);
    if (fromOk)
        from = fromText.toInt(&fromOk);
    if (toOk)
        to = toText.toInt(&toOk);
    if (!fromOk || !toOk)
        return QStringLiteral("请在“指定范围”中输入起始页和终止页的页码！");
    const int count = FQRPrinter ? FQRPrinter->PageCount() : 0;
    if (from < 1 || from > to || to > count)
        return QStringLiteral("页码范围应在 1 到 %1 之间，且起始页不能大于终止页！").arg(count);
    return QString();
}

void TRptPrintForm::Button1Click(QObject*)
{
    int from = 0;
    int to = 0;
    if (RB2->isChecked()) {
        from = to = -1;
    } else if (RB3->isChecked()) {
        const QString problem = RangeProblem(from, to);
        if (!problem.isEmpty()) {
            qx::messageBox(this, problem, Caption(), qx::MessageIcon::Warning);
            FromEdt->setFocus();
            FromEdt->selectAll();
            return;
        }
    }
    FromPage = from;
    ToPage = to;
    Copies = E1->value();
    done(qx::mrOk);
}
