// The quantity dialog of the parts workflow: shows the document line the record picker has
// just added (its part code, name, model, prices) and asks for its quantity. Its save posts
// the line; closing it any other way takes the pending line back.
#pragma once

#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/combos/uQxDBLabelEdit.h"
#include "usystem/vcl/controls/udlgBase.h"

#include <QPointer>

class TDataSource;
class TQxButton;

class TFrmAddItemRct : public TFrmDlgBase
{
    Q_OBJECT

public:
    explicit TFrmAddItemRct(QWidget* parent = nullptr);
    ~TFrmAddItemRct() override;

    TQxButton* BtnSave = nullptr;
    TDataSource* dsAddItemRct = nullptr;

    // The grid whose current line the dialog shows; not owned.
    TQxCustomDBGrid* Grid() const { return FGrid; }
    void SetGrid(TQxCustomDBGrid* value) { FGrid = value; }
    // The edit Enter saves from (the last one made).
    tQxDBLabelEdit* LastEdit() const { return FLastEdit; }

    // The base show (look pass), then the edits of the line's fields.
    void FormShow(QObject* Sender) override;
    // F2 saves, Enter in the last edit saves; the base keys first (Esc closes).
    void FormKeyDown(QObject* Sender, int& Key, TShiftState Shift) override;
    // Posts the line and closes.
    void BtnSaveClick(QObject* Sender);
    // The base close (the dialog frees itself); an unsaved line is cancelled.
    void FormClose(QObject* Sender, TCloseAction& Action);

private:
    void BuildEdits();

    QPointer<TQxCustomDBGrid> FGrid;
    QPointer<tQxDBLabelEdit> FLastEdit;
    bool FSaved = false;
};

// Shows the quantity dialog modally for the grid's current line.
void ShowAddItemRct(TQxCustomDBGrid* Grid);
