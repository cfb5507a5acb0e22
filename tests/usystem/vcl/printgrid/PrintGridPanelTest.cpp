// Head and foot panels: their controls as printables on a band, and as text lines.
#include "tests/usystem/vcl/printgrid/PrintGridFixture.h"

#include "platform/ui/DatePicker.h"
#include "usystem/vcl/combos/uQxComboBox.h"
#include "usystem/vcl/combos/uQxDBComboBox.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/dbedits/uQxDBCheckBox.h"
#include "usystem/vcl/dbedits/uQxDBEdit.h"
#include "usystem/vcl/edits/uQxEdits.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QRadioButton>
#include <QTest>
#include <QTimeEdit>

#include <gtest/gtest.h>

using qxtest::printgrid::BandPrinter;
using qxtest::printgrid::describeBand;
using qxtest::printgrid::testFont;

namespace {

// A shown panel of 400 x 120 pixels in the test font, with a control of every kind that
// prints. Tops: 0 the labels, 10 the edit, 30 the check boxes and the radio button, 60 the
// combo box, the date picker and the time picker, 90 the radio group and the picture.
class PanelFixture
{
public:
    PanelFixture()
    {
        window = std::make_unique<QWidget>();
        window->setFont(testFont(9));
        window->resize(500, 200);
        panel = new QWidget(window.get());
        panel->setGeometry(0, 0, 400, 120);

        // Made right to left so that the text lines must sort them by their left edge.
        plainLabel = new QLabel(QStringLiteral("单位"), panel);
        plainLabel->setGeometry(150, 0, 40, 16);
        label = new TQxLabel(panel);
        label->SetCaption(QStringLiteral("客户"));
        label->SetFontColor(clRed);
        label->move(10, 0);

        edit = new TQxEdit(panel);
        edit->setGeometry(60, 10, 80, 24);
        // The edit's own default face depends on the fonts the machine has; the library's face
        // keeps the measures below the same everywhere.
        edit->setFont(testFont());

        check = new TQxCheckBox(panel);
        check->setText(QStringLiteral("保修"));
        check->setGeometry(10, 30, 60, 20);
        unchecked = new QCheckBox(QStringLiteral("加急"), panel);
        unchecked->setGeometry(100, 30, 60, 20);
        radio = new QRadioButton(QStringLiteral("自取"), panel);
        radio->setGeometry(200, 30, 60, 20);

        combo = new TQxComboBox(panel);
        combo->addItems({QStringLiteral("现金"), QStringLiteral("刷卡")});
        combo->setGeometry(10, 60, 80, 24);
        date = new qx::DatePicker(panel);
        date->setGeometry(100, 60, 100, 24);
        date->setDate(QDate(2026, 3, 4));
        time = new QTimeEdit(QTime(13, 5, 9), panel);
        time->setGeometry(220, 60, 80, 24);

        group = new QGroupBox(QStringLiteral("送货"), panel);
        group->setGeometry(10, 90, 120, 28);
        groupYes = new QRadioButton(QStringLiteral("是"), group);
        groupNo = new QRadioButton(QStringLiteral("否"), group);
        groupNo->move(50, 0);

        picture = new QLabel(panel);
        QPixmap pixmap(8, 6);
        pixmap.fill(Qt::red);
        picture->setPixmap(pixmap);
        picture->setGeometry(300, 90, 20, 20);

        hidden = new QLabel(QStringLiteral("不打印"), panel);
        hidden->move(300, 0);
        hidden->hide();

        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    // What a user does on the form before printing it.
    void fillIn()
    {
        QTest::mouseClick(edit, Qt::LeftButton);
        QTest::keyClicks(edit, QStringLiteral("Zhang San"));
        QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(5, check->height() / 2));
        QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(5, radio->height() / 2));
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Down);
        QTest::mouseClick(groupNo, Qt::LeftButton, {}, QPoint(5, groupNo->height() / 2));
    }

    std::unique_ptr<QWidget> window;
    QWidget* panel = nullptr;
    QLabel* plainLabel = nullptr;
    TQxLabel* label = nullptr;
    TQxEdit* edit = nullptr;
    TQxCheckBox* check = nullptr;
    QCheckBox* unchecked = nullptr;
    QRadioButton* radio = nullptr;
    TQxComboBox* combo = nullptr;
    qx::DatePicker* date = nullptr;
    QTimeEdit* time = nullptr;
    QGroupBox* group = nullptr;
    QRadioButton* groupYes = nullptr;
    QRadioButton* groupNo = nullptr;
    QLabel* picture = nullptr;
    QLabel* hidden = nullptr;
};

// Centred in a 24-pixel control: (24 - 14) div 2 below its top.
constexpr int kCentred = 5;

} // namespace

