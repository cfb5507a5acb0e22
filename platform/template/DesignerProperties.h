// The property panel of the template designer: the single selected object's text or
// expression, format, font face (the installed faces), size and weight, text colour and fill
// (chosen through the dialog service's colour chooser; a fill may be cleared to transparent), alignment, word wrap, stretch, frame lines and
// place in millimetres, the current band's height, and the page set-up (paper, orientation, margins in millimetres). Every change
// goes to the model as one step of its history. A text whose expression does not parse is
// refused when the edit is left: the message names the place, the edit keeps the text.
#pragma once

#include "platform/template/DesignerModel.h"

#include <QWidget>

#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace qx::tpl {

class DesignerProperties : public QWidget
{
    Q_OBJECT

public:
    DesignerProperties(DesignerModel& model, QWidget* parent = nullptr);

    // Shows the model's selection, the band's height and the page.
    void load();
    // The band whose height the panel shows (-1: none).
    void setCurrentBand(int band) { m_band = band; }

    // Told after every change made here.
    std::function<void()> onChanged;

private:
    // The selected object when exactly one is selected.
    const TemplateObject* current() const;
    void apply(const std::function<void(TemplateObject&)>& change);
    void applyText();
    void applyPage();
    // Asks for a colour starting from `initial`; nothing when the chooser was cancelled.
    std::optional<TColor> askColor(const QString& caption, TColor initial);
    void showColor(QPushButton* button, TColor color);

    DesignerModel& m_model;
    bool m_loading = false;
    QLineEdit* m_text = nullptr;
    QLineEdit* m_format = nullptr;
    QDoubleSpinBox* m_left = nullptr;
    QDoubleSpinBox* m_top = nullptr;
    QDoubleSpinBox* m_width = nullptr;
    QDoubleSpinBox* m_height = nullptr;
    QComboBox* m_fontName = nullptr;
    QSpinBox* m_fontSize = nullptr;
    QPushButton* m_fontColor = nullptr;
    QPushButton* m_fill = nullptr;
    QCheckBox* m_noFill = nullptr;
    QCheckBox* m_bold = nullptr;
    QComboBox* m_align = nullptr;
    QCheckBox* m_wordWrap = nullptr;
    QCheckBox* m_stretch = nullptr;
    QCheckBox* m_frame[4] = {};
    QDoubleSpinBox* m_bandHeight = nullptr;
    int m_band = -1;
    QComboBox* m_paper = nullptr;
    QComboBox* m_orientation = nullptr;
    QDoubleSpinBox* m_margins[4] = {};
};

} // namespace qx::tpl
