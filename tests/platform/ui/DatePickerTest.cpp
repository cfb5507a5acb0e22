// The date picker: the short date format turned into Qt's display format, today of the system
// clock at start, and a date typed with the keyboard read back as the short date text.
#include "platform/ui/DatePicker.h"

#include "platform/rtl/SysUtils.h"
#include "tests/support/Scoped.h"

#include <gtest/gtest.h>

#include <QScopeGuard>
#include <QTest>

TEST(DatePicker, ShortDateFormatsBecomeQtDisplayFormats)
{
    // shown: 5 March 2026 in the Qt format, so the quoting is read back by Qt itself.
    const struct
    {
        const char16_t* format;
        const char16_t* qt;
        const char16_t* shown;
    } cases[] = {
        {u"yyyy-mm-dd", u"yyyy-MM-dd", u"2026-03-05"},
        {u"YYYY-MM-DD", u"yyyy-MM-dd", u"2026-03-05"},
        {u"yy/m/d", u"yy-M-d", u"26-3-5"}, // '/' is the date separator
        {u"dd.mm.yyyy", u"dd.MM.yyyy", u"05.03.2026"},
        {u"yyyy'年'm'月'd'日'", u"yyyy'年'M'月'd'日'", u"2026年3月5日"},
        {u"yyyy \"week\" mm", u"yyyy' week 'MM", u"2026 week 03"}, // one quoted run per literal
        {u"'it''s", u"'its'", u"its"}, // quoted runs join; an open quote runs to the end
    };
    for (const auto& c : cases) {
        const QString qt = qx::qtDateFormat(QString::fromUtf16(c.format));
        EXPECT_EQ(qt, QString::fromUtf16(c.qt)) << QString::fromUtf16(c.format).toStdString();
        EXPECT_EQ(QDate(2026, 3, 5).toString(qt), QString::fromUtf16(c.shown)) << qt.toStdString();
    }
}

TEST(DatePicker, StartsAtTodayOfTheSystemClock)
{
    const qx::test::ScopedToday today(QDate(2026, 3, 5));
    qx::DatePicker picker;
    EXPECT_EQ(picker.date(), QDate(2026, 3, 5));
    EXPECT_EQ(picker.text(), QStringLiteral("2026-03-05"));
    EXPECT_EQ(picker.DateText(), QStringLiteral("2026-03-05"));
    EXPECT_EQ(double(picker.Date()), double(TDateTime::fromQDate(QDate(2026, 3, 5))));
}

TEST(DatePicker, ShowsAndWritesTheProgramsShortDateFormat)
{
    const auto restore = qScopeGuard([] { ResetFormatSettings(); });
    FormatSettings().ShortDateFormat = QStringLiteral("dd/mm/yyyy");
    FormatSettings().DateSeparator = u'.';
    const qx::test::ScopedToday today(QDate(2026, 3, 5));
    qx::DatePicker picker;
    EXPECT_EQ(picker.text(), QStringLiteral("05.03.2026"));
    EXPECT_EQ(picker.DateText(), QStringLiteral("05.03.2026"));
}

TEST(DatePicker, TypedDateIsTheDate)
{
    const qx::test::ScopedToday today(QDate(2026, 3, 5));
    qx::DatePicker picker;
    picker.show();
    picker.setFocus();
    picker.setSelectedSection(QDateTimeEdit::YearSection);
    QTest::keyClicks(&picker, QStringLiteral("2025"));
    picker.setSelectedSection(QDateTimeEdit::MonthSection);
    QTest::keyClicks(&picker, QStringLiteral("12"));
    picker.setSelectedSection(QDateTimeEdit::DaySection);
    QTest::keyClicks(&picker, QStringLiteral("31"));
    EXPECT_EQ(picker.date(), QDate(2025, 12, 31));
    EXPECT_EQ(picker.DateText(), QStringLiteral("2025-12-31"));

    picker.SetDate(TDateTime::fromQDate(QDate(2024, 2, 29)));
    EXPECT_EQ(picker.text(), QStringLiteral("2024-02-29"));
}
