// Helpers of the combo box tests: a shown form to put controls on, focus moves that wait for
// Qt to deliver them, and pixel checks of a grabbed control.
#pragma once

#include "platform/ui/Colors.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace combotest {

inline std::unique_ptr<QWidget> makeForm()
{
    auto form = std::make_unique<QWidget>();
    form->resize(400, 300);
    return form;
}

inline void showForm(QWidget* form)
{
    form->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form));
    QApplication::setActiveWindow(form);
    QApplication::processEvents();
}

inline void focus(QWidget* form, QWidget* w)
{
    QApplication::processEvents();
    QApplication::setActiveWindow(form);
    w->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_TRUE(w->hasFocus());
}

// Types text of any script as key presses carrying the characters (QTest's own typing knows
// only Latin-1 keys).
inline void typeText(QWidget* w, const QString& text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

inline QColor pixel(const QImage& image, int x, int y)
{
    return QColor(image.pixel(x, y));
}

inline bool sameColor(const QColor& a, TColor b)
{
    return a.rgb() == toQColor(b).rgb();
}

// The darkest pixel of a rectangle (by its grey level) and how many pixels differ from bg.
struct InkSummary
{
    int darkest = 255;
    int inked = 0;
};

inline InkSummary ink(const QImage& image, const QRect& r, const QColor& bg)
{
    InkSummary s;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QColor c(image.pixel(x, y));
            if (c.rgb() == bg.rgb())
                continue;
            ++s.inked;
            s.darkest = qMin(s.darkest, qGray(c.rgb()));
        }
    return s;
}

} // namespace combotest
