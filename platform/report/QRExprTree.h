// The syntax tree of a report expression and its parser (used by TQREvaluator only).
#pragma once

#include "platform/db/DataSet.h"
#include "platform/report/QREvaluator.h"
#include "platform/report/QRFunctions.h"

#include <QPointer>
#include <QString>

#include <memory>
#include <vector>

struct TQREvaluator::Node
{
    enum Kind { Literal, Field, Call, Negate, Not, Binary };
    Kind kind = Literal;
    int pos = 0; // 1-based character in the text

    TQREvResult value; // Literal

    QString dataSetName; // Field ("" for a bare name)
    QString name;        // Field or function name
    QPointer<TField> field;

    std::unique_ptr<TQREvElementFunction> function; // Call

    QString op; // Binary: + - * / = <> < > <= >= AND OR
    std::vector<std::unique_ptr<Node>> kids;
};

namespace qx::report {

// A parse error and the 1-based character it was found at.
struct ParseFailure
{
    QString message;
    int pos;
};

// "message (第n个字符)".
QString placed(const QString& message, int pos);

// The tree of an expression; raises ParseFailure. Functions are made from the function
// library; a bare name the library does not list is a field.
std::unique_ptr<TQREvaluator::Node> parseExpression(const QString& text);

} // namespace qx::report
