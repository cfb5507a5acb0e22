#include "platform/db/Fields.h"

#include "platform/db/DataSet.h"
#include "platform/rtl/SafeSave.h"
#include "platform/rtl/SysUtils.h"

#include <QFile>

#include <cmath>

// ---- TField ------------------------------------------------------------------------------

TField::TField(QObject* owner) : QObject(owner) {}

TField::~TField()
{
    if (TDataSet* ds = m_dataSet.data()) {
        ds->m_fields.Remove(this);
        if (ds->Active())
            ds->DataEvent(deLayoutChange);
    }
}

void TField::SetDataSet(TDataSet* dataSet)
{
    if (dataSet == m_dataSet)
        return;
    if (m_dataSet)
        m_dataSet->CheckInactive();
    if (dataSet)
        dataSet->CheckInactive();
    if (m_dataSet)
        m_dataSet->m_fields.Remove(this);
    if (dataSet)
        dataSet->m_fields.Add(this);
}

void TField::SetFieldName(const QString& name)
{
    m_fieldName = name;
}

void TField::SetDisplayLabel(const QString& label)
{
    m_displayLabel = label == m_fieldName ? QString() : label;
    if (m_dataSet && m_dataSet->Active())
        m_dataSet->DataEvent(deLayoutChange);
}

int TField::DisplayWidth() const
{
    return m_displayWidth > 0 ? m_displayWidth : DefaultWidth();
}

void TField::SetDisplayWidth(int width)
{
    m_displayWidth = width;
    if (m_dataSet && m_dataSet->Active())
        m_dataSet->DataEvent(deLayoutChange);
}

void TField::SetDisplayFormat(const QString& format)
{
    m_displayFormat = format;
    if (m_dataSet && m_dataSet->Active())
        m_dataSet->DataEvent(deDataSetChange);
}

void TField::SetEditFormat(const QString& format)
{
    m_editFormat = format;
}

void TField::SetAlignment(TAlignment a)
{
    m_alignment = a;
    if (m_dataSet && m_dataSet->Active())
        m_dataSet->DataEvent(deLayoutChange);
}

void TField::SetVisible(bool v)
{
    if (m_visible == v)
        return;
    m_visible = v;
    if (m_dataSet && m_dataSet->Active())
        m_dataSet->DataEvent(deLayoutChange);
}

void TField::SetSize(int size)
{
    if (m_dataSet)
        m_dataSet->CheckInactive();
    m_size = std::max(0, size);
}

int TField::Index() const
{
    return m_dataSet ? m_dataSet->m_fields.IndexOf(this) : -1;
}

void TField::SetIndex(int index)
{
    if (!m_dataSet)
        return;
    std::vector<TField*>& list = m_dataSet->m_fields.m_list;
    const int from = m_dataSet->m_fields.IndexOf(this);
    if (from < 0)
        return;
    index = std::clamp(index, 0, int(list.size()) - 1);
    if (index == from)
        return;
    list.erase(list.begin() + from);
    list.insert(list.begin() + index, this);
    if (m_dataSet->Active())
        m_dataSet->FieldIndexChanged();
}

void TField::SetFieldKind(TFieldKind kind)
{
    if (m_dataSet)
        m_dataSet->CheckInactive();
    m_fieldKind = kind;
}

void TField::SetLookupDataSet(TDataSet* ds)
{
    if (m_dataSet)
        m_dataSet->CheckInactive();
    m_lookupDataSet = ds;
}

QVariant TField::Cell() const
{
    if (!m_dataSet)
        DatabaseError(QStringLiteral("Field '%1' has no dataset").arg(DisplayName()));
    return m_dataSet->ReadCell(this);
}

void TField::SetCell(const QVariant& cell)
{
    if (!m_dataSet)
        DatabaseError(QStringLiteral("Field '%1' has no dataset").arg(DisplayName()));
    m_dataSet->WriteCell(this, cell);
}

void TField::ConversionError(const QString& typeName) const
{
    DatabaseError(QStringLiteral("Cannot access field '%1' as type %2").arg(DisplayName(), typeName));
}

