// A memory table behind a data grid, as forms hand grids to the exports and the grid printer.
// Rows are given as one value per field: text is assigned as text, bytes as bytes, anything
// else as a variant; an invalid QVariant leaves the field null.
#pragma once

#include "platform/db/DataSource.h"
#include "platform/db/QxMemTable.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"

#include <QVariant>
#include <QWidget>

#include <memory>
#include <vector>

namespace qxtest {

struct TableField
{
    QString name;
    TFieldType type;
    int size = 0;
};

class GridTable
{
public:
    GridTable(const std::vector<TableField>& fields, const std::vector<QVariantList>& rows)
        : m_table(std::make_unique<TQxMemTable>()), m_window(std::make_unique<QWidget>())
    {
        for (const TableField& f : fields)
            m_table->FieldDefs()->Add(f.name, f.type, f.size);
        m_table->Open();
        for (const QVariantList& row : rows) {
            m_table->Append();
            for (int i = 0; i < row.size(); ++i) {
                TField* field = m_table->Fields()->Fields(i);
                const QVariant& v = row[i];
                if (!v.isValid())
                    continue;
                if (v.typeId() == QMetaType::QString)
                    field->SetAsString(v.toString());
                else if (v.typeId() == QMetaType::QByteArray)
                    field->SetAsBytes(v.toByteArray());
                else
                    field->SetAsVariant(v);
            }
            m_table->Post();
        }
        m_table->First();
        m_source = new TDataSource(m_window.get());
        m_source->SetDataSet(m_table.get());
        m_grid = new TQxDBGrid(m_window.get());
        m_grid->SetDataSource(m_source);
    }
    // The grid lets go of the table before the table goes.
    ~GridTable() { m_window.reset(); }
    GridTable(const GridTable&) = delete;
    GridTable& operator=(const GridTable&) = delete;

    TQxMemTable& table() { return *m_table; }
    TQxDBGrid* grid() { return m_grid; }
    TDataSource* source() { return m_source; }
    // Frees the grid and its source, as a closing form would; the table stays.
    void destroyGrid()
    {
        m_window.reset();
        m_grid = nullptr;
        m_source = nullptr;
    }

private:
    std::unique_ptr<TQxMemTable> m_table;
    std::unique_ptr<QWidget> m_window;
    TDataSource* m_source = nullptr;
    TQxDBGrid* m_grid = nullptr;
};

} // namespace qxtest
