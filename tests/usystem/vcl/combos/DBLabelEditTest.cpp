// The labelled data controls: the caption label stays on the left of its control and follows
// its moves, visibility, enabled state and parent; a label freed elsewhere is forgotten; the
// form look pass gives the labels and lines the library's colours.
#include "ComboTestSupport.h"
#include "tests/support/Scoped.h"

#include "platform/db/DataSource.h"
#include "platform/db/Fields.h"
#include "platform/db/QxMemTable.h"
#include "platform/ui/TextHook.h"
#include "usystem/vcl/ado/uDMDataBase.h"
#include "usystem/vcl/combos/uQxDBLabelEdit.h"
#include "usystem/vcl/controls/uQxFormLook.h"

using namespace combotest;

namespace {

template <class Control>
class LabelledControl : public ::testing::Test
{
protected:
    void SetUp() override
    {
        form = makeForm();
        panel = new QWidget(form.get());
        panel->setGeometry(0, 0, 400, 150);
        panel2 = new QWidget(form.get());
        panel2->setGeometry(0, 150, 400, 150);
        control = new Control(panel);
        control->setObjectName("Field1");
        control->setGeometry(100, 20, 120, 22);
        control->SetLabelCaption("编号：");
    }
    void TearDown() override
    {
        form.reset();
        QApplication::processEvents();
    }

    std::unique_ptr<QWidget> form;
    QWidget* panel = nullptr;
    QWidget* panel2 = nullptr;
    Control* control = nullptr;
};

using LabelledTypes = ::testing::Types<tQxDBLabelEdit, TQxDBLabelComboBox>;
TYPED_TEST_SUITE(LabelledControl, LabelledTypes);

} // namespace

TYPED_TEST(LabelledControl, LabelSitsOnTheLeftTwoPixelsLower)
{
    TQxLabel* label = this->control->EditLabel();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->parentWidget(), this->panel);
    EXPECT_EQ(label->Caption(), "编号：");
    const int w = label->width();
    EXPECT_GT(w, 0);
    EXPECT_EQ(label->x(), 100 - w);
    EXPECT_EQ(label->y(), 22);
    EXPECT_EQ(label->height(), 22);
    EXPECT_EQ(this->control->LabelColor(), clGreen);
    EXPECT_TRUE(label->Transparent());

    this->control->setGeometry(150, 40, 100, 30);
    EXPECT_EQ(this->control->EditLabel()->geometry(), QRect(150 - w, 42, w, 30));
    // On a shown form the label follows every move at once.
    showForm(this->form.get());
    this->control->move(160, 50);
    EXPECT_EQ(label->geometry(), QRect(160 - w, 52, w, 30));
    this->control->resize(90, 24);
    EXPECT_EQ(label->geometry(), QRect(160 - w, 52, w, 24));

    // A longer caption widens the label and keeps its right edge at the control.
    this->control->SetLabelCaption("客户编号：");
    EXPECT_GT(label->width(), w);
    EXPECT_EQ(label->x() + label->width(), 160);
}

TYPED_TEST(LabelledControl, LabelHidesAndGreysWithItsControl)
{
    showForm(this->form.get());
    TQxLabel* label = this->control->EditLabel();
    EXPECT_TRUE(label->isVisible());
    this->control->hide();
    EXPECT_FALSE(label->isVisible());
    this->control->show();
    EXPECT_TRUE(label->isVisible());

    this->control->setEnabled(false);
    EXPECT_FALSE(label->isEnabled());
    this->control->setEnabled(true);
    EXPECT_TRUE(label->isEnabled());

    this->control->setLayoutDirection(Qt::RightToLeft);
    EXPECT_EQ(label->layoutDirection(), Qt::RightToLeft);
}

TYPED_TEST(LabelledControl, LabelMovesToTheNewParent)
{
    showForm(this->form.get());
    this->control->setParent(this->panel2);
    this->control->show();
    TQxLabel* label = this->control->EditLabel();
    EXPECT_EQ(label->parentWidget(), this->panel2);
    EXPECT_TRUE(label->isVisible());
    EXPECT_EQ(label->x(), this->control->x() - label->width());
    // A hidden control moved to another parent keeps its label hidden.
    this->control->hide();
    this->control->setParent(this->panel);
    EXPECT_EQ(label->parentWidget(), this->panel);
    EXPECT_FALSE(label->isVisible());
}

TYPED_TEST(LabelledControl, FreedLabelIsForgotten)
{
    delete this->control->EditLabel();
    EXPECT_EQ(this->control->EditLabel(), nullptr);
    EXPECT_EQ(this->control->LabelColor(), clGreen);
    this->control->SetLabelColor(clRed);
    EXPECT_EQ(this->control->LabelColor(), clGreen);
    this->control->SetLabelCaption("x");
    EXPECT_EQ(this->control->LabelCaption(), "");
    this->control->move(10, 10);
    this->control->hide();
}

TYPED_TEST(LabelledControl, LabelGoesWithItsControl)
{
    QPointer<TQxLabel> label = this->control->EditLabel();
    delete this->control;
    EXPECT_TRUE(label.isNull());
}

