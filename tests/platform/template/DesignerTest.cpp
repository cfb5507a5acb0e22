// The template designer, headless with real widgets, mouse and keys: placing every object
// kind, moving and sizing with snapping, undo and redo, bands added, moved and removed, a
// field placed from the list, OK and Cancel through the dialog service, and a template
// designed from empty and then rendered.
#include "TemplateFixture.h"

#include "platform/env/ScriptedDialogService.h"
#include "platform/report/QRPrinter.h"
#include "platform/report/QRStandardPreview.h"
#include "platform/template/DesignerFieldList.h"
#include "platform/template/DesignerPage.h"
#include "platform/template/TemplateDesignerWindow.h"
#include "platform/template/TemplateReport.h"
#include "platform/ui/Fonts.h"
#include "tests/support/Widgets.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QWindow>
#include <QFile>
#include <QTemporaryDir>

using namespace tplt;


class Designer : public ::testing::Test
{
protected:
    Designer() : data(orders())
    {
        source.SetDataSet(data.get());
        adapter = new TemplateDataSet(&form);
        adapter->setObjectName(QStringLiteral("Mstdataset"));
        adapter->SetDataSource(&source);
        dialogs = qx::ScriptedDialogService::current();
        dialogs->clear();
    }

    static void click(QWidget& window, const char* name)
    {
        auto* b = window.findChild<QAbstractButton*>(QLatin1String(name));
        ASSERT_NE(b, nullptr) << name;
        QTest::mouseClick(b, Qt::LeftButton);
    }

    // Adds a band of the kind through the combo box and the add button.
    static void addBand(TemplateDesignerWindow& w, BandKind kind)
    {
        auto* combo = w.findChild<QComboBox*>(QStringLiteral("CmbBandKind"));
        combo->setCurrentIndex(combo->findData(int(kind)));
        click(w, "BtnAddBand");
    }

    // A click on the page at a point of a band given in report units.
    static void clickBand(TemplateDesignerWindow& w, int band, QPoint units, Qt::KeyboardModifiers mods = {})
    {
        DesignerPage* page = w.page();
        const QRect r = page->bandRect(band);
        const QPoint at(r.left() + int(units.x() * page->scale()), r.top() + int(units.y() * page->scale()));
        QTest::mouseClick(page, Qt::LeftButton, mods, at);
    }

    // Types text as key presses, Chinese characters included.
    static void typeText(QWidget* w, const QString& text)
    {
        for (QChar ch : text)
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }

    std::unique_ptr<TQxMemTable> data;
    TDataSource source;
    QWidget form;
    TemplateDataSet* adapter = nullptr;
    qx::ScriptedDialogService* dialogs = nullptr;
};


TEST_F(Designer, EveryObjectKindIsPlacedWhereClickedOnTheGrid)
{
    TemplateDesignerWindow w(TemplateDocument(), {});
    w.show();
    EXPECT_TRUE(w.document().bands.isEmpty());
    addBand(w, BandKind::Title);
    ASSERT_EQ(w.document().bands.size(), 1);
    const struct
    {
        const char* tool;
        ObjectKind kind;
        QPoint click;
        QPoint snapped;
    } cases[] = {
        {"ToolText", ObjectKind::Text, {110, 10}, {100, 0}},
        {"ToolField", ObjectKind::Field, {520, 40}, {525, 50}},
        {"ToolLine", ObjectKind::Line, {1010, 30}, {1000, 25}},
        {"ToolRectangle", ObjectKind::Rectangle, {1300, 60}, {1300, 50}},
        {"ToolPicture", ObjectKind::Picture, {1530, 0}, {1525, 0}},
    };
    QTemporaryDir dir;
    const QString pngFile = dir.filePath(QStringLiteral("logo.png"));
    {
        QFile f(pngFile);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(pngBytes(6, 4));
    }
    for (const auto& c : cases) {
        if (c.kind == ObjectKind::Picture)
            dialogs->answerFile(pngFile);
        click(w, c.tool);
        clickBand(w, 0, c.click);
        const TemplateObject& o = w.document().bands.at(0).objects.last();
        EXPECT_EQ(o.kind, c.kind) << c.tool;
        EXPECT_EQ(QPoint(o.left, o.top), c.snapped) << c.tool;
    }
    EXPECT_EQ(w.document().bands.at(0).objects.size(), 5);
    EXPECT_EQ(w.document().bands.at(0).objects.at(4).png, pngBytes(6, 4));

    // A picture needs a sound PNG file: cancelled or damaged, nothing is placed.
    const QString damaged = dir.filePath(QStringLiteral("bad.png"));
    {
        QFile f(damaged);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not a picture");
    }
    dialogs->answerFile(QString());
    click(w, "ToolPicture");
    clickBand(w, 0, {0, 0});
    dialogs->answerFile(damaged);
    dialogs->answerMessage(qx::mrOk);
    click(w, "ToolPicture");
    clickBand(w, 0, {0, 0});
    EXPECT_EQ(dialogs->messages(), QStringList{QStringLiteral("不能使用这个图片：不是 PNG 图片")});
    EXPECT_EQ(w.document().bands.at(0).objects.size(), 5);
    EXPECT_EQ(dialogs->unexpected(), 0);
    // Without a tool a click selects.
    clickBand(w, 0, {130, 20});
    EXPECT_EQ(w.model().selection(), (QList<ObjectRef>{{0, 0}}));
}

