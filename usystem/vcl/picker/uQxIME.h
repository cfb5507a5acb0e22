// The input-code dialog: the user types the pinyin or wubi initials of a name (a part name, a
// customer, a supplier, a service item) and picks the name from the matches. The dialog hands
// the choice back through one shared result text of the library, which callers read after
// ShowImeDialog returns; empty means nothing was chosen.
//
// The list runs on the library data module's connections: without a module the dialog is
// never shown. Typed codes are bound as LIKE patterns with their wildcards escaped, so a code
// is always matched literally as a prefix.
#pragma once

#include "platform/db/Fields.h"
#include "usystem/vcl/controls/udlgBase.h"

#include <QPointer>
#include <QString>

class TDataSource;
class TQxADOQuery;
class TQxDBGrid;
class TQxEdit;
class TQxLabel;
class TQxPanel;

// The input-code modes, in the order F6 cycles through them. Standard matches the name (or
// code) column itself.
enum TInputCodeMode { icmPinyin = 0, icmWubi = 1, icmWubiStrokes = 2, icmStandard = 3 };

// The current mode, kept in the library data module (pinyin when there is none).
int CurrentInputCodeMode();
// Moves the mode on to the next one and, when the main window has a button BtnIme, shows the
// new mode on it ("拼音", "五笔", "五笔划", "标准"). Returns the new mode.
int SwitchInputCodeMode();
// The code column of a mode: "Py", "WB", "WBH"; empty for the standard mode.
QString InputCodeColumn(int Mode);

// Whether Kind is one of the lists the dialog can search (letter case aside).
bool IsImeKind(const QString& Kind);

// The one shared result text of the dialog. It lives for the whole run.
QString& ImeResultText();

class TFrmIME : public TFrmDlgBase
{
    Q_OBJECT

public:
    explicit TFrmIME(QWidget* parent = nullptr);
    ~TFrmIME() override;

    QString Kind() const { return FKind; }
    void SetKind(const QString& value) { FKind = value; }
    TField* Field() const { return FField; }
    void SetField(TField* value) { FField = value; }

    TQxLabel* LblInput = nullptr;
    TQxEdit* EdtInput = nullptr;
    TQxDBGrid* DBGrid = nullptr;
    TQxPanel* PnlBottom = nullptr;
    TQxADOQuery* QryIme = nullptr;
    TDataSource* dsIme = nullptr;

    // Base keys first (Esc closes); then Enter confirms, F6 switches the mode, F10 focuses
    // the input edit.
    void FormKeyDown(QObject* Sender, int& Key, TShiftState Shift) override;
    // The base show (look pass), then the list for the text already in the edit.
    void FormShow(QObject* Sender) override;
    void EdtInputChange(QObject* Sender);
    void DBGridDblClick(QObject* Sender);

    // Opens the list for the edit's text in the current mode.
    void RefreshList();
    // The first column of the current row becomes the shared result (empty for an empty
    // list); the dialog closes with mrOk.
    void Confirm();

private:
    QString FKind;
    QPointer<TField> FField;
};

// Shows the input-code dialog for Kind with StartText in its edit. Nothing is shown, and the
// shared result keeps its value, when Kind is not one of the dialog's lists or there is no
// library data module. True when the user confirmed a non-empty choice; the choice itself is
// the shared result text.
bool ShowImeDialog(const QString& Kind, TField* Field, const QString& StartText);
