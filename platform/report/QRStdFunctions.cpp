// The engine's standard report functions: IF, the aggregates SUM, COUNT, MAX, MIN and AVERAGE,
// and STR, UPPER, LOWER, COPY, INT, FRAC, DATE, TIME, FORMATNUMERIC and ISNULL.
#include "platform/report/QRFunctions.h"

#include "platform/rtl/Clock.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"

#include <cmath>
#include <limits>

namespace {

const QString kVendor = QStringLiteral("Standard");

TQREvResult argumentError(const QString& name)
{
    return TQREvResult::Error(QStringLiteral("函数 %1 的参数不正确").arg(name));
}

// A double as an integer result when it is whole and fits, else as a double.
TQREvResult wholeNumber(double value)
{
    if (value >= std::numeric_limits<qint32>::min() && value <= std::numeric_limits<qint32>::max())
        return TQREvResult::Int(qint32(value));
    return TQREvResult::Double(value);
}

class IfFunction : public TQREvElementFunction
{
public:
    TQREvResult Calculate() override
    {
        if (ArgCount() == 3 && Argument(0).IsError())
            return Argument(0);
        if (ArgCount() != 3 || Argument(0).Kind != resBool)
            return argumentError(QStringLiteral("IF"));
        return Argument(0).booResult ? Argument(1) : Argument(2);
    }
};

// The base of the aggregates: the value of the one argument on each record, or an error when
// a record gave something that cannot be gathered.
class Gathering : public TQREvElementFunction
{
public:
    bool IsAggreg() const override { return true; }
    void Reset() override
    {
        m_count = 0;
        m_sum = 0;
        m_allInt = true;
        m_error.clear();
        m_extreme = TQREvResult();
    }

protected:
    virtual QString name() const = 0;
    bool takeNumber()
    {
        if (!m_error.isEmpty())
            return false;
        if (ArgCount() != 1 || !Argument(0).IsNumeric()) {
            m_error = argumentError(name()).strResult;
            return false;
        }
        return true;
    }
    TQREvResult errorOrNothing() const
    {
        return m_error.isEmpty() ? TQREvResult() : TQREvResult::Error(m_error);
    }

