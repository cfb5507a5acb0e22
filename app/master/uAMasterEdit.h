// TFrmAMasterEdit: the base of the small modal editors that write one master record each (a
// part, a repair item, a customer, a supplier, a device). An editor is described by a table:
// its fields with their captions and kinds, the code column that must stay unique with the
// message that refuses a taken code, and for parts the catalogue the record is copied into.
//
// The editor owns no save logic beyond that: it edits the current record of the dataset its
// caller points the data source at (the caller's browser query, or the editor's own QryEdit)
// and lets that dataset write the row. Closing it any other way than through a save cancels
// the pending insert or edit, so a record the user abandoned is never written later by the
// caller's next scroll.
#pragma once

#include "app/shell/uABase.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <utility>
#include <vector>

class TDataSet;
class TDataSource;
class TQxADOQuery;
class TQxBitBtn;

namespace qx::app {

enum class MasterFieldKind {
    Text,
    Number,       // the number pad behind the edit's button
    PickList,     // the pick list by field name behind the edit's button
    DropDownList, // a combo box whose value is one of its items
    Combo,        // a combo box offering its items, also taking typed text
};

struct MasterEditorField
{
    MasterEditorField(QString caption_, QString field_, MasterFieldKind kind_ = MasterFieldKind::Text,
                      QStringList items_ = {}, bool besidePrevious_ = false)
        : caption(std::move(caption_)), field(std::move(field_)), kind(kind_),
          items(std::move(items_)), besidePrevious(besidePrevious_)
    {
    }

    QString caption;
    QString field;
    MasterFieldKind kind = MasterFieldKind::Text;
    QStringList items;          // of the combo boxes
    bool besidePrevious = false; // shares the previous field's row (a unit beside its number)
};

struct MasterEditorDefinition
{
    const char* formName = "";
    QString caption;
    const char* sourceName = "dsEdit";
    const char* saveButtonName = "BtnSave";
    QString ownStatement; // QryEdit's statement
    std::vector<MasterEditorField> fields;
    int columns = 1;
    // The code: the table and column that must not hold it twice, and the refusal.
    QString codeTable;
    QString codeField;
    QString takenMessage;
    // Parts: the catalogue that follows every written record (keyed by the code column).
    QString catalogueTable;
    QString focusAfterAdd; // the field whose edit takes the focus on a new record
    QString enterField;    // Enter in this field saves and starts a new record
    QVariantMap addDefaults;      // set on the record "保存增加" starts
    QVariantMap ownQueryDefaults; // set on every new record of QryEdit
};

} // namespace qx::app

class TFrmAMasterEdit : public TFrmABase
{
    Q_OBJECT

public:
    ~TFrmAMasterEdit() override;

    TQxADOQuery* const QryEdit;
    TDataSource* const Source;
    TQxBitBtn* const BtnAdd;   // "保存增加(&S)"
    TQxBitBtn* const BtnSave;  // "保存退出(&E)"
    TQxBitBtn* const BtnClose; // "取消退出(&C)"

    // The dataset being edited: whatever the data source points at.
    TDataSet* EditedDataSet() const;
    // The control bound to a field of the table (a data edit or a data combo box).
    QWidget* ControlOf(const QString& Field) const;

    // Saves the record, then starts another one and puts the focus on the code edit.
    void BtnAddClick(QObject* Sender);
    // Saves the record and closes.
    void BtnSaveClick(QObject* Sender);
    // Closes; the pending insert or edit is cancelled.
    void BtnCloseClick(QObject* Sender);

    void FormShow(QObject* Sender) override;
    // Enter in the last field saves and starts another record; Esc cancels and closes.
    void FormKeyDown(QObject* Sender, int& Key, TShiftState Shift) override;
    // Frees the form and cancels whatever the editor left pending.
    void FormClose(QObject* Sender, TCloseAction& Action);

    // True when no stored record holds the edited code; otherwise says so and answers false.
    // A record in edit state keeps its own code. Reuses the data module's QryTemp.
    bool CheckCodeUnique();

protected:
    TFrmAMasterEdit(const qx::app::MasterEditorDefinition& definition, QWidget* parent);

private:
    void BuildFields();
    // The uniqueness test, then the write of a changed record (with the catalogue copy, in one
    // transaction); an unchanged record is dropped. False when the test refused.
    bool SaveCurrent();
    void CopyToCatalogue(TDataSet& edited);
    void FocusField(const QString& Field);

    qx::app::MasterEditorDefinition FDefinition;
    QHash<QString, QWidget*> FControls; // by field name in lower case
    QString FOwnCode; // the code of a record shown in edit state
};
