// TFrmdbGridChart: layout, wiring and handlers of the grid chart dialog, and its one-call run.
#include "usystem/vcl/griddlg/uQxdbgridChart.h"

#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/env/DialogService.h"
#include "platform/env/ExceptionGuard.h"
#include "platform/report/PrintTarget.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Glyphs.h"
#include "usystem/vcl/checks/uQxListBox.h"
#include "usystem/vcl/combos/uQxComboBox.h"
#include "usystem/vcl/controls/uQxButtons.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/export/uQxDBGridRoutines.h"
#include "usystem/vcl/forms/QxFormKit.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QPieLegendMarker>
#include <QPieSeries>
#include <QPieSlice>
#include <QPrinter>
#include <QStackedWidget>
#include <QVBoxLayout>

QPointer<TFrmdbGridChart> FrmdbGridChart;

namespace {

const QStringList ChartKinds{QStringLiteral("柱形"), QStringLiteral("线形"), QStringLiteral("饼形")};

// The visible numeric columns are the ones a chart can take values from.
bool isNumericField(const TField* field)
{
    return dynamic_cast<const TIntegerField*>(field) || dynamic_cast<const TLargeintField*>(field)
           || dynamic_cast<const TFloatField*>(field);
}

// A field's value as the chart takes it: through currency (four decimals), null as 0.
double chartValue(const TField* field)
{
    if (!field || field->IsNull())
        return 0.0;
    return field->AsCurrency().toDouble();
}

TDataSet* gridDataSet(const TQxCustomDBGrid* grid)
{
    if (!grid || !grid->DataSource())
        return nullptr;
    TDataSet* ds = grid->DataSource()->DataSet();
    return ds && ds->Active() ? ds : nullptr;
}

TQxListBox* fieldList(QWidget* parent, const char* name, qx::kit::Bounds b, bool checks)
{
    auto* list = qx::kit::make<TQxListBox>(parent, name, b);
    if (checks) {
        list->SetListBoxStyle(TQxListBox::lbsCheckBox | TQxListBox::lbsBitmap);
        list->SetMultiSelect(true);
    }
    return list;
}

} // namespace

