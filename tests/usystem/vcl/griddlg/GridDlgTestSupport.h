// A window with a data grid of stored, captioned columns over a small table, and the mouse
// and key actions the dialog tests drive the check lists and combo boxes with.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <memory>

#include "platform/db/DataSource.h"
#include "platform/db/QxMemTable.h"
#include "usystem/vcl/checks/uQxListBox.h"
#include "usystem/vcl/combos/uQxComboBox.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"

// One row of the sales table: a text key, a price (null when negative) and a quantity.
struct SaleRow
{
    const char* code;
    double price;
    int qty;
};

// Code (text, "编号"), Price (float, "单价"), Qty (integer, "数量"), Note (text, "备注").
inline std::unique_ptr<TQxMemTable> makeSales(std::initializer_list<SaleRow> rows)
{
    auto t = std::make_unique<TQxMemTable>();
    t->FieldDefs()->Add("Code", ftString, 10);
    t->FieldDefs()->Add("Price", ftFloat, 0);
    t->FieldDefs()->Add("Qty", ftInteger, 0);
    t->FieldDefs()->Add("Note", ftString, 20);
    t->Open();
    for (const SaleRow& r : rows) {
        t->Append();
        t->FieldByName("Code")->SetAsString(QString::fromUtf8(r.code));
        if (r.price >= 0)
            t->FieldByName("Price")->SetAsFloat(r.price);
        t->FieldByName("Qty")->SetAsInteger(r.qty);
        t->FieldByName("Note")->SetAsString(QStringLiteral("n"));
        t->Post();
    }
    t->First();
    return t;
}

struct SalesGrid
{
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    std::unique_ptr<TQxMemTable> table;
    TDataSource* source = nullptr;
    TQxDBGrid* grid = nullptr;

    explicit SalesGrid(std::unique_ptr<TQxMemTable> t,
                       QStringList captions = {QStringLiteral("编号"), QStringLiteral("单价"),
                                               QStringLiteral("数量"), QStringLiteral("备注")})
        : table(std::move(t))
    {
        source = new TDataSource(window.get());
        source->SetDataSet(table.get());
        auto* layout = new QVBoxLayout(window.get());
        layout->setContentsMargins(0, 0, 0, 0);
        grid = new TQxDBGrid(window.get());
        grid->setObjectName(QStringLiteral("DBGrid1"));
        layout->addWidget(grid);
        grid->SetDataSource(source);
        const char* fields[] = {"Code", "Price", "Qty", "Note"};
        for (int i = 0; i < 4; ++i) {
            TQxColumn* c = grid->Columns()->Add();
            c->SetFieldName(QString::fromLatin1(fields[i]));
            c->Title()->SetCaption(captions.value(i));
        }
        window->resize(480, 260);
        window->show();
        QApplication::processEvents();
    }
    ~SalesGrid() { window.reset(); }

    TQxColumn* column(int i) const { return grid->Columns()->Items(i); }
};

// Clicks the check box of entry i.
inline void clickCheck(TQxListBox* list, int i)
{
    const QRect r = list->ItemRect(i);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(r.left() + 6, r.center().y()));
}

// Clicks the text of entry i (selects it).
inline void clickEntry(TQxListBox* list, int i)
{
    const QRect r = list->ItemRect(i);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(r.left() + 40, r.center().y()));
}

inline QList<bool> checksOf(TQxListBox* list)
{
    QList<bool> marks;
    for (int i = 0; i < list->count(); ++i)
        marks << list->GetChecked(i);
    return marks;
}

inline QStringList entriesOf(TQxListBox* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->Items()->Strings(i);
    return texts;
}

// Opens the list's popup menu with a right click and clicks the item caption.
inline void chooseListMenuItem(TQxListBox* list, const QString& caption)
{
    const QPoint at = list->ItemRect(0).isValid() ? list->ItemRect(0).center() : QPoint(10, 10);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, list->viewport()->mapToGlobal(at));
    QApplication::sendEvent(list->viewport(), &event);
    QMenu* menu = list->PopupMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(menu->isVisible());
    for (QAction* a : menu->actions()) {
        if (a->text() == caption) {
            QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(a).center());
            return;
        }
    }
    ADD_FAILURE() << "no menu item " << caption.toStdString();
}

// Replaces the text of an editable combo box by typing, as the user does: Chinese text comes
// committed by the input method.
inline void typeInto(TQxComboBox* combo, const QString& text)
{
    QLineEdit* edit = combo->lineEdit();
    ASSERT_NE(edit, nullptr);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(edit, &commit);
}
