// Small component classes that hold one property of each stored kind, for the image tests.
#pragma once

#include "platform/stream/ClassRegistry.h"
#include "platform/stream/Persistent.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QStringList>

class TTestFont : public qx::PersistentObject
{
    Q_OBJECT
    Q_PROPERTY(int Color MEMBER Color)
    Q_PROPERTY(int Height MEMBER Height)
    Q_PROPERTY(QString Name MEMBER Name)
    Q_CLASSINFO("QxDefaults", "Color=clWindowText;Height=-12")
    Q_CLASSINFO("QxIntegerKinds", "Color=TColor")
public:
    using qx::PersistentObject::PersistentObject;
    int Color = int(0x80000008);
    int Height = -12;
    QString Name;
};

class TTestColumn : public qx::CollectionItem
{
    Q_OBJECT
    Q_PROPERTY(QString FieldName MEMBER FieldName)
    Q_PROPERTY(int Width MEMBER Width)
    Q_PROPERTY(bool Visible MEMBER Visible)
    Q_CLASSINFO("QxDefaults", "Width=64;Visible=true")
public:
    using qx::CollectionItem::CollectionItem;
    QString FieldName;
    int Width = 64;
    bool Visible = true;
};

class TTestColumns : public qx::Collection
{
    Q_OBJECT
public:
    explicit TTestColumns(QObject* parent = nullptr)
        : qx::Collection([](qx::Collection* c) { return new TTestColumn(c); }, parent)
    {}
    TTestColumn* column(int i) const { return static_cast<TTestColumn*>(item(i)); }
};

// Stores its columns only when it has some, through the Streamable hook.
class TTestComponent : public QObject, public qx::Streamable
{
    Q_OBJECT
public:
    enum TAlignment { taLeftJustify, taRightJustify, taCenter };
    Q_ENUM(TAlignment)
    enum TFontStyle { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
    Q_DECLARE_FLAGS(TFontStyles, TFontStyle)
    Q_FLAG(TFontStyles)

private:
    Q_PROPERTY(int Tag MEMBER Tag)
    Q_PROPERTY(int Small MEMBER Small)
    Q_PROPERTY(int Medium MEMBER Medium)
    Q_PROPERTY(int Large MEMBER Large)
    Q_PROPERTY(qlonglong Huge MEMBER Huge)
    Q_PROPERTY(double Ratio MEMBER Ratio)
    Q_PROPERTY(QString Code MEMBER Code)
    Q_PROPERTY(QString Caption MEMBER Caption)
    Q_PROPERTY(bool Flag MEMBER Flag)
    Q_PROPERTY(TAlignment Alignment MEMBER Alignment)
    Q_PROPERTY(TFontStyles Style READ getStyle WRITE setStyle)
    Q_PROPERTY(int Color MEMBER Color)
    Q_PROPERTY(QStringList Items MEMBER Items)
    Q_PROPERTY(QByteArray Data MEMBER Data)
    Q_PROPERTY(TTestFont* Font READ Font)
    Q_PROPERTY(TTestColumns* Columns READ Columns)
    Q_PROPERTY(QObject* Link READ Link WRITE setLink)
    Q_PROPERTY(int Hidden MEMBER Hidden STORED false)
    Q_CLASSINFO("QxDefaults", "Tag=0;Small=0;Medium=0;Large=0;Flag=false;"
                              "Alignment=taLeftJustify;Style=[];Color=clBlack;Hidden=0")
    Q_CLASSINFO("QxIntegerKinds", "Color=TColor")

public:
    explicit TTestComponent(QObject* parent = nullptr)
        : QObject(parent)
    {}

    TTestFont* Font() const { return m_font; }
    TTestColumns* Columns() const { return m_columns; }
    QObject* Link() const { return m_link; }
    std::optional<bool> isPropertyStored(const char* name) const override
    {
        if (qstrcmp(name, "Columns") == 0)
            return m_columns->count() > 0;
        return std::nullopt;
    }
    TFontStyles getStyle() const { return Style; }
    void setStyle(TFontStyles s) { Style = s; }
    void setLink(QObject* link) { m_link = link; }

    int Tag = 0;
    int Small = 0;
    int Medium = 0;
    int Large = 0;
    qlonglong Huge = 0;
    double Ratio = 0;
    QString Code;
    QString Caption;
    bool Flag = false;
    TAlignment Alignment = taLeftJustify;
    TFontStyles Style;
    int Color = 0;
    QStringList Items;
    QByteArray Data;
    int Hidden = 0;

private:
    TTestFont* m_font = new TTestFont(this);
    TTestColumns* m_columns = new TTestColumns(this);
    QPointer<QObject> m_link;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TTestComponent::TFontStyles)

// A second class, for renaming and unknown-class cases.
class TQxQueryControl : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString SQL MEMBER SQL)
public:
    explicit TQxQueryControl(QObject* parent = nullptr)
        : QObject(parent)
    {}
    QString SQL;
};

// Registers the classes above once.
inline void registerTestClasses()
{
    qx::registerClass<TTestComponent>();
    qx::registerClass<TQxQueryControl>();
}
