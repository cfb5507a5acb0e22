#include "app/shell/GridLayoutFiles.h"

#include "platform/rtl/Exceptions.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"

#include <QFileInfo>
#include <QStringList>

namespace qx::app {

namespace {
GridLayoutWriter& writerSlot()
{
    static GridLayoutWriter writer;
    return writer;
}
} // namespace

void setGridLayoutWriter(GridLayoutWriter writer)
{
    writerSlot() = std::move(writer);
}

const GridLayoutWriter& gridLayoutWriter()
{
    return writerSlot();
}

bool loadGridLayout(TQxDBGrid& grid, const QString& fileName)
{
    if (!QFileInfo(fileName).isFile())
        return false;
    try {
        grid.Columns()->LoadFromFile(fileName);
        return true;
    } catch (const Exception&) {
        // Cut short by a crash or written by something else: the columns are replaced only
        // after a complete read, so the grid still has its own, and the next save writes a
        // good file in its place.
        return false;
    }
}

void saveGridLayouts(const QList<TQxDBGrid*>& grids,
                     const std::function<QString(const TQxDBGrid&)>& fileNameOf)
{
    const GridLayoutWriter& writer = gridLayoutWriter();
    QStringList errors;
    for (TQxDBGrid* grid : grids) {
        const QString fileName = fileNameOf(*grid);
        try {
            if (writer)
                writer(*grid, fileName);
            else
                grid->Columns()->SaveToFile(fileName);
        } catch (const Exception& e) {
            errors << e.Message();
        }
    }
    if (!errors.isEmpty())
        throw EInOutError(errors.join(u'\n'));
}

} // namespace qx::app
