#include "platform/template/TemplateRenderer.h"

#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/report/QRBands.h"
#include "platform/report/QREvaluator.h"
#include "platform/report/QRLabels.h"
#include "platform/report/QRShapes.h"
#include "platform/report/QuickRep.h"
#include "platform/report/ReportFonts.h"
#include "platform/report/Units.h"
#include "platform/template/TemplateFormat.h"
#include "platform/template/TemplateText.h"

#include <QHash>

#include <cmath>
#include <vector>

namespace qx::tpl {

namespace {

QString bandTitle(BandKind kind)
{
    switch (kind) {
    case BandKind::Title: return QStringLiteral("标题带");
    case BandKind::PageHeader: return QStringLiteral("页眉带");
    case BandKind::PageFooter: return QStringLiteral("页脚带");
    case BandKind::Master: return QStringLiteral("主数据带");
    case BandKind::DetailHeader: return QStringLiteral("明细头带");
    case BandKind::Detail: return QStringLiteral("明细数据带");
    case BandKind::DetailFooter: return QStringLiteral("明细尾带");
    case BandKind::GroupHeader: return QStringLiteral("组头带");
    case BandKind::GroupFooter: return QStringLiteral("组尾带");
    case BandKind::Summary: return QStringLiteral("汇总带");
    case BandKind::Child: return QStringLiteral("子带");
    }
    return QString();
}

// The report being built and what the bands found so far.
class Builder
{
public:
    Builder(TQuickRep& report, const TemplateDocument& doc, const QList<OfferedDataSet>& offered)
        : m_report(report), m_doc(doc), m_offered(offered), m_made(std::size_t(doc.bands.size()), nullptr),
          m_owner(std::size_t(doc.bands.size()), nullptr)
    {}

    void build()
    {
        setUpPage();
        for (const OfferedDataSet& o : m_offered) {
            if (o.dataSet) {
                m_report.AddDataSet(o.dataSet);
                m_report.SetDataSetName(o.dataSet, o.name);
            }
        }
        // The data bands first: they are what the others belong to, and sub-details run in
        // the order they are made.
        forEachBand({BandKind::Master, BandKind::Detail}, [this](qsizetype i) { makeDataBand(i); });
        forEachBand({BandKind::Title, BandKind::PageHeader, BandKind::PageFooter, BandKind::Summary,
                     BandKind::DetailHeader, BandKind::DetailFooter, BandKind::GroupHeader},
                    [this](qsizetype i) { makeFurniture(i); });
        forEachBand({BandKind::GroupFooter}, [this](qsizetype i) { makeGroupFooter(i); });
        forEachBand({BandKind::Child}, [this](qsizetype i) { makeChild(i); });
        for (qsizetype i = 0; i < m_doc.bands.size(); ++i) {
            const TemplateBand& b = m_doc.bands.at(i);
            for (qsizetype k = 0; k < b.objects.size(); ++k)
                makeObject(i, b.objects.at(k));
        }
    }

private:
    void forEachBand(std::initializer_list<BandKind> kinds, const std::function<void(qsizetype)>& make)
    {
        for (qsizetype i = 0; i < m_doc.bands.size(); ++i) {
            for (BandKind k : kinds) {
                if (m_doc.bands.at(i).kind == k)
                    make(i);
            }
        }
    }

    void setUpPage()
    {
        const TemplatePage& p = m_doc.page;
        TQRPage& page = m_report.Page();
        page.SetUnits(Native);
        page.SetPaperSize(p.paper);
        page.SetOrientation(p.orientation == Orientation::Landscape ? poLandscape : poPortrait);
        page.SetWidth(p.width);
        page.SetLength(p.length);
        page.SetLeftMargin(p.leftMargin);
        page.SetTopMargin(p.topMargin);
        page.SetRightMargin(p.rightMargin);
        page.SetBottomMargin(p.bottomMargin);
        page.SetUnits(MM);
    }

    // ---- datasets and fields -----------------------------------------------------------

    TDataSet* findDataSet(const QString& name) const
    {
        for (const OfferedDataSet& o : m_offered) {
            if (o.dataSet && o.name.compare(name, Qt::CaseInsensitive) == 0)
                return o.dataSet;
        }
        return nullptr;
    }

