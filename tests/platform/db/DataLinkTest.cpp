#include "TestTables.h"

#include "platform/db/DataLink.h"
#include "platform/db/DataSource.h"

#include <gtest/gtest.h>

using qxtest::addPart;
using qxtest::partsTable;

namespace {

// A link that writes down what it is told.
class RecordingLink : public TDataLink
{
public:
    QStringList log;
    TField* focusTarget = nullptr;
    QString take()
    {
        const QString s = log.join(u' ');
        log.clear();
        return s;
    }

protected:
    void ActiveChanged() override { log << QStringLiteral("active:%1").arg(Active()); }
    void DataSetChanged() override { log << QStringLiteral("changed"); }
    void DataSetScrolled(int distance) override { log << QStringLiteral("scrolled:%1").arg(distance); }
    void LayoutChanged() override { log << QStringLiteral("layout"); }
    void FocusControl(TField*& field) override
    {
        log << QStringLiteral("focus:%1").arg(field->FieldName());
        if (field == focusTarget)
            field = nullptr;
    }
    void EditingChanged() override { log << QStringLiteral("editing:%1").arg(Editing()); }
    void RecordChanged(TField* field) override
    {
        log << QStringLiteral("record:%1").arg(field ? field->FieldName() : QStringLiteral("-"));
    }
    void UpdateData() override { log << QStringLiteral("update"); }
};

struct Fixture
{
    std::unique_ptr<TQxMemTable> table = partsTable();
    TDataSource source;
    RecordingLink link;
    Fixture(int rows)
    {
        for (int i = 0; i < rows; ++i)
            addPart(*table, QStringLiteral("C%1").arg(i), QStringLiteral("n%1").arg(i), i, i);
        table->First();
        source.SetDataSet(table.get());
        link.SetDataSource(&source);
        link.take();
    }
    QString code() const { return table->FieldByName("Code")->AsString(); }
};

} // namespace

TEST(DataLink, WindowScrollsByTheDistanceTheRowsMove)
{
    Fixture f(10);
    f.link.SetBufferCount(3);
    EXPECT_EQ(f.link.RecordCount(), 3);
    EXPECT_EQ(f.link.ActiveRecord(), 0);

    f.table->Next();
    f.table->Next();
    EXPECT_EQ(f.link.take(), "scrolled:0 scrolled:0");
    EXPECT_EQ(f.link.ActiveRecord(), 2);
    f.table->Next();
    EXPECT_EQ(f.link.take(), "scrolled:1");
    EXPECT_EQ(f.link.FirstRecord(), 1);
    EXPECT_EQ(f.link.ActiveRecord(), 2);
    f.table->MoveBy(4);
    EXPECT_EQ(f.link.take(), "scrolled:4");
    f.table->MoveBy(-3);
    EXPECT_EQ(f.link.take(), "scrolled:-1");
    EXPECT_EQ(f.link.ActiveRecord(), 0);
    f.table->Last();
    EXPECT_EQ(f.link.take(), "changed");
    EXPECT_EQ(f.link.FirstRecord(), 7);
    EXPECT_EQ(f.link.ActiveRecord(), 2);
    f.table->First();
    EXPECT_EQ(f.link.take(), "changed");
    EXPECT_EQ(f.link.FirstRecord(), 0);
}

TEST(DataLink, ActiveRecordReadsAnotherRowWithoutMoving)
{
    Fixture f(10);
    f.link.SetBufferCount(4);
    f.table->MoveBy(5); // window 2..5, current row 5
    f.link.take();
    const int current = f.link.ActiveRecord();
    EXPECT_EQ(current, 3);
    QStringList seen;
    for (int i = 0; i < f.link.RecordCount(); ++i) {
        f.link.SetActiveRecord(i);
        seen << f.code();
    }
    f.link.SetActiveRecord(current);
    EXPECT_EQ(seen, (QStringList{"C2", "C3", "C4", "C5"}));
    EXPECT_EQ(f.code(), "C5");
    EXPECT_EQ(f.table->RecNo(), 6);
    EXPECT_EQ(f.link.take(), "");
}

TEST(DataLink, WindowShowsTheUnpostedRecord)
{
    Fixture f(3);
    f.link.SetBufferCount(10);
    f.table->Next();
    f.table->Insert();
    EXPECT_EQ(f.link.RecordCount(), 4);
    EXPECT_EQ(f.link.ActiveRecord(), 1);
    f.table->FieldByName("Code")->SetAsString("NEW");
    f.link.SetActiveRecord(2);
    EXPECT_EQ(f.code(), "C1");
    f.link.SetActiveRecord(1);
    EXPECT_EQ(f.code(), "NEW");
    f.table->Cancel();
    EXPECT_EQ(f.link.RecordCount(), 3);
}

TEST(DataLink, NotificationsOfEditing)
{
    Fixture f(2);
    f.table->Edit();
    EXPECT_EQ(f.link.take(), "editing:1 record:-");
    f.table->FieldByName("Name")->SetAsString("x");
    EXPECT_EQ(f.link.take(), "record:Name");
    f.table->Post();
    EXPECT_EQ(f.link.take(), "update editing:0 changed");
    f.table->FieldByName("Qty")->SetIndex(0);
    EXPECT_EQ(f.link.take(), "layout");
    f.link.focusTarget = f.table->FieldByName("Qty");
    f.table->FieldByName("Qty")->FocusControl();
    EXPECT_EQ(f.link.take(), "focus:Qty");
    f.table->Close();
    EXPECT_EQ(f.link.take(), "active:0");
    EXPECT_EQ(f.link.RecordCount(), 0);
}

