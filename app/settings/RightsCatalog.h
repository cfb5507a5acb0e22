// The entries the rights editor offers: the fixed list of rights in its order (module rights
// first, their action rights indented by four blanks, their editor's rights by eight), its
// one empty last entry, then a right for each item of the report-centre menu. The blanks are
// part of the stored right; the rights check trims them.
#pragma once

#include <QString>
#include <QStringList>

namespace qx::app {

// The right of a report-centre menu item: "   报表中心-" (three leading blanks) + caption.
QString reportCentreRight(const QString& caption);

// The fixed list, the empty entry (never stored), then the right of each report-centre item in
// menu order: captions that are blank or "-" (separators) are left out, and a caption that
// comes twice is offered once.
QStringList offeredRights(const QStringList& reportMenuCaptions);

} // namespace qx::app
