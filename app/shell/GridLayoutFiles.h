// The column layout files (".dbg") of the grids of browsers, editors and pickers: loaded when a
// form is shown, written when it closes or on "保存格式". A layout is a convenience, so a file
// that does not read is passed by, and a grid whose file cannot be written does not keep the
// others from theirs.
#pragma once

#include <QList>
#include <QString>

#include <functional>

class QObject;
class TQxDBGrid;

namespace qx::app {

// Loads the grid's layout from fileName when the file exists; true when it was loaded. A
// damaged or unreadable file leaves the grid with the columns it has.
bool loadGridLayout(TQxDBGrid& grid, const QString& fileName);

// Writes the layout of every grid to the file fileNameOf names for it. Each file is replaced
// only when written whole; the errors of the grids that failed are raised together afterwards
// (EInOutError).
void saveGridLayouts(const QList<TQxDBGrid*>& grids,
                     const std::function<QString(const TQxDBGrid&)>& fileNameOf);

// Writes a grid's column layout into a file. Without one installed (the program's case) the
// grid's columns write their own layout file; tests install one to watch what is written.
using GridLayoutWriter = std::function<void(QObject& grid, const QString& fileName)>;
void setGridLayoutWriter(GridLayoutWriter writer);
const GridLayoutWriter& gridLayoutWriter();

} // namespace qx::app