TEST(DataLink, DisableControlsNests)
{
    Fixture f(5);
    f.table->DisableControls();
    f.table->DisableControls();
    EXPECT_TRUE(f.table->ControlsDisabled());
    f.table->Next();
    f.table->Edit();
    f.table->FieldByName("Name")->SetAsString("y");
    f.table->Post();
    f.table->EnableControls();
    EXPECT_TRUE(f.table->ControlsDisabled());
    EXPECT_EQ(f.link.take(), "");
    f.table->EnableControls();
    EXPECT_FALSE(f.table->ControlsDisabled());
    EXPECT_EQ(f.link.take(), "changed");
    // An extra EnableControls does not underflow.
    f.table->EnableControls();
    EXPECT_FALSE(f.table->ControlsDisabled());
    {
        qx::ControlsGuard guard(f.table.get());
        try {
            qx::ControlsGuard inner(f.table.get());
            f.table->Next();
            throw std::runtime_error("leave early");
        } catch (const std::runtime_error&) {
        }
        EXPECT_TRUE(f.table->ControlsDisabled());
    }
    EXPECT_FALSE(f.table->ControlsDisabled());
    EXPECT_EQ(f.link.take(), "changed");
    // A layout change while disabled is reported as a layout change.
    f.table->DisableControls();
    f.table->FieldByName("Qty")->SetVisible(false);
    f.table->EnableControls();
    EXPECT_EQ(f.link.take(), "layout");
}

TEST(DataLink, DisabledSourceLooksInactive)
{
    Fixture f(2);
    f.source.SetEnabled(false);
    EXPECT_FALSE(f.link.Active());
    EXPECT_EQ(f.link.take(), "active:0");
    f.table->Next();
    EXPECT_EQ(f.link.take(), "");
    f.source.SetEnabled(true);
    EXPECT_TRUE(f.link.Active());
}

TEST(DataSource, TellsItsListeners)
{
    Fixture f(2);
    QStringList log;
    f.source.OnStateChange = [&](TDataSource* s) { log << QStringLiteral("state:%1").arg(int(s->State())); };
    f.source.OnDataChange = [&](TDataSource*, TField* fld) { log << (fld ? fld->FieldName() : QStringLiteral("data")); };
    f.source.OnUpdateData = [&](TDataSource*) { log << QStringLiteral("update"); };
    f.table->Edit();
    f.table->FieldByName("Qty")->SetAsInteger(9);
    f.table->Post();
    EXPECT_EQ(log.join(u' '), "state:2 data Qty update state:1 data");
    // AutoEdit off: the source does not start editing for its controls.
    f.source.SetAutoEdit(false);
    f.source.Edit();
    EXPECT_EQ(f.table->State(), dsBrowse);
}

TEST(FieldDataLink, FollowsItsField)
{
    Fixture f(2);
    TFieldDataLink link;
    QObject control;
    link.SetControl(&control);
    QStringList log;
    QString shown;
    link.OnDataChange = [&](QObject*) { shown = link.Field() ? link.Field()->DisplayText() : QString(); };
    link.OnEditingChange = [&](QObject*) { log << QStringLiteral("editing:%1").arg(link.Editing()); };
    link.OnActiveChange = [&](QObject*) { log << QStringLiteral("active:%1").arg(link.Active()); };
    QString typed;
    link.OnUpdateData = [&](QObject*) { link.Field()->SetText(typed); };

    link.SetDataSource(&f.source);
    link.SetFieldName("name");
    EXPECT_EQ(link.Field(), f.table->FieldByName("Name"));
    EXPECT_EQ(shown, "n0");
    f.table->Next();
    EXPECT_EQ(shown, "n1");
    EXPECT_TRUE(link.CanModify());

    EXPECT_TRUE(link.Edit());
    typed = "typed";
    link.SetModified();
    link.UpdateRecord();
    EXPECT_FALSE(link.Modified());
    EXPECT_EQ(f.table->FieldByName("Name")->AsString(), "typed");
    f.table->Post();
    EXPECT_EQ(log.join(u' '), "active:1 editing:1 editing:0");

    // Reset drops the control's change and shows the field again.
    link.Edit();
    link.SetModified();
    shown = "scribble";
    link.Reset();
    EXPECT_FALSE(link.Modified());
    EXPECT_EQ(shown, "typed");
    f.table->Cancel();

    link.SetReadOnly(true);
    EXPECT_FALSE(link.CanModify());
    EXPECT_FALSE(link.Edit());
    link.SetFieldName("Missing");
    EXPECT_EQ(link.Field(), nullptr);
}

TEST(FieldDataLink, SurvivesItsSourceAndField)
{
    auto table = partsTable();
    TFieldDataLink link;
    {
        TDataSource source;
        source.SetDataSet(table.get());
        link.SetDataSource(&source);
        link.SetFieldName("Code");
        EXPECT_TRUE(link.Active());
    }
    EXPECT_EQ(link.DataSource(), nullptr);
    EXPECT_FALSE(link.Active());
    EXPECT_EQ(link.Field(), nullptr);
}

TEST(FieldDataLink, BindsTheFieldOfANewSourceWhoseDatasetIsAlsoOpen)
{
    auto first = partsTable();
    auto second = partsTable();
    addPart(*first, "A", "first", 1, 1.0);
    addPart(*second, "B", "second", 2, 2.0);
    TDataSource one;
    one.SetDataSet(first.get());
    TDataSource two;
    two.SetDataSet(second.get());
    TFieldDataLink link;
    link.SetFieldName("Name");
    link.SetDataSource(&one);
    ASSERT_EQ(link.Field(), first->FieldByName("Name"));
    // Active before and after: only the change of source tells the link to look again.
    link.SetDataSource(&two);
    EXPECT_EQ(link.Field(), second->FieldByName("Name"));
    link.SetDataSource(nullptr);
    EXPECT_EQ(link.Field(), nullptr);
}