TFrmdbGridChart::TFrmdbGridChart(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmdbGridChart"));
    setWindowTitle(QStringLiteral("图形分析表"));
    resize(600, 420);

    Notebook = new QStackedWidget(this);
    Notebook->setObjectName(QStringLiteral("Notebook"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Notebook);
    Setting = new QWidget;
    Setting->setObjectName(QStringLiteral("Setting"));
    Result = new QWidget;
    Result->setObjectName(QStringLiteral("Result"));
    Notebook->addWidget(Setting);
    Notebook->addWidget(Result);

    // Way one fills the page left of way two.
    QXGroupBox2 = qx::kit::groupBox(Setting, "QXGroupBox2", QStringLiteral("方式一 "), {0, 0, 380, 420});
    qx::kit::label(QXGroupBox2, "Label1", QStringLiteral("X坐标"), 10, 20);
    lbx1X = fieldList(QXGroupBox2, "lbx1X", {10, 38, 170, 320}, false);
    qx::kit::label(QXGroupBox2, "Label2", QStringLiteral("Y坐标"), 196, 20);
    lbx1Y = fieldList(QXGroupBox2, "lbx1Y", {196, 38, 170, 320}, true);
    qx::kit::label(QXGroupBox2, "Label3", QStringLiteral("图表类型："), 10, 376);
    cbxGType1 = qx::kit::comboBox(QXGroupBox2, "cbxGType1", {90, 372, 110, 21}, ChartKinds);
    cbxGType1->SetText(QStringLiteral("柱形"));
    BtnOK1 = qx::kit::toolButton(QXGroupBox2, "BtnOK1", QStringLiteral("确定"), {290, 368, 75, 28});

    QXGroupBox1 = qx::kit::groupBox(Setting, "QXGroupBox1", QStringLiteral("方式二"), {380, 0, 220, 420});
    qx::kit::label(QXGroupBox1, "Label4", QStringLiteral("当前比较字段"), 10, 20);
    lbxCurr = fieldList(QXGroupBox1, "lbxCurr", {10, 38, 200, 262}, true);
    qx::kit::label(QXGroupBox1, "Label5", QStringLiteral("图表类型："), 10, 312);
    cbxGType = qx::kit::comboBox(QXGroupBox1, "cbxGType", {90, 308, 120, 21}, ChartKinds);
    cbxGType->SetText(QStringLiteral("饼形"));
    qx::kit::label(QXGroupBox1, "Label6", QStringLiteral("数据："), 10, 342);
    cbxData = qx::kit::comboBox(QXGroupBox1, "cbxData", {90, 338, 120, 21},
                                {QStringLiteral("最后一行"), QStringLiteral("当前行"), QStringLiteral("合计")});
    // The three boxes take typed text as well as their items.
    for (TQxComboBox* box : {cbxGType1, cbxGType, cbxData})
        box->SetStyle(csDropDown);
    cbxGType1->SetText(QStringLiteral("柱形"));
    cbxGType->SetText(QStringLiteral("饼形"));
    cbxData->SetText(QStringLiteral("最后一行"));
    BtnOK2 = qx::kit::toolButton(QXGroupBox1, "BtnOK2", QStringLiteral("确定"), {135, 368, 75, 28});

    auto* resultLayout = new QVBoxLayout(Result);
    resultLayout->setContentsMargins(0, 0, 0, 0);
    resultLayout->setSpacing(0);
    pnlG = new TQxPanel(Result);
    pnlG->setObjectName(QStringLiteral("pnlG"));
    pnlG->setFixedHeight(44);
    resultLayout->addWidget(pnlG);
    BtnClose = qx::kit::toolButton(pnlG, "BtnClose", QStringLiteral("取消退出"), {4, 2, 64, 40});
    BtnClose->SetGlyph(qx::libraryGlyph(qx::LibraryGlyph::Exit).toImage());
    BtnPrint = qx::kit::toolButton(pnlG, "BtnPrint", QStringLiteral("打印"), {68, 2, 64, 40});
    SpeedButton1 = qx::kit::toolButton(pnlG, "SpeedButton1", QStringLiteral("上一页"), {132, 2, 64, 40});
    for (TQxButton* button : {BtnClose, BtnPrint, SpeedButton1})
        button->SetLayout(TQxButton::GlyphTop);

    auto* chart = new QChart;
    chart->setTitle(QStringLiteral("图形分析"));
    chart->setBackgroundBrush(Qt::white);
    chart->setBackgroundRoundness(0);
    chart->setMargins(QMargins(0, 5, 0, 5));
    chart->legend()->setAlignment(Qt::AlignRight);
    dbchart = new QChartView(chart, Result);
    dbchart->setObjectName(QStringLiteral("dbchart"));
    dbchart->setFrameShape(QFrame::NoFrame);
    dbchart->setRubberBand(QChartView::NoRubberBand);
    dbchart->setRenderHint(QPainter::Antialiasing);
    resultLayout->addWidget(dbchart);

    qx::kit::onClick(BtnOK1, this, &TFrmdbGridChart::BtnOK1Click);
    qx::kit::onClick(BtnOK2, this, &TFrmdbGridChart::BtnOK2Click);
    qx::kit::onClick(BtnPrint, this, &TFrmdbGridChart::BtnPrintClick);
    qx::kit::onClick(BtnClose, this, &TFrmdbGridChart::BtnCloseClick);
    qx::kit::onClick(SpeedButton1, this, &TFrmdbGridChart::SpeedButton1Click);

}

TFrmdbGridChart::~TFrmdbGridChart() = default;

QChart* TFrmdbGridChart::Chart() const
{
    return dbchart->chart();
}

std::optional<TGridChartKind> TFrmdbGridChart::SeriesKind(const QString& Text)
{
    if (Text == QStringLiteral("饼形"))
        return TGridChartKind::Pie;
    if (Text == QStringLiteral("柱形"))
        return TGridChartKind::Bar;
    if (Text == QStringLiteral("线形"))
        return TGridChartKind::Line;
    return std::nullopt;
}

void TFrmdbGridChart::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        qx::guard(this, [&] { FormShow(this); });
}

void TFrmdbGridChart::FormShow(QObject*)
{
    FillFieldLists();
}

