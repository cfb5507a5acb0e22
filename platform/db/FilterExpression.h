// The text form of a dataset filter, as users and forms write it:
//
//   Name = 'abc'              comparisons =, <>, <, >, <=, >= of a field with a literal
//   Name = 'ab*'              with = and <>, a text ending in '*' matches by its start
//   Qty > 3 and not (Price = 0 or Remark is null)
//
// Field names may be written in brackets ([Unit Price]); literals are quoted text ('' for a
// quote inside) or numbers; "and", "or", "not", "is null", "is not null" ignore case. Text
// compares without case, as the shop's database does. A damaged text raises EDatabaseError
// naming what was expected.
#pragma once

#include <QString>
#include <QVariant>

#include <memory>

class TDataSet;

namespace qx {

class FilterExpression
{
public:
    static std::unique_ptr<FilterExpression> parse(const QString& text);
    ~FilterExpression();
    // True when the dataset's record being read passes. Unknown fields raise "Field 'X' not found".
    bool matches(const TDataSet& dataSet) const;

    struct Node;

private:
    FilterExpression() = default;
    std::unique_ptr<Node> m_root;
};

} // namespace qx
