// The data link of the library's data-aware grids: it follows the grid's data source, keeps the
// field map (for every data column or field row of the grid, the index of its field in the
// dataset's field list, -1 for one without a field) and passes the source's notices on to the
// grid. The data grid and the record grid each use it under their own class name; what the
// link calls back is the grid's side of the contract below (GridLinkClient).
#pragma once

#include "platform/db/DataLink.h"
#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"

#include <QString>

#include <algorithm>
#include <concepts>
#include <cstddef>
#include <vector>

namespace qx {

// What a grid answers to its data link.
template <class G>
concept GridLinkClient = requires(G& g, const G& cg, bool b, int i, TField* f, TField*& rf) {
    g.LinkActive(b);          // the dataset opened or closed
    g.DataChanged();          // the dataset's records changed
    g.Scroll(i);              // the dataset moved by i records
    g.LayoutChanged();        // the dataset's fields changed
    g.FocusFieldControl(rf);  // the dataset asks for a field's control; cleared when taken
    g.EditingChanged();       // the dataset went into or out of edit
    g.RecordChanged(f);       // a field (null: the whole record) changed
    g.UpdateData();           // write the editor's pending text into the selected field
    { cg.LayoutFromDataset() } -> std::convertible_to<bool>;
    g.SetLayoutFromDataset(b);
};

template <class G, class Error>
class GridDataLink : public TDataLink
{
public:
    // The largest number of mapped columns.
    static constexpr int MaxMapSize = (1 << 28) - 1;

    explicit GridDataLink(G* grid)
        : FGrid(grid)
    {
        static_assert(GridLinkClient<G>);
        // A grid hears of every record move, not only of changes.
        SetVisualControl(true);
    }
    ~GridDataLink() override { ClearMapping(); }

    G* Grid() const { return FGrid; }
    int FieldCount() const { return FFieldCount; }

    // Maps the next column to the field of that name. A sparse map (stored columns) accepts a
    // name the dataset lacks; a default map takes its names from the dataset and must find them.
    bool AddMapping(const QString& FieldName)
    {
        if (FFieldCount >= MaxMapSize)
            throw Error(QStringLiteral("Grid requested to display more than 256 columns"));
        TDataSet* ds = DataSet();
        TField* field = nullptr;
        if (ds)
            field = FSparseMap ? ds->FindField(FieldName) : ds->FieldByName(FieldName);
        if (FFieldCount >= int(FFieldMap.size())) {
            std::size_t grown = FFieldMap.empty() ? 8 : FFieldMap.size() * 2;
            grown = std::max<std::size_t>(grown, std::size_t(FFieldCount) + 1);
            grown = std::min<std::size_t>(grown, MaxMapSize);
            FFieldMap.resize(grown, -1);
        }
        FFieldMap[std::size_t(FFieldCount)] = field ? ds->Fields()->IndexOf(field) : -1;
        ++FFieldCount;
        return true;
    }

    void ClearMapping()
    {
        FFieldMap.clear();
        FFieldCount = 0;
    }

    // The field of map entry I; none out of range or for an entry without a field.
    TField* GetFields(int I) const
    {
        TDataSet* ds = DataSet();
        const int entry = FieldMapEntry(I);
        if (!ds || entry < 0 || entry >= ds->Fields()->Count())
            return nullptr;
        return ds->Fields()->Fields(entry);
    }
    int FieldMapEntry(int I) const
    {
        return I >= 0 && I < FFieldCount ? FFieldMap[std::size_t(I)] : -1;
    }

    // Whether the dataset works with fields of its own making; a sparse map with a missing
    // name never counts as default.
    bool DefaultFields() const
    {
        TDataSet* ds = DataSet();
        if (!ds)
            return true;
        bool result = ds->DefaultFields();
        if (FSparseMap)
            for (int i = 0; i < FFieldCount; ++i)
                if (FFieldMap[std::size_t(i)] < 0)
                    result = false;
        return result;
    }
    bool SparseMap() const { return FSparseMap; }
    void SetSparseMap(bool value) { FSparseMap = value; }

    // Undoes pending cell edits: a typed text is read again from the field, else the
    // dataset's edit is cancelled.
    void Reset()
    {
        if (FModified)
            RecordChanged(nullptr);
        else if (TDataSet* ds = DataSet())
            ds->Cancel();
    }
    bool Modified() const { return FModified; }
    void Modified_(bool value) { FModified = value; }
    bool InUpdateData() const { return FInUpdateData; }
    bool IsAggRow(int) const { return false; }

protected:
    void ActiveChanged() override
    {
        FGrid->LinkActive(Active());
        FModified = false;
    }
    void DataSetChanged() override
    {
        FGrid->DataChanged();
        FModified = false;
    }
    void DataSetScrolled(int distance) override { FGrid->Scroll(distance); }
    void LayoutChanged() override
    {
        // Default columns take their widths from the fields while the dataset reports.
        const bool saved = FGrid->LayoutFromDataset();
        FGrid->SetLayoutFromDataset(true);
        try {
            FGrid->LayoutChanged();
        } catch (...) {
            FGrid->SetLayoutFromDataset(saved);
            throw;
        }
        FGrid->SetLayoutFromDataset(saved);
        TDataLink::LayoutChanged();
    }
    void FocusControl(TField*& field) override { FGrid->FocusFieldControl(field); }
    void EditingChanged() override { FGrid->EditingChanged(); }
    void RecordChanged(TField* field) override
    {
        FGrid->RecordChanged(field);
        FModified = false;
    }
    void UpdateData() override
    {
        FInUpdateData = true;
        try {
            if (FModified)
                FGrid->UpdateData();
            FModified = false;
        } catch (...) {
            FInUpdateData = false;
            throw;
        }
        FInUpdateData = false;
    }

private:
    G* FGrid = nullptr;
    int FFieldCount = 0;
    std::vector<int> FFieldMap;
    bool FModified = false;
    bool FInUpdateData = false;
    bool FSparseMap = false;
};

} // namespace qx