TEST(PrintGridPanel, WholePanelOnABand)
{
    PanelFixture f;
    f.fillIn();
    ASSERT_EQ(f.edit->text(), QStringLiteral("Zhang San"));
    ASSERT_TRUE(f.check->isChecked());
    ASSERT_EQ(f.combo->currentText(), QStringLiteral("刷卡"));

    BandPrinter printer;
    TQRBand* band = printer.newBand(7);
    printer.PanelToBand(f.panel, 0, band, 0);
    EXPECT_EQ(band->Height(), 120 + 7);
    const int h0 = 7;
    const QStringList expected = {
        QStringLiteral("TsQRLabel 150,%1 h16 单位").arg(0 + h0),
        QStringLiteral("TsQRLabel 10,%1 h16 客户").arg(0 + h0),
        QStringLiteral("TsQRLabel 60,%1 h16 Zhang San").arg(10 + kCentred + h0),
        QStringLiteral("TsQRLabel 10,%1 h16 √ 保修").arg(30 + h0),
        QStringLiteral("TsQRLabel 100,%1 h16 □ 加急").arg(30 + h0),
        QStringLiteral("TsQRLabel 200,%1 h16 ⊙ 自取").arg(30 + h0),
        QStringLiteral("TsQRLabel 10,%1 h16 刷卡").arg(60 + kCentred + h0),
        QStringLiteral("TsQRLabel 100,%1 h16 2026-03-04").arg(60 + kCentred + h0),
        QStringLiteral("TsQRLabel 220,%1 h16 13:05:09").arg(60 + kCentred + h0),
        QStringLiteral("TsQRLabel 10,%1 h16 送货 否").arg(90 + 3 + h0),
        QStringLiteral("TQRImage 300,%1 h20 -").arg(90 + h0),
    };
    EXPECT_EQ(describeBand(band), expected);
    for (TQRPrintable* p : band->Printables())
        EXPECT_TRUE(p->Transparent() || qobject_cast<TQRImage*>(p));
    EXPECT_EQ(band->Printables().at(1)->FontColor(), clRed) << "the label's font colour goes with its font";
    auto* image = qobject_cast<TQRImage*>(band->Printables().last());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->Picture().size(), QSize(8, 6));
    EXPECT_EQ(image->Width(), 20);
}

TEST(PrintGridPanel, BoundsPickControlsByTheirTop)
{
    PanelFixture f;
    struct Case
    {
        int start;
        int end;
        int height; // of the band, which held 4
        QStringList texts;
    };
    const Case cases[] = {
        {30, 30, 4, {"TsQRLabel 10,4 h16 □ 保修", "TsQRLabel 100,4 h16 □ 加急", "TsQRLabel 200,4 h16 ○ 自取"}},
        {10, 40, 34,
         {QStringLiteral("TsQRLabel 10,%1 h16 □ 保修").arg(24), QStringLiteral("TsQRLabel 100,%1 h16 □ 加急").arg(24),
          QStringLiteral("TsQRLabel 200,%1 h16 ○ 自取").arg(24)}}, // the empty edit at 10 prints nothing
        {55, 200, 149, {"TsQRLabel 10,%1 h16 现金", "TsQRLabel 100,%1 h16 2026-03-04", "TsQRLabel 220,%1 h16 13:05:09",
                        "TQRImage 300,39 h20 -"}},
        {0, 0, 124, {}},  // checked apart below
        {40, 30, 4, {}}, // an upside-down range prints nothing and leaves the band alone
    };
    for (const Case& c : cases) {
        BandPrinter printer;
        TQRBand* band = printer.newBand(4);
        printer.PanelToBand(f.panel, c.start, band, c.end);
        EXPECT_EQ(band->Height(), c.height) << c.start << ".." << c.end;
        if (c.start == 0 && c.end == 0)
            continue;
        QStringList expected = c.texts;
        for (QString& line : expected)
            if (line.contains("%1"))
                line = line.arg(60 + kCentred - c.start + 4);
        EXPECT_EQ(describeBand(band), expected) << c.start << ".." << c.end;
    }
}

TEST(PrintGridPanel, DataControlsWithoutAFieldAndAnUnchosenGroupPrintNothing)
{
    QWidget window;
    window.setFont(testFont(9));
    QWidget panel(&window);
    panel.resize(300, 100);
    auto* dbEdit = new TQxDBEDIT(&panel);
    dbEdit->setText(QStringLiteral("无字段"));
    auto* dbCheck = new TQxDBCheckBox(&panel);
    dbCheck->setText(QStringLiteral("无字段"));
    dbCheck->move(0, 30);
    auto* dbCombo = new TQxDBComboBox(&panel);
    dbCombo->move(0, 60);
    auto* group = new QGroupBox(QStringLiteral("送货"), &panel);
    group->move(100, 0);
    new QRadioButton(QStringLiteral("是"), group);
    auto* emptyBox = new QGroupBox(QStringLiteral("框"), &panel); // no radio buttons: not a radio group
    emptyBox->move(100, 50);
    window.show();

    BandPrinter printer;
    TQRBand* band = printer.newBand();
    printer.PanelToBand(&panel, 0, band, 0);
    EXPECT_EQ(band->Height(), 100);
    EXPECT_TRUE(band->Printables().isEmpty()) << describeBand(band).join('\n').toStdString();

    QStringList lines{"'old'"};
    printer.PanelToText(&panel, 0, lines, 0);
    EXPECT_TRUE(lines.isEmpty());
}

