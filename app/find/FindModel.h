// The find dialog's conditions as one table: every page and every condition on it (label,
// column, kind, operators, value list, pick list) in the order the where text is built. The
// dialog makes its pages and reads them back from this table alone.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace qx::app::find {

enum class ConditionKind {
    Text,      // operator list and value: TextCondition, between Prefix and Suffix
    TextCode,  // operator list and value: TextCodeCondition (name or its input codes)
    Range,     // two number edits, both filled: column >= from and column <= to
    DateRange, // check box and two date pickers: DateFragment with the two dates
    Choice,    // radio group or pick-only list: the fragment of the chosen item
};

// One item of a choice and the text it adds (nothing when empty).
struct FindChoice
{
    QString Item;
    QString Fragment;
};

struct FindCondition
{
    QString Page;
    QString Label;
    QString Column;
    ConditionKind Kind = ConditionKind::Text;

    // Text and TextCode: the operator list; whether the operator may also be typed is the
    // page's. The value is typed unless Values or ValuesSql give a pick-only list (ValuesSql
    // is run when the page is shown).
    QStringList Operators;
    QStringList Values;
    QString ValuesSql;
    // The value edit carries a pick button; Pick names SelectFindValue's list behind it. A
    // button without a name opens nothing.
    bool Button = false;
    QString Pick;
    // Text: the condition stands between these.
    QString Prefix = QStringLiteral(" and ");
    QString Suffix;

    // Range: the message shown when the from-value exceeds the to-value.
    QString Message;
    // DateRange: the fragment, %1 and %2 the quoted from- and to-dates.
    QString DateFragment;

    // Choice: the control (one radio group may feed two conditions of a page), its items with
    // their fragments, the item chosen at start (-1: none) and radio buttons or a list.
    QString Group;
    QList<FindChoice> Choices;
    int Start = -1;
    bool Radio = true;

    // A caption shown above the condition, naming the group it begins.
    QString Heading;
};

struct FindPage
{
    QString Name;
    // The operator combos offer a fixed list only; otherwise they accept typed text too.
    bool FixedOperators = false;
};

// The thirteen pages in notebook order (index 0 "Reception" .. 12 "Out").
const QList<FindPage>& FindPages();
// Every condition of every page, in the order the where text is built.
const QList<FindCondition>& FindConditions();
// The page shown when the dialog is made and when a page name matches none.
inline constexpr char16_t kDefaultPage[] = u"Vehicle";

} // namespace qx::app::find
