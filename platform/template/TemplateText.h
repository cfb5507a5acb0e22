// The text printable of document templates: literal text with expressions in square
// brackets, "合计 [SUM(DltDataset1.Qty)] 件". Each expression is evaluated with the engine's
// evaluator (and so with every function of its library) on the report's named datasets;
// numbers go through the object's format. "[[" stands for a literal "[".
#pragma once

#include "platform/report/QRLabels.h"

#include <QPointer>
#include <QString>

#include <memory>
#include <vector>

class TQREvaluator;

namespace qx::tpl {

// A piece of a text: a literal, or an expression (isExpression) between brackets.
struct TextPiece
{
    QString text;
    bool isExpression = false;
    int position = 0; // 1-based character of the piece in the whole text
};

// The pieces of a text; raises ETemplateError for a "[" without its "]".
std::vector<TextPiece> splitText(const QString& text);

class TemplateText : public TQRCustomLabel
{
    Q_OBJECT

public:
    // Raises ETemplateError when text has an open bracket.
    TemplateText(TQRCustomBand* band, const QString& text);
    ~TemplateText() override;

    QString Text() const { return m_text; }
    QString Mask() const { return m_mask; }
    void SetMask(const QString& mask) { m_mask = mask; }
    // The report or a sub-detail whose records the aggregates take in (the report when none).
    void SetMaster(QObject* master) { m_master = master; }
    // Aggregates start over after each print (footers of groups and details).
    void SetResetAfterPrint(bool on) { m_resetAfterPrint = on; }
    // The pieces, with the evaluators of the expressions (prepared on the report's datasets
    // by Prepare; before it, on none).
    const std::vector<TextPiece>& Pieces() const { return m_pieces; }
    TQREvaluator* Evaluator(std::size_t piece) const;

    void Prepare() override;
    void Unprepare() override;

protected:
    QString PrintText() override;
    void AfterTextPrinted() override;

private:
    QString m_text;
    QString m_mask;
    QPointer<QObject> m_master;
    bool m_resetAfterPrint = false;
    std::vector<TextPiece> m_pieces;
    std::vector<std::unique_ptr<TQREvaluator>> m_evaluators; // one per piece, null for literals
    QPointer<QObject> m_notifying;
    bool m_prepared = false;
};

} // namespace qx::tpl