    TDataSet* requireDataSet(const QString& name) const
    {
        if (TDataSet* ds = findDataSet(name))
            return ds;
        throw ETemplateError(QStringLiteral("报表模板所用的数据集“%1”不存在").arg(name));
    }

    static void requireField(TDataSet* ds, const QString& dataSetName, const QString& field)
    {
        if (!ds->FindField(field))
            throw ETemplateError(QStringLiteral("数据集“%1”中没有字段“%2”").arg(dataSetName, field));
    }

    // Parses the expression and checks every dataset and field it names.
    void checkExpression(const QString& expression) const
    {
        TQREvaluator e;
        e.SetDataSets(m_report.AllDataSets(), m_report.DataSetNames());
        e.Prepare(expression);
        if (e.HasParseError())
            throw ETemplateError(QStringLiteral("报表模板的表达式“%1”有错：%2").arg(expression, e.ParseError()));
        for (const TQREvaluator::FieldReference& ref : e.FieldReferences()) {
            if (!ref.dataSetName.isEmpty()) {
                requireField(requireDataSet(ref.dataSetName), ref.dataSetName, ref.fieldName);
                continue;
            }
            bool found = false;
            for (const OfferedDataSet& o : m_offered)
                found = found || (o.dataSet && o.dataSet->FindField(ref.fieldName));
            if (!found)
                throw ETemplateError(QStringLiteral("报表模板所用的字段“%1”不存在").arg(ref.fieldName));
        }
    }

    // ---- bands -------------------------------------------------------------------------

    [[noreturn]] void misplaced(qsizetype i, const QString& why) const
    {
        throw ETemplateError(
            QStringLiteral("报表模板的第%1个带（%2）%3").arg(i + 1).arg(bandTitle(m_doc.bands.at(i).kind), why));
    }

    void makeDataBand(qsizetype i)
    {
        const TemplateBand& b = m_doc.bands.at(i);
        TDataSet* ds = requireDataSet(b.dataSet);
        if (b.kind == BandKind::Master) {
            if (m_masterBand)
                misplaced(i, QStringLiteral("重复：模板只能有一个主数据带"));
            auto* band = new TQRBand(&m_report, rbDetail);
            band->SetHeightUnits(b.height);
            m_report.SetDataSet(ds);
            m_masterBand = band;
            m_masterName = b.dataSet;
            m_made[std::size_t(i)] = band;
            m_owner[std::size_t(i)] = &m_report;
            return;
        }
        const QString key = b.dataSet.toLower();
        if (m_details.contains(key))
            misplaced(i, QStringLiteral("重复：数据集“%1”已有明细数据带").arg(b.dataSet));
        auto* sub = new TQRSubDetail(&m_report);
        sub->SetMaster(&m_report);
        sub->SetDataSet(ds);
        sub->SetHeightUnits(b.height);
        m_details.insert(key, sub);
        m_made[std::size_t(i)] = sub;
        m_owner[std::size_t(i)] = sub;
    }

    // The data band a dataset name belongs to: the report for the master's dataset, else
    // the sub-detail over it; nullptr when there is none.
    QObject* dataBandOf(const QString& name) const
    {
        if (m_masterBand && name.compare(m_masterName, Qt::CaseInsensitive) == 0)
            return &m_report;
        return m_details.value(name.toLower(), nullptr);
    }

