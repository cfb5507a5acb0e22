// Helpers of the query definition tests: image bytes written by hand in the stream's encoding,
// a report table, a definition with every value set, and a comparison value by value.
#pragma once

#include "control/uQxQueryControl.h"

#include "platform/db/Fields.h"
#include "platform/db/QxMemTable.h"
#include "platform/stream/PublishedProperties.h"

#include <QByteArray>
#include <QMetaProperty>
#include <QString>

#include <gtest/gtest.h>

#include <memory>

namespace qxtest {

// ---- image bytes -------------------------------------------------------------------------

inline QByteArray le32(quint32 v)
{
    QByteArray out(4, '\0');
    for (int i = 0; i < 4; ++i)
        out[i] = char((v >> (8 * i)) & 0xFF);
    return out;
}

// A length byte and the bytes (class, component and property names).
inline QByteArray shortBytes(const QByteArray& bytes) { return char(bytes.size()) + bytes; }

// Typed values.
inline QByteArray str(const QByteArray& ascii) { return '\x06' + shortBytes(ascii); }
inline QByteArray longStr(const QByteArray& ascii) { return '\x0C' + le32(quint32(ascii.size())) + ascii; }
inline QByteArray wideStr(const QString& text)
{
    QByteArray units;
    for (const QChar c : text) {
        units += char(c.unicode() & 0xFF);
        units += char(c.unicode() >> 8);
    }
    return '\x12' + le32(quint32(text.size())) + units;
}
inline QByteArray int8(qint8 v) { return QByteArray("\x02") + char(v); }
inline QByteArray int16(qint16 v) { return QByteArray("\x03") + char(v & 0xFF) + char((v >> 8) & 0xFF); }
inline QByteArray int32(qint32 v) { return '\x04' + le32(quint32(v)); }
inline QByteArray boolean(bool v) { return QByteArray(1, v ? '\x09' : '\x08'); }
inline QByteArray ident(const QByteArray& name) { return '\x07' + shortBytes(name); }

// A property: its name and its typed value.
inline QByteArray prop(const QByteArray& name, const QByteArray& value) { return shortBytes(name) + value; }
// A collection value of items, each a run of properties.
inline QByteArray collection(const QList<QByteArray>& items)
{
    QByteArray out("\x0E");
    for (const QByteArray& item : items)
        out += '\x01' + item + '\0';
    return out + '\0';
}
// One component image: signature, class, name, properties, children.
inline QByteArray image(const QByteArray& className, const QByteArray& name, const QByteArray& props,
                        const QByteArray& children = {})
{
    return "TPF0" + shortBytes(className) + shortBytes(name) + props + '\0' + children + '\0';
}
// A child component inside an image (no signature).
inline QByteArray child(const QByteArray& className, const QByteArray& name, const QByteArray& props)
{
    return shortBytes(className) + shortBytes(name) + props + '\0' + '\0';
}

// ---- report table ------------------------------------------------------------------------

// The report table as the report centre opens it, named as its dataset is.
inline std::unique_ptr<TQxMemTable> makeReportTable(bool withRow = true)
{
    auto table = std::make_unique<TQxMemTable>();
    table->setObjectName(QStringLiteral("QryReport"));
    table->FieldDefs()->Add(QStringLiteral("ReportName"), ftString, 40);
    table->FieldDefs()->Add(QStringLiteral("ReportDB"), ftBlob);
    table->Open();
    if (withRow) {
        table->Append();
        table->FieldByName(QStringLiteral("ReportName"))->SetAsString(QStringLiteral("维修明细"));
        table->Post();
    }
    return table;
}

inline QByteArray reportBlob(TDataSet& table) { return table.FieldByName(QStringLiteral("ReportDB"))->AsBytes(); }

inline void setReportBlob(TDataSet& table, const QByteArray& bytes)
{
    table.Edit();
    table.FieldByName(QStringLiteral("ReportDB"))->SetAsBytes(bytes);
    table.Post();
}

// ---- definitions -------------------------------------------------------------------------

// Gives every published value of the definition a value of its own, `tag` making them differ
// between definitions: two items in each list, the table list, the reference.
inline void fillDefinition(TQxQueryControl& q, const QString& tag, TDataSet* reportData)
{
    auto text = [&](const char* base) { return QString::fromUtf8(base) + tag; };
    for (int n = 0; n < 2; ++n) {
        auto* d = q.DataSections()->Add();
        d->SetFieldName(text("Amount") + QString::number(n));
        d->SetTitleLen(80 + n);
        d->SetVisible(n == 0);
        d->SetIsMoney(n == 1);
        auto* f = q.FieldSections()->Add();
        f->SetFieldName(text("BillNo") + QString::number(n));
        f->SetCFieldName(text("单号") + QString::number(n));
        f->SetTableName(text("tRepair"));
        f->SetCTableName(text("维修单"));
        f->SetFieldType(text("Char"));
        f->SetVisible(n == 1);
        auto* c = q.CalcFieldSections()->Add();
        c->SetFieldName(text("Net") + QString::number(n));
        c->SetExpression(text("[维修单.金额]*") + QString::number(n));
        auto* j = q.JoinSections()->Add();
        j->SetSTableName(text("维修单"));
        j->SetSFieldName(text("单号"));
        j->SetDTableName(text("配件"));
        j->SetDFieldName(text("单号") + QString::number(n));
        j->SetLogicChar(text("等于"));
        auto* k = q.Conditions()->Add();
        k->SetFieldName(text("日期"));
        k->SetTableName(text("维修单"));
        k->SetOperateChar(text("大于"));
        k->SetLogicalChar(text("并且"));
        k->SetFieldValue(text("2024-01-0") + QString::number(n + 1));
        k->SetInputType(text("BGetDate"));
        auto* s = q.SumFieldSections()->Add();
        s->SetFieldName(text("金额") + QString::number(n));
        s->SetTableName(text("维修单"));
        s->SetFieldValue(text("合计"));
        auto* p = q.SQLConditions()->Add();
        p->SetFieldName(text("@@Date") + QString::number(n));
        p->SetCFieldName(text("日期"));
        p->SetFieldType(text("DateTime"));
        p->SetFieldValue(text("Today"));
        p->SetParName(text("Date>=:Date"));
        p->SetInputType(text("x"));
        auto* gs = q.GroupSumSections()->Add();
        gs->SetFieldName(text("Amount") + QString::number(n));
        gs->SetLogicSQL(text("sum(Amount)"));
        gs->SetSumType(text("Sum"));
        auto* g = q.GroupFieldSections()->Add();
        g->SetFieldName(text("Worker") + QString::number(n));
        g->SetCFieldName(text("Worker") + QString::number(n));
        g->SetdisFieldName(text("BillNo"));
        g->SetCdisFieldName(text("BillNo"));
        g->SetPreFix(text("维修工:"));
        g->SetFieldLen(300 + n);
        auto* x = q.JCSections()->Add();
        x->SetJCName(text("Cash") + QString::number(n));
        x->SetJCCondition(text("PayType='现金'"));
        x->SetJCResult(text("Amount"));
        auto* call = q.CallSections()->Add();
        call->SetCallName(text("明细") + QString::number(n));
        call->SetCallType(text("子报表"));
        call->SetSCondition(text("BillNo"));
        call->SetDCondition(text("@@BillNo"));
    }
    q.SetTableNameList({text("维修单"), text("Parts")});
    q.SetReportData(reportData);
    q.SetQueryIndex(1);
    q.SetAnalyzerSQL(text("select * from tRepair where Date>=@@Date"));
    q.SetJCKeyfields(text("BillNo"));
    q.SetJCField(text("Worker"));
    q.SetJCResultField(text("Amount"));
    q.SetJCSum(true);
    q.SetJCType(2);
    q.SetGSSum(true);
}

// The published values of two objects of one class, compared one by one; lists item by item.
// Names in `skip` (Class.Property) are left out.
inline void expectSameValues(const QObject* want, const QObject* got, const QString& path = {},
                             const QStringList& skip = {})
{
    ASSERT_EQ(want->metaObject(), got->metaObject()) << path.toStdString();
    const QMetaObject* mo = want->metaObject();
    for (const QMetaProperty& p : qx::publishedProperties(mo)) {
        if (mo->inherits(&TQxQueryControl::staticMetaObject)
            && p.propertyIndex() < TQxQueryControl::staticMetaObject.propertyOffset())
            continue; // the memory table's own state
        const QString name = QString::fromLatin1(mo->className()) + u'.' + QString::fromLatin1(p.name());
        if (skip.contains(name))
            continue;
        const QString where = path + u'/' + QString::fromLatin1(p.name());
        const QVariant a = p.read(want);
        const QVariant b = p.read(got);
        if (const auto* ca = qobject_cast<const qx::Collection*>(a.value<QObject*>())) {
            const auto* cb = qobject_cast<const qx::Collection*>(b.value<QObject*>());
            ASSERT_TRUE(cb) << where.toStdString();
            ASSERT_EQ(ca->count(), cb->count()) << where.toStdString();
            for (int i = 0; i < ca->count(); ++i)
                expectSameValues(ca->item(i), cb->item(i), where + u'[' + QString::number(i) + u']', skip);
        } else {
            EXPECT_EQ(a, b) << where.toStdString();
        }
    }
}

} // namespace qxtest