    qint64 m_count = 0;
    double m_sum = 0;
    bool m_allInt = true;
    QString m_error;
    TQREvResult m_extreme;
};

class SumFunction : public Gathering
{
public:
    void Aggregate() override
    {
        if (!takeNumber())
            return;
        m_allInt = m_allInt && Argument(0).Kind == resInt;
        m_sum += Argument(0).AsDouble();
        ++m_count;
    }
    TQREvResult Calculate() override
    {
        if (!m_error.isEmpty())
            return errorOrNothing();
        return m_allInt ? wholeNumber(m_sum) : TQREvResult::Double(m_sum);
    }

protected:
    QString name() const override { return QStringLiteral("SUM"); }
};

class CountFunction : public Gathering
{
public:
    void Aggregate() override { ++m_count; }
    TQREvResult Calculate() override { return TQREvResult::Number(m_count); }

protected:
    QString name() const override { return QStringLiteral("COUNT"); }
};

class AverageFunction : public Gathering
{
public:
    void Aggregate() override
    {
        if (!takeNumber())
            return;
        m_sum += Argument(0).AsDouble();
        ++m_count;
    }
    TQREvResult Calculate() override
    {
        if (!m_error.isEmpty())
            return errorOrNothing();
        return TQREvResult::Double(m_count > 0 ? m_sum / double(m_count) : 0.0);
    }

protected:
    QString name() const override { return QStringLiteral("AVERAGE"); }
};

// MAX and MIN keep the greatest or least value: numbers compare as numbers, strings as strings.
class ExtremeFunction : public Gathering
{
public:
    explicit ExtremeFunction(bool greatest) : m_greatest(greatest) {}
    void Aggregate() override
    {
        if (!m_error.isEmpty())
            return;
        const TQREvResult& v = ArgCount() == 1 ? Argument(0) : TQREvResult();
        const bool number = v.IsNumeric();
        if (!number && v.Kind != resString) {
            m_error = argumentError(name()).strResult;
            return;
        }
        if (m_count == 0) {
            m_extreme = v;
        } else if (number != m_extreme.IsNumeric()) {
            m_error = argumentError(name()).strResult;
            return;
        } else {
            const bool greater = number ? v.AsDouble() > m_extreme.AsDouble() : v.strResult > m_extreme.strResult;
            const bool less = number ? v.AsDouble() < m_extreme.AsDouble() : v.strResult < m_extreme.strResult;
            if (m_greatest ? greater : less)
                m_extreme = v;
        }
        ++m_count;
    }
    TQREvResult Calculate() override
    {
        if (!m_error.isEmpty())
            return errorOrNothing();
        if (m_count == 0)
            return TQREvResult::Int(0);
        TQREvResult r = m_extreme;
        r.isNull = false;
        return r;
    }

protected:
    QString name() const override { return m_greatest ? QStringLiteral("MAX") : QStringLiteral("MIN"); }

private:
    bool m_greatest;
};

class StrFunction : public TQREvElementFunction
{
public:
    TQREvResult Calculate() override
    {
        if (ArgCount() != 1 || !Argument(0).IsNumeric())
            return argumentError(QStringLiteral("STR"));
        return TQREvResult::String(Argument(0).AsText());
    }
};

class CaseFunction : public TQREvElementFunction
{
public:
    explicit CaseFunction(bool upper) : m_upper(upper) {}
    TQREvResult Calculate() override
    {
        if (ArgCount() != 1 || Argument(0).Kind != resString)
            return argumentError(m_upper ? QStringLiteral("UPPER") : QStringLiteral("LOWER"));
        return TQREvResult::String(m_upper ? Argument(0).strResult.toUpper() : Argument(0).strResult.toLower());
    }

private:
    bool m_upper;
};

// COPY(S, Index, Count): Count characters of S from character Index (from 1).
class CopyFunction : public TQREvElementFunction
{
public:
    TQREvResult Calculate() override
    {
        if (ArgCount() != 3 || Argument(0).Kind != resString || Argument(1).Kind != resInt
            || Argument(2).Kind != resInt)
            return argumentError(QStringLiteral("COPY"));
        const QString& s = Argument(0).strResult;
        qint64 index = std::max<qint64>(1, Argument(1).intResult);
        const qint64 count = Argument(2).intResult;
        if (count <= 0 || index > s.size())
            return TQREvResult::String(QString());
        return TQREvResult::String(s.mid(qsizetype(index - 1), qsizetype(std::min<qint64>(count, s.size()))));
    }
};

class IntFunction : public TQREvElementFunction
{
public:
    TQREvResult Calculate() override
    {
        if (ArgCount() != 1 || !Argument(0).IsNumeric())
            return argumentError(QStringLiteral("INT"));
        if (Argument(0).Kind == resInt)
            return Argument(0);
        return wholeNumber(std::trunc(Argument(0).dblResult));
    }
};

class FracFunction : public TQREvElementFunction
{
public:
    TQREvResult Calculate() override
    {
        if (ArgCount() != 1 || !Argument(0).IsNumeric())
            return argumentError(QStringLiteral("FRAC"));
        const double v = Argument(0).AsDouble();
        return TQREvResult::Double(v - std::trunc(v));
    }
};

class DateFunction : public TQREvElementFunction
{
public:
    TQREvResult Calculate() override
    {
        if (ArgCount() != 0)
            return argumentError(QStringLiteral("DATE"));
        return TQREvResult::String(DateToStr(Date()));
    }
};

class TimeFunction : public TQREvElementFunction
{
public:
    TQREvResult Calculate() override
    {
        if (ArgCount() != 0)
            return argumentError(QStringLiteral("TIME"));
        return TQREvResult::String(TimeToStr(Time()));
    }
};

// FORMATNUMERIC(Mask, Number): the number formatted with the mask.
class FormatNumericFunction : public TQREvElementFunction
{
public:
    TQREvResult Calculate() override
    {
        if (ArgCount() != 2 || Argument(0).Kind != resString || !Argument(1).IsNumeric())
            return argumentError(QStringLiteral("FORMATNUMERIC"));
        try {
            return TQREvResult::String(FormatFloat(Argument(0).strResult, Argument(1).AsDouble()));
        } catch (const Exception& e) {
            return TQREvResult::Error(e.Message());
        }
    }
};

class IsNullFunction : public TQREvElementFunction
{
public:
    TQREvResult Calculate() override
    {
        if (ArgCount() != 1 || Argument(0).IsError())
            return argumentError(QStringLiteral("ISNULL"));
        return TQREvResult::Bool(Argument(0).isNull);
    }
};

template <typename T, typename... A>
TQREvFunctionFactory make(A... args)
{
    return [=] { return std::make_unique<T>(args...); };
}

} // namespace

