// The look-ups the bill editors run while the user types: a statement with its values bound as
// parameters (a typed code is never pasted into the statement, so a quote in it is just a
// character), the copy of a found record's columns into a line, the question for an unknown
// code, and the part rule every bill with part lines shares.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <memory>

class QWidget;
class TADOQuery;
class TDataSet;
class TField;

namespace qx::documents {

// Opens sql with params bound on the data module's connection. A statement that fails
// raises the database's error.
std::unique_ptr<TADOQuery> openLookup(const QString& sql, const QVariantMap& params = {});

// Copies the current record's value of every column that source and line share (names
// compared without case) into line as a value, but those named in except (without case).
// The line's text handlers do not run.
void copySharedColumns(TDataSet& line, const TDataSet& source, const QStringList& except);

// "编号" + code + "不存在，是否现在增加！" in a box captioned "提示" with OK and Cancel; true
// for OK.
bool askAddUnknownCode(QWidget* parent, const QString& code);

// The part rule of a bill line whose part code was entered into codeField: the part of that
// code in the stock file gives the line its columns (all it shares with the stock row but
// Qty, ID and Remark). An unknown code is asked about: Cancel empties it, OK opens the part
// editor on a new part of that code (behind the right "库存管理-新增配件", refused with its
// message) and the line takes the part when it was stored. An empty code does nothing.
void lookUpPart(QWidget* parent, TField* codeField);

} // namespace qx::documents
