#include "TestTables.h"

#include <gtest/gtest.h>

using qxtest::addPart;
using qxtest::codes;
using qxtest::partsTable;

TEST(Bookmarks, StayValidWhenOtherRowsAreDeleted)
{
    auto t = partsTable();
    for (const char* c : {"A", "B", "C", "D"})
        addPart(*t, c, "n", 1, 1);
    t->First();
    const TBookmark a = t->GetBookmark();
    t->Next();
    TBookmark b = t->GetBookmark();
    t->Next();
    const TBookmark c = t->GetBookmark();

    t->GotoBookmark(a);
    t->Delete();
    t->GotoBookmark(c);
    t->Delete();
    EXPECT_FALSE(t->BookmarkValid(a));
    EXPECT_FALSE(t->BookmarkValid(c));
    ASSERT_TRUE(t->BookmarkValid(b));
    t->Last();
    t->GotoBookmark(b);
    EXPECT_EQ(t->FieldByName("Code")->AsString(), "B");
    try {
        t->GotoBookmark(a);
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message(), "Record not found");
    }
    // A new row never takes the place of a deleted one.
    addPart(*t, "E", "n", 1, 1);
    EXPECT_FALSE(t->BookmarkValid(a));
    EXPECT_FALSE(t->BookmarkValid(c));
    t->FreeBookmark(b);
    EXPECT_TRUE(b.isEmpty());
}

TEST(Bookmarks, CompareInATotalOrderThatSurvivesSorting)
{
    auto t = partsTable();
    for (const char* c : {"C", "A", "B"})
        addPart(*t, c, "n", 1, 1);
    std::vector<TBookmark> marks;
    t->First();
    while (!t->Eof()) {
        marks.push_back(t->GetBookmark());
        t->Next();
    }
    t->SetSort("Code");
    for (std::size_t i = 0; i < marks.size(); ++i) {
        EXPECT_EQ(t->CompareBookmarks(marks[i], marks[i]), 0);
        for (std::size_t j = i + 1; j < marks.size(); ++j) {
            EXPECT_LT(t->CompareBookmarks(marks[i], marks[j]), 0);
            EXPECT_GT(t->CompareBookmarks(marks[j], marks[i]), 0);
        }
    }
    EXPECT_EQ(t->CompareBookmarks(TBookmark(), TBookmark()), 0);
    EXPECT_LT(t->CompareBookmarks(TBookmark(), marks[0]), 0);
    t->GotoBookmark(marks[0]);
    EXPECT_EQ(t->FieldByName("Code")->AsString(), "C");
    EXPECT_EQ(t->RecNo(), 3);
}

TEST(Bookmarks, NoBookmarkForAnUnpostedRecord)
{
    auto t = partsTable();
    t->Append();
    EXPECT_TRUE(t->GetBookmark().isEmpty());
    EXPECT_FALSE(t->BookmarkValid(TBookmark("garbage")));
}

namespace {

struct LocateCase
{
    const char* fields;
    QVariant values;
    TLocateOptions options;
    bool found;
    const char* code; // the row found
};

} // namespace

TEST(Locate, OptionsAndKeys)
{
    auto t = partsTable();
    addPart(*t, "P1", "Screen", 2, 100);
    addPart(*t, "P2", "screw", 5, 0.5);
    addPart(*t, "P3", "电池", 5, 30);
    addPart(*t, "P4", "Screwdriver", 1, 12.25);

    const LocateCase cases[] = {
        {"Name", "screw", {}, true, "P2"},
        {"Name", "SCREW", {}, false, ""},
        {"Name", "SCREW", loCaseInsensitive, true, "P2"},
        {"Name", "Scre", {}, false, ""},
        {"Name", "Screw", loPartialKey, true, "P4"},
        {"Name", "scre", loPartialKey | loCaseInsensitive, true, "P1"},
        {"Name", "电", loPartialKey, true, "P3"},
        {"Qty", 5, {}, true, "P2"},
        {"Qty", "5", {}, true, "P2"},
        {"Qty", "abc", {}, false, ""},
        {"Price", 12.25, {}, true, "P4"},
        {"Price", "30", {}, true, "P3"},
        {"Qty;Name", QVariantList{5, "电池"}, {}, true, "P3"},
        {"qty;NAME", QVariantList{5, "SCREW"}, loCaseInsensitive, true, "P2"},
        {"Qty;Name", QVariantList{1, "Screen"}, {}, false, ""},
        {"Price", "12.2", loPartialKey, true, "P4"},
    };
    for (const LocateCase& c : cases) {
        t->Last();
        const bool found = t->Locate(QString::fromLatin1(c.fields), c.values, c.options);
        EXPECT_EQ(found, c.found) << c.fields << " " << c.values.toString().toStdString();
        EXPECT_EQ(t->FieldByName("Code")->AsString(), c.found ? QString::fromLatin1(c.code) : QStringLiteral("P4"))
            << c.fields << " " << c.values.toString().toStdString();
    }
    EXPECT_THROW(t->Locate("Nope", 1), EDatabaseError);
}

TEST(Locate, NullKeysMatchNullValues)
{
    auto t = partsTable();
    addPart(*t, "P1", "a", 1, 1);
    t->Append();
    t->FieldByName("Code")->SetAsString("P2");
    t->Post();
    t->First();
    EXPECT_TRUE(t->Locate("Name", QVariant()));
    EXPECT_EQ(t->FieldByName("Code")->AsString(), "P2");
}

TEST(Lookup, ReturnsValuesWithoutMoving)
{
    auto t = partsTable();
    addPart(*t, "P1", "Screen", 2, 100);
    addPart(*t, "P2", "screw", 5, 0.5);
    t->First();
    EXPECT_EQ(t->Lookup("Code", "P2", "Name").toString(), "screw");
    EXPECT_EQ(t->FieldByName("Code")->AsString(), "P1");
    const QVariantList both = t->Lookup("Code", "P2", "Name;Qty").toList();
    ASSERT_EQ(both.size(), 2);
    EXPECT_EQ(both[1].toInt(), 5);
    EXPECT_FALSE(t->Lookup("Code", "none", "Name").isValid());
    EXPECT_DOUBLE_EQ(t->Lookup("Code", "P2", "Price").toDouble(), 0.5);
}
