// TFrmASearchPicker: the base of the modal pickers that search a master file and take the chosen
// record into the caller's dataset (parts, repair items, workers, customers, devices).
//
// It gives the picker its search panel at the top, its buttons on the left panel, the query and
// the read-only grid over it, the grid's layout file (the program folder, the caption, the
// grid's name and ".dbg": loaded on show after the first search, written on close), Enter and
// double click on the grid to take the current record and close, Esc to close, and "新增": the
// rights check, then a master editor on a new record of its own query.
//
// Every search runs with its typed values bound as parameters (SearchConditions) and with the
// grid's display frozen while the query reopens.
#pragma once

#include "app/shell/uABase.h"

#include <QString>
#include <QVariantMap>

#include <functional>

class TDataSource;
class TField;
class TFrmAMasterEdit;
class TQxADOQuery;
class TQxBitBtn;
class TQxDBGrid;
class TQxPanel;

class TFrmASearchPicker : public TFrmABase
{
    Q_OBJECT

public:
    ~TFrmASearchPicker() override;

    TQxPanel* const PnlSearch; // the search edits
    TQxADOQuery* const Query;  // the records found
    TDataSource* const Source;
    TQxDBGrid* const Grid; // read-only, over Query

    // The program folder's layout file of the grid: caption + grid name + ".dbg".
    QString GridLayoutFileName() const;

    // Runs the first search, then loads the grid's layout when its file exists.
    void FormShow(QObject* Sender) override;
    // Frees the form and writes the grid's layout.
    void FormClose(QObject* Sender, TCloseAction& Action);
    // Enter on the grid takes the current record and closes; Esc closes.
    void FormKeyDown(QObject* Sender, int& Key, TShiftState Shift) override;
    // Takes the current record and closes.
    void GridDblClick(QObject* Sender);

    // The search of the picker's boxes.
    virtual void Search() = 0;
    // Takes the current record into the caller's dataset; false keeps the picker open when
    // it closes after a take.
    virtual bool Take() = 0;
    void TakeAndClose();

    // Runs the statement it ran last again (after a record was added).
    void Requery();

protected:
    TFrmASearchPicker(const char* formName, const QString& caption, const char* queryName,
                      const char* gridName, int searchHeight, QWidget* parent);

    // The search that runs when the picker is shown; Search unless a picker lists otherwise.
    virtual void FirstSearch() { Search(); }
    // Reopens the query on sql with params bound, the grid frozen meanwhile.
    void RunQuery(const QString& sql, const QVariantMap& params = {});
    // A button on the left panel, in the index-th place from the top.
    TQxBitBtn* LeftButton(const char* name, const QString& caption, int index);
    // "新增": when the operator holds Module-Action (the refusal is shown otherwise), the editor
    // made by makeEditor opens modally on a new record of its own query. False when refused.
    bool AddThroughEditor(const QString& Module, const QString& Action,
                          const std::function<TFrmAMasterEdit*()>& makeEditor);

    // Passes a copied value through the field's text setter, so the caller's field rules (a
    // bill editor's field hub) run on it; a field without one keeps the value as copied.
    static void RunTextSetter(TField* Field, const QString& Text);
    static bool SameName(const QString& a, const QString& b);

private:
    QString FSql;
    QVariantMap FParams;
};
