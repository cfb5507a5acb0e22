// TFrmAselect: the one pick list behind the small buttons of the application's boxes. Which
// list it shows follows from the name of the field (or of the find-dialog condition) the box
// stands for, so a form only names the field it wants a value for.
//
// SelectFieldValue writes the chosen value into a field as a value (the field's text setter,
// such as a bill editor's field hub, does not run) and fills the companion fields of parts and
// repair items; SelectFindValue writes the chosen value as text into a plain box.
#pragma once

#include "app/shell/uABase.h"

#include <QPointer>
#include <QString>

class QLineEdit;
class TDataSet;
class TDataSource;
class TField;
class TQxADOQuery;
class TQxDBGrid;

class TFrmAselect : public TFrmABase
{
    Q_OBJECT

public:
    explicit TFrmAselect(QWidget* parent = nullptr);
    ~TFrmAselect() override;

    TQxADOQuery* const QrySelect;
    TDataSource* const dsSelect;
    TQxDBGrid* const DBGrid1;

    // The field that receives the value (SelectFieldValue), or none.
    QPointer<TField> TargetField;
    // The box that receives the value as text (SelectFindValue), or none.
    QPointer<QLineEdit> TargetEdit;

    // Takes the current row into the target and closes; an empty list only closes.
    void DBGrid1DblClick(QObject* Sender);
    // Enter takes the current row and closes, Esc closes without taking anything.
    void FormKeyDown(QObject* Sender, int& Key, TShiftState Shift) override;
    // The grid shows its title row only when the statement names aliases.
    void QrySelectAfterOpen(TDataSet* DataSet);

private:
    void TakeCurrentRow();
};

// The statement of the list for a field: by its name, compared without case, and for
// "BillType" only when the field's dataset is named "QryMain". Empty when the field has no list.
QString FieldValueListSql(const TField& Field);
// The statement of the list for SelectFindValue's name; empty when the name has no list.
QString FindValueListSql(const QString& Name);

// Opens the list of Field's name and shows it modally; the field then holds the chosen value.
// A field without a list opens nothing. A statement that fails shows the database's message
// and opens nothing.
void SelectFieldValue(TField* Field);
// Opens the list of Name and writes the chosen value as text into Edit.
void SelectFindValue(const QString& Name, QLineEdit* Edit);
