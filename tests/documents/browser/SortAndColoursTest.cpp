// The title click sorts the list by the column's field, ascending first and then alternately;
// a reopened list starts ascending again. The amount cell is red while something is due, blue
// otherwise.
#include "tests/documents/browser/BrowserFixture.h"

#include <QImage>

namespace qx::documents::test {
namespace {

class SortAndColoursTest : public BrowserTest
{
protected:
    // The grid's raw column of the visible column over field.
    int rawColumn(const char* field)
    {
        TQxDBGrid* grid = browser->DBGrid1;
        const QList<TQxColumn*>& columns = grid->VisibleColumns();
        for (int i = 0; i < columns.size(); ++i)
            if (columns[i]->FieldName().compare(QLatin1String(field), Qt::CaseInsensitive) == 0)
                return grid->IndicatorOffset() + i;
        ADD_FAILURE() << "no column " << field;
        return -1;
    }

    void clickTitle(const char* field)
    {
        TQxDBGrid* grid = browser->DBGrid1;
        const QRect r = grid->CellRect(rawColumn(field), 0);
        ASSERT_FALSE(r.isEmpty()) << field << " is scrolled out of view";
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, r.center());
    }

    // Pixels of the cell of field on the grid's data row (0 = the first shown) that are
    // nearly pure red and nearly pure blue.
    std::pair<int, int> inkOfCell(const char* field, int dataRow)
    {
        TQxDBGrid* grid = browser->DBGrid1;
        const QImage image = grid->viewport()->grab().toImage();
        const QRect r = grid->CellRect(rawColumn(field), grid->TitleOffset() + dataRow);
        int red = 0;
        int blue = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.red() > 180 && c.green() < 80 && c.blue() < 80)
                    ++red;
                if (c.blue() > 180 && c.red() < 80 && c.green() < 80)
                    ++blue;
            }
        return {red, blue};
    }

    void findAll()
    {
        dialogs().answerDialog([](QDialog& d) { QTest::mouseClick(formOf<TFrmFind>(d).BtnOK, Qt::LeftButton); });
        click(browser->BtnQuery);
    }
};

// Each click: the column's field, the list's sort text and the bills in order afterwards.
struct SortStep
{
    const char* field;
    const char* sort;
    QStringList bills;
};

TEST_F(SortAndColoursTest, TitleClicksAlternateFromAscending)
{
    open();
    findAll();
    const QStringList up = {QStringLiteral("WX1"), QStringLiteral("WX2"), QStringLiteral("WX3"), QStringLiteral("WX4")};
    const QStringList down = {QStringLiteral("WX4"), QStringLiteral("WX3"), QStringLiteral("WX2"), QStringLiteral("WX1")};
    const QStringList byAmount = {QStringLiteral("WX4"), QStringLiteral("WX1"), QStringLiteral("WX2"), QStringLiteral("WX3")};
    const SortStep steps[] = {
        {"BillNo", "BillNo ASC", up},
        {"BillNo", "BillNo DESC", down},
        {"BillNo", "BillNo ASC", up},
        // Another field starts ascending; the first keeps its own direction.
        {"TotalAmount", "TotalAmount ASC", byAmount},
        {"BillNo", "BillNo DESC", down},
        {"TotalAmount", "TotalAmount DESC", {byAmount.rbegin(), byAmount.rend()}},
    };
    for (const SortStep& s : steps) {
        clickTitle(s.field);
        EXPECT_EQ(browser->QryMain->Sort(), QLatin1String(s.sort));
        EXPECT_EQ(listed(), s.bills) << s.sort;
    }
}

TEST_F(SortAndColoursTest, AReopenedListStartsAscending)
{
    open();
    findAll();
    clickTitle("BillNo");
    clickTitle("BillNo");
    ASSERT_EQ(browser->QryMain->Sort(), QStringLiteral("BillNo DESC"));
    // Cancel approval reopens the list.
    click(browser->SpeedButton1);
    clickTitle("BillNo");
    EXPECT_EQ(browser->QryMain->Sort(), QStringLiteral("BillNo ASC"));
}

TEST_F(SortAndColoursTest, AnotherDayComesInTheStatementsOrder)
{
    open();
    clickTitle("BillNo");
    clickTitle("BillNo");
    click(browser->BtnPrior);
    click(browser->BtnNext);
    EXPECT_EQ(browser->QryMain->Sort(), QString());
}

TEST_F(SortAndColoursTest, AmountIsRedWhileSomethingIsDue)
{
    open();
    clickTitle("BillNo"); // WX1 (paid) first, WX2 (150.00 due) second
    ASSERT_EQ(listed(), (QStringList{QStringLiteral("WX1"), QStringLiteral("WX2")}));
    browser->DBGrid1->viewport()->repaint();
    const auto [paidRed, paidBlue] = inkOfCell("TotalAmount", 0);
    const auto [dueRed, dueBlue] = inkOfCell("TotalAmount", 1);
    EXPECT_EQ(paidRed, 0);
    EXPECT_GT(paidBlue, 0);
    EXPECT_GT(dueRed, 0);
    EXPECT_EQ(dueBlue, 0);
    // Other cells keep the grid's ink.
    const auto [nameRed, nameBlue] = inkOfCell("CName", 1);
    EXPECT_EQ(nameRed + nameBlue, 0);
}

} // namespace
} // namespace qx::documents::test
