// TFrmdbGridChart: a bar, line or pie chart of the data a grid shows. Way one charts whole
// columns over the records (one series per chosen numeric column, one point per record,
// labelled by the X column); way two compares columns (one series, one point per chosen
// column: its value in the last record, in the current record, or summed over the records).
// The series are filled from the grid's dataset here, with the dataset's controls disabled;
// values go through currency and a null value counts as 0. The window is freed once its
// modal run is over.
#pragma once

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QStringList>

#include <optional>

class QStackedWidget;
class QChart;
class QChartView;
class TQxButton;
class TQxComboBox;
class TQxCustomDBGrid;
class TQxGroupBox;
class TQxLabel;
class TQxListBox;
class TQxPanel;

// The kinds of series the chart draws.
enum class TGridChartKind { Bar, Line, Pie };

// One series as the dialog made it: its kind, title and points (a label and a value each).
struct TGridChartSeries
{
    TGridChartKind Kind = TGridChartKind::Bar;
    QString Title;
    QStringList Labels;
    QList<double> Values;
};

class TFrmdbGridChart : public QDialog
{
    Q_OBJECT

public:
    // "图形分析表", centred on the desktop, the page "Setting" showing.
    explicit TFrmdbGridChart(QWidget* parent = nullptr);
    ~TFrmdbGridChart() override;

    QStackedWidget* Notebook = nullptr;
    QWidget* Setting = nullptr;
    QWidget* Result = nullptr;
    TQxGroupBox* QXGroupBox2 = nullptr; // way one
    TQxListBox* lbx1X = nullptr;
    TQxListBox* lbx1Y = nullptr;
    TQxComboBox* cbxGType1 = nullptr;
    TQxButton* BtnOK1 = nullptr;
    TQxGroupBox* QXGroupBox1 = nullptr; // way two
    TQxListBox* lbxCurr = nullptr;
    TQxComboBox* cbxGType = nullptr;
    TQxComboBox* cbxData = nullptr;
    TQxButton* BtnOK2 = nullptr;
    TQxPanel* pnlG = nullptr;
    TQxButton* BtnClose = nullptr;
    TQxButton* BtnPrint = nullptr;
    TQxButton* SpeedButton1 = nullptr;
    QChartView* dbchart = nullptr;

    // The grid charted (not owned).
    QPointer<TQxCustomDBGrid> Grid;

    // The series on the chart, in order.
    const QList<TGridChartSeries>& Series() const { return FSeries; }
    QChart* Chart() const;

    // The kind a chart-type text names ("饼形", "柱形", "线形"); none for any other text.
    static std::optional<TGridChartKind> SeriesKind(const QString& Text);

    // Fills the X list with the visible columns' captions, the Y and compare lists with those
    // of the visible numeric columns, and shows the page "Setting".
    void FormShow(QObject* Sender);
    void FillFieldLists();
    void BtnOK1Click(QObject* Sender);
    void BtnOK2Click(QObject* Sender);
    // Prints the chart on the default printer, one page.
    void BtnPrintClick(QObject* Sender);
    void BtnCloseClick(QObject* Sender);
    void SpeedButton1Click(QObject* Sender);
    // The value way two charts for a field, as cbxData says, on the grid's dataset.
    double FieldValue(const QString& FieldName);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ClearSeries();
    void AddSeries(const TGridChartSeries& series);
    void RebuildChart();

    QList<TGridChartSeries> FSeries;
};

// The chart dialog ShowGridChart made last (gone once it closed).
extern QPointer<TFrmdbGridChart> FrmdbGridChart;

// Makes a chart dialog for Grid and runs it modally through the dialog service; the dialog is
// freed when it closes.
void ShowGridChart(TQxCustomDBGrid* Grid);
