#include "platform/report/QREvaluator.h"

#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/report/QRExprTree.h"
#include "platform/report/QRFunctions.h"
#include "platform/rtl/Exceptions.h"

#include <cmath>
#include <limits>
#include <vector>

namespace {

using Node = TQREvaluator::Node;
using qx::report::placed;

// ---- evaluation --------------------------------------------------------------------------

TQREvResult fieldValue(const TField* f)
{
    const bool null = f->IsNull();
    TQREvResult r;
    switch (f->DataType()) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
        r = TQREvResult::Int(null ? 0 : f->AsInteger());
        break;
    case ftLargeint:
        r = null ? TQREvResult::Int(0) : TQREvResult::Number(f->AsVariant().toLongLong());
        break;
    case ftFloat:
    case ftCurrency:
    case ftBCD:
        r = TQREvResult::Double(null ? 0.0 : f->AsFloat());
        break;
    case ftBoolean:
        r = TQREvResult::Bool(null ? false : f->AsBoolean());
        break;
    default:
        r = TQREvResult::String(null ? QString() : f->AsString());
        break;
    }
    r.isNull = null;
    return r;
}

class Evaluation
{
public:
    Evaluation(const QList<QPointer<TDataSet>>& dataSets, const QStringList& names)
        : m_dataSets(dataSets), m_names(names)
    {}

    TQREvResult eval(Node& n)
    {
        switch (n.kind) {
        case Node::Literal:
            return n.value;
        case Node::Field:
            return field(n);
        case Node::Call:
            return call(n);
        case Node::Negate: {
            TQREvResult v = eval(*n.kids[0]);
            if (v.IsError())
                return v;
            if (v.Kind == resInt)
                return TQREvResult::Number(-qint64(v.intResult));
            if (v.Kind == resDouble)
                return TQREvResult::Double(-v.dblResult);
            return mismatch(QStringLiteral("-"), n.pos);
        }
        case Node::Not: {
            TQREvResult v = eval(*n.kids[0]);
            if (v.IsError())
                return v;
            if (v.Kind != resBool)
                return mismatch(QStringLiteral("NOT"), n.pos);
            return TQREvResult::Bool(!v.booResult);
        }
        case Node::Binary:
            return binary(n);
        }
        return TQREvResult();
    }

    void feed(Node& n)
    {
        for (auto& k : n.kids)
            feed(*k);
        if (n.kind == Node::Call && n.function->IsAggreg()) {
            arguments(n);
            n.function->Aggregate();
        }
    }

private:
    static TQREvResult mismatch(const QString& op, int pos)
    {
        return TQREvResult::Error(placed(QStringLiteral("运算符 %1 的操作数类型不正确").arg(op), pos));
    }

    TField* resolve(Node& n)
    {
        if (n.field)
            return n.field;
        for (qsizetype i = 0; i < m_dataSets.size(); ++i) {
            TDataSet* ds = m_dataSets.at(i);
            if (!ds)
                continue;
            if (!n.dataSetName.isEmpty() && nameOf(i, ds).compare(n.dataSetName, Qt::CaseInsensitive) != 0)
                continue;
            if (TField* f = ds->FindField(n.name)) {
                n.field = f;
                return f;
            }
            if (!n.dataSetName.isEmpty())
                break;
        }
        return nullptr;
    }

    QString nameOf(qsizetype i, const TDataSet* ds) const
    {
        const QString name = m_names.value(i);
        return name.isEmpty() ? ds->objectName() : name;
    }

    TQREvResult field(Node& n)
    {
        TField* f = resolve(n);
        if (!f) {
            const QString full = n.dataSetName.isEmpty() ? n.name : n.dataSetName + u'.' + n.name;
            return TQREvResult::Error(placed(QStringLiteral("未知的字段或函数 %1").arg(full), n.pos));
        }
        TDataSet* ds = f->DataSet();
        if (!ds || !ds->Active())
            return TQREvResult::Error(placed(QStringLiteral("字段 %1 的数据集未打开").arg(n.name), n.pos));
        return fieldValue(f);
    }

