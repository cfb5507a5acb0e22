// Components for the stream tests: a non-visual query definition and a small control.
#pragma once

#include "platform/stream/ClassRegistry.h"

#include <QWidget>

class TQxQueryControl : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int Tag MEMBER Tag)
    Q_PROPERTY(QString SQL MEMBER SQL)
    Q_CLASSINFO("QxDefaults", "Tag=0")
public:
    explicit TQxQueryControl(QObject* parent = nullptr)
        : QObject(parent)
    {}
    int Tag = 0;
    QString SQL;
};

class TTestEdit : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int Tag MEMBER Tag)
    Q_PROPERTY(QString Text MEMBER Text)
    Q_CLASSINFO("QxDefaults", "Tag=0")
public:
    explicit TTestEdit(QWidget* parent = nullptr)
        : QWidget(parent)
    {}
    int Tag = 0;
    QString Text;
};

// Registered only by the tests that need it (in OnRegister).
class TLateClass : public QObject
{
    Q_OBJECT
public:
    explicit TLateClass(QObject* parent = nullptr)
        : QObject(parent)
    {}
};