TYPED_TEST(LabelledControl, AcceleratorFocusesTheControl)
{
    auto* other = new QLineEdit(this->panel);
    other->setGeometry(300, 100, 50, 20);
    this->control->SetLabelCaption("&Name");
    showForm(this->form.get());
    focus(this->form.get(), other);
    QTest::keyClick(other, Qt::Key_N, Qt::AltModifier);
    EXPECT_TRUE(this->control->hasFocus());
}

TYPED_TEST(LabelledControl, LookPassGivesTheLibraryColours)
{
    {
        const qx::test::ScopedTextHook hook(
            [](const QString& s) { return s == "编号：" ? QStringLiteral("編號：") : s; });
        ApplyFormLook(this->form.get());
    }
    EXPECT_EQ(this->control->LabelCaption(), "編號：");
    // Without the library data module the colours stay.
    EXPECT_EQ(this->control->LabelColor(), clGreen);
    EXPECT_EQ(this->control->LineColor(), clBlack);

    TdmDatabase module;
    module.LabelColor = clMaroon;
    module.LineColor = clTeal;
    ApplyFormLook(this->form.get());
    EXPECT_EQ(this->control->LabelColor(), clMaroon);
    EXPECT_EQ(this->control->LineColor(), clTeal);
    // A label given its own colour keeps it.
    this->control->SetLabelColor(clPurple);
    ApplyFormLook(this->form.get());
    EXPECT_EQ(this->control->LabelColor(), clPurple);
}

TYPED_TEST(LabelledControl, LookPassTakesTheFieldDefinition)
{
    TQxMemTable table;
    table.FieldDefs()->Add("Code", ftString, 10);
    table.Open();
    TDataSource source;
    source.SetDataSet(&table);
    this->control->SetDataSource(&source);
    this->control->SetDataField("Code");
    QString asked;
    {
        const qx::test::ScopedBinding looks(
            &qx::labelledLookBinding, &qx::setLabelledLookBinding,
            qx::LabelledLookBinding{[&](TDataSource* s, const QString& field,
                                        qx::LabelledFieldDefinition& d) {
                EXPECT_EQ(s, &source);
                asked = field;
                d.caption = "代码";
                d.visible = false;
                d.required = true;
                return true;
            }});
        showForm(this->form.get());
        ApplyFormLook(this->form.get());
    }
    EXPECT_EQ(asked, "Code");
    EXPECT_EQ(this->control->LabelCaption(), "代码");
    EXPECT_EQ(this->control->LabelColor(), clNavy);
    EXPECT_FALSE(this->control->isVisible());
    EXPECT_FALSE(this->control->EditLabel()->isVisible());
}

TEST(LabelledEditLook, InputMethodLeftToTheUser)
{
    QWidget form;
    auto* e = new tQxDBLabelEdit(&form);
    e->setObjectName("EdName");
    e->setAttribute(Qt::WA_InputMethodEnabled, false);
    e->setInputMethodHints(Qt::ImhLatinOnly);
    ApplyFormLook(&form);
    EXPECT_TRUE(e->testAttribute(Qt::WA_InputMethodEnabled));
    EXPECT_EQ(e->inputMethodHints(), Qt::ImhNone);
}

TEST(LabelledEditLook, WritesTheFieldLikeADataEdit)
{
    TQxMemTable table;
    table.FieldDefs()->Add("Name", ftString, 20);
    table.Open();
    table.Append();
    table.FieldByName("Name")->SetAsString("甲");
    table.Post();
    TDataSource source;
    source.SetDataSet(&table);
    auto form = makeForm();
    auto* e = new tQxDBLabelEdit(form.get());
    e->setGeometry(100, 10, 100, 21);
    e->SetDataSource(&source);
    e->SetDataField("Name");
    auto* c = new TQxDBLabelComboBox(form.get());
    c->setGeometry(100, 40, 100, 21);
    c->SetItems({"甲", "乙"});
    c->SetDataSource(&source);
    c->SetDataField("Name");
    EXPECT_EQ(e->Text(), "甲");
    EXPECT_EQ(c->ItemIndex(), 0);
    showForm(form.get());
    focus(form.get(), c);
    QTest::keyClick(c, Qt::Key_Down);
    focus(form.get(), e);
    EXPECT_EQ(table.FieldByName("Name")->AsString(), "乙");
    EXPECT_EQ(e->Text(), "乙");
}

TEST(LabelledEditLook, ControlWithoutParentShowsNoLabelWindow)
{
    QWidget form;
    auto* e = new tQxDBLabelEdit;
    e->SetLabelCaption("编号：");
    e->show();
    QApplication::processEvents();
    EXPECT_FALSE(e->EditLabel()->isVisible());
    e->setParent(&form);
    e->show();
    form.show();
    QApplication::processEvents();
    EXPECT_EQ(e->EditLabel()->parentWidget(), &form);
    EXPECT_TRUE(e->EditLabel()->isVisible());
}
