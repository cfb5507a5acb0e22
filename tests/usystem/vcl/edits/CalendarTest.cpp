// The month calendar driven by real key and mouse events: layout, keys, clicks on day cells and
// buttons, press-and-drag, hover frames, the colour set, the month menu and the year spin.
#include "usystem/vcl/edits/uQxDatePad.h"
#include "tests/usystem/vcl/edits/DateText.h"

#include "platform/rtl/Clock.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Messages.h"

#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

using qx::test::ymd;

class Calendar : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetFormatSettings();
        qx::setToday(EncodeDate(2024, 3, 5));
        form = std::make_unique<QWidget>();
        form->resize(300, 250);
        cal = new TQxCalendar(form.get());
        cal->move(10, 10);
        cal->OnAccept = [this](QObject*) { ++accepts; };
        cal->OnCancel = [this](QObject*) { ++cancels; };
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        QApplication::setActiveWindow(form.get());
        cal->setFocus();
    }
    void TearDown() override
    {
        form.reset();
        qx::clearToday();
    }

    TQxCalendarDate& date() { return *cal->CalendarDate(); }
    // Widget coordinates of a point given in the calendar's client coordinates.
    QPoint at(const QPoint& client) { return client + cal->ClientOrigin(); }
    void click(const QPoint& client, Qt::KeyboardModifiers mods = {})
    {
        QTest::mouseClick(cal, Qt::LeftButton, mods, at(client));
    }
    QColor pixel(const QPoint& client) { return cal->grab().toImage().pixelColor(at(client)); }

    std::unique_ptr<QWidget> form;
    TQxCalendar* cal = nullptr;
    int accepts = 0;
    int cancels = 0;
};

} // namespace

TEST_F(Calendar, LayoutOfTheDefaultSize)
{
    EXPECT_EQ(cal->width(), 155);
    EXPECT_EQ(cal->height(), 141);
    EXPECT_EQ(cal->RowHeight(), 16);
    EXPECT_EQ(cal->ColUnit(), 7);
    cal->SetOptions(coShowPopups | coShowTodayBtn);
    EXPECT_EQ(cal->RowHeight(), 13);
    cal->SetOptions(coShowPopups | coShowWeeks);
    EXPECT_EQ(cal->ColUnit(), 5);
    EXPECT_EQ(cal->WeekColWidth(), 20);
    cal->SetBorderStyle(TQxCustomCalendar::bsSingle);
    EXPECT_EQ(cal->TopOffset(), 2);
    EXPECT_EQ(cal->RowHeight(), (139 - 8 - 4) / 8);
}

TEST_F(Calendar, CellAtIsTheInverseOfCellRect)
{
    for (int cell : {1, 7, 8, 23, 36, 42}) {
        const QRect r = cal->CellRect(cell);
        EXPECT_EQ(cal->CellAt(r.center().x(), r.center().y()), cell);
        EXPECT_EQ(cal->CellAt(r.left(), r.top()), cell);
    }
    EXPECT_EQ(cal->CellAt(0, 0), -1);
}

TEST_F(Calendar, KeysMoveTheDate)
{
    struct Case {
        int key;
        Qt::KeyboardModifiers mods;
        const char* expected;
    };
    const Case cases[] = {
        {Qt::Key_PageDown, Qt::NoModifier, "2024-2-29"},
        {Qt::Key_PageDown, Qt::ControlModifier, "2025-1-31"},
        {Qt::Key_PageUp, Qt::NoModifier, "2023-12-31"},
        {Qt::Key_PageUp, Qt::ControlModifier, "2023-1-31"},
        {Qt::Key_Right, Qt::NoModifier, "2024-2-1"},
        {Qt::Key_Left, Qt::NoModifier, "2024-1-30"},
        {Qt::Key_Down, Qt::NoModifier, "2024-2-7"},
        {Qt::Key_Up, Qt::NoModifier, "2024-1-24"},
        {Qt::Key_Home, Qt::NoModifier, "2024-3-5"},
    };
    for (const Case& c : cases) {
        date().SetYMD(2024, 1, 31);
        QTest::keyClick(cal, Qt::Key(c.key), c.mods);
        EXPECT_EQ(ymd(date()), c.expected) << c.key;
    }
    EXPECT_EQ(accepts, 0);
    QTest::keyClick(cal, Qt::Key_Return);
    EXPECT_EQ(accepts, 1);
    QTest::keyClick(cal, Qt::Key_Escape);
    EXPECT_EQ(cancels, 1);
}

