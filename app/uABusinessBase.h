// TFrmABusinessBase: the root of the browsers, the maximised windows inside the main window
// that list documents or master records. It adds the exit and "保存格式" buttons on the left
// panel, the white title strip with the browser's title and the white strip at the bottom for
// totals; each browser adds its grid and its other controls to Panel1.
#pragma once

#include "app/uABase.h"

#include <functional>

class QObject;
class TQxButton;
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

    // The layout file of one grid of this browser.
    QString GridLayoutFileName(const QObject& grid) const;
    // The data grids of the form, in creation order.
    QList<QObject*> DataGrids() const;
};

namespace qx::app {

// Writes a grid's column layout into a file. The grid's column collection is to learn to
// write itself; until it does the program installs the writer here. Without one, saving a
// layout raises an error instead of claiming success.
using GridLayoutWriter = std::function<void(QObject& grid, const QString& fileName)>;
void setGridLayoutWriter(GridLayoutWriter writer);
const GridLayoutWriter& gridLayoutWriter();

} // namespace qx::app
