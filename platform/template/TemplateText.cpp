#include "platform/template/TemplateText.h"

#include "platform/report/QREvaluator.h"
#include "platform/report/QuickRep.h"
#include "platform/template/TemplateFormat.h"

namespace qx::tpl {

std::vector<TextPiece> splitText(const QString& text)
{
    std::vector<TextPiece> pieces;
    QString literal;
    int literalStart = 1;
    qsizetype i = 0;
    auto flush = [&] {
        if (!literal.isEmpty())
            pieces.push_back({literal, false, literalStart});
        literal.clear();
    };
    while (i < text.size()) {
        const QChar c = text.at(i);
        if (c != u'[') {
            if (literal.isEmpty())
                literalStart = int(i + 1);
            literal += c;
            ++i;
            continue;
        }
        if (i + 1 < text.size() && text.at(i + 1) == u'[') {
            if (literal.isEmpty())
                literalStart = int(i + 1);
            literal += u'[';
            i += 2;
            continue;
        }
        // An expression: up to the first "]" outside a quoted string.
        const qsizetype start = i + 1;
        qsizetype j = start;
        bool quoted = false;
        while (j < text.size() && (quoted || text.at(j) != u']')) {
            if (text.at(j) == u'\'')
                quoted = !quoted;
            ++j;
        }
        if (j >= text.size())
            throw ETemplateError(QStringLiteral("文字“%1”的第%2个字符处的“[”缺少“]”").arg(text).arg(i + 1));
        flush();
        pieces.push_back({text.mid(start, j - start), true, int(start + 1)});
        i = j + 1;
    }
    flush();
    return pieces;
}

TemplateText::TemplateText(TQRCustomBand* band, const QString& text)
    : TQRCustomLabel(band), m_text(text), m_pieces(splitText(text))
{
    for (const TextPiece& p : m_pieces) {
        if (!p.isExpression) {
            m_evaluators.push_back(nullptr);
            continue;
        }
        auto e = std::make_unique<TQREvaluator>();
        e->Prepare(p.text);
        m_evaluators.push_back(std::move(e));
    }
}

TemplateText::~TemplateText()
{
    Unprepare();
}

TQREvaluator* TemplateText::Evaluator(std::size_t piece) const
{
    return piece < m_evaluators.size() ? m_evaluators[piece].get() : nullptr;
}

void TemplateText::Prepare()
{
    TQRCustomLabel::Prepare();
    Unprepare();
    TQuickRep* report = ParentReport();
    bool aggregates = false;
    for (std::size_t i = 0; i < m_pieces.size(); ++i) {
        TQREvaluator* e = m_evaluators[i].get();
        if (!e)
            continue;
        if (report)
            e->SetDataSets(report->AllDataSets(), report->DataSetNames());
        e->Prepare(m_pieces[i].text);
        e->Reset();
        aggregates = aggregates || e->IsAggreg();
    }
    if (aggregates) {
        QObject* master = m_master ? m_master.data() : static_cast<QObject*>(report);
        auto update = [this] {
            for (const auto& e : m_evaluators) {
                if (e && e->IsAggreg())
                    e->UpdateAggregates();
            }
        };
        if (auto* r = qobject_cast<TQuickRep*>(master))
            r->AddNotifyClient(this, update);
        else if (auto* sub = qobject_cast<TQRSubDetail*>(master))
            sub->AddNotifyClient(this, update);
        m_notifying = master;
    }
    m_prepared = true;
}

void TemplateText::Unprepare()
{
    if (m_notifying) {
        if (auto* r = qobject_cast<TQuickRep*>(m_notifying.data()))
            r->RemoveNotifyClient(this);
        else if (auto* sub = qobject_cast<TQRSubDetail*>(m_notifying.data()))
            sub->RemoveNotifyClient(this);
    }
    m_notifying.clear();
    m_prepared = false;
}

QString TemplateText::PrintText()
{
    if (!m_prepared)
        Prepare();
    QString out;
    for (std::size_t i = 0; i < m_pieces.size(); ++i) {
        if (TQREvaluator* e = m_evaluators[i].get())
            out += TQRExpr::FormatValue(e->Value(), m_mask);
        else
            out += m_pieces[i].text;
    }
    return out;
}

void TemplateText::AfterTextPrinted()
{
    if (!m_resetAfterPrint)
        return;
    for (const auto& e : m_evaluators) {
        if (e)
            e->Reset();
    }
}

} // namespace qx::tpl
