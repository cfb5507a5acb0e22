// The record selection of the library's data-aware grids: the bookmarks of the selected
// records, kept sorted in the dataset's bookmark order, with a one-entry cache of the last
// search. The data grid and the record grid each use it under their own class name; what it
// calls back is the grid's side of the contract below (BookmarkListClient).
#pragma once

#include "platform/db/DataSet.h"

#include <QString>

#include <algorithm>
#include <iterator>
#include <vector>

namespace qx {

// What a grid gives its selection list.
template <class G>
concept BookmarkListClient = requires(G& g) {
    g.DataLink()->DataSet();   // the dataset the bookmarks belong to
    g.InvalidateGrid();        // repaint after the list was emptied
    g.InvalidateCurrentRecord(); // repaint after the current record was (de)selected
};

template <class G, class Error>
class BookmarkList
{
public:
    explicit BookmarkList(G* grid)
        : FGrid(grid)
    {
        static_assert(BookmarkListClient<G>);
    }

    int Count() const { return int(FList.size()); }
    TBookmarkStr Items(int index) const { return FList.at(std::size_t(index)); }

    // Empties the list; the grid repaints when anything was selected.
    void Clear()
    {
        if (FList.empty())
            return;
        FList.clear();
        listChanged();
        FGrid->InvalidateGrid();
    }

    // The bookmark of the dataset's current record; raises for a closed dataset.
    TBookmarkStr CurrentRow() const
    {
        if (!FLinkActive)
            throw Error(QStringLiteral("Cannot perform this operation on a closed dataset"));
        return FGrid->DataLink()->DataSet()->Bookmark();
    }

    // Binary search; Index is where Item stands or would be inserted.
    bool Find(const TBookmarkStr& Item, int& Index)
    {
        if (FCacheIndex >= 0 && Item == FCache) {
            Index = FCacheIndex;
            return FCacheFind;
        }
        TDataSet* ds = FGrid->DataLink()->DataSet();
        bool found = false;
        int low = 0;
        int high = Count() - 1;
        while (low <= high) {
            const int mid = (low + high) / 2;
            ++FComparisons;
            const TBookmarkStr& at = FList[std::size_t(mid)];
            const int c = ds ? ds->CompareBookmarks(at, Item) : (at < Item ? -1 : at == Item ? 0 : 1);
            if (c < 0) {
                low = mid + 1;
            } else {
                high = mid - 1;
                if (c == 0) {
                    found = true;
                    low = mid;
                }
            }
        }
        Index = low;
        FCache = Item;
        FCacheIndex = Index;
        FCacheFind = found;
        return found;
    }

    bool CurrentRowSelected()
    {
        int index = 0;
        return Find(CurrentRow(), index);
    }

    // Adds or removes the current record; a record without a bookmark cannot be selected.
    void SetCurrentRowSelected(bool Value)
    {
        const TBookmarkStr current = CurrentRow();
        if (current.isEmpty())
            return;
        int index = 0;
        if (Find(current, index) == Value)
            return;
        if (Value)
            FList.insert(FList.begin() + index, current);
        else
            FList.erase(FList.begin() + index);
        listChanged();
        FGrid->InvalidateCurrentRecord();
    }

    // Adds many records at once (select all): one sort, unless they come in bookmark order
    // already, and one merge, instead of a search per record. Empty bookmarks are skipped.
    void AddBookmarks(std::vector<TBookmarkStr> Items)
    {
        TDataSet* ds = FGrid->DataLink()->DataSet();
        const auto less = [ds](const TBookmarkStr& a, const TBookmarkStr& b) {
            return ds ? ds->CompareBookmarks(a, b) < 0 : a < b;
        };
        const auto same = [&less](const TBookmarkStr& a, const TBookmarkStr& b) {
            return !less(a, b) && !less(b, a);
        };
        std::erase_if(Items, [](const TBookmarkStr& b) { return b.isEmpty(); });
        if (Items.empty())
            return;
        if (!std::is_sorted(Items.begin(), Items.end(), less))
            std::sort(Items.begin(), Items.end(), less);
        std::vector<TBookmarkStr> merged;
        merged.reserve(FList.size() + Items.size());
        std::merge(FList.begin(), FList.end(), Items.begin(), Items.end(), std::back_inserter(merged),
                   less);
        merged.erase(std::unique(merged.begin(), merged.end(), same), merged.end());
        FList = std::move(merged);
        listChanged();
        FGrid->InvalidateGrid();
    }

    bool LinkActive() const { return FLinkActive; }
    void SetLinkActive(bool Value)
    {
        Clear();
        FLinkActive = Value;
    }

    // Deletes the selected records from the last to the first, with the dataset's controls
    // quiet; each entry leaves the list once its record is gone, so a failure keeps the ones
    // still to do. Entries whose record went elsewhere are dropped.
    void Delete()
    {
        TDataSet* ds = FGrid->DataLink()->DataSet();
        if (!ds || FList.empty())
            return;
        {
            ControlsGuard guard(ds);
            while (!FList.empty()) {
                const TBookmarkStr bookmark = FList.back();
                if (ds->BookmarkValid(bookmark)) {
                    ds->GotoBookmark(bookmark);
                    ds->Delete();
                }
                FList.pop_back();
                listChanged();
            }
        }
    }

    // How many bookmark comparisons searches made (for checking the cache).
    int Comparisons() const { return FComparisons; }

private:
    void listChanged() { FCacheIndex = -1; }

    std::vector<TBookmarkStr> FList;
    G* FGrid = nullptr;
    TBookmarkStr FCache;
    int FCacheIndex = -1;
    bool FCacheFind = false;
    bool FLinkActive = false;
    int FComparisons = 0;
};

} // namespace qx
