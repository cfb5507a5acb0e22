#include "platform/template/DesignerProperties.h"

#include "platform/env/DialogService.h"
#include "platform/report/Paper.h"
#include "platform/report/QREvaluator.h"
#include "platform/template/DesignerTexts.h"
#include "platform/template/TemplateFormat.h"
#include "platform/template/TemplateText.h"
#include "platform/ui/Fonts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include <cmath>

namespace qx::tpl {

namespace {

constexpr TQRPaperSize kPapers[] = {A4, A5, A3, B5, Letter, Legal, Custom};

QDoubleSpinBox* mmBox(QWidget* parent, const char* name, double low)
{
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setDecimals(1);
    box->setRange(low, kMaxLength / 10.0);
    box->setSingleStep(2.5);
    return box;
}

int units(const QDoubleSpinBox* box)
{
    return int(std::lround(box->value() * 10));
}

} // namespace

DesignerProperties::DesignerProperties(DesignerModel& model, QWidget* parent) : QWidget(parent), m_model(model)
{
    setObjectName(QStringLiteral("DesignerProperties"));
    auto* form = new QFormLayout(this);
    m_text = new QLineEdit(this);
    m_text->setObjectName(QStringLiteral("EdtText"));
    form->addRow(designer_text::text(), m_text);
    m_format = new QLineEdit(this);
    m_format->setObjectName(QStringLiteral("EdtFormat"));
    form->addRow(designer_text::format(), m_format);
    m_left = mmBox(this, "SpnLeft", -kMaxLength / 10.0);
    m_top = mmBox(this, "SpnTop", -kMaxLength / 10.0);
    m_width = mmBox(this, "SpnWidth", 0);
    m_height = mmBox(this, "SpnHeight", 0);
    form->addRow(designer_text::left(), m_left);
    form->addRow(designer_text::top(), m_top);
    form->addRow(designer_text::width(), m_width);
    form->addRow(designer_text::height(), m_height);
    m_fontName = new QComboBox(this);
    m_fontName->setObjectName(QStringLiteral("CmbFontName"));
    // The library's face first (it stands for the installed CJK face), then the installed ones.
    m_fontName->addItem(qx::kLibraryFontFace);
    for (const QString& family : QFontDatabase::families()) {
        if (m_fontName->findText(family) < 0)
            m_fontName->addItem(family);
    }
    form->addRow(designer_text::fontName(), m_fontName);
    m_fontSize = new QSpinBox(this);
    m_fontSize->setObjectName(QStringLiteral("SpnFontSize"));
    m_fontSize->setRange(1, kMaxFontSize);
    form->addRow(designer_text::fontSize(), m_fontSize);
    m_bold = new QCheckBox(designer_text::bold(), this);
    m_bold->setObjectName(QStringLiteral("ChkBold"));
    form->addRow(QString(), m_bold);
    m_fontColor = new QPushButton(designer_text::chooseColor(), this);
    m_fontColor->setObjectName(QStringLiteral("BtnFontColor"));
    // Enter in an edit of the panel must not press a colour button.
    m_fontColor->setAutoDefault(false);
    form->addRow(designer_text::fontColor(), m_fontColor);
    auto* fill = new QHBoxLayout;
    m_fill = new QPushButton(designer_text::chooseColor(), this);
    m_fill->setObjectName(QStringLiteral("BtnFill"));
    m_fill->setAutoDefault(false);
    m_noFill = new QCheckBox(designer_text::noFill(), this);
    m_noFill->setObjectName(QStringLiteral("ChkNoFill"));
    fill->addWidget(m_fill);
    fill->addWidget(m_noFill);
    form->addRow(designer_text::fill(), fill);
    m_align = new QComboBox(this);
    m_align->setObjectName(QStringLiteral("CmbAlign"));
    m_align->addItems({designer_text::alignLeft(), designer_text::alignCenter(), designer_text::alignRight()});
    form->addRow(designer_text::align(), m_align);
    m_wordWrap = new QCheckBox(designer_text::wordWrap(), this);
    m_wordWrap->setObjectName(QStringLiteral("ChkWordWrap"));
    form->addRow(QString(), m_wordWrap);
    m_stretch = new QCheckBox(designer_text::stretch(), this);
    m_stretch->setObjectName(QStringLiteral("ChkStretch"));
    form->addRow(QString(), m_stretch);

    auto* frames = new QHBoxLayout;
    const char* frameNames[] = {"ChkFrameLeft", "ChkFrameTop", "ChkFrameRight", "ChkFrameBottom"};
    const QString frameTexts[] = {designer_text::frameLeft(), designer_text::frameTop(), designer_text::frameRight(),
                                  designer_text::frameBottom()};
    for (int i = 0; i < 4; ++i) {
        m_frame[i] = new QCheckBox(frameTexts[i], this);
        m_frame[i]->setObjectName(QLatin1String(frameNames[i]));
        frames->addWidget(m_frame[i]);
        connect(m_frame[i], &QCheckBox::toggled, this, [this, i](bool on) {
            apply([i, on](TemplateObject& o) {
                bool* sides[] = {&o.frame.left, &o.frame.top, &o.frame.right, &o.frame.bottom};
                *sides[i] = on;
            });
        });
    }
    form->addRow(designer_text::frame(), frames);
    m_bandHeight = mmBox(this, "SpnBandHeight", 0);
    form->addRow(designer_text::bandHeight(), m_bandHeight);
    connect(m_bandHeight, &QDoubleSpinBox::editingFinished, this, [this] {
        if (m_loading || m_band < 0 || m_band >= m_model.document().bands.size())
            return;
        const int before = m_model.document().bands.at(m_band).height;
        m_model.setBandHeight(m_band, units(m_bandHeight));
        if (m_model.document().bands.at(m_band).height != before && onChanged)
            onChanged();
    });

    m_paper = new QComboBox(this);
    m_paper->setObjectName(QStringLiteral("CmbPaper"));
    for (TQRPaperSize size : kPapers)
        m_paper->addItem(qx::report::paperSizeName(size), int(size));
    form->addRow(designer_text::paper(), m_paper);
    m_orientation = new QComboBox(this);
    m_orientation->setObjectName(QStringLiteral("CmbOrientation"));
    m_orientation->addItems({designer_text::portrait(), designer_text::landscape()});
    form->addRow(designer_text::orientation(), m_orientation);
    auto* margins = new QHBoxLayout;
    const char* names[] = {"SpnMarginLeft", "SpnMarginTop", "SpnMarginRight", "SpnMarginBottom"};
    for (int i = 0; i < 4; ++i) {
        m_margins[i] = mmBox(this, names[i], 0);
        margins->addWidget(m_margins[i]);
        connect(m_margins[i], &QDoubleSpinBox::editingFinished, this, &DesignerProperties::applyPage);
    }
    form->addRow(designer_text::margins(), margins);

    connect(m_text, &QLineEdit::editingFinished, this, &DesignerProperties::applyText);
    connect(m_format, &QLineEdit::editingFinished, this, [this] {
        apply([this](TemplateObject& o) { o.format = m_format->text(); });
    });
    const std::pair<QDoubleSpinBox*, int TemplateObject::*> places[] = {
        {m_left, &TemplateObject::left}, {m_top, &TemplateObject::top},
        {m_width, &TemplateObject::width}, {m_height, &TemplateObject::height}};
    for (const auto& [box, member] : places) {
        connect(box, &QDoubleSpinBox::editingFinished, this, [this, box = box, member = member] {
            apply([box, member](TemplateObject& o) { o.*member = units(box); });
        });
    }
    connect(m_fontSize, &QSpinBox::editingFinished, this, [this] {
        apply([this](TemplateObject& o) { o.font.size = m_fontSize->value(); });
    });
    connect(m_fontName, &QComboBox::activated, this, [this](int index) {
        const QString face = m_fontName->itemText(index);
        apply([&face](TemplateObject& o) { o.font.name = face; });
    });
    connect(m_fontColor, &QPushButton::clicked, this, [this] {
        const TemplateObject* o = current();
        if (!o)
            return;
        if (const auto colour = askColor(designer_text::fontColor(), o->font.color))
            apply([c = *colour](TemplateObject& obj) { obj.font.color = c; });
    });
    connect(m_fill, &QPushButton::clicked, this, [this] {
        const TemplateObject* o = current();
        if (!o)
            return;
        if (const auto colour = askColor(designer_text::fill(), o->fill == kNoFill ? clWhite : o->fill))
            apply([c = *colour](TemplateObject& obj) { obj.fill = c; });
    });
    connect(m_noFill, &QCheckBox::toggled, this, [this](bool on) {
        // Clearing the tick alone has no colour to give: the fill is chosen with the button.
        if (on)
            apply([](TemplateObject& o) { o.fill = kNoFill; });
        else
            load();
    });
    connect(m_bold, &QCheckBox::toggled, this, [this](bool on) { apply([on](TemplateObject& o) { o.font.bold = on; }); });
    connect(m_align, &QComboBox::activated, this, [this](int index) {
        apply([index](TemplateObject& o) { o.align = TextAlign(index); });
    });
    connect(m_wordWrap, &QCheckBox::toggled, this, [this](bool on) { apply([on](TemplateObject& o) { o.wordWrap = on; }); });
    connect(m_stretch, &QCheckBox::toggled, this, [this](bool on) { apply([on](TemplateObject& o) { o.stretch = on; }); });
    connect(m_paper, &QComboBox::activated, this, &DesignerProperties::applyPage);
    connect(m_orientation, &QComboBox::activated, this, &DesignerProperties::applyPage);
    load();
}

const TemplateObject* DesignerProperties::current() const
{
    return m_model.selection().size() == 1 ? m_model.object(m_model.selection().first()) : nullptr;
}

void DesignerProperties::load()
{
    m_loading = true;
    const TemplateObject* o = current();
    for (QWidget* w : std::initializer_list<QWidget*>{m_text, m_format, m_left, m_top, m_width, m_height, m_fontName,
                                                      m_fontSize, m_bold, m_fontColor, m_fill, m_noFill, m_align,
                                                      m_wordWrap, m_stretch})
        w->setEnabled(o != nullptr);
    const TemplateObject shown = o ? *o : TemplateObject();
    m_text->setText(shown.kind == ObjectKind::Field ? shown.field : shown.text);
    m_text->setEnabled(o && o->kind == ObjectKind::Text);
    m_format->setText(shown.format);
    m_left->setValue(shown.left / 10.0);
    m_top->setValue(shown.top / 10.0);
    m_width->setValue(shown.width / 10.0);
    m_height->setValue(shown.height / 10.0);
    // A face that is not installed (a template from elsewhere) is still shown as named.
    if (m_fontName->findText(shown.font.name) < 0)
        m_fontName->addItem(shown.font.name);
    m_fontName->setCurrentIndex(m_fontName->findText(shown.font.name));
    m_fontSize->setValue(shown.font.size);
    showColor(m_fontColor, shown.font.color);
    showColor(m_fill, shown.fill);
    m_noFill->setChecked(shown.fill == kNoFill);
    m_bold->setChecked(shown.font.bold);
    m_align->setCurrentIndex(int(shown.align));
    m_wordWrap->setChecked(shown.wordWrap);
    m_stretch->setChecked(shown.stretch);
    const bool sides[] = {shown.frame.left, shown.frame.top, shown.frame.right, shown.frame.bottom};
    for (int i = 0; i < 4; ++i) {
        m_frame[i]->setEnabled(o != nullptr);
        m_frame[i]->setChecked(sides[i]);
    }
    const bool hasBand = m_band >= 0 && m_band < m_model.document().bands.size();
    m_bandHeight->setEnabled(hasBand);
    m_bandHeight->setValue(hasBand ? m_model.document().bands.at(m_band).height / 10.0 : 0);

    const TemplatePage& page = m_model.document().page;
    const int paper = m_paper->findData(int(page.paper));
    m_paper->setCurrentIndex(paper >= 0 ? paper : m_paper->findData(int(Custom)));
    m_orientation->setCurrentIndex(page.orientation == Orientation::Landscape ? 1 : 0);
    const int margins[] = {page.leftMargin, page.topMargin, page.rightMargin, page.bottomMargin};
    for (int i = 0; i < 4; ++i)
        m_margins[i]->setValue(margins[i] / 10.0);
    m_loading = false;
}

void DesignerProperties::apply(const std::function<void(TemplateObject&)>& change)
{
    const TemplateObject* o = current();
    if (m_loading || !o)
        return;
    TemplateObject changed = *o;
    change(changed);
    if (m_model.setObject(m_model.selection().first(), changed) && onChanged)
        onChanged();
}

std::optional<TColor> DesignerProperties::askColor(const QString& caption, TColor initial)
{
    const auto chosen = qx::DialogService::instance().chooseColor(this, caption, toQColor(initial));
    if (!chosen || !chosen->isValid())
        return std::nullopt;
    return fromQColor(*chosen);
}

void DesignerProperties::showColor(QPushButton* button, TColor color)
{
    // The button shows the colour as a swatch; a transparent fill shows the plain button.
    if (color == kNoFill) {
        button->setStyleSheet(QString());
        return;
    }
    const QColor c = toQColor(color);
    button->setStyleSheet(QStringLiteral("background-color: %1; color: %2")
                              .arg(c.name(), c.lightness() < 128 ? QStringLiteral("white") : QStringLiteral("black")));
}

void DesignerProperties::applyText()
{
    const TemplateObject* o = current();
    if (m_loading || !o || o->kind != ObjectKind::Text || o->text == m_text->text())
        return;
    const QString text = m_text->text();
    QString error;
    try {
        for (const TextPiece& piece : splitText(text)) {
            if (!piece.isExpression)
                continue;
            TQREvaluator e;
            e.Prepare(piece.text);
            if (e.HasParseError()) {
                error = QStringLiteral("“%1”（文字的第%2个字符）：%3")
                            .arg(piece.text)
                            .arg(piece.position + std::max(1, e.ErrorPosition()) - 1)
                            .arg(e.ParseError());
                break;
            }
        }
    } catch (const ETemplateError& e) {
        error = e.Message();
    }
    if (!error.isEmpty()) {
        // The edit keeps what was typed, so it can be mended; the object keeps its text.
        qx::messageBox(this, designer_text::badExpression(error), designer_text::errorCaption(),
                       qx::MessageIcon::Error);
        m_text->setFocus();
        return;
    }
    apply([&text](TemplateObject& obj) { obj.text = text; });
}

void DesignerProperties::applyPage()
{
    if (m_loading)
        return;
    TemplatePage page = m_model.document().page;
    page.paper = TQRPaperSize(m_paper->currentData().toInt());
    page.orientation = m_orientation->currentIndex() == 1 ? Orientation::Landscape : Orientation::Portrait;
    page.leftMargin = units(m_margins[0]);
    page.topMargin = units(m_margins[1]);
    page.rightMargin = units(m_margins[2]);
    page.bottomMargin = units(m_margins[3]);
    if (page.paper == Custom && m_model.document().page.orientation != page.orientation)
        std::swap(page.width, page.length);
    if (m_model.setPage(page) && onChanged)
        onChanged();
    else
        load();
}

} // namespace qx::tpl