    void arguments(Node& n)
    {
        std::vector<TQREvResult> args;
        args.reserve(n.kids.size());
        for (auto& k : n.kids)
            args.push_back(eval(*k));
        n.function->SetArguments(std::move(args));
    }

    TQREvResult call(Node& n)
    {
        TQREvElementFunction& fn = *n.function;
        if (!fn.IsAggreg()) {
            arguments(n);
            for (int i = 0; i < fn.ArgCount(); ++i) {
                const TQREvResult& a = fn.Argument(i);
                // An error inside an argument is the call's value, except for IF, whose
                // branch that is not taken may well fail.
                if (a.IsError() && n.name != QLatin1String("IF"))
                    return a;
            }
        }
        TQREvResult r = fn.Calculate();
        if (r.IsError() && r.strResult.isEmpty())
            r.strResult = placed(QStringLiteral("函数 %1 出错").arg(n.name), n.pos);
        if (r.Kind == resString)
            r = TQREvResult::String(r.strResult);
        return r;
    }

    TQREvResult binary(Node& n)
    {
        TQREvResult l = eval(*n.kids[0]);
        if (l.IsError())
            return l;
        if (n.op == QLatin1String("AND") || n.op == QLatin1String("OR")) {
            TQREvResult r = eval(*n.kids[1]);
            if (r.IsError())
                return r;
            if (l.Kind != resBool || r.Kind != resBool)
                return mismatch(n.op, n.pos);
            return TQREvResult::Bool(n.op == QLatin1String("AND") ? l.booResult && r.booResult
                                                                  : l.booResult || r.booResult);
        }
        TQREvResult r = eval(*n.kids[1]);
        if (r.IsError())
            return r;
        const QString& op = n.op;
        if (op == QLatin1String("+")) {
            if (l.Kind == resString || r.Kind == resString)
                return TQREvResult::String(l.AsText() + r.AsText());
            if (!l.IsNumeric() || !r.IsNumeric())
                return mismatch(op, n.pos);
            if (l.Kind == resInt && r.Kind == resInt)
                return TQREvResult::Number(qint64(l.intResult) + r.intResult);
            return TQREvResult::Double(l.AsDouble() + r.AsDouble());
        }
        if (op == QLatin1String("-") || op == QLatin1String("*") || op == QLatin1String("/")) {
            if (!l.IsNumeric() || !r.IsNumeric())
                return mismatch(op, n.pos);
            if (op == QLatin1String("/")) {
                if (r.AsDouble() == 0)
                    return TQREvResult::Error(placed(QStringLiteral("除数为零"), n.pos));
                return TQREvResult::Double(l.AsDouble() / r.AsDouble());
            }
            if (l.Kind == resInt && r.Kind == resInt) {
                const qint64 a = l.intResult;
                const qint64 b = r.intResult;
                return TQREvResult::Number(op == QLatin1String("-") ? a - b : a * b);
            }
            return TQREvResult::Double(op == QLatin1String("-") ? l.AsDouble() - r.AsDouble()
                                                                : l.AsDouble() * r.AsDouble());
        }
        // comparisons
        int cmp = 0;
        if (l.IsNumeric() && r.IsNumeric()) {
            const double a = l.AsDouble();
            const double b = r.AsDouble();
            cmp = a < b ? -1 : (a > b ? 1 : 0);
        } else if (l.Kind == resString && r.Kind == resString) {
            cmp = l.strResult.compare(r.strResult);
        } else if (l.Kind == resBool && r.Kind == resBool) {
            cmp = int(l.booResult) - int(r.booResult);
        } else {
            return mismatch(op, n.pos);
        }
        if (op == QLatin1String("="))
            return TQREvResult::Bool(cmp == 0);
        if (op == QLatin1String("<>"))
            return TQREvResult::Bool(cmp != 0);
        if (op == QLatin1String("<"))
            return TQREvResult::Bool(cmp < 0);
        if (op == QLatin1String(">"))
            return TQREvResult::Bool(cmp > 0);
        if (op == QLatin1String("<="))
            return TQREvResult::Bool(cmp <= 0);
        return TQREvResult::Bool(cmp >= 0);
    }

