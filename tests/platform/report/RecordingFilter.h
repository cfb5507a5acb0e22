// An export filter that writes nothing and records every call it gets, one line each.
#pragma once

#include "platform/report/QRExport.h"
#include "platform/report/ReportFonts.h"

#include <QStringList>

namespace rpt {

class RecordingFilter : public TQRExportFilter
{
public:
    explicit RecordingFilter(const QString& fileName = QString()) : TQRExportFilter(fileName) {}

    QString Description() const override { return QStringLiteral("记录"); }
    QString Extension() const override { return QStringLiteral("REC"); }
    QString FilterName() const override { return QStringLiteral("Recording"); }

    void Start(double width, double height, const QFont& font) override
    {
        calls << QStringLiteral("Start %1x%2 %3").arg(width).arg(height).arg(qx::report::reportFont(font).pixelSize());
    }
    void NewPage() override { calls << QStringLiteral("NewPage"); }
    void TextOut(double x, double y, const QFont&, TColor, TAlignment alignment, const QString& text) override
    {
        calls << QStringLiteral("TextOut %1,%2 %3 %4").arg(qRound(x)).arg(qRound(y)).arg(int(alignment)).arg(text);
    }
    void EndPage() override { calls << QStringLiteral("EndPage"); }
    void Finish() override { calls << QStringLiteral("Finish"); }

    QStringList calls;
};

} // namespace rpt