    void makeFurniture(qsizetype i)
    {
        const TemplateBand& b = m_doc.bands.at(i);
        TQRCustomBand* band = nullptr;
        QObject* owner = &m_report;
        auto reportBand = [&](TQRBandType type, bool has) {
            if (has)
                misplaced(i, QStringLiteral("重复：模板只能有一个%1").arg(bandTitle(b.kind)));
            return new TQRBand(&m_report, type);
        };
        switch (b.kind) {
        case BandKind::Title:
            band = reportBand(rbTitle, m_report.Bands().HasTitle());
            break;
        case BandKind::PageHeader:
            band = reportBand(rbPageHeader, m_report.Bands().HasPageHeader());
            break;
        case BandKind::PageFooter:
            band = reportBand(rbPageFooter, m_report.Bands().HasPageFooter());
            break;
        case BandKind::Summary:
            band = reportBand(rbSummary, m_report.Bands().HasSummary());
            break;
        case BandKind::DetailHeader:
        case BandKind::DetailFooter: {
            TQRSubDetail* sub = m_details.value(b.dataSet.toLower(), nullptr);
            if (!sub) {
                requireDataSet(b.dataSet);
                misplaced(i, QStringLiteral("的数据集“%1”没有明细数据带").arg(b.dataSet));
            }
            const bool header = b.kind == BandKind::DetailHeader;
            if (header ? sub->Bands().HasHeader() : sub->Bands().HasFooter())
                misplaced(i, QStringLiteral("重复：数据集“%1”已有%2").arg(b.dataSet, bandTitle(b.kind)));
            if (header) {
                sub->Bands().SetHasHeader(true);
                band = sub->Bands().HeaderBand();
            } else {
                sub->Bands().SetHasFooter(true);
                band = sub->Bands().FooterBand();
            }
            owner = sub;
            break;
        }
        case BandKind::GroupHeader: {
            const QString name = b.dataSet.isEmpty() ? m_masterName : b.dataSet;
            QObject* master = dataBandOf(name);
            if (!master) {
                requireDataSet(name);
                misplaced(i, QStringLiteral("的数据集“%1”没有数据带").arg(name));
            }
            if (b.group.isEmpty() || m_groups.contains(b.group))
                misplaced(i, QStringLiteral("需要一个独有的分组名（现为“%1”）").arg(b.group));
            checkExpression(b.expression);
            auto* group = new TQRGroup(&m_report);
            if (auto* sub = qobject_cast<TQRSubDetail*>(master))
                group->SetMaster(sub);
            else
                group->SetMaster(&m_report);
            group->SetExpression(b.expression);
            m_groups.insert(b.group, {group, master});
            band = group;
            owner = master;
            break;
        }
        default:
            return;
        }
        band->SetHeightUnits(b.height);
        m_made[std::size_t(i)] = band;
        m_owner[std::size_t(i)] = owner;
        m_reset[std::size_t(i)] = b.kind == BandKind::DetailFooter;
    }

    void makeGroupFooter(qsizetype i)
    {
        const TemplateBand& b = m_doc.bands.at(i);
        const auto it = m_groups.constFind(b.group);
        if (it == m_groups.constEnd())
            misplaced(i, QStringLiteral("的分组“%1”没有组头带").arg(b.group));
        if (it->group->FooterBand())
            misplaced(i, QStringLiteral("重复：分组“%1”已有组尾带").arg(b.group));
        auto* band = new TQRBand(&m_report, rbGroupFooter);
        band->SetHeightUnits(b.height);
        it->group->SetFooterBand(band);
        m_made[std::size_t(i)] = band;
        m_owner[std::size_t(i)] = it->master;
        m_reset[std::size_t(i)] = true;
    }

    void makeChild(qsizetype i)
    {
        const TemplateBand& b = m_doc.bands.at(i);
        TQRCustomBand* parent = i > 0 ? m_made[std::size_t(i - 1)] : nullptr;
        if (!parent)
            misplaced(i, QStringLiteral("前面没有它所跟随的带"));
        auto* child = new TQRChildBand(&m_report);
        child->SetParentBand(parent);
        child->SetHeightUnits(b.height);
        m_made[std::size_t(i)] = child;
        m_owner[std::size_t(i)] = m_owner[std::size_t(i - 1)];
        m_reset[std::size_t(i)] = m_reset[std::size_t(i - 1)];
    }

    // ---- objects -----------------------------------------------------------------------

    static void applyLook(TQRPrintable* p, const TemplateObject& o)
    {
        p->Size() = TQRUnitRect{double(o.left), double(o.top), double(o.width), double(o.height)};
        QFont font(o.font.name);
        font.setPointSize(o.font.size);
        font.setBold(o.font.bold);
        font.setItalic(o.font.italic);
        font.setUnderline(o.font.underline);
        // The report's own font is shared (the printable keeps ParentFont), which spares the
        // canvas a font change per printable.
        const QFont wanted = qx::report::reportFont(font);
        if (!(wanted == p->Font()))
            p->SetFont(wanted);
        p->SetFontColor(o.font.color);
        p->SetTransparent(o.fill == kNoFill);
        if (o.fill != kNoFill)
            p->SetColor(o.fill);
        TQRFrame& f = p->Frame();
        f.DrawLeft = o.frame.left;
        f.DrawTop = o.frame.top;
        f.DrawRight = o.frame.right;
        f.DrawBottom = o.frame.bottom;
        f.Width = o.frame.width;
        f.Color = o.frame.color;
        p->SetAlignment(o.align == TextAlign::Right    ? taRightJustify
                        : o.align == TextAlign::Center ? taCenter
                                                       : taLeftJustify);
    }

