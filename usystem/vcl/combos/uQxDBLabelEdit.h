// The data controls that carry their own caption label on their left: tQxDBLabelEdit (a data
// edit) and TQxDBLabelComboBox (a data combo box). The label moves, hides, greys and changes
// parent with its control, so a form lays out one component per field. The form look pass
// gives both the library's label and line colours.
#pragma once

#include "usystem/vcl/combos/uQxDBComboBox.h"
#include "usystem/vcl/dbedits/uQxDBEdit.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class QShortcut;
class TDataSource;

namespace qx {

// The caption label of a labelled control: created with the control, kept on its left
// (its right edge at the control's left, two pixels lower) and following its parent,
// visibility, enabled state and reading direction.
class ControlLabel : public QObject
{
    Q_OBJECT

public:
    explicit ControlLabel(QWidget* control);
    // The label goes with its control.
    ~ControlLabel() override;

    // Null once the label was freed elsewhere.
    TQxLabel* label() const { return m_label; }
    QString caption() const;
    void setCaption(const QString& caption);
    // The label's font colour; clGreen without a label.
    TColor color() const;
    void setColor(TColor color);
    // Puts the label on the left of the control.
    void place();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void followParent();
    void updateAccelerator();

    QWidget* m_control;
    QPointer<TQxLabel> m_label;
    QPointer<QShortcut> m_accelerator;
    bool m_placing = false;
};

// How a labelled control bound to a document structure takes its caption, visibility and
// required mark from the definition of its field. The document-structure unit installs it;
// without it the look leaves those alone.
struct LabelledFieldDefinition
{
    QString caption;       // the definition's caption (CFieldName)
    bool visible = true;   // the field is shown
    bool required = false; // the field may not be empty
};
struct LabelledLookBinding
{
    // True when the control's data source is a document structure whose definitions hold
    // FieldName; Definition is then filled.
    std::function<bool(TDataSource* Source, const QString& FieldName, LabelledFieldDefinition& Definition)>
        fieldDefinition;
};
void setLabelledLookBinding(LabelledLookBinding binding);
const LabelledLookBinding& labelledLookBinding();

} // namespace qx

class tQxDBLabelEdit : public TQxDBEDIT
{
    Q_OBJECT
    Q_CLASSINFO("QxIntegerKinds", "LabelColor=TColor")
    Q_PROPERTY(TQxLabel* EditLabel READ EditLabel STORED false)
    Q_PROPERTY(QString LabelCaption READ LabelCaption WRITE SetLabelCaption)
    Q_PROPERTY(int LabelColor READ LabelColor WRITE SetLabelColor)

public:
    explicit tQxDBLabelEdit(QWidget* parent = nullptr);
    ~tQxDBLabelEdit() override;

    // The label, placed first: a hidden control hears of its moves only when it is shown.
    TQxLabel* EditLabel() const
    {
        m_label->place();
        return m_label->label();
    }
    QString LabelCaption() const { return m_label->caption(); }
    void SetLabelCaption(const QString& value) { m_label->setCaption(value); }
    TColor LabelColor() const { return m_label->color(); }
    void SetLabelColor(TColor value) { m_label->setColor(value); }

private:
    std::unique_ptr<qx::ControlLabel> m_label;
};

class TQxDBLabelComboBox : public TQxDBComboBox
{
    Q_OBJECT
    Q_CLASSINFO("QxIntegerKinds", "LabelColor=TColor")
    Q_PROPERTY(TQxLabel* EditLabel READ EditLabel STORED false)
    Q_PROPERTY(QString LabelCaption READ LabelCaption WRITE SetLabelCaption)
    Q_PROPERTY(int LabelColor READ LabelColor WRITE SetLabelColor)

public:
    explicit TQxDBLabelComboBox(QWidget* parent = nullptr);
    ~TQxDBLabelComboBox() override;

    // The label, placed first: a hidden control hears of its moves only when it is shown.
    TQxLabel* EditLabel() const
    {
        m_label->place();
        return m_label->label();
    }
    QString LabelCaption() const { return m_label->caption(); }
    void SetLabelCaption(const QString& value) { m_label->setCaption(value); }
    TColor LabelColor() const { return m_label->color(); }
    void SetLabelColor(TColor value) { m_label->setColor(value); }

private:
    std::unique_ptr<qx::ControlLabel> m_label;
};

// The library's look for a labelled control, as the form look pass gives it: the caption
// through the text hook; with the library data module, its label colour for a green label
// and its line colour for the control's lines; for a field of a document structure, the
// definition's caption, visibility and required mark (a navy label).
void ApplyLabelledLook(tQxDBLabelEdit* Control);
void ApplyLabelledLook(TQxDBLabelComboBox* Control);
