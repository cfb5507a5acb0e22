#include "platform/template/TemplateDesignerWindow.h"

#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/env/DialogService.h"
#include "platform/template/DesignerFieldList.h"
#include "platform/template/DesignerPage.h"
#include "platform/template/DesignerProperties.h"
#include "platform/report/QRPreviewInterface.h"
#include "platform/report/QuickRep.h"
#include "platform/template/TemplateFormat.h"
#include "platform/template/DesignerTexts.h"
#include "platform/template/TemplateReport.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

namespace qx::tpl {

namespace {

constexpr BandKind kBandKinds[] = {BandKind::Title,        BandKind::PageHeader,  BandKind::GroupHeader,
                                   BandKind::Master,       BandKind::DetailHeader, BandKind::Detail,
                                   BandKind::DetailFooter, BandKind::GroupFooter,  BandKind::Summary,
                                   BandKind::Child,        BandKind::PageFooter};

constexpr ObjectKind kObjectKinds[] = {ObjectKind::Text, ObjectKind::Field, ObjectKind::Line, ObjectKind::Rectangle,
                                       ObjectKind::Picture};

const char* toolName(ObjectKind kind)
{
    switch (kind) {
    case ObjectKind::Text: return "ToolText";
    case ObjectKind::Field: return "ToolField";
    case ObjectKind::Line: return "ToolLine";
    case ObjectKind::Rectangle: return "ToolRectangle";
    case ObjectKind::Picture: return "ToolPicture";
    }
    return "";
}

} // namespace

TemplateDesignerWindow::TemplateDesignerWindow(const TemplateDocument& doc, const QList<OfferedDataSet>& offered,
                                               QWidget* parent)
    : QDialog(parent), m_model(doc), m_offered(offered)
{
    setObjectName(QStringLiteral("TemplateDesignerWindow"));
    setWindowTitle(designer_text::windowTitle());
    setModal(true);
    resize(1000, 700);

    auto* tools = new QHBoxLayout;
    QToolButton* selectTool = toolButton("ToolSelect", designer_text::select());
    connect(selectTool, &QToolButton::clicked, this, [this] { m_page->setTool(std::nullopt); });
    tools->addWidget(selectTool);
    for (ObjectKind kind : kObjectKinds) {
        QToolButton* b = toolButton(toolName(kind), designer_text::objectKind(kind));
        connect(b, &QToolButton::clicked, this, [this, kind] { m_page->setTool(kind); });
        tools->addWidget(b);
    }
    tools->addSpacing(16);
    m_bandKind = new QComboBox(this);
    m_bandKind->setObjectName(QStringLiteral("CmbBandKind"));
    for (BandKind kind : kBandKinds)
        m_bandKind->addItem(designer_text::bandKind(kind), int(kind));
    tools->addWidget(m_bandKind);
    m_bandDataSet = new QComboBox(this);
    m_bandDataSet->setObjectName(QStringLiteral("CmbBandDataSet"));
    for (const OfferedDataSet& o : m_offered)
        m_bandDataSet->addItem(o.name);
    tools->addWidget(m_bandDataSet);
    QToolButton* add = toolButton("BtnAddBand", designer_text::addBand());
    connect(add, &QToolButton::clicked, this, &TemplateDesignerWindow::addBand);
    tools->addWidget(add);
    QToolButton* remove = toolButton("BtnDeleteBand", designer_text::deleteBand());
    connect(remove, &QToolButton::clicked, this, [this] {
        m_model.removeBand(m_page->currentBand());
        m_page->setCurrentBand(-1);
        refresh();
    });
    tools->addWidget(remove);
    QToolButton* up = toolButton("BtnBandUp", designer_text::bandUp());
    QToolButton* down = toolButton("BtnBandDown", designer_text::bandDown());
    for (auto [button, delta] : {std::pair{up, -1}, std::pair{down, 1}}) {
        connect(button, &QToolButton::clicked, this, [this, delta = delta] {
            const int band = m_page->currentBand();
            if (m_model.moveBand(band, delta))
                m_page->setCurrentBand(band + delta);
            refresh();
        });
        tools->addWidget(button);
    }
    tools->addSpacing(16);
    m_undo = toolButton("BtnUndo", designer_text::undo());
    connect(m_undo, &QToolButton::clicked, this, [this] {
        m_model.undo();
        refresh();
    });
    tools->addWidget(m_undo);
    m_redo = toolButton("BtnRedo", designer_text::redo());
    connect(m_redo, &QToolButton::clicked, this, [this] {
        m_model.redo();
        refresh();
    });
    tools->addWidget(m_redo);
    QToolButton* previewButton = toolButton("BtnPreview", designer_text::preview());
    connect(previewButton, &QToolButton::clicked, this, &TemplateDesignerWindow::preview);
    tools->addWidget(previewButton);
    m_zoom = new QComboBox(this);
    m_zoom->setObjectName(QStringLiteral("CmbZoom"));
    for (int percent : {50, 75, 100, 150, 200})
        m_zoom->addItem(QStringLiteral("%1%").arg(percent), percent);
    m_zoom->setCurrentIndex(2);
    connect(m_zoom, &QComboBox::activated, this, [this](int index) {
        m_page->setZoom(m_zoom->itemData(index).toInt());
        refresh();
    });
    tools->addWidget(m_zoom);
    tools->addStretch();

    m_page = new DesignerPage(m_model, this);
    m_page->onChanged = [this] { refresh(); };
    m_page->onPlacing = [this](TemplateObject& o) { return o.kind != ObjectKind::Picture || choosePicture(o); };
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("PageScroll"));
    scroll->setWidget(m_page);
    scroll->setWidgetResizable(false);

