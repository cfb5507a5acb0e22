#include "platform/db/sql/ADOParameters.h"

#include "platform/db/sql/SqliteStatement.h"
#include "platform/rtl/Currency.h"
#include "platform/rtl/DateTime.h"

#include <QDate>
#include <QDateTime>

#include <cmath>

#include <sqlite3.h>

namespace {

bool holdsCurrency(const QVariant& v)
{
    return v.metaType() == QMetaType::fromType<Currency>();
}

bool holdsDateTime(const QVariant& v)
{
    return v.metaType() == QMetaType::fromType<TDateTime>();
}

TFieldType typeOfVariant(const QVariant& v)
{
    if (holdsCurrency(v))
        return ftCurrency;
    if (holdsDateTime(v))
        return ftDateTime;
    switch (v.typeId()) {
    case QMetaType::Bool:
        return ftBoolean;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
        return ftInteger;
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
        return ftLargeint;
    case QMetaType::Double:
    case QMetaType::Float:
        return ftFloat;
    case QMetaType::QDate:
        return ftDate;
    case QMetaType::QDateTime:
        return ftDateTime;
    case QMetaType::QTime:
        return ftTime;
    case QMetaType::QByteArray:
        return ftBlob;
    case QMetaType::QString:
        return ftString;
    default:
        return ftUnknown;
    }
}

[[noreturn]] void cannotConvert(const TParameter& p)
{
    throw EDatabaseError(QStringLiteral("Parameter '%1': the value '%2' is not a valid %3")
                             .arg(p.Name(), p.Value().toString(), FieldTypeName(p.DataType())));
}

// A date parameter may hold a QDate, a QDateTime, a TDateTime number or a date text.
QDateTime toDateTime(const TParameter& p)
{
    const QVariant& v = p.Value();
    if (holdsDateTime(v))
        return v.value<TDateTime>().toQDateTime();
    if (holdsCurrency(v))
        return TDateTime(v.value<Currency>().toDouble()).toQDateTime();
    switch (v.typeId()) {
    case QMetaType::QDate:
        return v.toDate().startOfDay();
    case QMetaType::QDateTime:
        return v.toDateTime();
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::LongLong:
        return TDateTime(v.toDouble()).toQDateTime();
    default: {
        const QString text = v.toString().trimmed();
        for (const QString& f : {QStringLiteral("yyyy-MM-dd HH:mm:ss"), QStringLiteral("yyyy-MM-dd HH:mm"),
                                 QStringLiteral("yyyy-M-d H:m:s"), QStringLiteral("yyyy-M-d H:m")}) {
            const QDateTime dt = QDateTime::fromString(text, f);
            if (dt.isValid())
                return dt;
        }
        for (const QString& f : {QStringLiteral("yyyy-MM-dd"), QStringLiteral("yyyy-M-d"),
                                 QStringLiteral("yyyy/M/d")}) {
            const QDate d = QDate::fromString(text, f);
            if (d.isValid())
                return d.startOfDay();
        }
        cannotConvert(p);
    }
    }
}

} // namespace

void TParameter::setValue(const QVariant& value)
{
    m_value = value;
    if (m_dataType == ftUnknown)
        m_dataType = typeOfVariant(value);
}