bool TField::IsNull() const
{
    const QVariant c = Cell();
    return !c.isValid() || c.isNull();
}

void TField::Clear()
{
    SetCell(QVariant());
}

QVariant TField::ToCell(const QVariant& v) const
{
    return v;
}

QVariant TField::FromCell(const QVariant& cell) const
{
    return cell;
}

QString TField::GetAsString() const
{
    return Cell().toString();
}

void TField::SetAsStringImpl(const QString& v)
{
    SetCell(ToCell(v));
}

int TField::GetAsInteger() const { ConversionError(QStringLiteral("Integer")); }
void TField::SetAsIntegerImpl(int v) { SetCell(ToCell(QVariant(v))); }
double TField::GetAsFloat() const { ConversionError(QStringLiteral("Float")); }
void TField::SetAsFloatImpl(double v) { SetCell(ToCell(QVariant(v))); }
Currency TField::GetAsCurrency() const { return Currency::fromDouble(GetAsFloat()); }
void TField::SetAsCurrencyImpl(Currency v) { SetAsFloatImpl(v.toDouble()); }
bool TField::GetAsBoolean() const { ConversionError(QStringLiteral("Boolean")); }
void TField::SetAsBooleanImpl(bool v) { SetCell(ToCell(QVariant(v))); }
TDateTime TField::GetAsDateTime() const { ConversionError(QStringLiteral("DateTime")); }
void TField::SetAsDateTimeImpl(TDateTime v) { SetCell(ToCell(QVariant(v.Val))); }

QVariant TField::GetAsVariant() const
{
    return FromCell(Cell());
}

void TField::SetAsVariantImpl(const QVariant& v)
{
    SetCell(ToCell(v));
}

QByteArray TField::AsBytes() const
{
    const QVariant c = Cell();
    if (c.typeId() == QMetaType::QByteArray)
        return c.toByteArray();
    return c.toString().toUtf8();
}

void TField::SetAsBytes(const QByteArray& v)
{
    if (StorageKind() == qx::RecordStore::Kind::Blob)
        SetCell(v.isEmpty() ? QVariant() : QVariant(v));
    else
        SetCell(ToCell(QString::fromUtf8(v)));
}

void TField::GetText(QString& text, bool /*displayText*/) const
{
    text = GetAsString();
}

QString TField::Text() const
{
    QString t;
    if (OnGetText)
        OnGetText(const_cast<TField*>(this), t, false);
    else
        GetText(t, false);
    return t;
}

QString TField::DisplayText() const
{
    QString t;
    if (OnGetText)
        OnGetText(const_cast<TField*>(this), t, true);
    else
        GetText(t, true);
    return t;
}

void TField::SetText(const QString& text)
{
    if (OnSetText)
        OnSetText(this, text);
    else
        SetAsString(text);
}

bool TField::IsValidChar(QChar) const
{
    return true;
}

void TField::FocusControl()
{
    if (m_dataSet)
        m_dataSet->FocusControlOf(this);
}

bool TField::CanModify() const
{
    if (m_readOnly || !m_dataSet || !m_dataSet->CanModify())
        return false;
    if (Calculated())
        return false;
    if (Lookup()) {
        for (const QString& k : m_keyFields.split(u';', Qt::SkipEmptyParts)) {
            TField* f = m_dataSet->FindField(k.trimmed());
            if (!f || !f->CanModify())
                return false;
        }
    }
    return true;
}

// ---- helpers ----------------------------------------------------------------------------

namespace {

bool isNullVariant(const QVariant& v)
{
    return !v.isValid() || v.isNull();
}

bool isTextVariant(const QVariant& v)
{
    return v.typeId() == QMetaType::QString || v.typeId() == QMetaType::QByteArray;
}

bool isNumberChar(QChar ch)
{
    return ch.isDigit() || ch == u'+' || ch == u'-';
}

// Money text as users type it: a currency sign and thousands separators are allowed.
QString plainNumberText(const QString& text)
{
    QString t = Trim(text);
    t.remove(FormatSettings().CurrencyString);
    t.remove(FormatSettings().ThousandSeparator);
    return t.trimmed();
}

} // namespace

