// The text and layout routines of the document structures and their dialogs: a replace-all
// that ignores letter case, the Chinese wording of database errors, membership in a
// comma-separated list, and saving a data grid's column layout back into a structure.
#pragma once

#include <QString>

class TQxCustomDBGrid;
class TQxRctStr;

// Text with every occurrence of Find (compared without regard to case) replaced. Each search
// starts again from the beginning, so a replacement that joins its neighbours into a new
// occurrence is replaced too ("aabb", "ab" -> "a" gives "aa"). When Replacement itself holds
// Find, that would never end: the text is then replaced in one pass from left to right. An
// empty Find replaces nothing.
QString ReplaceAllText(const QString& Text, const QString& Find, const QString& Replacement);

// The database's error text in Chinese: the first known phrase found in Message is replaced
// (or, for a duplicate key, the whole message), then every "Field" becomes "字段".
QString TranslateDbError(const QString& Message);

// True when one of the comma-separated elements of List (not trimmed) equals Item without
// regard to case. An empty List holds nothing.
bool InCommaList(const QString& List, const QString& Item);

// Orders Structure's field definitions as Grid's columns stand, takes each column's width as
// its definition's displaySize, and with AskHidden asks whether a hidden column's field is to
// be hidden for good ("是否真的要屏蔽字段!"); then stores the structure under Code when any
// column had a definition. The question and the save run on the library data module: without
// it EDatabaseError is raised and nothing changes.
void SaveGridLayout(TQxCustomDBGrid* Grid, TQxRctStr* Structure, const QString& Code, bool AskHidden);
