#include "app/find/FindInputs.h"

#include "app/find/FindText.h"
#include "platform/db/sql/SqlQuote.h"
#include "platform/env/DialogService.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/DatePicker.h"
#include "platform/ui/Glyphs.h"
#include "usystem/vcl/combos/uQxComboBox.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/edits/uQxEdits.h"
#include "usystem/vcl/forms/QxFormKit.h"

#include <QHash>
#include <QRadioButton>

namespace qx::app::find {

namespace {

using qx::kit::Bounds;

constexpr int kRowHeight = 26;
constexpr int kColumnWidth = 300;
constexpr int kTop = 10;
constexpr int kLeft = 8;
// Where the parts of a row stand, from the row's left edge.
constexpr int kOperatorLeft = 84;
constexpr int kValueLeft = 168;
constexpr int kRowWidth = 296;

QString inputName(const char* prefix, const FindCondition& c, const char* suffix = "")
{
    return QLatin1String(prefix) + c.Page + c.Column + QLatin1String(suffix);
}

template <class T>
T* named(T* control, const QString& name)
{
    control->setObjectName(name);
    return control;
}

// The rows a condition takes on its page (a radio group already made takes none).
int rowsOf(const FindCondition& c, const QHash<QString, QList<QRadioButton*>>& groups)
{
    const int heading = c.Heading.isEmpty() ? 0 : 1;
    if (c.Kind == ConditionKind::Choice && c.Radio)
        return groups.contains(c.Group) ? 0 : heading + 2;
    return heading + 1;
}

class PageBuilder
{
public:
    PageBuilder(QWidget* sheet, const FindPage& page, const std::function<void(TQxEdit*)>& wirePick)
        : m_sheet(sheet), m_page(page), m_wirePick(wirePick)
    {}

    void build(std::vector<FindInputs>& inputs)
    {
        const QList<FindCondition>& all = FindConditions();
        inputs.resize(all.size());
        int total = 0;
        {
            QHash<QString, QList<QRadioButton*>> seen;
            for (const FindCondition& c : all)
                if (c.Page == m_page.Name) {
                    total += rowsOf(c, seen);
                    if (c.Kind == ConditionKind::Choice && c.Radio)
                        seen.insert(c.Group, {});
                }
        }
        m_rowsPerColumn = (total + 1) / 2;
        for (qsizetype i = 0; i < all.size(); ++i) {
            const FindCondition& c = all[i];
            if (c.Page != m_page.Name)
                continue;
            FindInputs& in = inputs[std::size_t(i)];
            in.Condition = &c;
            place(c, in);
        }
    }

private:
    // The top left corner of the next rows rows, moving to the second column when the first
    // is full.
    QPoint take(int rows)
    {
        if (m_column == 0 && m_row > 0 && m_row + rows > m_rowsPerColumn) {
            m_column = 1;
            m_row = 0;
        }
        const QPoint at(kLeft + m_column * kColumnWidth, kTop + m_row * kRowHeight);
        m_row += rows;
        return at;
    }

    void place(const FindCondition& c, FindInputs& in)
    {
        const int rows = rowsOf(c, m_groups);
        if (rows == 0) {
            in.Radios = m_groups.value(c.Group);
            return;
        }
        QPoint at = take(rows);
        if (!c.Heading.isEmpty()) {
            named(qx::kit::label(m_sheet, "", c.Heading, at.x(), at.y() + 4), inputName("Lbh", c));
            at.ry() += kRowHeight;
        }
        const int x = at.x();
        const int y = at.y();
        switch (c.Kind) {
        case ConditionKind::Text:
        case ConditionKind::TextCode: placeText(c, in, x, y); break;
        case ConditionKind::Range: placeRange(c, in, x, y); break;
        case ConditionKind::DateRange: placeDateRange(c, in, x, y); break;
        case ConditionKind::Choice: placeChoice(c, in, x, y); break;
        }
    }

    void label(const FindCondition& c, int x, int y)
    {
        named(qx::kit::label(m_sheet, "", c.Label, x, y + 4), inputName("Lbl", c));
    }

    void placeText(const FindCondition& c, FindInputs& in, int x, int y)
    {
        label(c, x, y);
        in.Operator = named(qx::kit::comboBox(m_sheet, "", Bounds{x + kOperatorLeft, y, 80, 20}, c.Operators),
                            inputName("Cbx", c));
        in.Operator->SetStyle(m_page.FixedOperators ? csDropDownList : csDropDown);
        in.Operator->SetItemIndex(-1);
        const Bounds value{x + kValueLeft, y, kRowWidth - kValueLeft, 21};
        if (!c.Values.isEmpty() || !c.ValuesSql.isEmpty()) {
            in.ValueList = named(qx::kit::comboBox(m_sheet, "", value, c.Values), inputName("Lst", c));
            in.ValueList->SetStyle(csDropDownList);
            in.ValueList->SetItemIndex(-1);
            return;
        }
        in.Value = named(qx::kit::edit(m_sheet, "", value), inputName("Edt", c));
        if (c.Button) {
            in.Value->Button()->SetGlyph(qx::libraryGlyph(qx::LibraryGlyph::Ellipsis));
            in.Value->Button()->SetVisible(true);
            m_wirePick(in.Value);
        }
    }