// ---- TStringField -----------------------------------------------------------------------

TStringField::TStringField(QObject* owner) : TField(owner)
{
    SetSize(20);
}

QVariant TStringField::ToCell(const QVariant& v) const
{
    if (isNullVariant(v))
        return QVariant();
    QString s;
    if (v.typeId() == QMetaType::Bool)
        s = v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    else if (v.typeId() == QMetaType::Double)
        s = FloatToStr(v.toDouble());
    else if (v.typeId() == QMetaType::QDateTime)
        s = DateTimeToStr(TDateTime::fromQDateTime(v.toDateTime()));
    else if (v.typeId() == QMetaType::QDate)
        s = DateToStr(TDateTime::fromQDate(v.toDate()));
    else
        s = v.toString();
    // An empty text is no value, as the database layer has always treated it.
    if (s.isEmpty())
        return QVariant();
    if (Size() > 0 && s.size() > Size())
        s.truncate(Size());
    return QVariant(s);
}

QString TStringField::GetAsString() const
{
    return Cell().toString();
}

void TStringField::SetAsStringImpl(const QString& v)
{
    SetCell(ToCell(QVariant(v)));
}

int TStringField::GetAsInteger() const
{
    const QString s = GetAsString();
    return s.isEmpty() ? 0 : StrToInt(s);
}

double TStringField::GetAsFloat() const
{
    const QString s = GetAsString();
    return s.isEmpty() ? 0.0 : StrToFloat(s);
}

Currency TStringField::GetAsCurrency() const
{
    const QString s = GetAsString();
    return s.isEmpty() ? Currency() : StrToCurr(plainNumberText(s));
}

bool TStringField::GetAsBoolean() const
{
    const QString s = GetAsString();
    return !s.isEmpty() && QStringLiteral("TtYy1").contains(s.at(0));
}

void TStringField::SetAsBooleanImpl(bool v)
{
    SetAsStringImpl(v ? QStringLiteral("True") : QStringLiteral("False"));
}

TDateTime TStringField::GetAsDateTime() const
{
    const QString s = GetAsString();
    return s.isEmpty() ? TDateTime() : StrToDateTime(s);
}

// ---- TIntegerField ----------------------------------------------------------------------

TIntegerField::TIntegerField(QObject* owner) : TField(owner)
{
    SetAlignment(taRightJustify);
}

QVariant TIntegerField::ToCell(const QVariant& v) const
{
    if (isNullVariant(v))
        return QVariant();
    qint64 n = 0;
    if (isTextVariant(v)) {
        const QString s = Trim(v.toString());
        if (s.isEmpty())
            return QVariant();
        n = StrToInt64(s);
    } else if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float) {
        const double d = v.toDouble();
        if (!std::isfinite(d) || std::fabs(d) > 9.2e18)
            throw ERangeError(QStringLiteral("%1 is not a valid value for field '%2'").arg(FloatToStr(d), DisplayName()));
        n = Round(d);
    } else if (v.typeId() == QMetaType::Bool) {
        n = v.toBool() ? 1 : 0;
    } else {
        bool ok = false;
        n = v.toLongLong(&ok);
        if (!ok)
            throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(v.toString()));
    }
    if (n < MinValue() || n > MaxValue())
        throw ERangeError(QStringLiteral("%1 is not a valid value for field '%2'. The allowed range is %3 to %4")
                              .arg(n)
                              .arg(DisplayName())
                              .arg(MinValue())
                              .arg(MaxValue()));
    return QVariant(int(n));
}

bool TIntegerField::IsValidChar(QChar ch) const
{
    return isNumberChar(ch);
}

QString TIntegerField::GetAsString() const
{
    const QVariant c = Cell();
    return isNullVariant(c) ? QString() : QString::number(c.toInt());
}

