// The data grid's title popup menu: a right press in the title row (indicator and frozen
// columns included) followed by the release opens it at the release point. It offers the
// settings dialog, the find box, select all, clear the selection, save settings, data output
// and the chart.
#include "usystem/vcl/dbgrid/uQxDBGrid.h"

#include "platform/env/ExceptionGuard.h"
#include "platform/env/MissingBinding.h"

#include <QAction>
#include <QMenu>

namespace {

struct TitleMenuItem
{
    int tag;
    const char* caption; // null: a separator
    bool clickable;
};

// In menu order; the number of each item is its Tag.
constexpr TitleMenuItem TitleMenuItems[] = {
    {0, "输入及显示控制", true},
    {1, "数据转入转出", true},
    {2, "数据定位", true},
    {3, "全部选定", true},
    {4, "清除所选", true},
    {10, nullptr, true},
    {5, "保存设置", true},
    {6, "恢复设置", true},
    {7, nullptr, false},
    {8, "数据输出", true},
    {9, "数据图表", true},
};

enum TitleMenuTag {
    tagSettings = 0,
    tagSettingsIo = 1,
    tagFind = 2,
    tagSelectAll = 3,
    tagClearSelection = 4,
    tagSaveSettings = 5,
    tagRestoreSettings = 6,
    tagExport = 8,
    tagChart = 9,
};

qx::GridDialogBinding& gridDialogSlot()
{
    static qx::GridDialogBinding binding;
    return binding;
}

} // namespace

namespace qx {

void setGridDialogBinding(GridDialogBinding binding)
{
    gridDialogSlot() = std::move(binding);
}

const GridDialogBinding& gridDialogBinding()
{
    return gridDialogSlot();
}

} // namespace qx

QMenu* TQxCustomDBGrid::TitleMenu()
{
    if (!FTitleMenu) {
        FTitleMenu = new QMenu(this);
        FTitleMenu->setObjectName(QStringLiteral("TitleMenu"));
    }
    return FTitleMenu;
}

bool TQxCustomDBGrid::ShowTitleMenu(const QPoint& Pos)
{
    QMenu* menu = TitleMenu();
    // The items of the last opening go; nothing but this menu holds them.
    const QList<QAction*> old = menu->actions();
    menu->clear();
    for (QAction* action : old)
        delete action;
    for (const TitleMenuItem& item : TitleMenuItems) {
        auto* action = new QAction(this);
        action->setProperty("Tag", item.tag);
        if (item.caption)
            action->setText(QString::fromUtf8(item.caption));
        else
            action->setSeparator(true);
        if (item.clickable) {
            connect(action, &QAction::triggered, this, [this, tag = item.tag] {
                qx::guard(this, [&] { TitleMenuClick(tag); });
            });
        }
        menu->addAction(action);
    }
    CancelMode();
    menu->popup(viewport()->mapToGlobal(Pos));
    return true;
}

void TQxCustomDBGrid::TitleMenuClick(int Tag)
{
    const qx::GridDialogBinding& dialogs = qx::gridDialogBinding();
    switch (Tag) {
    case tagSettings:
    case tagSettingsIo:
        if (dialogs.showGridSettingsDialog)
            dialogs.showGridSettingsDialog(this, Tag);
        else
            qx::reportMissingBinding(this, QStringLiteral("ShowGridSettingsDialog"));
        break;
    case tagFind: {
        // The same as Ctrl+F in the grid: nothing over a date or time column.
        int key = 'F';
        KeyDown(key, ssCtrl);
        break;
    }
    case tagSelectAll: SelectAllRecords(); break;
    case tagClearSelection: FBookmarks->Clear(); break;
    case tagSaveSettings:
        // What is saved is the handler's business.
        if (OnSaveTitleClick)
            OnSaveTitleClick(this);
        break;
    case tagExport:
        if (dialogs.showExportDialog)
            dialogs.showExportDialog(this);
        else
            qx::reportMissingBinding(this, QStringLiteral("ShowExportDialog"));
        break;
    case tagChart:
        if (dialogs.showGridChart)
            dialogs.showGridChart(this);
        else
            qx::reportMissingBinding(this, QStringLiteral("ShowGridChart"));
        break;
    case tagRestoreSettings:
    default: break;
    }
}

void TQxCustomDBGrid::SelectAllRecords()
{
    TDataSet* ds = FDataLink->DataSet();
    if (!FDataLink->Active() || !ds || (ds->Bof() && ds->Eof()))
        return;
    // The controls are enabled again when the guard goes, after the return to the current
    // record, also when a step raises.
    const qx::ControlsGuard controls(ds);
    TBookmark mark = ds->GetBookmark();
    const auto back = [&] {
        ds->GotoBookmark(mark);
        ds->FreeBookmark(mark);
    };
    try {
        std::vector<TBookmarkStr> rows;
        ds->First();
        while (!ds->Eof()) {
            rows.push_back(ds->Bookmark());
            ds->Next();
        }
        FBookmarks->AddBookmarks(std::move(rows));
    } catch (...) {
        back();
        throw;
    }
    back();
}
