// The calculations of a query definition over its result rows: calculated fields (formulas
// over the row's values) and the items of the totals row.
#include "control/uQxQueryControl.h"

#include "control/uQxParser.h"
#include "platform/db/Fields.h"
#include "platform/rtl/Exceptions.h"

namespace {

const QString kNotInSync = QStringLiteral("计算字段与数据字典不同步请重设计算字段!");
const QString kCalculated = QStringLiteral("计算");
const QString kRowKind = QStringLiteral("VandrelID");

bool isNumeric(const TField* field)
{
    switch (field->DataType()) {
    case ftSmallint: case ftInteger: case ftWord: case ftAutoInc: case ftLargeint:
    case ftFloat: case ftCurrency: case ftBCD:
        return true;
    default:
        return false;
    }
}

bool isMinOrMax(const QString& kind)
{
    return kind == QStringLiteral("最小值") || kind == QStringLiteral("最大值");
}

} // namespace

TField* TQxQueryControl::ResolveFieldRef(const QString& Reference) const
{
    if (!Active())
        return nullptr;
    const int dot = int(Reference.indexOf(u'.'));
    const QString table = dot < 0 ? QString() : Reference.left(dot);
    const QString field = dot < 0 ? Reference : Reference.mid(dot + 1);
    if (table == kCalculated)
        return FindField(field);
    const int chosen = FFieldSections->IndexOfCaption(table, field);
    return chosen < 0 ? nullptr : FindField(FFieldSections->Items(chosen)->FieldName());
}

double TQxQueryControl::EvaluateExpression(const QString& Formula)
{
    QString text = Formula;
    for (;;) {
        const int open = int(text.indexOf(u'['));
        if (open < 0)
            break;
        // A reference that is never closed leaves a formula no parser takes.
        const int close = int(text.indexOf(u']', open + 1));
        if (close < 0)
            return 0;
        const TField* field = ResolveFieldRef(text.mid(open + 1, close - open - 1));
        if (!field) {
            NoteRunMessage(kNotInSync);
            return 0;
        }
        text.remove(open, close - open + 1);
        double value = 0;
        try {
            value = field->AsFloat();
        } catch (const EConvertError&) {
            return 0; // a text that is no number: the formula has no value on this row
        } catch (const EDatabaseError&) {
            return 0; // a value of a kind that has no number (a Boolean, a blob)
        }
        QString number = FormatFormulaNumber(value);
        if (number == u"0" && open > 0 && text.at(open - 1) == u'/')
            return 0;
        if (number.startsWith(u'-'))
            number = QLatin1Char('(') + number + QLatin1Char(')');
        text.insert(open, number);
    }
    try {
        FParser->SetExpression(text);
        return FParser->Value();
    } catch (const EParserError&) {
        return 0;
    }
}

Currency TQxQueryControl::AggregateStep(const QString& Kind, Currency Accumulator, Currency Value)
{
    if (Kind == QStringLiteral("合计") || Kind == QStringLiteral("平均值"))
        return Accumulator + Value;
    if (Kind == QStringLiteral("最小值"))
        return std::min(Accumulator, Value);
    if (Kind == QStringLiteral("最大值"))
        return std::max(Accumulator, Value);
    if (Kind == QStringLiteral("记录数"))
        return Currency();
    return Accumulator;
}

void TQxQueryControl::ResetTotals()
{
    for (int i = 0; i < FSumFieldSections->Count(); ++i)
        FSumFieldSections->Items(i)->ResetTotal();
}

TField* TQxQueryControl::totalColumn(const TSumFieldSection* Item) const
{
    const int chosen = FFieldSections->IndexOfCaption(Item->TableName(), Item->FieldName());
    if (chosen >= 0)
        return FindField(FFieldSections->Items(chosen)->FieldName());
    const int calculated = FCalcFieldSections->IndexOf(Item->FieldName());
    if (calculated >= 0)
        return FindField(FCalcFieldSections->Items(calculated)->FieldName());
    return nullptr;
}

bool TQxQueryControl::isDetailRow() const
{
    const TField* kind = FindField(kRowKind);
    return !kind || kind->IsNull() || kind->AsInteger() == 0;
}

void TQxQueryControl::accumulate(bool ByName)
{
    if (FSumFieldSections->Count() == 0 || !Active() || IsEmpty() || !isDetailRow())
        return;
    for (int i = 0; i < FSumFieldSections->Count(); ++i) {
        TSumFieldSection* item = FSumFieldSections->Items(i);
        const TField* column = ByName ? FindField(item->FieldName()) : totalColumn(item);
        if (!column || !isNumeric(column))
            continue;
        const Currency value = column->AsCurrency();
        if (isMinOrMax(item->FieldValue()) && item->Count == 0)
            item->Accumulator = value;
        else
            item->Accumulator = AggregateStep(item->FieldValue(), item->Accumulator, value);
        ++item->Count;
    }
}

void TQxQueryControl::AccumulateSums() { accumulate(false); }

void TQxQueryControl::AccumulateSumsByName() { accumulate(true); }

void TQxQueryControl::AppendTotalRow()
{
    // Over an empty result there is nothing to total (and no count to divide by).
    if (FSumFieldSections->Count() == 0 || !Active() || IsEmpty())
        return;
    int details = 0;
    ForEachRecord([&] {
        if (isDetailRow())
            ++details;
        return true;
    });
    Append();
    try {
        writeTotals(details);
        Post();
    } catch (...) {
        Cancel(); // no half-written totals row stays behind
        throw;
    }
}

void TQxQueryControl::writeTotals(int Details)
{
    for (int i = 0; i < FSumFieldSections->Count(); ++i) {
        const TSumFieldSection* item = FSumFieldSections->Items(i);
        TField* column = FQueryIndex == 1 ? FindField(item->FieldName()) : totalColumn(item);
        if (!column)
            continue;
        const QString kind = item->FieldValue();
        if (IsStringFieldType(column->DataType())) {
            column->SetAsString(kind);
        } else if (isNumeric(column)) {
            if (kind == QStringLiteral("平均值")) {
                if (Details > 0)
                    column->SetAsCurrency(item->Accumulator / std::int64_t(Details));
            } else if (kind == QStringLiteral("记录数")) {
                column->SetAsInteger(Details);
            } else if (!isMinOrMax(kind) || item->Count > 0) {
                column->SetAsCurrency(item->Accumulator);
            }
        }
    }
    if (TField* rowKind = FindField(kRowKind))
        rowKind->SetAsInteger(4);
}

QString TQxQueryControl::SubtotalCaptionField() const
{
    if (!Active())
        return {};
    for (int i = 0; i < FGroupFieldSections->Count(); ++i) {
        const QString caption = FGroupFieldSections->Items(i)->CdisFieldName();
        bool isKey = false;
        for (int k = 0; k < FGroupFieldSections->Count() && !isKey; ++k)
            isKey = FGroupFieldSections->Items(k)->FieldName().compare(caption, Qt::CaseInsensitive) == 0;
        if (!isKey)
            return FindField(caption) ? caption : QString();
    }
    return {};
}
