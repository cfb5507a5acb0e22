// TQREvaluator: the expression language of reports.
//
//   literals     'text' (a doubled quote stands for one quote), 12, 3.5
//   operators    + - * /, = <> < > <= >=, AND OR NOT, brackets; the usual precedence:
//                OR < AND < NOT < comparisons < + - < * / < unary minus
//   fields       DataSet.Field, or Field alone (the first dataset of DataSets that has it);
//                a dataset is named by the name given with it (SetDataSets), else by its
//                object name; names compare without case
//   functions    NAME(arg, ...) or NAME without brackets, looked up in the function library;
//                a bare name the library lists is a function (write DataSet.Field for a
//                field of the same name)
//
// "+" adds numbers and joins strings; a string plus a number (either side) joins the number's
// text. "/" always gives a double. Integer results that leave 32 bits become doubles. Any
// error (an unknown name, a wrong kind, division by zero, a function's error) makes the whole
// value an error result whose message names the place in the text (1-based character).
//
// Aggregates gather values through UpdateAggregates (called by the expression's master for
// each new record) and start over with Reset.
#pragma once

#include "platform/report/QREvResult.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <memory>

class TDataSet;

class TQREvaluator
{
public:
    TQREvaluator();
    ~TQREvaluator();
    TQREvaluator(const TQREvaluator&) = delete;
    TQREvaluator& operator=(const TQREvaluator&) = delete;

    // The datasets whose fields the expression may name (a report's AllDataSets), and the
    // name each goes by in expressions (names[i] for dataSets[i]; a missing or empty name:
    // the dataset's object name).
    void SetDataSets(const QList<QPointer<TDataSet>>& dataSets, const QStringList& names = {});
    const QList<QPointer<TDataSet>>& DataSets() const { return m_dataSets; }
    const QStringList& DataSetNames() const { return m_names; }

    // Parses the expression. A parse error is kept: ParseError tells it, Value returns it.
    void Prepare(const QString& expression);
    void Unprepare();
    bool Prepared() const { return m_prepared; }
    QString Expression() const { return m_expression; }

    bool HasParseError() const { return !m_parseError.isEmpty(); }
    QString ParseError() const { return m_parseError; }
    // 1-based character of the parse error; 0 without one.
    int ErrorPosition() const { return m_errorPosition; }

    // The value on the current records.
    TQREvResult Value();
    // Prepare, Value, Unprepare.
    TQREvResult Calculate(const QString& expression);

    // The fields the parsed expression names, in the order written (empty after a parse
    // error): the dataset name as written ("" for a bare field name) and the field name.
    struct FieldReference
    {
        QString dataSetName;
        QString fieldName;
    };
    QList<FieldReference> FieldReferences() const;

    // True when the expression holds an aggregate function.
    bool IsAggreg() const;
    // Feeds every aggregate of the expression with the current record.
    void UpdateAggregates();
    // Starts every aggregate over.
    void Reset();

    struct Node;

private:
    QList<QPointer<TDataSet>> m_dataSets;
    QStringList m_names;
    QString m_expression;
    bool m_prepared = false;
    QString m_parseError;
    int m_errorPosition = 0;
    std::unique_ptr<Node> m_root;
};