void TIntegerField::SetAsStringImpl(const QString& v)
{
    SetCell(ToCell(QVariant(v)));
}

int TIntegerField::GetAsInteger() const
{
    return Cell().toInt();
}

double TIntegerField::GetAsFloat() const
{
    return Cell().toInt();
}

void TIntegerField::GetText(QString& text, bool displayText) const
{
    const QVariant c = Cell();
    if (isNullVariant(c)) {
        text.clear();
        return;
    }
    const QString fmt = displayText ? DisplayFormat() : EditFormat();
    text = fmt.isEmpty() ? QString::number(c.toInt()) : FormatFloat(fmt, c.toInt());
}

// ---- TLargeintField ---------------------------------------------------------------------

TLargeintField::TLargeintField(QObject* owner) : TField(owner)
{
    SetAlignment(taRightJustify);
}

QVariant TLargeintField::ToCell(const QVariant& v) const
{
    if (isNullVariant(v))
        return QVariant();
    if (isTextVariant(v)) {
        const QString s = Trim(v.toString());
        return s.isEmpty() ? QVariant() : QVariant(qlonglong(StrToInt64(s)));
    }
    if (v.typeId() == QMetaType::Double)
        return QVariant(qlonglong(Round(v.toDouble())));
    bool ok = false;
    const qlonglong n = v.toLongLong(&ok);
    if (!ok)
        throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(v.toString()));
    return QVariant(n);
}

QVariant TLargeintField::FromCell(const QVariant& cell) const
{
    return isNullVariant(cell) ? QVariant() : QVariant(cell.toLongLong());
}

bool TLargeintField::IsValidChar(QChar ch) const
{
    return isNumberChar(ch);
}

qint64 TLargeintField::AsLargeInt() const
{
    return Cell().toLongLong();
}

void TLargeintField::SetAsLargeInt(qint64 v)
{
    SetCell(QVariant(qlonglong(v)));
}

QString TLargeintField::GetAsString() const
{
    const QVariant c = Cell();
    return isNullVariant(c) ? QString() : QString::number(c.toLongLong());
}

void TLargeintField::SetAsStringImpl(const QString& v)
{
    SetCell(ToCell(QVariant(v)));
}

int TLargeintField::GetAsInteger() const
{
    const qlonglong n = Cell().toLongLong();
    if (n < INT32_MIN || n > INT32_MAX)
        throw ERangeError(QStringLiteral("%1 is not a valid value for an integer").arg(n));
    return int(n);
}

double TLargeintField::GetAsFloat() const
{
    return double(Cell().toLongLong());
}

void TLargeintField::GetText(QString& text, bool displayText) const
{
    const QVariant c = Cell();
    if (isNullVariant(c)) {
        text.clear();
        return;
    }
    const QString fmt = displayText ? DisplayFormat() : EditFormat();
    text = fmt.isEmpty() ? QString::number(c.toLongLong()) : FormatFloat(fmt, double(c.toLongLong()));
}

// ---- TFloatField ------------------------------------------------------------------------

TFloatField::TFloatField(QObject* owner) : TField(owner)
{
    SetAlignment(taRightJustify);
}

void TFloatField::SetCurrency(bool v)
{
    m_currency = v;
    if (DataSet() && DataSet()->Active())
        DataSet()->DataEvent(deDataSetChange);
}

QVariant TFloatField::ToCell(const QVariant& v) const
{
    if (isNullVariant(v))
        return QVariant();
    if (isTextVariant(v)) {
        const QString s = plainNumberText(v.toString());
        return s.isEmpty() ? QVariant() : QVariant(StrToFloat(s));
    }
    if (v.typeId() == QMetaType::Bool)
        return QVariant(v.toBool() ? 1.0 : 0.0);
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (!ok)
        throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(v.toString()));
    return QVariant(d);
}

bool TFloatField::IsValidChar(QChar ch) const
{
    return isNumberChar(ch) || ch == FormatSettings().DecimalSeparator || ch == u'E' || ch == u'e';
}