TEST_F(Calendar, ValueChangeAndTitleFollowTheDate)
{
    int changes = 0;
    cal->OnValueChange = [&](QObject* s) {
        ++changes;
        EXPECT_EQ(s, cal);
    };
    date().SetYMD(2024, 1, 31);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(cal->Title(), FormatDateTime(" mmmm, yyyy ", EncodeDate(2024, 1, 1)));
    QTest::keyClick(cal, Qt::Key_PageDown);
    EXPECT_EQ(changes, 2);
    EXPECT_TRUE(cal->Title().contains("2024"));
    EXPECT_TRUE(cal->Title().contains(FormatDateTime("mmm", EncodeDate(2024, 2, 1))));
}

TEST_F(Calendar, ClickingADayCellSelectsAndAccepts)
{
    date().SetYMD(2024, 3, 10); // March 2024 starts in cell 5
    ASSERT_EQ(date().FirstCell, 5);
    click(cal->CellRect(5 + 19).center()); // the 20th
    EXPECT_EQ(ymd(date()), "2024-3-20");
    EXPECT_EQ(accepts, 1);
    EXPECT_EQ(cal->DrawnSelection(), 24);
}

TEST_F(Calendar, ClicksInsideTheSingleBorder)
{
    cal->SetBorderStyle(TQxCustomCalendar::bsSingle);
    cal->SetOptions(coShowPopups | coShowWeeks | coShowTodayBtn);
    date().SetYMD(2024, 3, 10);
    click(cal->CellRect(5 + 27).center()); // the 28th
    EXPECT_EQ(ymd(date()), "2024-3-28");
    EXPECT_EQ(cal->grab().toImage().pixelColor(0, 0), toQColor(clWindowFrame));
}

TEST_F(Calendar, NeighbourCellsNeedMonthSwitchOrFullDisplay)
{
    date().SetYMD(2024, 3, 10);
    click(cal->CellRect(2).center()); // 27 February, blank by default
    EXPECT_EQ(ymd(date()), "2024-3-10");
    EXPECT_EQ(accepts, 0);

    cal->SetOptions(coShowPopups | coMonthSwitch);
    click(cal->CellRect(2).center());
    EXPECT_EQ(ymd(date()), "2024-2-10"); // the page moved back one month
    EXPECT_EQ(accepts, 0);
    click(cal->CellRect(42).center()); // a day of March on February's page
    EXPECT_EQ(ymd(date()), "2024-3-10");

    cal->SetOptions(coShowPopups | coFullDisplay);
    click(cal->CellRect(2).center());
    EXPECT_EQ(ymd(date()), "2024-2-27");
    EXPECT_EQ(accepts, 1);
}

TEST_F(Calendar, PreviousAndNextButtons)
{
    date().SetYMD(2024, 1, 31);
    click(cal->PartRect(TQxCustomCalendar::NextPart).center());
    EXPECT_EQ(ymd(date()), "2024-2-29");
    click(cal->PartRect(TQxCustomCalendar::PrevPart).center());
    EXPECT_EQ(ymd(date()), "2024-1-29");
    click(cal->PartRect(TQxCustomCalendar::NextPart).center(), Qt::ControlModifier);
    EXPECT_EQ(ymd(date()), "2025-1-29");
    EXPECT_EQ(accepts, 0);
}