    void placeRange(const FindCondition& c, FindInputs& in, int x, int y)
    {
        label(c, x, y);
        in.From = named(qx::kit::edit(m_sheet, "", Bounds{x + kOperatorLeft, y, 90, 21}), inputName("Edt", c, "From"));
        named(qx::kit::label(m_sheet, "", QStringLiteral("至："), x + kOperatorLeft + 94, y + 4),
              inputName("Lbl", c, "To"));
        in.To = named(qx::kit::edit(m_sheet, "", Bounds{x + kRowWidth - 90, y, 90, 21}), inputName("Edt", c, "To"));
    }

    void placeDateRange(const FindCondition& c, FindInputs& in, int x, int y)
    {
        in.Check = named(qx::kit::checkBox(m_sheet, "", c.Label, Bounds{x, y + 2, kOperatorLeft, 17}),
                         inputName("Chk", c));
        in.FromDate = named(qx::kit::make<qx::DatePicker>(m_sheet, "", Bounds{x + kOperatorLeft, y, 92, 21}),
                            inputName("Dtp", c, "From"));
        named(qx::kit::label(m_sheet, "", QStringLiteral("至："), x + kOperatorLeft + 96, y + 4),
              inputName("Lbl", c, "To"));
        in.ToDate = named(qx::kit::make<qx::DatePicker>(m_sheet, "", Bounds{x + kRowWidth - 90, y, 90, 21}),
                          inputName("Dtp", c, "To"));
    }

    void placeChoice(const FindCondition& c, FindInputs& in, int x, int y)
    {
        QStringList items;
        for (const FindChoice& choice : c.Choices)
            items << choice.Item;
        if (!c.Radio) {
            label(c, x, y);
            in.ChoiceList = named(qx::kit::comboBox(m_sheet, "", Bounds{x + kOperatorLeft, y, 120, 20}, items),
                                  inputName("Lst", c));
            in.ChoiceList->SetStyle(csDropDownList);
            in.ChoiceList->SetItemIndex(c.Start);
            return;
        }
        auto* box = named(qx::kit::groupBox(m_sheet, "", c.Label, Bounds{x, y, kRowWidth, 2 * kRowHeight - 6}),
                          QLatin1String("Rgp") + c.Page + c.Group);
        for (qsizetype i = 0; i < items.size(); ++i) {
            auto* radio = named(new QRadioButton(items[i], box), box->objectName() + QString::number(i));
            radio->setGeometry(8 + int(i) * 72, 18, 70, 20);
            radio->setChecked(i == c.Start);
            in.Radios << radio;
        }
        m_groups.insert(c.Group, in.Radios);
    }

    QWidget* m_sheet;
    const FindPage& m_page;
    const std::function<void(TQxEdit*)>& m_wirePick;
    QHash<QString, QList<QRadioButton*>> m_groups;
    int m_rowsPerColumn = 0;
    int m_column = 0;
    int m_row = 0;
};

} // namespace

QString FindInputs::Text(QWidget* Parent) const
{
    if (!Condition)
        return QString();
    const FindCondition& c = *Condition;
    switch (c.Kind) {
    case ConditionKind::Text:
    case ConditionKind::TextCode: {
        const QString value = Value ? Value->Text() : ValueList ? ValueList->Text() : QString();
        if (value.isEmpty())
            return QString();
        const QString op = Operator ? Operator->Text() : QString();
        if (c.Kind == ConditionKind::TextCode)
            return QStringLiteral(" and ") + TextCodeCondition(c.Column, value, op);
        return c.Prefix + TextCondition(c.Column, value, op) + c.Suffix;
    }
    case ConditionKind::Range: {
        const QString from = From->Text();
        const QString to = To->Text();
        if (from.isEmpty() || to.isEmpty())
            return QString();
        // Both are numbers before anything is said or written.
        const double low = StrToFloat(from);
        const double high = StrToFloat(to);
        const QString text = QStringLiteral(" and ") + NumberCondition(c.Column, from, QStringLiteral("大于等于"))
            + QStringLiteral(" and ") + NumberCondition(c.Column, to, QStringLiteral("小于等于"));
        if (low > high)
            qx::showMessage(c.Message, Parent);
        return text;
    }
    case ConditionKind::DateRange:
        if (!Check->Checked())
            return QString();
        return c.DateFragment.arg(quoteSqlString(FromDate->DateText()), quoteSqlString(ToDate->DateText()));
    case ConditionKind::Choice: {
        int index = ChoiceList ? ChoiceList->ItemIndex() : -1;
        for (qsizetype i = 0; i < Radios.size(); ++i)
            if (Radios[i]->isChecked())
                index = int(i);
        return index >= 0 && index < c.Choices.size() ? c.Choices[index].Fragment : QString();
    }
    }
    return QString();
}

void BuildFindPage(QWidget* Sheet, const FindPage& Page, std::vector<FindInputs>& Inputs,
                   const std::function<void(TQxEdit*)>& WirePick)
{
    PageBuilder(Sheet, Page, WirePick).build(Inputs);
}

} // namespace qx::app::find