QString TFloatField::GetAsString() const
{
    const QVariant c = Cell();
    return isNullVariant(c) ? QString() : FloatToStr(c.toDouble());
}

void TFloatField::SetAsStringImpl(const QString& v)
{
    SetCell(ToCell(QVariant(v)));
}

int TFloatField::GetAsInteger() const
{
    return int(Round(Cell().toDouble()));
}

double TFloatField::GetAsFloat() const
{
    return Cell().toDouble();
}

Currency TFloatField::GetAsCurrency() const
{
    return Currency::fromDouble(GetAsFloat());
}

void TFloatField::GetText(QString& text, bool displayText) const
{
    const QVariant c = Cell();
    if (isNullVariant(c)) {
        text.clear();
        return;
    }
    const double d = GetAsFloat();
    const QString fmt = displayText ? DisplayFormat() : EditFormat();
    if (!fmt.isEmpty())
        text = FormatFloat(fmt, d);
    else if (m_currency)
        text = FormatFloat(QStringLiteral("0.00"), d);
    else
        text = FloatToStr(d);
}

// ---- TCurrencyField, TBCDField ----------------------------------------------------------

TCurrencyField::TCurrencyField(QObject* owner) : TFloatField(owner)
{
    SetCurrency(true);
}

TBCDField::TBCDField(QObject* owner) : TCurrencyField(owner)
{
    SetCurrency(false);
    SetSize(4);
}

QVariant TCurrencyField::ToCell(const QVariant& v) const
{
    if (isNullVariant(v))
        return QVariant();
    if (v.metaType() == QMetaType::fromType<Currency>())
        return QVariant(qlonglong(v.value<Currency>().raw()));
    if (isTextVariant(v)) {
        const QString s = plainNumberText(v.toString());
        return s.isEmpty() ? QVariant() : QVariant(qlonglong(StrToCurr(s).raw()));
    }
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::Short:
        return QVariant(qlonglong((Currency(1) * v.toLongLong()).raw()));
    case QMetaType::Bool:
        return QVariant(qlonglong(v.toBool() ? 10000 : 0));
    default:
        break;
    }
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (!ok)
        throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(v.toString()));
    return QVariant(qlonglong(Currency::fromDouble(d).raw()));
}

QVariant TCurrencyField::FromCell(const QVariant& cell) const
{
    return isNullVariant(cell) ? QVariant() : QVariant(Currency::fromRaw(cell.toLongLong()).toDouble());
}

QString TCurrencyField::GetAsString() const
{
    const QVariant c = Cell();
    return isNullVariant(c) ? QString() : Currency::fromRaw(c.toLongLong()).toString();
}

void TCurrencyField::SetAsStringImpl(const QString& v)
{
    SetCell(ToCell(QVariant(v)));
}

double TCurrencyField::GetAsFloat() const
{
    return Currency::fromRaw(Cell().toLongLong()).toDouble();
}

Currency TCurrencyField::GetAsCurrency() const
{
    return Currency::fromRaw(Cell().toLongLong());
}

void TCurrencyField::SetAsCurrencyImpl(Currency v)
{
    SetCell(QVariant(qlonglong(v.raw())));
}

void TCurrencyField::GetText(QString& text, bool displayText) const
{
    const QVariant c = Cell();
    if (isNullVariant(c)) {
        text.clear();
        return;
    }
    const Currency v = Currency::fromRaw(c.toLongLong());
    if (displayText) {
        text = FormatCurr(DisplayFormat().isEmpty() ? QStringLiteral("0.00") : DisplayFormat(), v);
        return;
    }
    if (!EditFormat().isEmpty())
        text = FormatCurr(EditFormat(), v);
    else if (v.raw() % 100 == 0)
        text = FormatCurr(QStringLiteral("0.00"), v);
    else
        text = v.toString(); // more than two decimals: the edit text keeps them all
}

// ---- TBooleanField ----------------------------------------------------------------------

TBooleanField::TBooleanField(QObject* owner) : TField(owner) {}