TEST_F(Calendar, ReleasingAButtonOutsideDoesNothing)
{
    date().SetYMD(2024, 1, 31);
    const QPoint next = cal->PartRect(TQxCustomCalendar::NextPart).center();
    QTest::mousePress(cal, Qt::LeftButton, {}, at(next));
    QTest::mouseMove(cal, at(QPoint(70, 70)));
    QTest::mouseRelease(cal, Qt::LeftButton, {}, at(QPoint(70, 70)));
    EXPECT_EQ(ymd(date()), "2024-1-31");
}

TEST_F(Calendar, TodayButtonSetsTodayAndAccepts)
{
    cal->SetOptions(coShowPopups | coShowTodayBtn | coShowToday);
    date().SetYMD(2023, 7, 1);
    click(cal->PartRect(TQxCustomCalendar::TodayPart).center());
    EXPECT_EQ(ymd(date()), "2024-3-5");
    EXPECT_EQ(accepts, 1);
}

TEST_F(Calendar, DragOutOfTheGridAcceptsTheOldDateUnlessCancelIfOut)
{
    date().SetYMD(2024, 3, 10);
    const int start = date().SelectedCell;
    QTest::mousePress(cal, Qt::LeftButton, {}, at(cal->CellRect(20).center()));
    QTest::mouseMove(cal, at(cal->CellRect(22).center()));
    EXPECT_EQ(cal->DrawnSelection(), 22); // the mark follows the mouse
    EXPECT_EQ(ymd(date()), "2024-3-10");  // the date does not
    QTest::mouseMove(cal, QPoint(-30, 200));
    QTest::mouseRelease(cal, Qt::LeftButton, {}, QPoint(-30, 200));
    EXPECT_EQ(ymd(date()), "2024-3-10");
    EXPECT_EQ(accepts, 1);
    EXPECT_EQ(cal->DrawnSelection(), start);

    cal->SetOptions(coShowPopups | coCancelIfOut);
    QTest::mousePress(cal, Qt::LeftButton, {}, at(cal->CellRect(20).center()));
    QTest::mouseMove(cal, QPoint(-30, 200));
    QTest::mouseRelease(cal, Qt::LeftButton, {}, QPoint(-30, 200));
    EXPECT_EQ(ymd(date()), "2024-3-10");
    EXPECT_EQ(accepts, 1);
    EXPECT_EQ(cal->DrawnSelection(), start);
}

TEST_F(Calendar, HoverFrameOnlyWithFrameHilight)
{
    date().SetYMD(2024, 3, 10);
    QTest::mouseMove(cal, at(cal->CellRect(20).center()));
    EXPECT_EQ(cal->HotCell(), 20);
    // The raised frame: button shadow on the bottom edge of the cell.
    const QRect r = cal->CellRect(20);
    EXPECT_EQ(pixel(QPoint(r.center().x(), r.bottom())), toQColor(clBtnShadow));
    QTest::mouseMove(cal, at(cal->CellRect(21).center()));
    EXPECT_EQ(cal->HotCell(), 21);
    EXPECT_EQ(pixel(QPoint(r.center().x(), r.bottom())), toQColor(clBtnFace));

    cal->SetHilightStyle(THilightStyle::hsUnderline);
    QTest::mouseMove(cal, at(cal->CellRect(19).center()));
    EXPECT_EQ(cal->HotCell(), 21);
    EXPECT_EQ(pixel(QPoint(cal->CellRect(19).center().x(), cal->CellRect(19).bottom())), toQColor(clBtnFace));
}

TEST_F(Calendar, SelectionStyles)
{
    date().SetYMD(2024, 3, 10);
    const QRect r = cal->CellRect(date().SelectedCell);
    EXPECT_EQ(cal->DrawnSelection(), date().SelectedCell);
    // ssFrame: sunken flat frame, its top in the button shadow.
    EXPECT_EQ(pixel(QPoint(r.center().x(), r.top())), toQColor(clBtnShadow));

    cal->SetSelectStyle(TSelectStyle::ssOval);
    EXPECT_EQ(pixel(QPoint(r.x() + 3, r.center().y())), toQColor(clHighlight));

    cal->SetSelectStyle(TSelectStyle::ssNone);
    cal->Invalidate();
    EXPECT_EQ(pixel(QPoint(r.x() + 3, r.center().y())), toQColor(clBtnFace));
    EXPECT_EQ(cal->DrawnSelection(), -1);
}

