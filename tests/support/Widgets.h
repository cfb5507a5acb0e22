// Small helpers the widget tests of several folders share: the scripted dialog service made
// ready for a test, mouse and hover events as the window system delivers them, and plain
// pictures.
#pragma once

#include "platform/env/ScriptedDialogService.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QColor>
#include <QEnterEvent>
#include <QImage>
#include <QTest>
#include <QWidget>
#include <QWindow>

namespace qx::test {

// The installed scripted dialog service, emptied of earlier answers and records.
inline ScriptedDialogService& script()
{
    ScriptedDialogService* s = ScriptedDialogService::current();
    EXPECT_NE(s, nullptr);
    s->clear();
    return *s;
}

// A double click as the window system delivers it: press, release, double click, release.
inline void doubleClick(QWidget* w, const QPoint& pos)
{
    QWidget* top = w->window();
    QTest::mouseDClick(top->windowHandle(), Qt::LeftButton, {}, w->mapTo(top, pos));
}

// The mouse entering and leaving a widget.
inline void sendEnter(QWidget* w)
{
    QEnterEvent e(QPointF(1, 1), QPointF(1, 1), w->mapToGlobal(QPointF(1, 1)));
    QApplication::sendEvent(w, &e);
}

inline void sendLeave(QWidget* w)
{
    QEvent e(QEvent::Leave);
    QApplication::sendEvent(w, &e);
}

// A picture of one colour.
inline QImage solid(int w, int h, QColor c)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

} // namespace qx::test