namespace qx::report {

void registerStandardFunctions(TQRFunctionLibrary& lib)
{
    lib.Register(make<IfFunction>(), QStringLiteral("IF"), QStringLiteral("IF(<条件>,<值1>,<值2>)|条件成立时取值1，否则取值2"), kVendor, QStringLiteral("0BVV"));
    lib.Register(make<SumFunction>(), QStringLiteral("SUM"), QStringLiteral("SUM(<X>)|<X>的合计"), kVendor, QStringLiteral("2N"));
    lib.Register(make<CountFunction>(), QStringLiteral("COUNT"), QStringLiteral("COUNT|记录数"), kVendor, QStringLiteral("2"));
    lib.Register(make<ExtremeFunction>(true), QStringLiteral("MAX"), QStringLiteral("MAX(<X>)|<X>的最大值"), kVendor, QStringLiteral("2N"));
    lib.Register(make<ExtremeFunction>(false), QStringLiteral("MIN"), QStringLiteral("MIN(<X>)|<X>的最小值"), kVendor, QStringLiteral("2N"));
    lib.Register(make<AverageFunction>(), QStringLiteral("AVERAGE"), QStringLiteral("AVERAGE(<X>)|<X>的平均值"), kVendor, QStringLiteral("2N"));
    lib.Register(make<StrFunction>(), QStringLiteral("STR"), QStringLiteral("STR(<X>)|将数字<X>转换成字符串"), kVendor, QStringLiteral("7N"));
    lib.Register(make<CaseFunction>(true), QStringLiteral("UPPER"), QStringLiteral("UPPER(<S>)|<S>转换成大写"), kVendor, QStringLiteral("7S"));
    lib.Register(make<CaseFunction>(false), QStringLiteral("LOWER"), QStringLiteral("LOWER(<S>)|<S>转换成小写"), kVendor, QStringLiteral("7S"));
    lib.Register(make<CopyFunction>(), QStringLiteral("COPY"), QStringLiteral("COPY(<S>,<起始>,<长度>)|取<S>从第<起始>个字符起的<长度>个字符"), kVendor, QStringLiteral("7SNN"));
    lib.Register(make<IntFunction>(), QStringLiteral("INT"), QStringLiteral("INT(<X>)|<X>的整数部分"), kVendor, QStringLiteral("2N"));
    lib.Register(make<FracFunction>(), QStringLiteral("FRAC"), QStringLiteral("FRAC(<X>)|<X>的小数部分"), kVendor, QStringLiteral("2N"));
    lib.Register(make<DateFunction>(), QStringLiteral("DATE"), QStringLiteral("DATE|今天的日期"), kVendor, QStringLiteral("1"));
    lib.Register(make<TimeFunction>(), QStringLiteral("TIME"), QStringLiteral("TIME|现在的时间"), kVendor, QStringLiteral("1"));
    lib.Register(make<FormatNumericFunction>(), QStringLiteral("FORMATNUMERIC"), QStringLiteral("FORMATNUMERIC(<格式>,<X>)|用<格式>格式化数字<X>"), kVendor, QStringLiteral("7SN"));
    lib.Register(make<IsNullFunction>(), QStringLiteral("ISNULL"), QStringLiteral("ISNULL(<字段>)|字段为空时为真"), kVendor, QStringLiteral("0V"));
}

} // namespace qx::report