TEST_F(Calendar, DayColours)
{
    cal->SetOptions(coShowPopups | coFullDisplay);
    date().SetYMD(2024, 3, 10); // cell 5 is Friday 1 March, cell 6 Saturday
    EXPECT_EQ(cal->DayColor(5), cal->NormalTextColor());
    EXPECT_EQ(cal->DayColor(6), clMaroon);
    EXPECT_EQ(cal->DayColor(1), cl3DLight);  // Monday 26 February
    EXPECT_EQ(cal->DayColor(41), clInfoBk);  // Saturday 6 April
    cal->SetWeekEnds(TWeekEnds(TWeekEnd::Sun));
    EXPECT_EQ(cal->DayColor(6), cal->NormalTextColor());
    cal->setEnabled(false);
    EXPECT_EQ(cal->DayColor(5), clGrayText);
}

TEST_F(Calendar, ColoursAssignCopiesAllFive)
{
    TQxCalendar other(form.get());
    other.Colors()->SetTitles(clRed);
    other.Colors()->SetWeekEnd(clBlue);
    other.Colors()->SetInactive(clGreen);
    other.Colors()->SetInactiveWeekEnd(clYellow);
    other.Colors()->SetSelect(clPurple);
    cal->SetColors(other.Colors());
    EXPECT_EQ(cal->Colors()->Titles(), clRed);
    EXPECT_EQ(cal->Colors()->WeekEnd(), clBlue);
    EXPECT_EQ(cal->Colors()->Inactive(), clGreen);
    EXPECT_EQ(cal->Colors()->InactiveWeekEnd(), clYellow);
    EXPECT_EQ(cal->Colors()->Select(), clPurple);

    try {
        cal->Colors()->Assign(nullptr);
        FAIL() << "Assign(nil) must raise";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "错误提示");
    }
    QObject notColours;
    EXPECT_THROW(cal->Colors()->Assign(&notColours), EConvertError);
    EXPECT_EQ(cal->Colors()->Select(), clPurple);
}

TEST_F(Calendar, PublishedPropertiesInOrder)
{
    const QMetaObject* mo = cal->metaObject();
    QStringList names;
    for (int i = mo->superClass()->propertyCount(); i < mo->propertyCount(); ++i)
        names << mo->property(i).name();
    EXPECT_EQ(names.join(','),
              "BeginingOfWeek,Bevel,BorderStyle,Color,Colors,Enabled,Font,HilightStyle,SelectStyle,"
              "Options,ParentShowHint,PopupMenu,ShowHint,TabStop,Visible,WeekEnds");
    // Enumerations and sets carry their names for the component stream.
    for (const char* name : {"BeginingOfWeek", "Bevel", "BorderStyle", "HilightStyle", "SelectStyle", "Options", "WeekEnds"})
        EXPECT_TRUE(mo->property(mo->indexOfProperty(name)).isEnumType()) << name;
    EXPECT_TRUE(mo->property(mo->indexOfProperty("Options")).isFlagType());
    EXPECT_EQ(cal->property("Options").value<TCalendarOptions>(), TCalendarOptions(coShowPopups));
    EXPECT_EQ(cal->property("Color").toInt(), clBtnFace);
}

