#include "app/settings/RightsCatalog.h"

#include "app/schema/OperatorRights.h"

namespace qx::app {

QString reportCentreRight(const QString& caption)
{
    return QStringLiteral("   报表中心-") + caption;
}

QStringList offeredRights(const QStringList& reportMenuCaptions)
{
    QStringList rights = fixedRights();
    rights << QString();
    const qsizetype fixedCount = rights.size();
    for (const QString& caption : reportMenuCaptions) {
        if (caption.trimmed().isEmpty() || caption == QLatin1String("-"))
            continue;
        const QString right = reportCentreRight(caption);
        if (!rights.sliced(fixedCount).contains(right))
            rights << right;
    }
    return rights;
}

} // namespace qx::app
