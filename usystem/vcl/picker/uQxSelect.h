// The record picker and the field pickers of the library's data controls.
//
// TFrmSelect is a two-step dialog over the document structure stored under a code: first the
// structure's search conditions for the user to fill in, then the matching records with an
// incremental find box; the chosen record goes back either into the calling control's field or
// as a result value. PickFieldValue is what the data edit's button and the data grid's cell
// button open when they have no handler of their own: it looks up the picker code of the
// control's field in the document structure behind the control. SelectValueByStructure is the
// picker of the typed edit's find kind.
//
// All of it runs on the library data module. Without a module the record picker never opens;
// the date picker of a structure's date field needs no module.
//
// The conditions a user types never enter the statement as text: every value is bound as a
// parameter, numbers are checked to be numbers first, and LIKE values have their wildcards
// escaped so they match literally.
#pragma once

#include "platform/db/Fields.h"
#include "usystem/vcl/controls/uBase.h"
#include "usystem/vcl/rctstr/uQxRctStr.h"

#include <QPointer>
#include <QString>
#include <QVariantMap>

class QMenu;
class QStackedWidget;
class TDataSource;
class TQxADOQuery;
class TQxButton;
class TQxColumn;
class TQxDBGrid;
class TQxDBVGrid;
class TQxEdit;
class TQxLabel;
class TQxPanel;
class TQxPopupMenu;

class TFrmSelect : public TFrmBase
{
    Q_OBJECT

public:
    // A picker over the structure stored under Code.
    explicit TFrmSelect(const QString& Code, QWidget* parent = nullptr);
    ~TFrmSelect() override;

    // The calling control (a data edit or a data grid) and the structure behind it: the
    // chosen record is written into the control's field.
    void SetControl(QWidget* Control, TQxRctStr* Structure);
    QWidget* Control() const { return FControl; }
    // The field whose value the picker hands back instead (SelectValueByStructure).
    QString ResultField() const { return FResultField; }
    void SetResultField(const QString& value) { FResultField = value; }
    QString Code() const { return FCode; }
    // The value of ResultField of the confirmed record.
    QString ResultValue() const { return FResultValue; }
    // The field the find box searches; null until one is chosen.
    TField* FindField() const { return FFindField; }

    // Tool bar.
    TQxPanel* PnlTool = nullptr;
    TQxButton* BtnAdd = nullptr;
    TQxButton* BtnEdit = nullptr;
    TQxButton* BtnSave = nullptr;
    TQxButton* BtnClose = nullptr;
    // The two steps.
    QStackedWidget* Notebook;
    QWidget* PageFind;
    QWidget* PageCondition;
    // Page "Find".
    TQxPanel* PnlFind = nullptr;
    TQxLabel* LblTip = nullptr;
    TQxEdit* EdtFind = nullptr;
    TQxButton* BtnFind = nullptr;
    TQxPopupMenu* Menu = nullptr;
    TQxDBGrid* DBGrid = nullptr;
    // The found records' current one, a field per row; kept hidden.
    TQxDBVGrid* dbvgrid = nullptr;
    TQxPanel* PnlHot = nullptr;
    TQxButton* BtnAddRct = nullptr;
    TQxButton* BtnOk = nullptr;
    TQxButton* BtnPre = nullptr;
    // Page "Condition".
    TQxDBGrid* dbgCondition = nullptr;
    TQxPanel* PnlNext = nullptr;
    TQxButton* BtnNext = nullptr;
    // Data.
    TQxRctStr* MMTCondition = nullptr;
    TDataSource* dsCondition = nullptr;
    TQxADOQuery* TblSelect = nullptr;
    TDataSource* dsSelect = nullptr;

    // Window placement of the code in ConnectSQL.ini: values present and above 0 are applied.
    void PlaceWindow();
    // The condition text of the filled-in conditions, with the values in Params. Raises
    // EConvertError for a value that is not a number where the condition compares numbers,
    // and EDatabaseError for a comparison the picker does not know.
    QString BuildWhere(QVariantMap& Params) const;
    // Runs the query of the conditions and opens the find page.
    void RunQuery();
    // Rebuilds the grid's columns and the find menu from the structure.
    void BuildFindFields();
    // Makes the column's field the find field and sorts the records by it.
    void ChooseFindField(TQxColumn* Column);

    void FormShow(QObject* Sender) override;
    void FormKeyDown(QObject* Sender, int& Key, TShiftState Shift) override;
    void FormClose(QObject* Sender, TCloseAction& Action);
    void BtnSaveClick(QObject* Sender);
    void BtnCloseClick(QObject* Sender);
    void BtnNextClick(QObject* Sender);
    void BtnPreClick(QObject* Sender);
    void BtnOkClick(QObject* Sender);
    void BtnAddRctClick(QObject* Sender);
    void BtnAddClick(QObject* Sender);
    void EdtFindChange(QObject* Sender);
    void dbgConditionEditButtonClick(QObject* Sender);
    void DBGridTitleClick(TQxColumn* Column);

private:
    bool IsPartsCode() const;
    bool FindPageShown() const;
    bool ConditionPageShown() const;
    void ShowConditionPage();
    // Writes what the condition grid's editor holds into the current condition row.
    void PostConditionEdit();
    void SetFindField(TField* Field, const QString& Tip);

    QPointer<QWidget> FControl;
    QPointer<TQxRctStr> FStructure;
    QString FResultField;
    QString FCode;
    QPointer<TField> FFindField;
    QString FResultValue;
};

// Opens the picker named by the definition of the control's field in the document structure
// behind a data edit, a data grid or a record grid. Does nothing for other controls and for
// controls whose dataset is not a document structure.
void PickFieldValue(QWidget* Control);

// The record picker over the structure of StructureCode: true, with Value := the confirmed
// record's ResultField, when the user confirms; false, Value unchanged, otherwise (also when
// there is no library data module).
bool SelectValueByStructure(const QString& ResultField, const QString& StructureCode, QString& Value);

// Gives the library's edits and data controls their pickers (the record picker, the
// input-code dialog and the field picker) and the document structures their part-name
// picker. Called once at start-up.
void InstallLibraryPickers();