QVariant TParameter::boundValue() const
{
    if (IsNull())
        return QVariant();
    bool ok = true;
    switch (m_dataType) {
    case ftBoolean: {
        // Yes/No columns hold 0 and 1; a true value from an old -1 convention binds as 1 too.
        if (m_value.typeId() == QMetaType::QString) {
            const QString s = m_value.toString().trimmed();
            if (s.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0 || s == u"是")
                return QVariant(1);
            if (s.compare(QStringLiteral("false"), Qt::CaseInsensitive) == 0 || s == u"否")
                return QVariant(0);
            const double d = s.toDouble(&ok);
            if (!ok)
                cannotConvert(*this);
            return QVariant(d != 0 ? 1 : 0);
        }
        return QVariant(m_value.toBool() ? 1 : 0);
    }
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftLargeint:
    case ftAutoInc: {
        if (holdsCurrency(m_value)) {
            // A whole amount is a whole number; a fraction is not cut off silently.
            const Currency c = m_value.value<Currency>();
            if (c.raw() % 10000 != 0)
                cannotConvert(*this);
            return QVariant(qlonglong(c.raw() / 10000));
        }
        if (holdsDateTime(m_value))
            cannotConvert(*this);
        const qlonglong v = m_value.toLongLong(&ok);
        if (!ok) {
            const double d = m_value.toDouble(&ok);
            if (!ok || d != std::floor(d))
                cannotConvert(*this);
            return QVariant(qlonglong(d));
        }
        return QVariant(v);
    }
    case ftFloat:
    case ftCurrency:
    case ftBCD: {
        // Money binds as the number the money columns hold, exactly as the datasets write it.
        if (holdsCurrency(m_value))
            return QVariant(m_value.value<Currency>().toDouble());
        if (holdsDateTime(m_value))
            cannotConvert(*this);
        const double d = m_value.typeId() == QMetaType::QString
                             ? m_value.toString().trimmed().toDouble(&ok)
                             : m_value.toDouble(&ok);
        if (!ok)
            cannotConvert(*this);
        return QVariant(d);
    }
    case ftDate:
        return QVariant(toDateTime(*this).date());
    case ftDateTime:
        return QVariant(toDateTime(*this));
    case ftTime:
        if (m_value.typeId() == QMetaType::QTime)
            return m_value;
        return QVariant(toDateTime(*this).time());
    case ftBlob:
    case ftGraphic:
    case ftBytes:
    case ftVarBytes:
    case ftTypedBinary:
        return QVariant(m_value.toByteArray());
    case ftString:
    case ftMemo:
    case ftFmtMemo:
    case ftFixedChar:
    case ftWideString:
        // Money and dates as the database stores them: "12.5", "2006-03-05[ 10:20:30]".
        if (holdsCurrency(m_value))
            return QVariant(m_value.value<Currency>().toString());
        if (holdsDateTime(m_value))
            return QVariant(qx::sqlDateText(m_value.value<TDateTime>().toQDateTime()));
        return QVariant(m_value.toString());
    default:
        return m_value;
    }
}

TParameter* TParameters::FindParam(const QString& name) const
{
    for (const auto& p : m_items)
        if (p->Name().compare(name, Qt::CaseInsensitive) == 0)
            return p.get();
    return nullptr;
}

TParameter& TParameters::ParamByName(const QString& name) const
{
    TParameter* p = FindParam(name);
    if (!p)
        throw EDatabaseError(QStringLiteral("Parameter '%1' not found").arg(name));
    return *p;
}

TParameter& TParameters::AddParameter(const QString& name)
{
    m_items.push_back(std::make_unique<TParameter>(name));
    return *m_items.back();
}

void TParameters::Rebuild(const QStringList& names)
{
    std::vector<std::unique_ptr<TParameter>> items;
    for (const QString& name : names) {
        auto it = std::find_if(m_items.begin(), m_items.end(), [&](const auto& p) {
            return p && p->Name().compare(name, Qt::CaseInsensitive) == 0;
        });
        if (it != m_items.end())
            items.push_back(std::move(*it));
        else
            items.push_back(std::make_unique<TParameter>(name));
    }
    m_items = std::move(items);
}

void TParameters::BindTo(sqlite3* db, sqlite3_stmt* stmt) const
{
    const int count = sqlite3_bind_parameter_count(stmt);
    for (int i = 1; i <= count; ++i) {
        // A statement of a longer script may use only some of the numbers.
        if (!sqlite3_bind_parameter_name(stmt, i))
            continue;
        const QVariant value = i <= Count() ? m_items[std::size_t(i - 1)]->boundValue() : QVariant();
        qx::bindVariant(db, stmt, i, value);
    }
}
