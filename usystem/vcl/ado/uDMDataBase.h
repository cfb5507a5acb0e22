// TdmDatabase: the library's own data module. It holds the two connections the library's
// database features work on (the system one for the library's tables tRctStr, tDictDlt and
// tMaterialName; the business one for the shop's tables and the library's transactions), the
// two working queries, the shared message dialog and the library's settings.
//
// The module is optional. The program works on its own data module and connection and never
// makes this one, so dmDatabase stays null for the whole run; the features that need the
// module do nothing or refuse with a message when it is absent. Whoever wants those features
// creates one module: it becomes dmDatabase for its lifetime.
#pragma once

#include "platform/db/sql/ADOConnection.h"
#include "platform/ui/Colors.h"
#include "usystem/vcl/ado/uQxADODB.h"
#include "usystem/vcl/controls/uQxMsgdlg.h"

#include <QObject>
#include <QStringList>

#include <functional>

class TdmDatabase : public QObject
{
    Q_OBJECT

public:
    // Becomes dmDatabase when there is none yet. The connections are closed: set their
    // connection strings and open them.
    explicit TdmDatabase(QObject* owner = nullptr);
    // Clears dmDatabase when it is this module; the queries close before their connections.
    ~TdmDatabase() override;

    // Connections, owned by the module.
    TADOConnection* conSystem = nullptr;   // tRctStr, tDictDlt, tMaterialName
    TADOConnection* conBusiness = nullptr; // the shop's tables; the library's transactions
    // Working queries, owned by the module.
    TQxADOQuery* qryTemp = nullptr;   // scratch query on the business connection
    TQxADOQuery* qryStruct = nullptr; // structures, dictionary rows, part names (system connection)
    // The shared dialog for questions and errors.
    TQxMsgdlg* MsgDlg = nullptr;

    // Settings.
    TColor LabelColor = clGreen;    // labels and grid titles of the library's look
    TColor LineColor = clSilver;    // lines of labelled edits, combo boxes and transposed grids
    int InputCodeMode = 0;          // how the input-code dialog matches typed codes
    QStringList RowLimitCodes;      // structure codes whose lists get a row limit
    int RowLimit = 0;               // that limit (0: none)
    bool MatchModel = false;        // part dialogs match the model too
    // The rights that hide field definitions of document structures.
    QStringList Rights;
    // The GB2312-to-Big5 converter of the library's text hook; none by default.
    std::function<QString(const QString&)> TextConverter;
};

// The one library data module; null unless one was created.
extern TdmDatabase* dmDatabase;