TEST_F(Calendar, MonthMenuSetsTheMonth)
{
    struct Case { int month; const char* expected; };
    for (const Case c : {Case{3, "2024-3-31"}, Case{2, "2024-2-29"}}) {
        date().SetYMD(2024, 1, 31);
        click(cal->PartRect(TQxCustomCalendar::MonthPart).center());
        TQxMonthPopup* menu = TQxMonthPopup::Instance();
        ASSERT_TRUE(menu->isVisible());
        ASSERT_EQ(menu->actions().size(), 12);
        EXPECT_EQ(menu->actions().at(c.month - 1)->text(), FormatDateTime("mmmm", EncodeDate(1900, c.month, 1)));
        menu->actions().at(c.month - 1)->trigger();
        menu->hide();
        EXPECT_EQ(ymd(date()), c.expected);
        EXPECT_TRUE(menu->Calendar.isNull());
    }
}

TEST_F(Calendar, YearSpinStepsAndAccepts)
{
    date().SetYMD(2024, 2, 29);
    click(cal->PartRect(TQxCustomCalendar::YearPart).center());
    TQxYearSpin* spin = cal->YearSpin();
    ASSERT_NE(spin, nullptr);
    EXPECT_TRUE(spin->isVisible());
    EXPECT_EQ(spin->text(), "2024");
    EXPECT_TRUE(spin->hasFocus());
    QTest::keyClick(spin, Qt::Key_Up);
    QTest::keyClicks(spin, "77x"); // characters are dropped
    EXPECT_EQ(spin->text(), "2025");
    QTest::keyClick(spin, Qt::Key_Return);
    EXPECT_FALSE(spin->isVisible());
    EXPECT_EQ(ymd(date()), "2025-2-28");
    EXPECT_TRUE(cal->hasFocus());
}

TEST_F(Calendar, YearSpinEscCancels)
{
    date().SetYMD(2024, 5, 1);
    click(cal->PartRect(TQxCustomCalendar::YearPart).center());
    TQxYearSpin* spin = cal->YearSpin();
    ASSERT_NE(spin, nullptr);
    QTest::keyClick(spin, Qt::Key_Down);
    QTest::keyClick(spin, Qt::Key_Escape);
    EXPECT_FALSE(spin->isVisible());
    EXPECT_EQ(cancels, 1);
    EXPECT_EQ(ymd(date()), "2024-5-1");
}

TEST_F(Calendar, ClickingTheCalendarAcceptsTheSpinsYear)
{
    date().SetYMD(2024, 5, 1);
    click(cal->PartRect(TQxCustomCalendar::YearPart).center());
    TQxYearSpin* spin = cal->YearSpin();
    ASSERT_NE(spin, nullptr);
    QTest::keyClick(spin, Qt::Key_Up);
    QTest::keyClick(spin, Qt::Key_Up);
    // A click on a day: the year is taken first (May 2026 starts in cell 5), then the click
    // goes on to pick the day under the mouse on the new page.
    click(cal->CellRect(12).center());
    EXPECT_FALSE(spin->isVisible());
    EXPECT_EQ(ymd(date()), "2026-5-8");
    EXPECT_EQ(accepts, 1);
}

TEST_F(Calendar, FocusLeavingTheSpinCancels)
{
    QWidget other(form.get());
    other.setFocusPolicy(Qt::StrongFocus);
    other.show();
    date().SetYMD(2024, 5, 1);
    click(cal->PartRect(TQxCustomCalendar::YearPart).center());
    TQxYearSpin* spin = cal->YearSpin();
    ASSERT_NE(spin, nullptr);
    QTest::keyClick(spin, Qt::Key_Up);
    other.setFocus();
    EXPECT_FALSE(spin->isVisible());
    EXPECT_EQ(cancels, 1);
    EXPECT_EQ(ymd(date()), "2024-5-1");
}

TEST_F(Calendar, PressOnAnotherControlCancelsTheSpin)
{
    QWidget label(form.get()); // takes no focus
    label.setGeometry(200, 10, 50, 20);
    label.show();
    date().SetYMD(2024, 5, 1);
    click(cal->PartRect(TQxCustomCalendar::YearPart).center());
    TQxYearSpin* spin = cal->YearSpin();
    ASSERT_NE(spin, nullptr);
    QTest::keyClick(spin, Qt::Key_Up);
    QTest::mouseClick(spin->UpDown(), Qt::LeftButton, {}, QPoint(2, 2)); // its own arrows
    EXPECT_TRUE(spin->isVisible());
    EXPECT_EQ(spin->text(), "2026");
    QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(spin->isVisible());
    EXPECT_EQ(cancels, 1);
    EXPECT_EQ(ymd(date()), "2024-5-1");
}

