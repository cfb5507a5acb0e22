// Value types shared by the library's controls, registered with Qt's meta system so that the
// component stream writes them by name (alTop, bvRaised, [fsTop,fsBottom]).
#pragma once

#include <QFlags>
#include <QObject>

namespace Vcl {
Q_NAMESPACE

// How a control sits in its parent, in the platform's order.
enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
Q_ENUM_NS(TAlign)

// A panel's bevel.
enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
Q_ENUM_NS(TBevelCut)

// The edges on which edits, combo boxes and labels draw a thin frame line.
enum TFrameStyleFlag { fsTop = 0x1, fsBottom = 0x2, fsLeft = 0x4, fsRight = 0x8 };
Q_DECLARE_FLAGS(TFrameStyle, TFrameStyleFlag)
Q_FLAG_NS(TFrameStyle)

// A form's or a dialog's border.
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
Q_ENUM_NS(TFormBorderStyle)

} // namespace Vcl

Q_DECLARE_OPERATORS_FOR_FLAGS(Vcl::TFrameStyle)

using Vcl::TAlign;
using Vcl::TBevelCut;
using Vcl::TFrameStyle;
using Vcl::TFrameStyleFlag;
using enum Vcl::TAlign;
using enum Vcl::TBevelCut;
using enum Vcl::TFrameStyleFlag;

// All four edges.
inline constexpr TFrameStyle kAllFrameEdges = TFrameStyle(fsTop | fsBottom | fsLeft | fsRight);