void TFrmdbGridChart::FillFieldLists()
{
    lbx1X->Items()->Clear();
    lbx1Y->Items()->Clear();
    lbxCurr->Items()->Clear();
    if (Grid) {
        TQxDBGridColumns* columns = Grid->Columns();
        for (int i = 0; i < columns->Count(); ++i) {
            TQxColumn* column = columns->Items(i);
            if (!column->Visible())
                continue;
            const QString caption = column->Title()->Caption();
            lbx1X->Items()->Add(caption);
            if (isNumericField(column->Field()))
                lbx1Y->Items()->Add(caption);
        }
        for (int i = 0; i < lbx1Y->count(); ++i)
            lbxCurr->Items()->Add(lbx1Y->Items()->Strings(i));
    }
    Notebook->setCurrentWidget(Setting);
}

void TFrmdbGridChart::BtnOK1Click(QObject*)
{
    const int xEntry = lbx1X->ItemIndex();
    if (xEntry < 0 || !lbx1X->Selected(xEntry)) {
        qx::showMessage(QStringLiteral("请设置X坐标字段"), this);
        return;
    }
    const QString xText = lbx1X->Items()->Strings(xEntry);
    Notebook->setCurrentWidget(Result);
    ClearSeries();
    const TQxColumn* xColumn = Grid ? ColumnByCaption(Grid, xText) : nullptr;
    for (int i = 0; i < lbx1Y->count(); ++i) {
        if (!lbx1Y->GetChecked(i))
            continue;
        const QString yText = lbx1Y->Items()->Strings(i);
        const TQxColumn* yColumn = Grid ? ColumnByCaption(Grid, yText) : nullptr;
        if (!yColumn)
            continue;
        const std::optional<TGridChartKind> kind = SeriesKind(cbxGType1->Text());
        if (!kind)
            return;
        TGridChartSeries series;
        series.Kind = *kind;
        series.Title = yText;
        if (TDataSet* ds = gridDataSet(Grid)) {
            TField* yField = ds->FindField(yColumn->FieldName());
            TField* xField = xColumn ? ds->FindField(xColumn->FieldName()) : nullptr;
            // Every record is read; the grid stays on its record.
            const qx::ControlsGuard controls(ds);
            TBookmark mark = ds->GetBookmark();
            const auto back = [&] {
                ds->GotoBookmark(mark);
                ds->FreeBookmark(mark);
            };
            try {
                ds->First();
                while (!ds->Eof()) {
                    series.Labels << (xField ? xField->AsString() : QString());
                    series.Values << chartValue(yField);
                    ds->Next();
                }
            } catch (...) {
                back();
                throw;
            }
            back();
        }
        AddSeries(series);
    }
    if (FSeries.isEmpty())
        qx::showMessage(QStringLiteral("请设置Y坐标字段"), this);
}

void TFrmdbGridChart::BtnOK2Click(QObject*)
{
    const std::optional<TGridChartKind> kind = SeriesKind(cbxGType->Text());
    if (!kind)
        return;
    TGridChartSeries series;
    series.Kind = *kind;
    if (lbxCurr->SelCount() == 0) {
        qx::showMessage(QStringLiteral("请选择比较字段"), this);
        return;
    }
    for (int i = 0; i < lbxCurr->count(); ++i) {
        if (!lbxCurr->GetChecked(i))
            continue;
        const QString text = lbxCurr->Items()->Strings(i);
        const TQxColumn* column = Grid ? ColumnByCaption(Grid, text) : nullptr;
        if (!column)
            continue;
        series.Labels << text;
        series.Values << FieldValue(column->FieldName());
    }
    Notebook->setCurrentWidget(Result);
    ClearSeries();
    AddSeries(series);
}

double TFrmdbGridChart::FieldValue(const QString& FieldName)
{
    TDataSet* ds = gridDataSet(Grid);
    if (!ds)
        return 0.0;
    const qx::ControlsGuard controls(ds);
    const QString data = cbxData->Text();
    // The dataset stays where the work ended: on the last record, or past the end.
    if (data == QStringLiteral("最后一行")) {
        ds->Last();
        return chartValue(ds->FindField(FieldName));
    }
    if (data == QStringLiteral("当前行"))
        return chartValue(ds->FindField(FieldName));
    if (data == QStringLiteral("合计")) {
        Currency sum;
        ds->First();
        while (!ds->Eof()) {
            if (TField* field = ds->FindField(FieldName); field && !field->IsNull())
                sum = sum + field->AsCurrency();
            ds->Next();
        }
        return sum.toDouble();
    }
    return 0.0;
}