    // The master whose records a text's aggregates take in: the data band of its band, or,
    // on a band of the report as a whole, the detail whose dataset the text names.
    QObject* aggregateMaster(qsizetype bandIndex, const TemplateText& text) const
    {
        QObject* owner = m_owner[std::size_t(bandIndex)];
        if (owner != &m_report)
            return owner;
        for (std::size_t p = 0; p < text.Pieces().size(); ++p) {
            const TQREvaluator* e = text.Evaluator(p);
            if (!e || !e->IsAggreg())
                continue;
            for (const TQREvaluator::FieldReference& ref : e->FieldReferences()) {
                if (QObject* sub = m_details.value(ref.dataSetName.toLower(), nullptr))
                    return sub;
            }
        }
        return owner;
    }

    void makeObject(qsizetype bandIndex, const TemplateObject& o)
    {
        TQRCustomBand* band = m_made[std::size_t(bandIndex)];
        switch (o.kind) {
        case ObjectKind::Text: {
            for (const TextPiece& piece : splitText(o.text)) {
                if (piece.isExpression)
                    checkExpression(piece.text);
            }
            auto* text = new TemplateText(band, o.text);
            applyLook(text, o);
            text->SetMask(o.format);
            text->SetWordWrap(o.wordWrap);
            text->SetAutoStretch(o.stretch);
            text->SetMaster(aggregateMaster(bandIndex, *text));
            text->SetResetAfterPrint(m_reset[std::size_t(bandIndex)]);
            break;
        }
        case ObjectKind::Field: {
            TDataSet* ds = requireDataSet(o.dataSet);
            requireField(ds, o.dataSet, o.field);
            auto* field = new TQRDBText(band);
            applyLook(field, o);
            field->SetDataSet(ds);
            field->SetDataField(o.field);
            field->SetMask(o.format);
            field->SetWordWrap(o.wordWrap);
            field->SetAutoStretch(o.stretch);
            break;
        }
        case ObjectKind::Line:
        case ObjectKind::Rectangle: {
            auto* shape = new TQRShape(band);
            applyLook(shape, o);
            shape->Frame() = TQRFrame();
            shape->SetShape(o.kind == ObjectKind::Rectangle ? qrsRectangle
                            : o.width >= o.height           ? qrsHorLine
                                                            : qrsVertLine);
            shape->Pen().Color = o.frame.color;
            shape->Pen().Width = std::max(1, int(std::lround(qx::report::pointsToPixels(o.frame.width))));
            shape->Pen().Style = o.frame.width == 0 ? psClear : psSolid;
            shape->Brush().Color = o.fill == kNoFill ? clWhite : o.fill;
            shape->Brush().Style = o.fill == kNoFill ? bsClear : bsSolid;
            break;
        }
        case ObjectKind::Picture: {
            const QImage image = decodePng(o.png);
            if (!o.png.isEmpty() && image.isNull())
                throw ETemplateError(QStringLiteral("报表模板中的图片已损坏"));
            auto* picture = new TQRImage(band);
            applyLook(picture, o);
            picture->SetPicture(image);
            picture->SetStretch(o.stretch);
            break;
        }
        }
    }

    struct GroupEntry
    {
        TQRGroup* group = nullptr;
        QObject* master = nullptr;
    };

    TQuickRep& m_report;
    const TemplateDocument& m_doc;
    const QList<OfferedDataSet>& m_offered;
    std::vector<TQRCustomBand*> m_made;   // the band made for each template band
    std::vector<QObject*> m_owner;        // the data band (report or sub-detail) it belongs to
    std::vector<char> m_reset = std::vector<char>(m_made.size(), 0); // aggregates restart after it
    TQRBand* m_masterBand = nullptr;
    QString m_masterName;
    QHash<QString, TQRSubDetail*> m_details; // by lower-case dataset name
    QHash<QString, GroupEntry> m_groups;     // by group name
};

} // namespace

void buildReport(TQuickRep& report, const TemplateDocument& doc, const QList<OfferedDataSet>& offered)
{
    Builder(report, doc, offered).build();
}

} // namespace qx::tpl