TEST(PrintGridPanel, TextLinesByRowsAndColumns)
{
    // The character cell is the panel font's height, 14 pixels.
    QWidget window;
    window.setFont(testFont(9));
    QWidget panel(&window);
    panel.resize(400, 100);
    struct Item
    {
        const char* text;
        int left;
        int top;
        int height;
    };
    // Made out of order: the lines sort them.
    const Item items[] = {
        {"乙", 70, 5, 20},   // top within the first one's height: same line, column 5
        {"甲", 0, 0, 20},    // column 0
        {"丙", 28, 25, 16},  // a line of its own, column 2
        {"丁", 30, 40, 16},  // 40 < 25 + 16: same line as 丙, column 2 again: by text, before it
        {"戊", 150, 70, 16}, // column 10
    };
    for (const Item& i : items) {
        auto* l = new QLabel(QString::fromUtf8(i.text), &panel);
        l->setGeometry(i.left, i.top, 20, i.height);
    }
    window.show();

    BandPrinter printer;
    QStringList lines{"'old'"};
    printer.PanelToText(&panel, 0, lines, 0);
    EXPECT_EQ(lines, (QStringList{QStringLiteral(" 甲   乙"), QStringLiteral("   丁 丙"),
                                  QStringLiteral("           戊")}));

    // Between bounds, and an upside-down range leaves the lines as they were.
    printer.PanelToText(&panel, 20, lines, 50);
    EXPECT_EQ(lines, (QStringList{QStringLiteral("   丁 丙")}));
    printer.PanelToText(&panel, 50, lines, 20);
    EXPECT_EQ(lines, (QStringList{QStringLiteral("   丁 丙")}));
}

TEST(PrintGridPanel, TextLinesOfEveryKind)
{
    PanelFixture f;
    f.fillIn();
    BandPrinter printer;
    QStringList lines;
    printer.PanelToText(f.panel, 0, lines, 0);
    // Tops 0 (labels), 10 (edit, within the first label's 16), 30, 62 (boxes with a list: +2),
    // 92 (the radio group: +2); a time picker gives its date; the picture has no text.
    // Columns count GBK bytes: " 刷卡" is 5 long, so the date at column 7 gets 3 blanks.
    EXPECT_EQ(lines, (QStringList{QStringLiteral(" 客户 Zhang San 单位"), QStringLiteral(" √ 保修 □ 加急 ⊙ 自取"),
                                  QStringLiteral(" 刷卡   2026-03-04 2000-01-01"), QStringLiteral(" 送货 否")}));
}

TEST(PrintGridPanel, PanelTextReplacesTheGridLines)
{
    QWidget window;
    window.setFont(testFont(9));
    QWidget head(&window);
    QWidget foot(&window);
    (new QLabel(QStringLiteral("头"), &head))->move(0, 0);
    (new QLabel(QStringLiteral("尾"), &foot))->move(0, 50);
    window.show();

    BandPrinter printer;
    printer.SetGridHeadExpr({"'A'"});
    printer.GridHeadPanelText();
    printer.GridFootPanelText();
    EXPECT_EQ(printer.GridHeadExpr(), QStringList{"'A'"}) << "no panel: the lines stay";
    EXPECT_EQ(printer.GridFootExpr().size(), 1);

    printer.SetGridHeadPanel(&head);
    printer.SetGridFootPanel(&foot);
    printer.SetGridFootPanelStartY(40);
    printer.SetGridFootPanelEndY(60);
    printer.GridHeadPanelText();
    printer.GridFootPanelText();
    EXPECT_EQ(printer.GridHeadExpr(), QStringList{QStringLiteral(" 头")});
    EXPECT_EQ(printer.GridFootExpr(), QStringList{QStringLiteral(" 尾")});
}

TEST(PrintGridPanel, HeadPanelTakesThePlaceOfTheHeadLines)
{
    QWidget window;
    window.setFont(testFont(9));
    QWidget head(&window);
    head.resize(200, 40);
    (new QLabel(QStringLiteral("头"), &head))->move(5, 10);
    QWidget foot(&window);
    foot.resize(200, 30);
    (new QLabel(QStringLiteral("尾"), &foot))->move(6, 20);
    window.show();

    BandPrinter printer;
    printer.SetPageTitle1("T1");
    printer.SetGridHeadExpr({"'not printed'"});
    printer.SetGridHeadPanel(&head);
    printer.SetGridFootPanel(&foot);
    printer.SetGridFootPanelStartY(15);
    printer.SetGridFootPanelEndY(25);
    TQRBand* title = printer.newBand();
    printer.BuildTitleBand(title);
    EXPECT_EQ(title->Height(), 25 + 40);
    EXPECT_EQ(describeBand(title), (QStringList{"TsQRLabel |C,0 h20 T1", QStringLiteral("TsQRLabel 5,35 h16 头")}));

    TQRBand* footer = printer.newBand(3);
    printer.BuildGridFooterBand(footer);
    EXPECT_EQ(footer->Height(), 25 + 3 - 15);
    EXPECT_EQ(describeBand(footer), QStringList{QStringLiteral("TsQRLabel 6,8 h16 尾")});
}
