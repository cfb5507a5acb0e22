// The event types of the library's controls and forms, with the platform's arguments, Sender
// first. Handlers are std::function members; code tests `if (OnX)` where an assigned handler
// changes what a control does.
#pragma once

#include "platform/ui/Keys.h"

#include <QChar>

#include <functional>

class QObject;

enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TCloseAction { caNone, caHide, caFree, caMinimize };

using TNotifyEvent = std::function<void(QObject* Sender)>;
using TKeyEvent = std::function<void(QObject* Sender, int& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(QObject* Sender, QChar& Key)>;
using TMouseEvent =
    std::function<void(QObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(QObject* Sender, TShiftState Shift, int X, int Y)>;
using TCloseEvent = std::function<void(QObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(QObject* Sender, bool& CanClose)>;
