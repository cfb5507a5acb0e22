// The plain panel of the shop's forms: a flat area filled with its own colour that lays out its
// aligned children, with an optional centred caption. The library's TQxPanel always paints the
// button face, so the shop's coloured strips (the left button panel, the white title strip,
// the desktop) use this one.
#pragma once

#include "platform/ui/Colors.h"
#include "platform/ui/ControlProps.h"

#include <QWidget>

namespace qx::app {

class ColorPanel : public QWidget, public qx::ControlProps<ColorPanel>
{
    Q_OBJECT

public:
    explicit ColorPanel(QWidget* parent = nullptr);
    ~ColorPanel() override;

    TColor Color() const { return m_color; }
    void SetColor(TColor value);
    QString Caption() const { return m_caption; }
    void SetCaption(const QString& value);
    TColor FontColor() const { return m_fontColor; }
    void SetFontColor(TColor value);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TColor m_color = clBtnFace;
    TColor m_fontColor = clWindowText;
    QString m_caption;
};

} // namespace qx::app