    m_fields = new DesignerFieldList(this);
    m_fields->setMaximumWidth(220);
    for (const OfferedDataSet& o : m_offered) {
        const TFields* fields = o.dataSet->Fields();
        for (int i = 0; fields && i < fields->Count(); ++i)
            m_fields->addField(o.name, fields->Fields(i)->FieldName());
    }
    connect(m_fields, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        const DraggedField f = DesignerFieldList::fieldOf(item);
        placeField(f.dataSet, f.field);
    });
    auto* side = new QVBoxLayout;
    side->addWidget(new QLabel(designer_text::fields(), this));
    side->addWidget(m_fields);

    m_properties = new DesignerProperties(m_model, this);
    m_properties->setMaximumWidth(300);
    m_properties->onChanged = [this] { refresh(); };

    auto* middle = new QHBoxLayout;
    middle->addLayout(side);
    middle->addWidget(scroll, 1);
    middle->addWidget(m_properties);

    auto* ok = new QPushButton(designer_text::ok(), this);
    ok->setObjectName(QStringLiteral("BtnOk"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* cancel = new QPushButton(designer_text::cancel(), this);
    cancel->setObjectName(QStringLiteral("BtnCancel"));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(tools);
    layout->addLayout(middle, 1);
    layout->addLayout(buttons);
    refresh();
}

QToolButton* TemplateDesignerWindow::toolButton(const char* name, const QString& text)
{
    auto* b = new QToolButton(this);
    b->setObjectName(QLatin1String(name));
    b->setText(text);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

void TemplateDesignerWindow::refresh()
{
    m_page->resize(m_page->sizeHint());
    m_page->update();
    m_properties->setCurrentBand(m_page->currentBand());
    m_properties->load();
    m_undo->setEnabled(m_model.canUndo());
    m_redo->setEnabled(m_model.canRedo());
}

void TemplateDesignerWindow::addBand()
{
    const auto kind = BandKind(m_bandKind->currentData().toInt());
    QString dataSet;
    if (kind == BandKind::Detail || kind == BandKind::DetailHeader || kind == BandKind::DetailFooter ||
        kind == BandKind::GroupHeader)
        dataSet = m_bandDataSet->currentText();
    const int current = m_page->currentBand();
    // After the current band, else at the end.
    const int at = m_model.addBand(kind, dataSet, current >= 0 ? current + 1 : -1);
    m_page->setCurrentBand(at);
    refresh();
}

void TemplateDesignerWindow::placeField(const QString& dataSet, const QString& field)
{
    int band = m_page->currentBand();
    if (band < 0 || band >= m_model.document().bands.size()) {
        // The data band over the field's dataset, else the first band.
        band = m_model.document().bands.isEmpty() ? -1 : 0;
        for (int i = 0; i < m_model.document().bands.size(); ++i) {
            const TemplateBand& b = m_model.document().bands.at(i);
            if ((b.kind == BandKind::Master || b.kind == BandKind::Detail) &&
                b.dataSet.compare(dataSet, Qt::CaseInsensitive) == 0) {
                band = i;
                break;
            }
        }
    }
    if (band < 0)
        return;
    m_model.addObject(band, ObjectKind::Field, QPoint(0, 0), dataSet, field);
    refresh();
}

bool TemplateDesignerWindow::choosePicture(TemplateObject& o)
{
    qx::FileRequest request;
    request.caption = designer_text::choosePicture();
    request.filter = designer_text::pictureFilter();
    const QString fileName = qx::DialogService::instance().openFileName(this, request);
    if (fileName.isEmpty())
        return false;
    QString why;
    try {
        const QByteArray png = readTemplateFile(fileName);
        if (checkPng(png, &why) && !decodePng(png).isNull()) {
            o.png = png;
            return true;
        }
        if (why.isEmpty())
            why = designer_text::damagedPicture();
    } catch (const Exception& e) {
        why = e.Message();
    }
    qx::messageBox(this, designer_text::badPicture(why), designer_text::errorCaption(), qx::MessageIcon::Error);
    return false;
}

void TemplateDesignerWindow::preview()
{
    TQuickRep report;
    report.SetShowProgress(false);
    try {
        buildReport(report, m_model.document(), m_offered);
    } catch (const ETemplateError& e) {
        qx::messageBox(this, e.Message(), designer_text::errorCaption(), qx::MessageIcon::Error);
        return;
    }
    report.Prepare();
    if (report.QRPrinter())
        CreatePreviewInterface()->ShowModal(report.QRPrinter());
}

bool TemplateDesignerWindow::design(TemplateReport& report, QWidget* parent)
{
    TemplateDesignerWindow window(report.Document(), report.OfferedDataSets(), parent);
    if (qx::DialogService::instance().execDialog(window) != QDialog::Accepted)
        return false;
    report.Document() = window.document();
    return true;
}

} // namespace qx::tpl