void TBooleanField::SetDisplayValues(const QString& v)
{
    m_displayValues = v;
    const QStringList parts = v.split(u';');
    m_trueText = parts.value(0);
    m_falseText = parts.value(1);
    if (m_trueText.isEmpty() && m_falseText.isEmpty()) {
        m_trueText = QStringLiteral("True");
        m_falseText = QStringLiteral("False");
    }
    if (DataSet() && DataSet()->Active())
        DataSet()->DataEvent(deDataSetChange);
}

QVariant TBooleanField::ToCell(const QVariant& v) const
{
    if (isNullVariant(v))
        return QVariant();
    if (isTextVariant(v)) {
        const QString s = Trim(v.toString());
        if (s.isEmpty())
            return QVariant();
        auto is = [&](const QString& t) { return !t.isEmpty() && s.compare(t, Qt::CaseInsensitive) == 0; };
        if (is(m_trueText) || is(QStringLiteral("True")) || is(QStringLiteral("T")) || is(QStringLiteral("Yes"))
            || is(QStringLiteral("Y")) || s == u'1')
            return QVariant(true);
        if (is(m_falseText) || is(QStringLiteral("False")) || is(QStringLiteral("F")) || is(QStringLiteral("No"))
            || is(QStringLiteral("N")) || s == u'0')
            return QVariant(false);
        throw EConvertError(QStringLiteral("'%1' is not a valid boolean value for field '%2'").arg(s, DisplayName()));
    }
    if (v.typeId() == QMetaType::Bool)
        return v;
    return QVariant(v.toDouble() != 0.0);
}

QString TBooleanField::GetAsString() const
{
    QString t;
    GetText(t, true);
    return t;
}

void TBooleanField::SetAsStringImpl(const QString& v)
{
    SetCell(ToCell(QVariant(v)));
}

bool TBooleanField::GetAsBoolean() const
{
    return Cell().toBool();
}

int TBooleanField::GetAsInteger() const
{
    return Cell().toBool() ? 1 : 0;
}

void TBooleanField::GetText(QString& text, bool) const
{
    const QVariant c = Cell();
    if (isNullVariant(c))
        text.clear();
    else
        text = c.toBool() ? m_trueText : m_falseText;
}

// ---- TDateTimeField family ----------------------------------------------------------------

TDateTimeField::TDateTimeField(QObject* owner) : TField(owner) {}

QVariant TDateTimeField::ToCell(const QVariant& v) const
{
    if (isNullVariant(v))
        return QVariant();
    switch (v.typeId()) {
    case QMetaType::QDateTime: return QVariant(TDateTime::fromQDateTime(v.toDateTime()).Val);
    case QMetaType::QDate: return QVariant(TDateTime::fromQDate(v.toDate()).Val);
    case QMetaType::QTime: {
        const QTime t = v.toTime();
        return QVariant(EncodeTime(t.hour(), t.minute(), t.second(), t.msec()).Val);
    }
    case QMetaType::QString:
    case QMetaType::QByteArray: {
        const QString s = Trim(v.toString());
        return s.isEmpty() ? QVariant() : QVariant(ParseText(s).Val);
    }
    default: break;
    }
    if (v.metaType() == QMetaType::fromType<TDateTime>())
        return QVariant(v.value<TDateTime>().Val);
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (!ok)
        throw EConvertError(QStringLiteral("'%1' is not a valid date and time").arg(v.toString()));
    return QVariant(d);
}

QVariant TDateTimeField::FromCell(const QVariant& cell) const
{
    return isNullVariant(cell) ? QVariant() : QVariant(TDateTime(cell.toDouble()).toQDateTime());
}

TDateTime TDateTimeField::ParseText(const QString& text) const
{
    TDateTime out;
    try {
        return StrToDateTime(text);
    } catch (const EConvertError&) {
        // Stored texts from the database and from files use ISO forms.
        for (const char* f : {"yyyy-MM-dd HH:mm:ss", "yyyy-MM-ddTHH:mm:ss", "yyyy-MM-dd HH:mm", "yyyy-MM-dd"}) {
            const QDateTime dt = QDateTime::fromString(text, QLatin1String(f));
            if (dt.isValid())
                return TDateTime::fromQDateTime(dt);
        }
        throw;
    }
}

