// The keys and buttons of the work-order editor: F2, F3, F4 and F9 click the save, approve and
// print buttons, F5 and F6 put the cursor in the first column of the item and part grids, Enter
// leads from the device boxes to the contact and on to reception, Esc asks before closing; the
// buttons of the list boxes open the pick list of their field, and the cell buttons and double
// clicks of the grids open the picker their column asks for.
#include "WorkOrderFixture.h"

#include "app/master/uAselect.h"
#include "app/master/uSelectName.h"
#include "app/master/uaSelectSItem.h"
#include "app/master/uaSelectStock.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/edits/uQxEdits.h"

#include <QPointer>

namespace qx::documents::test {
namespace {

// The work-order editor with its save, approve and print buttons recording their clicks.
class RecordingWorkOrder : public TFrmReceptionRct
{
public:
    void BtnAddClick(QObject*) override { clicked << QStringLiteral("BtnAdd"); }
    void BtnSaveClick(QObject*) override { clicked << QStringLiteral("BtnSave"); }
    void BtnCheckClick(QObject*) override { clicked << QStringLiteral("BtnCheck"); }
    void BtnPrintClick(QObject*) override { clicked << QStringLiteral("BtnPrint"); }

    QStringList clicked;
};

class KeysAndButtonsTest : public WorkOrderTest
{
protected:
    void runRecording(const QString& billNo, const std::function<void(RecordingWorkOrder&)>& act)
    {
        auto* editor = new RecordingWorkOrder;
        editor->CurrentBillNo = billNo;
        editor->NewBillDate = TDateTime::fromQDate(workOrderDay());
        dialogs().answerDialog([&](QDialog& d) {
            d.activateWindow();
            QApplication::setActiveWindow(&d);
            act(static_cast<RecordingWorkOrder&>(d));
        });
        qx::DialogService::instance().execDialog(*editor);
    }
};

// Double-clicks the cell of column in the grid's first data row.
void doubleClickCell(TQxDBGrid* grid, int column)
{
    grid->setFocus(Qt::MouseFocusReason);
    grid->SetSelectedIndex(column);
    const QRect r = grid->CellRect(grid->IndicatorOffset() + column, grid->TitleOffset());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, r.center());
}

TEST_F(KeysAndButtonsTest, FunctionKeysClickTheirButtons)
{
    runRecording("", [](RecordingWorkOrder& e) {
        const struct
        {
            Qt::Key key;
            const char* button;
        } cases[] = {{Qt::Key_F2, "BtnAdd"}, {Qt::Key_F3, "BtnSave"}, {Qt::Key_F4, "BtnCheck"}, {Qt::Key_F9, "BtnPrint"}};
        for (QWidget* from : std::initializer_list<QWidget*>{e.EdtVin, e.dbgDetail1, e.EdtTotalAmount}) {
            for (const auto& c : cases) {
                SCOPED_TRACE(from->objectName().toStdString() + " " + c.button);
                e.clicked.clear();
                from->setFocus();
                QTest::keyClick(from, c.key);
                EXPECT_EQ(e.clicked, QStringList{QLatin1String(c.button)});
            }
        }
        EXPECT_TRUE(e.isVisible());
    });
    EXPECT_TRUE(dialogs().messages().isEmpty());
}

TEST_F(KeysAndButtonsTest, F5AndF6GoToTheFirstColumnOfTheLines)
{
    run("WX260301001", [](TFrmReceptionRct& e) {
        const struct
        {
            Qt::Key key;
            TQxDBGrid* grid;
        } cases[] = {{Qt::Key_F5, e.dbgDetail1}, {Qt::Key_F6, e.dbgDetail2}, {Qt::Key_F5, e.dbgDetail1}};
        for (const auto& c : cases) {
            c.grid->SetSelectedIndex(3);
            QWidget* from = QApplication::focusWidget() ? QApplication::focusWidget() : e.EdtReBillNo;
            QTest::keyClick(from, c.key);
            EXPECT_EQ(QApplication::focusWidget(), c.grid);
            EXPECT_EQ(c.grid->SelectedIndex(), 0);
        }
    });
}

TEST_F(KeysAndButtonsTest, EnterLeadsFromTheDeviceToTheContactAndOnToReception)
{
    run("", [](TFrmReceptionRct& e) {
        const struct
        {
            TQxDBEDIT* from;
            TQxDBEDIT* to;
        } cases[] = {{e.EdtVin, e.EdtLinkMen}, {e.EdtClient, e.EdtLinkMen}, {e.EdtLinkMen, e.EdtReceiver}};
        for (const auto& c : cases) {
            SCOPED_TRACE(c.from->objectName().toStdString());
            c.from->setFocus();
            QTest::keyClick(c.from, Qt::Key_Return);
            EXPECT_EQ(QApplication::focusWidget(), c.to);
        }
        // A serial number typed and left with Enter is looked up on the way.
        typeInto(e.EdtVin, QStringLiteral("SN100"));
        QTest::keyClick(e.EdtVin, Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget(), e.EdtLinkMen);
        EXPECT_EQ(e.EdtLinkMen->Text(), QStringLiteral("张太"));
    });
}

TEST_F(KeysAndButtonsTest, EscAsksBeforeClosingWithoutSaving)
{
    QPointer<TFrmReceptionRct> shown;
    runRecording("WX260301001", [&](RecordingWorkOrder& e) {
        shown = &e;
        enterInto(e.EdtCMarker, QStringLiteral("changed"));
        dialogs().answerMessage(qx::mrCancel);
        QTest::keyClick(e.EdtCMarker, Qt::Key_Escape);
        EXPECT_TRUE(e.isVisible());
        dialogs().answerMessage(qx::mrOk);
        QTest::keyClick(e.dbgDetail2, Qt::Key_Escape);
        EXPECT_FALSE(e.isVisible());
        EXPECT_TRUE(e.clicked.isEmpty());
    });
    EXPECT_EQ(dialogs().messages(), (QStringList{"是否取消退出。", "是否取消退出。"}));
    EXPECT_EQ(dialogs().shown().last().caption, QStringLiteral("询问"));
    flushDeletes();
    EXPECT_TRUE(shown.isNull());
    // Nothing was written.
    EXPECT_EQ(scalar(QStringLiteral("select ifnull(CMarker, '') from t_ReceptionMst where BillNo = 'WX260301001'")),
              QString());
}

TEST_F(KeysAndButtonsTest, TheListBoxesOpenThePickListOfTheirField)
{
    run("", [](TFrmReceptionRct& e) {
        for (TQxDBEDIT* box : {e.EdtModel, e.EdtMainWorker, e.EdtReceiver, e.EdtChecker, e.EdtSettler, e.EdtEngineNo,
                               e.EdtClientEvent}) {
            SCOPED_TRACE(box->objectName().toStdString());
            QPointer<TField> target;
            dialogs().answerDialog([&](QDialog& d) {
                target = qx::app::test::formOf<TFrmAselect>(d).TargetField;
                QTest::keyClick(&d, Qt::Key_Escape);
            });
            QRect r;
            box->Button()->GetButtonRect(r);
            QTest::mouseClick(box, Qt::LeftButton, {}, r.center());
            EXPECT_EQ(target.data(), box->GetField());
        }
    });
    EXPECT_EQ(dialogs().unexpected(), 0);
    EXPECT_EQ(dialogs().pending(), 0);
}

TEST_F(KeysAndButtonsTest, TheGridsOpenThePickerOfTheirColumn)
{
    run("WX260301001", [](TFrmReceptionRct& e) {
        enum Picker { None, Items, Parts, Worker };
        const struct
        {
            TQxDBGrid* grid;
            int column;
            Picker picker;
        } cases[] = {
            {e.dbgDetail1, 0, Items},  {e.dbgDetail1, 1, Items}, {e.dbgDetail1, 2, Items},
            {e.dbgDetail1, 4, Worker}, {e.dbgDetail2, 0, Parts}, {e.dbgDetail2, 1, Parts},
            {e.dbgDetail2, 2, None},   {e.dbgDetail2, 3, Parts}, {e.dbgDetail2, 8, Worker},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.grid->objectName().toStdString() + " " + std::to_string(c.column));
            Picker shown = None;
            if (c.picker != None)
                dialogs().answerDialog([&](QDialog& d) {
                    if (qobject_cast<TFrmaSelectSItem*>(&d))
                        shown = Items;
                    else if (qobject_cast<TFrmaSelectStock*>(&d))
                        shown = Parts;
                    else if (qobject_cast<TFrmAselectName*>(&d))
                        shown = Worker;
                    QTest::keyClick(&d, Qt::Key_Escape);
                });
            doubleClickCell(c.grid, c.column);
            EXPECT_EQ(shown, c.picker);
            EXPECT_EQ(dialogs().pending(), 0);
            if (c.grid->DataSource()->DataSet()->State() != dsBrowse)
                c.grid->DataSource()->DataSet()->Cancel();
        }
    });
    EXPECT_EQ(dialogs().unexpected(), 0);
}

} // namespace
} // namespace qx::documents::test