TEST_F(Designer, KeysAndMouseMoveAndSizeOnTheGrid)
{
    TemplateDocument doc;
    doc.bands = {band(BandKind::Title, {text(QStringLiteral("a"), 100, 0, 300), text(QStringLiteral("b"), 500, 0, 300)}, QString(), 300)};
    TemplateDesignerWindow w(doc, {});
    w.show();
    clickBand(w, 0, {150, 20});
    clickBand(w, 0, {550, 20}, Qt::ControlModifier);
    ASSERT_EQ(w.model().selection().size(), 2);
    DesignerPage* page = w.page();
    QTest::keyClick(page, Qt::Key_Right);
    QTest::keyClick(page, Qt::Key_Down);
    QTest::keyClick(page, Qt::Key_Down);
    QTest::keyClick(page, Qt::Key_Right, Qt::ShiftModifier);
    QList<TemplateObject> objects = w.document().bands.at(0).objects;
    EXPECT_EQ(QRect(objects[0].left, objects[0].top, objects[0].width, objects[0].height), QRect(125, 50, 325, 50));
    EXPECT_EQ(QRect(objects[1].left, objects[1].top, objects[1].width, objects[1].height), QRect(525, 50, 325, 50));

    // A drag of about 3.3 mm right and 1.1 mm down lands on the grid: 25 and 0 units further.
    const QRect r = page->objectRect({0, 0});
    const QPoint from = r.center();
    const QPoint to = from + QPoint(int(33 * page->scale()), int(11 * page->scale()));
    QWindow* window = w.windowHandle();
    QTest::mousePress(window, Qt::LeftButton, {}, page->mapTo(&w, from));
    QTest::mouseMove(window, page->mapTo(&w, to));
    QTest::mouseRelease(window, Qt::LeftButton, {}, page->mapTo(&w, to));
    objects = w.document().bands.at(0).objects;
    EXPECT_EQ(QPoint(objects[0].left, objects[0].top), QPoint(150, 50));
    EXPECT_EQ(QPoint(objects[1].left, objects[1].top), QPoint(550, 50));

    // Copy, paste and delete.
    QTest::keyClick(page, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(page, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(w.document().bands.at(0).objects.size(), 4);
    EXPECT_EQ(w.document().bands.at(0).objects.at(2).left, 175);
    QTest::keyClick(page, Qt::Key_Delete);
    EXPECT_EQ(w.document().bands.at(0).objects.size(), 2);
}

TEST_F(Designer, UndoAndRedoGoOverSeveralChanges)
{
    TemplateDesignerWindow w(TemplateDocument(), {});
    w.show();
    QList<TemplateDocument> states{w.document()};
    addBand(w, BandKind::Title);
    states << w.document();
    click(w, "ToolText");
    clickBand(w, 0, {0, 0});
    states << w.document();
    QTest::keyClick(w.page(), Qt::Key_Right);
    states << w.document();
    addBand(w, BandKind::Summary);
    states << w.document();
    EXPECT_FALSE(w.findChild<QToolButton*>(QStringLiteral("BtnRedo"))->isEnabled());

    for (qsizetype i = states.size() - 2; i >= 0; --i) {
        click(w, "BtnUndo");
        EXPECT_EQ(w.document(), states.at(i)) << i;
    }
    EXPECT_FALSE(w.findChild<QToolButton*>(QStringLiteral("BtnUndo"))->isEnabled());
    QTest::keyClick(w.page(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(w.document(), states.at(1));
    for (qsizetype i = 2; i < states.size(); ++i) {
        click(w, "BtnRedo");
        EXPECT_EQ(w.document(), states.at(i)) << i;
    }
    // A new change after undo drops what could be redone.
    QTest::keyClick(w.page(), Qt::Key_Z, Qt::ControlModifier);
    addBand(w, BandKind::PageFooter);
    EXPECT_FALSE(w.model().canRedo());
}

TEST_F(Designer, BandsAreAddedMovedAndRemoved)
{
    TemplateDesignerWindow w(TemplateDocument(), {{QStringLiteral("Mstdataset"), data.get()}});
    w.show();
    addBand(w, BandKind::Title);
    addBand(w, BandKind::Master);
    addBand(w, BandKind::Summary);
    auto kinds = [&w] {
        QList<BandKind> out;
        for (const TemplateBand& b : w.document().bands)
            out << b.kind;
        return out;
    };
    EXPECT_EQ(kinds(), (QList<BandKind>{BandKind::Title, BandKind::Master, BandKind::Summary}));
    EXPECT_EQ(w.document().bands.at(1).dataSet, QStringLiteral("Mstdataset"));

    clickBand(w, 0, {10, 10}); // the title is current
    click(w, "BtnBandDown");
    EXPECT_EQ(kinds(), (QList<BandKind>{BandKind::Master, BandKind::Title, BandKind::Summary}));
    click(w, "BtnBandDown");
    click(w, "BtnBandDown"); // already last: stays
    EXPECT_EQ(kinds(), (QList<BandKind>{BandKind::Master, BandKind::Summary, BandKind::Title}));
    click(w, "BtnBandUp");
    EXPECT_EQ(kinds(), (QList<BandKind>{BandKind::Master, BandKind::Title, BandKind::Summary}));
    click(w, "BtnDeleteBand");
    EXPECT_EQ(kinds(), (QList<BandKind>{BandKind::Master, BandKind::Summary}));
}

TEST_F(Designer, AFieldIsPlacedFromTheListOnItsDataBand)
{
    TemplateDocument doc;
    doc.bands = {band(BandKind::Title, {}), band(BandKind::Master, {}, QStringLiteral("Mstdataset"))};
    TemplateDesignerWindow w(doc, {{QStringLiteral("Mstdataset"), data.get()}});
    w.show();
    auto* list = w.findChild<QListWidget*>(QStringLiteral("LstFields"));
    ASSERT_EQ(list->count(), 4);
    QListWidgetItem* item = list->item(3);
    EXPECT_EQ(item->text(), QStringLiteral("Mstdataset.Amount"));
    const QRect r = list->visualItemRect(item);
    qx::test::doubleClick(list->viewport(), r.center());
    ASSERT_EQ(w.document().bands.at(1).objects.size(), 1);
    const TemplateObject& o = w.document().bands.at(1).objects.at(0);
    EXPECT_EQ(o.kind, ObjectKind::Field);
    EXPECT_EQ(o.dataSet, QStringLiteral("Mstdataset"));
    EXPECT_EQ(o.field, QStringLiteral("Amount"));
}

TEST_F(Designer, OkHandsTheTemplateBackCancelAndEscLeaveIt)
{
    auto* report = new TemplateReport(&form);
    report->Document() = everyKind();

    dialogs->answerDialog([](QDialog& d) {
        addBand(static_cast<TemplateDesignerWindow&>(d), BandKind::Summary);
        click(d, "BtnCancel");
    });
    EXPECT_FALSE(report->DesignReport(&form));
    dialogs->answerDialog([](QDialog& d) {
        addBand(static_cast<TemplateDesignerWindow&>(d), BandKind::Summary);
        QTest::keyClick(&d, Qt::Key_Escape);
    });
    EXPECT_FALSE(report->DesignReport(&form));
    EXPECT_EQ(report->Document(), everyKind());
    EXPECT_EQ(dialogs->unexpected(), 0);
    EXPECT_EQ(dialogs->shown().size(), 2);
}

TEST_F(Designer, ATemplateDesignedFromEmptyIsRendered)
{
    auto* report = new TemplateReport(&form);
    dialogs->answerDialog([](QDialog& d) {
        auto& w = static_cast<TemplateDesignerWindow&>(d);
        // An empty template opens on an empty page.
        EXPECT_TRUE(w.document().bands.isEmpty());
        addBand(w, BandKind::Master);
        auto* list = w.findChild<QListWidget*>(QStringLiteral("LstFields"));
        qx::test::doubleClick(list->viewport(), list->visualItemRect(list->item(0)).center());
        click(w, "BtnOk");
    });
    EXPECT_TRUE(report->DesignReport(&form));
    EXPECT_EQ(dialogs->unexpected(), 0);
    ASSERT_TRUE(report->PrepareReport());
    EXPECT_EQ(pageTexts(*report->Report()),
              (QStringList{QStringLiteral("1 WX1"), QStringLiteral("1 WX2"), QStringLiteral("1 WX3")}));
}

TEST_F(Designer, PropertyChangesReachTheTemplate)
{
    TemplateDocument doc;
    doc.bands = {band(BandKind::Master, {text(QStringLiteral("旧"), 100, 0, 300)}, QStringLiteral("Mstdataset"))};
    TemplateDesignerWindow w(doc, {{QStringLiteral("Mstdataset"), data.get()}});
    w.show();
    clickBand(w, 0, {150, 20});
    auto* edit = w.findChild<QLineEdit*>(QStringLiteral("EdtText"));
    ASSERT_TRUE(edit->isEnabled());
    EXPECT_EQ(edit->text(), QStringLiteral("旧"));
    edit->selectAll();
    typeText(edit, QStringLiteral("金额 [Amount]"));
    QTest::keyClick(edit, Qt::Key_Return);
    auto* format = w.findChild<QLineEdit*>(QStringLiteral("EdtFormat"));
    QTest::keyClicks(format, QStringLiteral("0.00"));
    QTest::keyClick(format, Qt::Key_Return);
    auto* left = w.findChild<QDoubleSpinBox*>(QStringLiteral("SpnLeft"));
    left->selectAll();
    QTest::keyClicks(left, QStringLiteral("32.5"));
    QTest::keyClick(left, Qt::Key_Return);
    for (const char* name : {"ChkBold", "ChkFrameTop", "ChkStretch"}) {
        auto* box = w.findChild<QCheckBox*>(QLatin1String(name));
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2)); // on the tick box
    }

    const TemplateObject& o = w.document().bands.at(0).objects.at(0);
    EXPECT_EQ(o.text, QStringLiteral("金额 [Amount]"));
    EXPECT_EQ(o.format, QStringLiteral("0.00"));
    EXPECT_EQ(o.left, 325);
    EXPECT_TRUE(o.font.bold);
    EXPECT_TRUE(o.frame.top);
    EXPECT_FALSE(o.frame.bottom);
    EXPECT_TRUE(o.stretch);
    // Each change is one step back.
    click(w, "BtnUndo");
    EXPECT_FALSE(w.document().bands.at(0).objects.at(0).stretch);
    EXPECT_TRUE(w.document().bands.at(0).objects.at(0).font.bold);

    // The height of the band clicked last.
    auto* bandHeight = w.findChild<QDoubleSpinBox*>(QStringLiteral("SpnBandHeight"));
    EXPECT_DOUBLE_EQ(bandHeight->value(), 5.0);
    bandHeight->selectAll();
    QTest::keyClicks(bandHeight, QStringLiteral("12.5"));
    QTest::keyClick(bandHeight, Qt::Key_Return);
    EXPECT_EQ(w.document().bands.at(0).height, 125);

    // Page set-up: A5 landscape with a 20 mm left margin.
    auto* paper = w.findChild<QComboBox*>(QStringLiteral("CmbPaper"));
    paper->setCurrentIndex(paper->findText(QStringLiteral("A5")));
    emit paper->activated(paper->currentIndex());
    auto* orientation = w.findChild<QComboBox*>(QStringLiteral("CmbOrientation"));
    orientation->setCurrentIndex(1);
    emit orientation->activated(1);
    auto* margin = w.findChild<QDoubleSpinBox*>(QStringLiteral("SpnMarginLeft"));
    margin->selectAll();
    QTest::keyClicks(margin, QStringLiteral("20"));
    QTest::keyClick(margin, Qt::Key_Return);
    const TemplatePage& page = w.document().page;
    EXPECT_EQ(page.paper, A5);
    EXPECT_EQ(page.orientation, Orientation::Landscape);
    EXPECT_EQ(QSize(page.width, page.length), QSize(2100, 1480));
    EXPECT_EQ(page.leftMargin, 200);
}

TEST_F(Designer, ABadExpressionNamesThePlaceAndKeepsTheText)
{
    TemplateDocument doc;
    doc.bands = {band(BandKind::Title, {text(QStringLiteral("好"), 100, 0, 300)})};
    TemplateDesignerWindow w(doc, {});
    w.show();
    clickBand(w, 0, {150, 20});
    auto* edit = w.findChild<QLineEdit*>(QStringLiteral("EdtText"));
    edit->selectAll();
    typeText(edit, QStringLiteral("合计 [Qty +]"));
    dialogs->answerMessage(qx::mrOk);
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(dialogs->messages(),
              QStringList{QStringLiteral("表达式有错：“Qty +”（文字的第10个字符）：表达式错误: 缺少操作数 (第6个字符)")});
    EXPECT_EQ(edit->text(), QStringLiteral("合计 [Qty +]"));
    EXPECT_EQ(w.document().bands.at(0).objects.at(0).text, QStringLiteral("好"));

    dialogs->answerMessage(qx::mrOk);
    edit->selectAll();
    typeText(edit, QStringLiteral("合计 [Qty"));
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(dialogs->messages().value(1), QStringLiteral("表达式有错：文字“合计 [Qty”的第4个字符处的“[”缺少“]”"));
    EXPECT_EQ(dialogs->unexpected(), 0);
}

TEST_F(Designer, PreviewFromInsideShowsTheTemplateAsItStands)
{
    TemplateDocument doc;
    doc.bands = {band(BandKind::Master, {field(QStringLiteral("Mstdataset"), QStringLiteral("BillNo"))}, QStringLiteral("Mstdataset"))};
    TemplateDesignerWindow w(doc, {{QStringLiteral("Mstdataset"), data.get()}});
    w.show();
    QStringList shown;
    dialogs->answerDialog([&shown](QDialog& d) {
        auto* preview = qobject_cast<TQRStandardPreview*>(&d);
        ASSERT_NE(preview, nullptr);
        shown = pageTexts(*preview->QRPrinter()->ParentReport());
        d.close();
    });
    click(w, "BtnPreview");
    EXPECT_EQ(shown, (QStringList{QStringLiteral("1 WX1"), QStringLiteral("1 WX2"), QStringLiteral("1 WX3")}));

    // A template that names a missing field says so and the designer stays.
    w.model().addObject(0, ObjectKind::Field, {0, 0}, QStringLiteral("Mstdataset"), QStringLiteral("Nope"));
    dialogs->answerMessage(qx::mrOk);
    click(w, "BtnPreview");
    EXPECT_EQ(dialogs->messages(), QStringList{QStringLiteral("数据集“Mstdataset”中没有字段“Nope”")});
    EXPECT_EQ(dialogs->unexpected(), 0);
    EXPECT_TRUE(w.isVisible());
}

TEST_F(Designer, TheZoomScalesThePageAndClicksStillLandOnTheGrid)
{
    TemplateDesignerWindow w(TemplateDocument(), {});
    w.show();
    addBand(w, BandKind::Title);
    const int width100 = w.page()->sizeHint().width();
    auto* zoom = w.findChild<QComboBox*>(QStringLiteral("CmbZoom"));
    zoom->setCurrentIndex(zoom->findData(200));
    emit zoom->activated(zoom->currentIndex());
    EXPECT_EQ(w.page()->zoom(), 200);
    EXPECT_NEAR(w.page()->sizeHint().width() - 40, 2 * (width100 - 40), 2);
    click(w, "ToolText");
    clickBand(w, 0, {260, 60});
    const TemplateObject& o = w.document().bands.at(0).objects.at(0);
    EXPECT_EQ(QPoint(o.left, o.top), QPoint(250, 50));
}

// ---- fields dragged from the list ------------------------------------------------------------

TEST_F(Designer, ADraggedListEntryCarriesItsField)
{
    TemplateDesignerWindow w(TemplateDocument(), {{QStringLiteral("Mstdataset"), data.get()}});
    auto* list = w.findChild<DesignerFieldList*>(QStringLiteral("LstFields"));
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->dragEnabled());
    // A drag asks the list's model for the mime data of the dragged rows, as here.
    const QModelIndex row = list->model()->index(3, 0);
    std::unique_ptr<QMimeData> mime(list->model()->mimeData({row}));
    ASSERT_NE(mime, nullptr);
    DraggedField f;
    ASSERT_TRUE(DesignerFieldList::fieldFromMime(mime.get(), f));
    EXPECT_EQ(f.dataSet, QStringLiteral("Mstdataset"));
    EXPECT_EQ(f.field, QStringLiteral("Amount"));
}

TEST(DesignerFieldMime, OnlyAWholeFieldIsTaken)
{
    const struct
    {
        const char* what;
        QString format;
        QByteArray bytes;
        bool taken;
    } cases[] = {
        {"field", DesignerFieldList::mimeType(), "DltDataset1\nQty", true},
        {"plain text", QStringLiteral("text/plain"), "DltDataset1\nQty", false},
        {"no field", DesignerFieldList::mimeType(), "DltDataset1", false},
        {"empty field", DesignerFieldList::mimeType(), "DltDataset1\n", false},
        {"three parts", DesignerFieldList::mimeType(), "a\nb\nc", false},
        {"oversized", DesignerFieldList::mimeType(), QByteArray(5000, 'a') + "\nQty", false},
    };
    for (const auto& c : cases) {
        QMimeData mime;
        mime.setData(c.format, c.bytes);
        DraggedField f;
        EXPECT_EQ(DesignerFieldList::fieldFromMime(&mime, f), c.taken) << c.what;
    }
    DraggedField f;
    EXPECT_FALSE(DesignerFieldList::fieldFromMime(nullptr, f));
}

TEST_F(Designer, AFieldDroppedOnABandIsPlacedWhereItFalls)
{
    TemplateDocument doc;
    doc.bands = {band(BandKind::Title, {}), band(BandKind::Master, {}, QStringLiteral("Mstdataset"))};
    TemplateDesignerWindow w(doc, {{QStringLiteral("Mstdataset"), data.get()}});
    w.show();
    DesignerPage* page = w.page();
    ASSERT_TRUE(page->acceptDrops());
    QMimeData field;
    field.setData(DesignerFieldList::mimeType(), "Mstdataset\nAmount");
    QMimeData other;
    other.setText(QStringLiteral("Mstdataset.Amount"));

    const auto at = [page](int b, QPoint units) {
        const QRect r = page->bandRect(b);
        return QPointF(r.left() + units.x() * page->scale(), r.top() + units.y() * page->scale());
    };
    // Returns whether the move and the drop were taken.
    const auto dragTo = [page](QPointF pos, const QMimeData* mime) {
        QDragEnterEvent enter(pos.toPoint(), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(page, &enter);
        QDragMoveEvent move(pos.toPoint(), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(page, &move);
        QDropEvent drop(pos, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(page, &drop);
        return std::pair{move.isAccepted(), drop.isAccepted()};
    };

    EXPECT_EQ(dragTo(at(1, {410, 30}), &field), std::pair(true, true));
    ASSERT_EQ(w.document().bands.at(1).objects.size(), 1);
    const TemplateObject& o = w.document().bands.at(1).objects.at(0);
    EXPECT_EQ(o.kind, ObjectKind::Field);
    EXPECT_EQ(o.field, QStringLiteral("Amount"));
    EXPECT_EQ(QPoint(o.left, o.top), QPoint(400, 25)); // on the grid
    EXPECT_EQ(page->currentBand(), 1);
    EXPECT_TRUE(w.model().canUndo());

    // Text that is not a field, and a field dropped beside the bands, place nothing.
    EXPECT_EQ(dragTo(at(0, {100, 10}), &other), std::pair(false, false));
    const QPointF below(page->bandRect(1).left() + 10, page->bandRect(1).bottom() + 40);
    EXPECT_EQ(dragTo(below, &field), std::pair(false, false));
    EXPECT_EQ(w.document().bands.at(0).objects.size(), 0);
    EXPECT_EQ(w.document().bands.at(1).objects.size(), 1);
}

// ---- colours and faces ----------------------------------------------------------------------

TEST_F(Designer, ColoursAreChosenThroughTheDialogService)
{
    TemplateDocument doc;
    doc.bands = {band(BandKind::Title, {text(QStringLiteral("红"), 100, 0, 300)})};
    TemplateDesignerWindow w(doc, {});
    w.show();
    clickBand(w, 0, {150, 20});
    const auto object = [&w] { return w.document().bands.at(0).objects.at(0); };

    const struct
    {
        const char* button;
        std::optional<QColor> answer;
        TColor font;
        TColor fill;
    } cases[] = {
        {"BtnFontColor", QColor(255, 0, 0), clRed, kNoFill},
        {"BtnFontColor", std::nullopt, clRed, kNoFill}, // cancelled: unchanged
        {"BtnFill", QColor(0, 0, 255), clRed, clBlue},
        {"BtnFill", std::nullopt, clRed, clBlue},
    };
    for (const auto& c : cases) {
        dialogs->answerColor(c.answer);
        click(w, c.button);
        EXPECT_EQ(object().font.color, c.font) << c.button;
        EXPECT_EQ(object().fill, c.fill) << c.button;
    }
    EXPECT_EQ(dialogs->unexpected(), 0);
    ASSERT_EQ(dialogs->shown().size(), 4);
    // The chooser opens on the colour the object has; a transparent fill starts from white.
    EXPECT_EQ(dialogs->shown().at(0).kind, qx::ShownDialog::Color);
    EXPECT_EQ(dialogs->shown().at(0).color, QColor(0, 0, 0));
    EXPECT_EQ(dialogs->shown().at(2).color, QColor(255, 255, 255));
    EXPECT_EQ(dialogs->shown().at(3).color, QColor(0, 0, 255));

    auto* noFill = w.findChild<QCheckBox*>(QStringLiteral("ChkNoFill"));
    EXPECT_FALSE(noFill->isChecked());
    QTest::mouseClick(noFill, Qt::LeftButton, {}, QPoint(6, noFill->height() / 2));
    EXPECT_EQ(object().fill, kNoFill);
    click(w, "BtnUndo");
    EXPECT_EQ(object().fill, clBlue);
    EXPECT_FALSE(noFill->isChecked());
}

TEST_F(Designer, TheFaceIsChosenAmongTheInstalledOnes)
{
    TemplateDocument doc;
    TemplateObject elsewhere = text(QStringLiteral("外"), 600, 0, 300);
    elsewhere.font.name = QStringLiteral("Face From Elsewhere");
    doc.bands = {band(BandKind::Title, {text(QStringLiteral("字"), 100, 0, 300), elsewhere})};
    TemplateDesignerWindow w(doc, {});
    w.show();
    clickBand(w, 0, {150, 20});
    auto* faces = w.findChild<QComboBox*>(QStringLiteral("CmbFontName"));
    ASSERT_NE(faces, nullptr);
    EXPECT_EQ(faces->currentText(), QStringLiteral("宋体"));
    EXPECT_GE(faces->findText(qx::kInstalledCjkFace), 0);

    // Typing on the closed combo picks the first face that starts so.
    faces->setFocus();
    QTest::keyClicks(faces, QStringLiteral("WenQ"));
    EXPECT_EQ(w.document().bands.at(0).objects.at(0).font.name, qx::kInstalledCjkFace);
    // The arrow keys step through the faces.
    QTest::keyClick(faces, Qt::Key_Up);
    EXPECT_EQ(w.document().bands.at(0).objects.at(0).font.name, faces->itemText(faces->findText(qx::kInstalledCjkFace) - 1));
    click(w, "BtnUndo");
    EXPECT_EQ(w.document().bands.at(0).objects.at(0).font.name, qx::kInstalledCjkFace);

    // A face that is not installed is still shown as the template names it.
    clickBand(w, 0, {650, 20});
    EXPECT_EQ(faces->currentText(), QStringLiteral("Face From Elsewhere"));
    EXPECT_EQ(w.document().bands.at(0).objects.at(1).font.name, QStringLiteral("Face From Elsewhere"));
}