QString TDateTimeField::FormatValue(TDateTime v, const QString& format) const
{
    if (!format.isEmpty())
        return FormatDateTime(format, v);
    const TFormatSettings& fs = FormatSettings();
    if (v.timePart().Val == 0.0)
        return FormatDateTime(fs.ShortDateFormat, v);
    return FormatDateTime(fs.ShortDateFormat + QLatin1Char(' ') + fs.LongTimeFormat, v);
}

QString TDateTimeField::GetAsString() const
{
    const QVariant c = Cell();
    return isNullVariant(c) ? QString() : FormatValue(TDateTime(c.toDouble()), QString());
}

void TDateTimeField::SetAsStringImpl(const QString& v)
{
    SetCell(ToCell(QVariant(v)));
}

double TDateTimeField::GetAsFloat() const
{
    return Cell().toDouble();
}

TDateTime TDateTimeField::GetAsDateTime() const
{
    return TDateTime(Cell().toDouble());
}

void TDateTimeField::GetText(QString& text, bool displayText) const
{
    const QVariant c = Cell();
    if (isNullVariant(c)) {
        text.clear();
        return;
    }
    text = FormatValue(TDateTime(c.toDouble()), displayText ? DisplayFormat() : QString());
}

QVariant TDateField::ToCell(const QVariant& v) const
{
    const QVariant c = TDateTimeField::ToCell(v);
    return isNullVariant(c) ? c : QVariant(int(TDateTime(c.toDouble()).datePart().Val));
}

QString TDateField::FormatValue(TDateTime v, const QString& format) const
{
    return FormatDateTime(format.isEmpty() ? FormatSettings().ShortDateFormat : format, v);
}

TDateTime TDateField::ParseText(const QString& text) const
{
    TDateTime out;
    if (TryStrToDate(text, out))
        return out;
    return TDateTimeField::ParseText(text).datePart();
}

QVariant TTimeField::ToCell(const QVariant& v) const
{
    const QVariant c = TDateTimeField::ToCell(v);
    return isNullVariant(c) ? c : QVariant(TDateTime(c.toDouble()).timePart().Val);
}

QString TTimeField::FormatValue(TDateTime v, const QString& format) const
{
    return FormatDateTime(format.isEmpty() ? FormatSettings().LongTimeFormat : format, v);
}

TDateTime TTimeField::ParseText(const QString& text) const
{
    return StrToTime(text);
}

// ---- TBlobField, TMemoField -------------------------------------------------------------

TBlobField::TBlobField(QObject* owner) : TField(owner) {}

QVariant TBlobField::ToCell(const QVariant& v) const
{
    if (isNullVariant(v))
        return QVariant();
    const QByteArray b = v.typeId() == QMetaType::QByteArray ? v.toByteArray() : v.toString().toUtf8();
    return b.isEmpty() ? QVariant() : QVariant(b);
}

int TBlobField::BlobSize() const
{
    return int(AsBytes().size());
}

QString TBlobField::GetAsString() const
{
    return QString::fromUtf8(Cell().toByteArray());
}

void TBlobField::SetAsStringImpl(const QString& v)
{
    SetCell(ToCell(QVariant(v.toUtf8())));
}

void TBlobField::GetText(QString& text, bool) const
{
    const bool null = IsNull();
    if (DataType() == ftGraphic)
        text = null ? QStringLiteral("(graphic)") : QStringLiteral("(GRAPHIC)");
    else
        text = null ? QStringLiteral("(blob)") : QStringLiteral("(BLOB)");
}

void TBlobField::LoadFromStream(QIODevice& stream)
{
    SetAsBytes(stream.readAll());
}