TEST_F(Calendar, YearSpinKeepsToYearsOneTo9999)
{
    date().SetYMD(9999, 12, 31);
    click(cal->PartRect(TQxCustomCalendar::YearPart).center());
    TQxYearSpin* spin = cal->YearSpin();
    ASSERT_NE(spin, nullptr);
    QTest::keyClick(spin, Qt::Key_Up);
    EXPECT_EQ(spin->text(), "9999");
    spin->UpDown()->SetPosition(0);
    EXPECT_EQ(spin->UpDown()->Position(), 1);
    EXPECT_EQ(spin->text(), "1");
    QTest::keyClick(spin, Qt::Key_Down);
    EXPECT_EQ(spin->text(), "1");
    QTest::keyClick(spin, Qt::Key_Return);
    EXPECT_EQ(ymd(date()), "1-12-31");
}

TEST_F(Calendar, EnterAndExitEvents)
{
    QWidget other(form.get());
    other.setFocusPolicy(Qt::StrongFocus);
    other.show();
    int enters = 0, exits = 0;
    cal->OnEnter = [&](QObject*) { ++enters; };
    cal->OnExit = [&](QObject*) { ++exits; };
    other.setFocus();
    EXPECT_EQ(exits, 1);
    QTest::mouseClick(cal, Qt::LeftButton, {}, QPoint(70, 135)); // a press takes the focus
    EXPECT_TRUE(cal->hasFocus());
    EXPECT_EQ(enters, 1);
}

TEST_F(Calendar, WithoutPopupsNeitherMenuNorSpin)
{
    cal->SetOptions(TCalendarOptions());
    date().SetYMD(2024, 5, 1);
    click(cal->PartRect(TQxCustomCalendar::MonthPart).center());
    EXPECT_FALSE(TQxMonthPopup::Instance()->isVisible());
    click(cal->PartRect(TQxCustomCalendar::YearPart).center());
    EXPECT_EQ(cal->YearSpin(), nullptr);
    EXPECT_EQ(ymd(date()), "2024-5-1");
}

TEST_F(Calendar, TellsItsSiblingsAboutEnabledAndMouse)
{
    struct Listener : QWidget
    {
        using QWidget::QWidget;
        QList<QPair<int, long>> got;
        bool event(QEvent* e) override
        {
            if (e->type() >= QEvent::User && e->type() < QEvent::User + 200) {
                auto* le = static_cast<qx::LibraryEvent*>(e);
                got << qMakePair(int(le->message()), le->value());
                return true;
            }
            return QWidget::event(e);
        }
    };
    Listener sibling(form.get());
    int entered = 0, left = 0;
    cal->OnMouseEnter = [&](QObject*) { ++entered; };
    cal->OnMouseLeave = [&](QObject*) { ++left; };
    cal->setEnabled(false);
    ASSERT_FALSE(sibling.got.isEmpty());
    EXPECT_EQ(sibling.got.last(), qMakePair(int(qx::LibraryMessage::EnabledChanged), 0L));
    cal->setEnabled(true);
    EXPECT_EQ(sibling.got.last(), qMakePair(int(qx::LibraryMessage::EnabledChanged), 1L));
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(cal, &enter);
    EXPECT_EQ(sibling.got.last().first, int(qx::LibraryMessage::MouseEntered));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(cal, &leave);
    EXPECT_EQ(sibling.got.last().first, int(qx::LibraryMessage::MouseLeft));
    EXPECT_EQ(entered, 1);
    EXPECT_EQ(left, 1);
}
