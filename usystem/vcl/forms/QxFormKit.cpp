#include "usystem/vcl/forms/QxFormKit.h"

#include "platform/ui/AlignLayout.h"
#include "platform/ui/ImageList.h"
#include "usystem/vcl/combos/uQxComboBox.h"
#include "usystem/vcl/combos/uQxDBComboBox.h"
#include "usystem/vcl/controls/uQxButtons.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/dbedits/uQxDBCheckBox.h"
#include "usystem/vcl/dbedits/uQxDBEdit.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"

#include <QIcon>
#include <QRadioButton>
#include <QToolBar>
#include <QToolButton>

namespace qx::kit {

TQxLabel* label(QWidget* parent, const char* name, const QString& caption, int left, int top)
{
    auto* l = new TQxLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->SetCaption(caption);
    l->move(left, top);
    return l;
}

TQxLabel* label(QWidget* parent, const char* name, const QString& caption, Bounds b)
{
    auto* l = make<TQxLabel>(parent, name, b);
    l->SetAutoSize(false);
    l->SetCaption(caption);
    l->setGeometry(b.left, b.top, b.width, b.height);
    return l;
}

TQxPanel* panel(QWidget* parent, const char* name, Bounds b)
{
    return make<TQxPanel>(parent, name, b);
}

TQxPanel* panel(QWidget* parent, const char* name, TAlign align, int extent)
{
    auto* p = new TQxPanel(parent);
    p->setObjectName(QLatin1String(name));
    p->SetCaption(QString());
    if (extent > 0) {
        if (align == alTop || align == alBottom)
            p->SetHeight(extent);
        else if (align == alLeft || align == alRight)
            p->SetWidth(extent);
    }
    qx::setAlign(p, align);
    return p;
}

void alignAfterStrips(QWidget* control, TAlign align)
{
    // The align layout orders a side's strips by their distance from the edge, ties by
    // creation: a control placed beyond every strip of its side comes last.
    constexpr int kBeyond = 1 << 20;
    switch (align) {
    case alTop: control->move(0, kBeyond); break;
    case alBottom: control->move(0, -kBeyond - control->height()); break;
    case alLeft: control->move(kBeyond, 0); break;
    case alRight: control->move(-kBeyond - control->width(), 0); break;
    default: break;
    }
    qx::setAlign(control, align);
}

TQxPanel* strip(QWidget* parent, const char* name, TAlign align, int extent)
{
    auto* p = new TQxPanel(parent);
    p->setObjectName(QLatin1String(name));
    p->SetCaption(QString());
    if (align == alTop || align == alBottom)
        p->SetHeight(extent);
    else if (align == alLeft || align == alRight)
        p->SetWidth(extent);
    alignAfterStrips(p, align);
    return p;
}

TQxGroupBox* groupBox(QWidget* parent, const char* name, const QString& caption, Bounds b)
{
    auto* g = make<TQxGroupBox>(parent, name, b);
    g->SetCaption(caption);
    return g;
}

TQxCheckBox* checkBox(QWidget* parent, const char* name, const QString& caption, Bounds b)
{
    auto* c = make<TQxCheckBox>(parent, name, b);
    c->SetCaption(caption);
    return c;
}

TQxDBCheckBox* dbCheckBox(QWidget* parent, const char* name, const QString& caption, Bounds b,
                          TDataSource* source, const QString& field)
{
    auto* c = make<TQxDBCheckBox>(parent, name, b);
    c->SetCaption(caption);
    c->SetDataSource(source);
    c->SetDataField(field);
    return c;
}

TQxBitBtn* button(QWidget* parent, const char* name, const QString& caption, Bounds b)
{
    auto* btn = make<TQxBitBtn>(parent, name, b);
    btn->SetCaption(caption);
    return btn;
}

TQxButton* toolButton(QWidget* parent, const char* name, const QString& caption, Bounds b)
{
    auto* btn = make<TQxButton>(parent, name, b);
    btn->SetCaption(caption);
    return btn;
}

QRadioButton* radioButton(QWidget* parent, const char* name, const QString& caption, Bounds b)
{
    auto* r = make<QRadioButton>(parent, name, b);
    r->setText(caption);
    return r;
}

QToolBar* toolBar(QWidget* parent, const char* name, QSize buttonSize)
{
    auto* bar = new QToolBar(parent);
    bar->setObjectName(QLatin1String(name));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    bar->setIconSize(QSize(16, 16));
    bar->setProperty("ButtonSize", buttonSize);
    bar->resize(parent->width(), buttonSize.height() + 4);
    qx::setAlign(bar, alTop);
    return bar;
}

QToolButton* toolBarButton(QToolBar* bar, const char* name, const QString& caption,
                           const QString& hint, const TImageList* images, int imageIndex)
{
    auto* button = new QToolButton(bar);
    button->setObjectName(QLatin1String(name));
    button->setText(caption);
    button->setToolTip(hint);
    button->setAutoRaise(true);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setIconSize(bar->iconSize());
    const QSize size = bar->property("ButtonSize").toSize();
    if (size.isValid())
        button->setFixedSize(size);
    if (images)
        setImageIndex(button, *images, imageIndex);
    bar->addWidget(button);
    return button;
}

void setImageIndex(QToolButton* button, const TImageList& images, int imageIndex)
{
    button->setIcon(QIcon(images.GetBitmap(imageIndex)));
    button->setProperty("ImageIndex", imageIndex);
}

TQxEdit* edit(QWidget* parent, const char* name, Bounds b, QxEditTypes::TEditDataType type)
{
    auto* e = make<TQxEdit>(parent, name, b);
    e->SetDataType(type);
    return e;
}

TQxDBEDIT* dbEdit(QWidget* parent, const char* name, Bounds b, TDataSource* source,
                  const QString& field)
{
    auto* e = make<TQxDBEDIT>(parent, name, b);
    e->SetDataSource(source);
    e->SetDataField(field);
    return e;
}

TQxComboBox* comboBox(QWidget* parent, const char* name, Bounds b, const QStringList& items)
{
    auto* c = make<TQxComboBox>(parent, name, b);
    if (!items.isEmpty())
        c->SetItems(items);
    return c;
}

TQxDBComboBox* dbComboBox(QWidget* parent, const char* name, Bounds b, TDataSource* source,
                          const QString& field, const QStringList& items)
{
    auto* c = make<TQxDBComboBox>(parent, name, b);
    if (!items.isEmpty())
        c->SetItems(items);
    c->SetDataSource(source);
    c->SetDataField(field);
    return c;
}

TQxDBGrid* dbGrid(QWidget* parent, const char* name, Bounds b, TDataSource* source)
{
    auto* g = make<TQxDBGrid>(parent, name, b);
    g->SetDataSource(source);
    return g;
}

TQxDBGrid* dbGrid(QWidget* parent, const char* name, TDataSource* source)
{
    auto* g = new TQxDBGrid(parent);
    g->setObjectName(QLatin1String(name));
    g->SetDataSource(source);
    qx::setAlign(g, alClient);
    return g;
}

TQxColumn* column(TQxDBGrid* grid, const QString& field, const QString& caption, int width,
                  bool visible)
{
    TQxColumn* c = grid->Columns()->Add();
    c->SetFieldName(field);
    c->Title()->SetCaption(caption);
    if (width > 0)
        c->SetWidth(width);
    if (!visible)
        c->SetVisible(false);
    return c;
}

} // namespace qx::kit
