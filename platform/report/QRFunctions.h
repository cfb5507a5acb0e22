// Report functions: the element-function class every function of an expression derives from,
// and the function library that expressions look names up in.
//
// A function is a class derived from TQREvElementFunction that overrides Calculate. Each call
// in an expression gets its own instance; the evaluator fills in the call's arguments (value
// and kind) before it asks for the result. Aggregate functions (SUM, COUNT...) also override
// IsAggreg, Aggregate and Reset: the evaluator calls Aggregate with the arguments evaluated on
// each new record its master reports, Calculate gives the value gathered so far.
//
// The library lists each name once: registering a name that is already listed (compared
// without case) changes nothing. The engine's standard functions (IF, the aggregates, STR,
// UPPER, LOWER, COPY, INT, FRAC, DATE, TIME, FORMATNUMERIC, ISNULL) are listed from the start.
#pragma once

#include "platform/report/QREvResult.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

class TQREvaluator;

class TQREvElementFunction
{
public:
    virtual ~TQREvElementFunction();

    // The arguments of this call, evaluated on the current record.
    int ArgCount() const { return int(m_args.size()); }
    // Argument index (from 0); an error result for an index out of range.
    const TQREvResult& Argument(int index) const;
    // Sets the arguments of the next Calculate or Aggregate (the evaluator does this).
    void SetArguments(std::vector<TQREvResult> args) { m_args = std::move(args); }

    // The one result record of the call.
    virtual TQREvResult Calculate() = 0;

    // Aggregates: true for a function that gathers values record by record.
    virtual bool IsAggreg() const { return false; }
    // Takes in the arguments of one more record.
    virtual void Aggregate() {}
    // Forgets what was gathered.
    virtual void Reset() {}

    // The evaluator running this call (its datasets), set before the first call.
    TQREvaluator* Evaluator() const { return m_evaluator; }

private:
    friend class TQREvaluator;
    std::vector<TQREvResult> m_args;
    TQREvaluator* m_evaluator = nullptr;
};

using TQREvFunctionFactory = std::function<std::unique_ptr<TQREvElementFunction>()>;

struct TQRFunctionEntry
{
    QString Name;
    // "Prototype|help text".
    QString Description;
    QString Vendor;
    // A category digit, then one letter per argument (N numeric, S string).
    QString Arguments;
    TQREvFunctionFactory Factory;

    QString Prototype() const { return Description.section(QLatin1Char('|'), 0, 0); }
    QString Help() const { return Description.section(QLatin1Char('|'), 1); }
};

class TQRFunctionLibrary
{
public:
    // Adds an entry; false (and nothing changes) when the name is listed already or empty.
    bool Register(TQREvFunctionFactory factory, const QString& name, const QString& description,
                  const QString& vendor, const QString& arguments);
    // The entry of that name, compared without case; nullptr when none.
    const TQRFunctionEntry* Find(const QString& name) const;
    bool Contains(const QString& name) const { return Find(name) != nullptr; }
    // A new instance of the named function; nullptr when none.
    std::unique_ptr<TQREvElementFunction> Create(const QString& name) const;
    // All entries in registration order.
    const std::vector<TQRFunctionEntry>& Entries() const { return m_entries; }
    int Count() const { return int(m_entries.size()); }

private:
    friend TQRFunctionLibrary& QRFunctionLibrary();
    TQRFunctionLibrary();
    std::vector<TQRFunctionEntry> m_entries;
};

// The process's function library, with the standard functions registered.
TQRFunctionLibrary& QRFunctionLibrary();

// Registers a function with the library; false when the name is listed already.
bool RegisterQRFunction(TQREvFunctionFactory factory, const QString& name, const QString& description,
                        const QString& vendor, const QString& arguments);

template <typename FunctionClass>
bool RegisterQRFunction(const QString& name, const QString& description, const QString& vendor,
                        const QString& arguments)
{
    return RegisterQRFunction([] { return std::make_unique<FunctionClass>(); }, name, description, vendor,
                              arguments);
}

namespace qx::report {
// Registers the standard set (called once by the library itself).
void registerStandardFunctions(TQRFunctionLibrary& library);
} // namespace qx::report
