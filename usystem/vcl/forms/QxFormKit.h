// The shared set of helpers that every form builds its components with: a named control of
// the library at given bounds in its parent, and a click wired to the form's handler inside
// the exception guard. A form's file then holds only its layout, its wiring and its handlers.
//
//     BtnSave(qx::kit::button(Panel1, "BtnSave", QStringLiteral("保存"), {8, 4, 75, 25})),
//     EdtCode(qx::kit::dbEdit(this, "EdtCode", {80, 12, 120, 21}, DataSource1, "Code")),
//     ...
//     qx::kit::onClick(BtnSave, this, &TFrmAFoo::BtnSaveClick);
#pragma once

#include "platform/env/ExceptionGuard.h"
#include "platform/ui/VclTypes.h"
#include "usystem/vcl/edits/uQxEdits.h"

#include <QSize>
#include <QString>
#include <QWidget>

#include <functional>

class TDataSource;
class TQxLabel;
class TQxPanel;
class TQxGroupBox;
class TQxCheckBox;
class TQxDBCheckBox;
class TQxBitBtn;
class TQxButton;
class TQxDBEDIT;
class TQxComboBox;
class TQxDBComboBox;
class TQxDBGrid;
class TQxColumn;
class TImageList;
class QRadioButton;
class QToolBar;
class QToolButton;

namespace qx::kit {

// Left, top, width and height in the parent's pixels, as a form lays its controls out.
struct Bounds
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// A control of class T named name at bounds in parent.
template <class T>
T* make(QWidget* parent, const char* name, Bounds b)
{
    auto* control = new T(parent);
    control->setObjectName(QLatin1String(name));
    control->setGeometry(b.left, b.top, qMax(0, b.width), qMax(0, b.height));
    return control;
}

// A label that sizes itself to its caption, its top left corner at left, top.
TQxLabel* label(QWidget* parent, const char* name, const QString& caption, int left, int top);
// A label of fixed bounds (AutoSize off).
TQxLabel* label(QWidget* parent, const char* name, const QString& caption, Bounds b);

TQxPanel* panel(QWidget* parent, const char* name, Bounds b);
// A panel aligned in its parent (alTop, alClient, ...) of the given height or width.
TQxPanel* panel(QWidget* parent, const char* name, TAlign align, int extent = 0);
// A panel aligned in its parent that joins the strips of its side after those already there:
// a top strip below the last top strip, a bottom strip above the last bottom strip, a left
// strip right of the last left one, a right strip left of the last right one.
TQxPanel* strip(QWidget* parent, const char* name, TAlign align, int extent);
// Places an aligned control of any kind the same way (after the strips of its side).
void alignAfterStrips(QWidget* control, TAlign align);
TQxGroupBox* groupBox(QWidget* parent, const char* name, const QString& caption, Bounds b);
TQxCheckBox* checkBox(QWidget* parent, const char* name, const QString& caption, Bounds b);
// A check box bound to a Boolean field.
TQxDBCheckBox* dbCheckBox(QWidget* parent, const char* name, const QString& caption, Bounds b,
                          TDataSource* source, const QString& field);
TQxBitBtn* button(QWidget* parent, const char* name, const QString& caption, Bounds b);
// A flat tool button with its caption under or beside its glyph, as toolbars hold them.
TQxButton* toolButton(QWidget* parent, const char* name, const QString& caption, Bounds b);

QRadioButton* radioButton(QWidget* parent, const char* name, const QString& caption, Bounds b);

// A flat tool bar along the top of parent (alTop) whose buttons, all of buttonSize, show their
// caption under their picture.
QToolBar* toolBar(QWidget* parent, const char* name, QSize buttonSize);
// A button added at the end of a tool bar, with its caption, hint and picture imageIndex of
// images (none when images is null).
QToolButton* toolBarButton(QToolBar* bar, const char* name, const QString& caption,
                           const QString& hint, const TImageList* images = nullptr,
                           int imageIndex = -1);
// Gives a tool button picture imageIndex of images; the index is kept in the button's
// "ImageIndex" property.
void setImageIndex(QToolButton* button, const TImageList& images, int imageIndex);

TQxEdit* edit(QWidget* parent, const char* name, Bounds b,
              QxEditTypes::TEditDataType type = QxEditTypes::edtText);
TQxDBEDIT* dbEdit(QWidget* parent, const char* name, Bounds b, TDataSource* source,
                  const QString& field);
TQxComboBox* comboBox(QWidget* parent, const char* name, Bounds b, const QStringList& items = {});
TQxDBComboBox* dbComboBox(QWidget* parent, const char* name, Bounds b, TDataSource* source,
                          const QString& field, const QStringList& items = {});
TQxDBGrid* dbGrid(QWidget* parent, const char* name, Bounds b, TDataSource* source);
// A data grid filling its parent's client area (alClient).
TQxDBGrid* dbGrid(QWidget* parent, const char* name, TDataSource* source);
// A stored column of the grid over field, titled caption; hidden when visible is false. A
// width of 0 leaves the width to the field.
TQxColumn* column(TQxDBGrid* grid, const QString& field, const QString& caption, int width = 0,
                  bool visible = true);

// Wires the control's OnClick to a handler of the form, run inside the exception guard of the
// form, so an error of the handler ends in the form's error box.
template <class Control, class Form>
void onClick(Control* control, Form* form, void (Form::*handler)(QObject*))
{
    control->OnClick = [form, handler](QObject* Sender) {
        qx::guard(form, [&] { (form->*handler)(Sender); });
    };
}

// Wires any notify event of a control (OnDblClick, OnChange, OnButtonClick...) to a handler of
// the form, inside the form's exception guard like onClick.
template <class Form>
void on(std::function<void(QObject*)>& event, Form* form, void (Form::*handler)(QObject*))
{
    event = [form, handler](QObject* Sender) {
        qx::guard(form, [&] { (form->*handler)(Sender); });
    };
}

} // namespace qx::kit
