#include "app/uADesktop.h"

#include "app/dmData.h"
#include "app/uAMain.h"
#include "platform/env/ExceptionGuard.h"
#include "platform/ui/AlignLayout.h"
#include "usystem/vcl/uQxButtons.h"
#include "app/ColorPanel.h"
#include "usystem/vcl/uQxStdCtrls.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMdiSubWindow>
#include <QScreen>
#include <QShowEvent>

namespace {

qx::app::ColorPanel* panel(QWidget* parent, const char* name, TAlign align, int size)
{
    auto* p = new qx::app::ColorPanel(parent);
    p->setObjectName(QLatin1String(name));
    p->SetCaption(QString());
    p->SetColor(TColor(0xF8EDE5));
    if (align == alTop || align == alBottom)
        p->SetHeight(size);
    else if (align == alLeft || align == alRight)
        p->SetWidth(size);
    p->SetAlign(align);
    return p;
}

} // namespace

TFrmADesktop::TFrmADesktop(TFrmAMain& MainForm, QWidget* parent)
    : QWidget(parent),
      Panel1(panel(this, "Panel1", alTop, 96)),
      Panel2(panel(this, "Panel2", alClient, 0)),
      Panel3(panel(this, "Panel3", alBottom, 90)),
      Panel5(panel(Panel2, "Panel5", alTop, kTopSpacer)),
      Panel6(panel(Panel2, "Panel6", alLeft, kLeftSpacer)),
      Panel4(panel(Panel2, "Panel4", alClient, 0)),
      FMainForm(MainForm)
{
    setObjectName(QStringLiteral("FrmADesktop"));
    setWindowTitle(QStringLiteral("快捷导航"));
    setAutoFillBackground(true);
    new qx::AlignLayout(this);
    // The picture strips stand out white against the desktop's colour.
    Panel1->SetColor(clWhite);
    Panel3->SetColor(clWhite);

    // Master files along the banner.
    int left = 360;
    for (const char* caption : {"固定资料", "供应商档案", "客户档案", "维修项目"}) {
        AddButton(Panel1, QString::fromUtf8(caption), QRect(left, 20, 100, 56), false);
        left += 110;
    }
    // The daily modules, two rows of three.
    const char* daily[] = {"工单管理", "库存管理", "采购管理", "盘点管理", "其他收支", "支付凭证"};
    for (int i = 0; i < 6; ++i)
        AddButton(Panel4, QString::fromUtf8(daily[i]),
                  QRect(40 + (i % 3) * 200, 30 + (i / 3) * 150, 150, 110), false);
    // History reports, then the statistics.
    left = 20;
    for (const char* caption : {"维修历史工单别", "维修历史配件别", "维修历史单位别", "维修历史项目别"}) {
        AddButton(Panel3, QString::fromUtf8(caption), QRect(left, 20, 120, 50), true);
        left += 130;
    }
    for (const char* caption : {"财务统计", "统计分析"}) {
        AddButton(Panel3, QString::fromUtf8(caption), QRect(left + 40, 20, 100, 50), false);
        left += 110;
    }

    qx::guard(this, [&] { FormCreate(this); });
}

TFrmADesktop::~TFrmADesktop() = default;

TQxButton* TFrmADesktop::AddButton(QWidget* Parent, const QString& Caption, const QRect& Bounds,
                                   bool History)
{
    auto* button = new TQxButton(Parent);
    button->setObjectName(QStringLiteral("QxGifButton%1").arg(FModuleButtons.size() + FHistoryButtons.size() + 1));
    button->SetCaption(Caption);
    button->SetBounds(Bounds.left(), Bounds.top(), Bounds.width(), Bounds.height());
    button->setCursor(Qt::PointingHandCursor);
    if (History) {
        button->OnClick = [this](QObject* Sender) { qx::guard(this, [&] { HistoryButtonClick(Sender); }); };
        FHistoryButtons.append(button);
    } else {
        button->OnClick = [this](QObject* Sender) { qx::guard(this, [&] { ModuleButtonClick(Sender); }); };
        FModuleButtons.append(button);
    }
    return button;
}

TQxButton* TFrmADesktop::ButtonOf(const QString& Caption) const
{
    for (TQxButton* b : FModuleButtons + FHistoryButtons) {
        if (b->Caption() == Caption)
            return b;
    }
    return nullptr;
}

void TFrmADesktop::FormCreate(QObject*)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, toQColor(TColor(0xF8EDE5)));
    setPalette(pal);
}

void TFrmADesktop::ScaleSpacers(const QSize& Screen)
{
    // From the designed sizes, so that showing the desktop again does not grow them further.
    Panel5->SetHeight(Screen.height() == 600 ? 0 : int(Screen.height() / 768.0 * kTopSpacer));
    Panel6->SetWidth(Screen.width() == 800 ? 0 : int(Screen.width() / 1024.0 * kLeftSpacer));
}

void TFrmADesktop::FormShow(QObject*)
{
    if (QScreen* screen = QGuiApplication::primaryScreen())
        ScaleSpacers(screen->size());
}

void TFrmADesktop::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        qx::guard(this, [&] { FormShow(this); });
}

void TFrmADesktop::closeEvent(QCloseEvent* event)
{
    event->ignore();
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame->showMinimized();
}

void TFrmADesktop::ModuleButtonClick(QObject* Sender)
{
    auto* button = qobject_cast<TQxButton*>(Sender);
    if (!button)
        return;
    if (dmdataUnit->CheckRight(QStringLiteral("主"), button->Caption(), true))
        FMainForm.OpenModuleByCaption(button->Caption());
}

void TFrmADesktop::HistoryButtonClick(QObject* Sender)
{
    if (auto* button = qobject_cast<TQxButton*>(Sender))
        FMainForm.OpenQueryReport(button->Caption());
}
