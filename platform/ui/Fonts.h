// The library's fonts. Forms and controls ask for "宋体", the Chinese face their layouts were
// drawn for; it is mapped once, at start, to the installed CJK font (WenQuanYi Micro Hei), so
// captions keep stable metrics on every machine and in headless tests.
#pragma once

#include <QFont>
#include <QString>

namespace qx {

// The face the library's forms name.
inline const QString kLibraryFontFace = QStringLiteral("宋体");
// The installed face that stands for it.
inline const QString kInstalledCjkFace = QStringLiteral("WenQuanYi Micro Hei");

// Registers the substitution "宋体" (and its Latin name SimSun) -> the installed face. Runs by
// itself when the application starts; calling it again does nothing.
void registerFontSubstitutions();

// The library's font at a point size, sized in pixels of a fixed 96-dpi screen (9 points = 12
// pixels, the form font "height -12"), so layouts measured in pixels hold on every screen.
QFont libraryFont(int pointSize = 9);
// Pixels of a point size at 96 dpi, rounded as the platform rounds (MulDiv).
int pointsToPixels(int pointSize);

} // namespace qx
