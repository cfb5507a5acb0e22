#include "app/shell/uADesktop.h"

#include "app/data/dmData.h"
#include "app/shell/uAMain.h"
#include "platform/env/ExceptionGuard.h"
#include "platform/ui/AlignLayout.h"
#include "app/shell/ColorPanel.h"
#include "platform/ui/Fonts.h"
#include "usystem/vcl/gif/uQxGifButton.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMdiSubWindow>
#include <QPainter>
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

tQxGifButton* TFrmADesktop::AddButton(QWidget* Parent, const QString& Caption, const QRect& Bounds,
                                   bool History)
{
    auto* button = new tQxGifButton(Parent);
    button->setObjectName(QStringLiteral("QxGifButton%1").arg(FModuleButtons.size() + FHistoryButtons.size() + 1));
    button->SetCaption(Caption);
    button->SetBounds(Bounds.left(), Bounds.top(), Bounds.width(), Bounds.height());
    button->setCursor(Qt::PointingHandCursor);
    button->SetTransparent(true);
    button->SetGlyphsTransparent(true);
    button->SetInterval(2);
    button->SetUpGlyph(ButtonPicture(Caption, Bounds.size(), false));
    button->SetActiveGlyph(ButtonPicture(Caption, Bounds.size(), true));
    if (History) {
        button->OnClick = [this](QObject* Sender) { qx::guard(this, [&] { HistoryButtonClick(Sender); }); };
        FHistoryButtons.append(button);
    } else {
        button->OnClick = [this](QObject* Sender) { qx::guard(this, [&] { ModuleButtonClick(Sender); }); };
        FModuleButtons.append(button);
    }
    return button;
}

QImage TFrmADesktop::ButtonPicture(const QString& Caption, const QSize& Size, bool Active)
{
    QImage picture(Size, QImage::Format_RGB32);
    // The key colour around the tile: the corners show the desktop through the button.
    picture.fill(toQColor(clFuchsia));
    QPainter p(&picture);
    // No smoothing on the tile's outline: a blended edge pixel would be neither the key
    // colour nor the tile's, and would show as a pink fringe.
    p.setRenderHint(QPainter::Antialiasing, false);
    const QRect tile = picture.rect().adjusted(1, 1, -2, -2);
    const int radius = qMin(8, qMin(tile.width(), tile.height()) / 4);
    p.setPen(QPen(Active ? QColor(0xF0, 0x9A, 0x28) : QColor(0x3A, 0x62, 0x9C), 1));
    p.setBrush(Active ? QColor(0x8C, 0xBE, 0xF0) : QColor(0x4F, 0x86, 0xC6));
    p.drawRoundedRect(tile, radius, radius);
    // A lighter band across the top half, so the tile reads as raised.
    p.setPen(Qt::NoPen);
    p.setBrush(Active ? QColor(0xB4, 0xD6, 0xF7) : QColor(0x6C, 0x9C, 0xD4));
    p.drawRoundedRect(tile.adjusted(3, 3, -3, -tile.height() / 2), radius / 2, radius / 2);

    QFont font = qx::libraryFont(Size.height() >= 80 ? 14 : 10);
    font.setBold(true);
    p.setFont(font);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setPen(Active ? QColor(0x10, 0x30, 0x60) : QColor(Qt::white));
    p.drawText(tile, Qt::AlignCenter | Qt::TextWordWrap, Caption);
    return picture;
}

tQxGifButton* TFrmADesktop::ButtonOf(const QString& Caption) const
{
    for (tQxGifButton* b : FModuleButtons + FHistoryButtons) {
        if (b->caption() == Caption)
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
    auto* button = qobject_cast<tQxGifButton*>(Sender);
    if (!button)
        return;
    if (dmdataUnit->CheckRight(QStringLiteral("主"), button->caption(), true))
        FMainForm.OpenModuleByCaption(button->caption());
}

void TFrmADesktop::HistoryButtonClick(QObject* Sender)
{
    if (auto* button = qobject_cast<tQxGifButton*>(Sender))
        FMainForm.OpenQueryReport(button->caption());
}
