// The new-part dialog of the parts workflow: records a part in tMaterial, and its name with
// the name's input codes in tMaterialName. The part's fields stand in three record grids over
// the document structure "EMaterial"; which grid shows a field is said by the field's
// definition (DBControl).
//
// It runs on the library data module: the structure, the part and the name are read and
// written through the module's connections and queries.
#pragma once

#include "platform/db/Fields.h"
#include "usystem/vcl/controls/udlgBase.h"

#include <QPointer>
#include <QString>

class TDataSource;
class TQxButton;
class TQxDBVGrid;
class TQxLabel;
class TQxRctStr;

class TFrmNewMaterial : public TFrmDlgBase
{
    Q_OBJECT

public:
    explicit TFrmNewMaterial(QWidget* parent = nullptr);
    ~TFrmNewMaterial() override;

    TQxLabel* LblTip = nullptr;
    TQxButton* BtnAdd = nullptr;
    TQxButton* BtnSave = nullptr;
    TQxRctStr* TblMaterial = nullptr;
    TDataSource* dsMaterial = nullptr;
    TQxDBVGrid* DBVBase = nullptr;
    TQxDBVGrid* Base2 = nullptr;
    TQxDBVGrid* dbvPlus = nullptr;

    // The field that takes the new part's code (may be null; not owned), the code of a part
    // to show, and the name a new part starts with.
    void SetField(TField* value) { FField = value; }
    TField* Field() const { return FField; }
    void SetItemCode(const QString& value) { FItemCode = value; }
    void SetItemName(const QString& value) { FItemName = value; }

    // The structure, the rows of the three grids, the part shown and the starting values.
    void BeforeFormLook() override;
    // F2 adds (nothing), F5 saves; Enter on the last row of a grid goes on to the next grid,
    // and on the last row of the last one saves. The base keys first (Esc closes).
    void FormKeyDown(QObject* Sender, int& Key, TShiftState Shift) override;
    // Writes the part (its row of the code, added when there is none) and then its name's
    // input codes; on success the field takes the code and the dialog closes, otherwise the
    // error is shown and the dialog stays open.
    void BtnSaveClick(QObject* Sender);
    void BtnAddClick(QObject* Sender);

private:
    void SavePart();
    void SaveName(const QString& Name);
    void ShowError(const QString& Message);

    QPointer<TField> FField;
    QString FItemCode;
    QString FItemName;
};

// Shows the new-part dialog modally, owned by the application. Field (or null) takes the code
// of the part saved; ItemCode shows an existing part; ItemName is the new part's name.
void NewMaterial(TField* Field, const QString& ItemCode, const QString& ItemName);
