// The part-name picker: finds parts whose name holds a typed fragment and puts the chosen
// part's code into a field. One match is taken without asking; several are listed for the
// user to choose from; none empties the field and offers the new-part dialog for the name.
#pragma once

#include "platform/db/Fields.h"
#include "usystem/vcl/controls/udlgBase.h"

#include <QPointer>
#include <QString>

class TDataSource;
class TQxADOQuery;
class TQxDBGrid;

class TFrmSelectItemName : public TFrmDlgBase
{
    Q_OBJECT

public:
    explicit TFrmSelectItemName(QWidget* parent = nullptr);
    ~TFrmSelectItemName() override;

    TQxDBGrid* dbgridItemName = nullptr;
    TQxADOQuery* QryItemName = nullptr;
    TDataSource* dsItemName = nullptr;

    // The field the chosen code goes into; not owned.
    TField* Field() const { return FField; }
    void SetField(TField* value) { FField = value; }

    // Enter chooses the current part (after the base keys: Esc closes).
    void FormKeyDown(QObject* Sender, int& Key, TShiftState Shift) override;
    // The current part's code goes into the field and the dialog closes with mrOk.
    void ChooseCurrent();

private:
    QPointer<TField> FField;
};

// Fills Field with the code of the part whose name holds Name (and, when the library's
// match-model setting is on, whose model is Model). An empty Name empties the field; a Name no
// part holds empties it and opens the new-part dialog for it. Runs on the library data
// module; without one nothing happens.
void SelectItemByName(const QString& Name, const QString& Model, TField* Field);
