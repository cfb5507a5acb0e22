#include "platform/ui/Fonts.h"

#include <QCoreApplication>

namespace qx {

void registerFontSubstitutions()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    const QStringList installed{kInstalledCjkFace};
    QFont::insertSubstitutions(kLibraryFontFace, installed);
    QFont::insertSubstitutions(QStringLiteral("SimSun"), installed);
    QFont::insertSubstitutions(QStringLiteral("新宋体"), installed);
}

int pointsToPixels(int pointSize)
{
    // MulDiv(points, 96, 72) rounds half away from zero.
    const int num = pointSize * 96;
    return num >= 0 ? (num + 36) / 72 : -((-num + 36) / 72);
}

QFont libraryFont(int pointSize)
{
    registerFontSubstitutions();
    QFont font(kLibraryFontFace);
    font.setPixelSize(qMax(1, pointsToPixels(pointSize)));
    font.setStyleStrategy(QFont::PreferDefault);
    return font;
}

} // namespace qx

// The substitution is in place before the first form is built.
static void qxRegisterFontSubstitutionsAtStart()
{
    qx::registerFontSubstitutions();
}
Q_COREAPP_STARTUP_FUNCTION(qxRegisterFontSubstitutionsAtStart)