    const QList<QPointer<TDataSet>>& m_dataSets;
    const QStringList& m_names;
};

bool hasAggregate(const Node& n)
{
    if (n.kind == Node::Call && n.function->IsAggreg())
        return true;
    for (const auto& k : n.kids) {
        if (hasAggregate(*k))
            return true;
    }
    return false;
}

void resetAggregates(Node& n)
{
    for (auto& k : n.kids)
        resetAggregates(*k);
    if (n.kind == Node::Call && n.function->IsAggreg())
        n.function->Reset();
}

} // namespace

// ---- TQREvaluator ------------------------------------------------------------------------

TQREvaluator::TQREvaluator() = default;
TQREvaluator::~TQREvaluator() = default;

void TQREvaluator::SetDataSets(const QList<QPointer<TDataSet>>& dataSets, const QStringList& names)
{
    m_dataSets = dataSets;
    m_names = names;
}

void TQREvaluator::Prepare(const QString& expression)
{
    Unprepare();
    m_expression = expression;
    m_prepared = true;
    try {
        m_root = qx::report::parseExpression(expression);
    } catch (const qx::report::ParseFailure& failure) {
        m_root.reset();
        m_errorPosition = failure.pos;
        m_parseError = QStringLiteral("表达式错误: %1").arg(placed(failure.message, failure.pos));
        return;
    }
    std::vector<Node*> stack{m_root.get()};
    while (!stack.empty()) {
        Node* n = stack.back();
        stack.pop_back();
        if (n->kind == Node::Call)
            n->function->m_evaluator = this;
        for (auto& k : n->kids)
            stack.push_back(k.get());
    }
    resetAggregates(*m_root);
}

QList<TQREvaluator::FieldReference> TQREvaluator::FieldReferences() const
{
    QList<FieldReference> out;
    if (!m_root)
        return out;
    // Depth first, left to right: the order the fields are written in.
    std::vector<const Node*> stack{m_root.get()};
    while (!stack.empty()) {
        const Node* n = stack.back();
        stack.pop_back();
        if (n->kind == Node::Field)
            out.append({n->dataSetName, n->name});
        for (auto k = n->kids.rbegin(); k != n->kids.rend(); ++k)
            stack.push_back(k->get());
    }
    return out;
}

void TQREvaluator::Unprepare()
{
    m_root.reset();
    m_prepared = false;
    m_parseError.clear();
    m_errorPosition = 0;
    m_expression.clear();
}

TQREvResult TQREvaluator::Value()
{
    if (!m_prepared)
        return TQREvResult::Error(QStringLiteral("表达式未准备"));
    if (!m_root)
        return TQREvResult::Error(m_parseError);
    try {
        return Evaluation(m_dataSets, m_names).eval(*m_root);
    } catch (const Exception& e) {
        return TQREvResult::Error(e.Message());
    }
}

TQREvResult TQREvaluator::Calculate(const QString& expression)
{
    Prepare(expression);
    TQREvResult r = Value();
    Unprepare();
    return r;
}

bool TQREvaluator::IsAggreg() const
{
    return m_root && hasAggregate(*m_root);
}

void TQREvaluator::UpdateAggregates()
{
    if (!m_root)
        return;
    try {
        Evaluation(m_dataSets, m_names).feed(*m_root);
    } catch (const Exception&) {
        // A record whose fields cannot be read adds nothing; the printed value shows the rest.
    }
}

void TQREvaluator::Reset()
{
    if (m_root)
        resetAggregates(*m_root);
}
