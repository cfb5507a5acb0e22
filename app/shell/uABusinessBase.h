// TFrmABusinessBase: the root of the browsers, the maximised windows inside the main window
// that list documents or master records. It adds the exit and "保存格式" buttons on the left
// panel, the white title strip with the browser's title and the white strip at the bottom for
// totals; each browser adds its grid and its other controls to Panel1.
#pragma once

#include "app/shell/GridLayoutFiles.h"
#include "app/shell/uABase.h"

class QObject;
class TQxButton;
class TQxDBGrid;
class TQxLabel;

class TFrmABusinessBase : public TFrmABase
{
    Q_OBJECT

public:
    explicit TFrmABusinessBase(QWidget* parent = nullptr);
    ~TFrmABusinessBase() override;

    TQxButton* const BtnClose;
    TQxButton* const SpeedButton2;
    qx::app::ColorPanel* const Panel1;
    qx::app::ColorPanel* const pnlbase;
    TQxLabel* const lblBillType;
    qx::app::ColorPanel* const Panel3;

    // The title strip takes the form's caption.
    void FormShow(QObject* Sender) override;
    // Closes the browser, which frees it.
    void BtnCloseClick(QObject* Sender);
    // "保存格式": every data grid of the form writes its column layout to the program folder,
    // under the title + the grid's name + ".dbg" (the file the browser loads when shown).
    void SpeedButton2Click(QObject* Sender);

    // The layout file of one grid of this browser: the program folder, the title label's
    // caption, the grid's name and ".dbg", whatever the working folder is.
    QString GridLayoutFileName(const QObject& grid) const;
    // The data grids of the form, in creation order.
    QList<TQxDBGrid*> DataGrids() const;

    // Loads the grid's layout from its file when the file exists; true when it was loaded. A
    // damaged or unreadable file is passed by: the grid keeps the columns it has and the
    // next save writes a good file in its place. Browsers call it when they are shown.
    bool LoadGridLayout(TQxDBGrid& grid);
    // LoadGridLayout for every data grid of the form.
    void LoadGridLayouts();
    // Writes the layout of every data grid of the form to its file. Each file is replaced only
    // when written whole; grids whose file cannot be written do not stop the others, and
    // their errors are raised together afterwards. Browsers call it when they close.
    void SaveGridLayouts();
};
