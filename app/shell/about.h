// Taboutform: the about window, a borderless white window at the centre of the screen filled
// by the product's picture (drawn here, with a visible edge) and the build label. A click or
// Esc closes it.
#pragma once

#include <QDialog>

class QLabel;

class Taboutform : public QDialog
{
    Q_OBJECT

public:
    explicit Taboutform(QWidget* parent = nullptr);
    ~Taboutform() override;

    QLabel* const Image1;
    QLabel* const Label1; // the build label

protected:
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};
