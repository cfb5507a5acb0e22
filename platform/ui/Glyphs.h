// The library's own pictures, drawn here with QPainter: the dialogs' exit button, the edits'
// buttons, and the message dialog's 32 x 32 icons. Transparent where there is no picture.
#pragma once

#include <QPixmap>

namespace qx {

enum class LibraryGlyph {
    Exit,             // 20 x 20: an open door with an arrow leaving, the dialogs' "退出"
    Ellipsis,         // 12 x 12: three dots, the edits' lookup button
    DropDown,         // 7 x 4: the small drop-down triangle
    Calendar,         // 16 x 16: a calendar page, the date edits' button
    Calculator,       // 16 x 16: a calculator, the number edits' button
    IconWarning,      // 32 x 32: yellow triangle with '!'
    IconError,        // 32 x 32: red disc with a white cross
    IconInformation,  // 32 x 32: white balloon with a blue 'i'
    IconConfirmation, // 32 x 32: white balloon with a blue '?'
};

// The picture; the same glyph gives equal pixmaps on every call (they are cached).
QPixmap libraryGlyph(LibraryGlyph glyph);

} // namespace qx