void TBlobField::SaveToStream(QIODevice& stream) const
{
    const QByteArray b = AsBytes();
    if (stream.write(b) != b.size())
        throw EInOutError(QStringLiteral("Stream write error"));
}

void TBlobField::LoadFromFile(const QString& fileName)
{
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        throw EInOutError(QStringLiteral("Cannot open file \"%1\". %2").arg(fileName, f.errorString()));
    LoadFromStream(f);
}

void TBlobField::SaveToFile(const QString& fileName) const
{
    qx::saveFile(fileName, [&](QIODevice& out) { SaveToStream(out); });
}

TMemoField::TMemoField(QObject* owner) : TBlobField(owner) {}

QVariant TMemoField::ToCell(const QVariant& v) const
{
    if (isNullVariant(v))
        return QVariant();
    const QString s = v.typeId() == QMetaType::QByteArray ? QString::fromUtf8(v.toByteArray()) : v.toString();
    return s.isEmpty() ? QVariant() : QVariant(s);
}

QVariant TMemoField::FromCell(const QVariant& cell) const
{
    return cell;
}

QString TMemoField::GetAsString() const
{
    return Cell().toString();
}

void TMemoField::SetAsStringImpl(const QString& v)
{
    SetCell(ToCell(QVariant(v)));
}

void TMemoField::GetText(QString& text, bool) const
{
    text = IsNull() ? QStringLiteral("(memo)") : QStringLiteral("(MEMO)");
}

// ---- factory and list -------------------------------------------------------------------

TField* CreateFieldOfType(TFieldType type, QObject* owner)
{
    switch (type) {
    case ftString:
    case ftFixedChar: return new TStringField(owner);
    case ftWideString: return new TWideStringField(owner);
    case ftSmallint: return new TSmallintField(owner);
    case ftInteger: return new TIntegerField(owner);
    case ftWord: return new TWordField(owner);
    case ftAutoInc: return new TAutoIncField(owner);
    case ftLargeint: return new TLargeintField(owner);
    case ftBoolean: return new TBooleanField(owner);
    case ftFloat: return new TFloatField(owner);
    case ftCurrency: return new TCurrencyField(owner);
    case ftBCD: return new TBCDField(owner);
    case ftDate: return new TDateField(owner);
    case ftTime: return new TTimeField(owner);
    case ftDateTime: return new TDateTimeField(owner);
    case ftMemo:
    case ftFmtMemo: return new TMemoField(owner);
    case ftGraphic: return new TGraphicField(owner);
    case ftBlob:
    case ftBytes:
    case ftVarBytes:
    case ftTypedBinary: return new TBlobField(owner);
    default: return nullptr;
    }
}

TField* TFields::Fields(int index) const
{
    if (index < 0 || index >= Count())
        DatabaseError(QStringLiteral("List index out of bounds (%1)").arg(index));
    return m_list[std::size_t(index)];
}

TField* TFields::FindField(const QString& name) const
{
    const QString n = name.trimmed();
    for (TField* f : m_list)
        if (f->FieldName().compare(n, Qt::CaseInsensitive) == 0)
            return f;
    return nullptr;
}

TField* TFields::FieldByName(const QString& name) const
{
    TField* f = FindField(name);
    if (!f)
        DatabaseError(QStringLiteral("Field '%1' not found").arg(name));
    return f;
}

int TFields::IndexOf(const TField* field) const
{
    for (std::size_t i = 0; i < m_list.size(); ++i)
        if (m_list[i] == field)
            return int(i);
    return -1;
}

void TFields::Add(TField* field)
{
    if (!field || IndexOf(field) >= 0)
        return;
    if (!field->FieldName().isEmpty() && FindField(field->FieldName()))
        DatabaseError(QStringLiteral("Duplicate field name '%1'").arg(field->FieldName()));
    m_list.push_back(field);
    field->m_dataSet = m_dataSet;
}

void TFields::Remove(TField* field)
{
    const int i = IndexOf(field);
    if (i < 0)
        return;
    m_list.erase(m_list.begin() + i);
    field->m_dataSet = nullptr;
}