void TFrmdbGridChart::BtnPrintClick(QObject*)
{
    const std::unique_ptr<QPrinter> printer = qx::report::makePrinter(-1);
    QPainter painter;
    if (!printer || !painter.begin(printer.get()))
        throw Exception(QStringLiteral("打印机无法开始打印"));
    const QRect page = printer->pageLayout().paintRectPixels(printer->resolution());
    // The chart as it shows, scaled to the page's width and kept in proportion.
    const QSize shown = dbchart->size().isEmpty() ? QSize(600, 400) : dbchart->size();
    const QSize target = shown.scaled(page.size(), Qt::KeepAspectRatio);
    dbchart->render(&painter, QRectF(QPointF(0, 0), QSizeF(target)), dbchart->rect());
    if (!painter.end())
        throw Exception(QStringLiteral("打印机无法开始打印"));
}

void TFrmdbGridChart::BtnCloseClick(QObject*)
{
    close();
}

void TFrmdbGridChart::SpeedButton1Click(QObject*)
{
    Notebook->setCurrentWidget(Setting);
}

void TFrmdbGridChart::ClearSeries()
{
    FSeries.clear();
    RebuildChart();
}

void TFrmdbGridChart::AddSeries(const TGridChartSeries& series)
{
    FSeries << series;
    RebuildChart();
}

void TFrmdbGridChart::RebuildChart()
{
    QChart* chart = Chart();
    chart->removeAllSeries();
    QBarSeries* bars = nullptr;
    int pies = 0;
    for (const TGridChartSeries& s : FSeries)
        pies += s.Kind == TGridChartKind::Pie ? 1 : 0;
    int pie = 0;
    for (const TGridChartSeries& s : FSeries) {
        switch (s.Kind) {
        case TGridChartKind::Bar: {
            // The bar series stand side by side in one group, a set per series.
            if (!bars) {
                bars = new QBarSeries;
                chart->addSeries(bars);
            }
            auto* set = new QBarSet(s.Title);
            for (double v : s.Values)
                set->append(v);
            bars->append(set);
            break;
        }
        case TGridChartKind::Line: {
            auto* line = new QLineSeries;
            line->setName(s.Title);
            for (int i = 0; i < s.Values.size(); ++i)
                line->append(i, s.Values.at(i));
            line->setPointLabelsVisible(true);
            chart->addSeries(line);
            break;
        }
        case TGridChartKind::Pie: {
            auto* slices = new QPieSeries;
            slices->setName(s.Title);
            for (int i = 0; i < s.Values.size(); ++i) {
                QPieSlice* slice = slices->append(s.Labels.value(i), s.Values.at(i));
                slice->setLabelVisible(true);
                slice->setLabelArmLengthFactor(0.08);
            }
            // Pies of several series stand side by side.
            slices->setPieSize(0.7 / qMax(1, pies));
            slices->setHorizontalPosition((pie + 0.5) / qMax(1, pies));
            ++pie;
            chart->addSeries(slices);
            // The legend shows each point's share at the right of its text.
            const QList<QLegendMarker*> markers = chart->legend()->markers(slices);
            for (QLegendMarker* marker : markers) {
                auto* m = qobject_cast<QPieLegendMarker*>(marker);
                if (m && m->slice())
                    m->setLabel(m->slice()->label() + QStringLiteral("  ")
                                + FormatFloat(QStringLiteral("##0.##"), m->slice()->percentage() * 100)
                                + QStringLiteral(" %"));
            }
            break;
        }
        }
    }
    if (bars)
        bars->setLabelsVisible(true);
}

void ShowGridChart(TQxCustomDBGrid* Grid)
{
    // Every chart is its own window, owned by nobody: it goes once its modal run is over.
    QPointer<TFrmdbGridChart> dialog = new TFrmdbGridChart;
    FrmdbGridChart = dialog;
    dialog->Grid = Grid;
    const auto release = [&] {
        if (dialog)
            dialog->deleteLater();
    };
    try {
        qx::DialogService::instance().execDialog(*dialog);
    } catch (...) {
        release();
        throw;
    }
    release();
}
