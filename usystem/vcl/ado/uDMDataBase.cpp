#include "usystem/vcl/ado/uDMDataBase.h"

TdmDatabase* dmDatabase = nullptr;

TdmDatabase::TdmDatabase(QObject* owner)
    : QObject(owner)
{
    setObjectName(QStringLiteral("dmDatabase"));
    conSystem = new TADOConnection(this);
    conSystem->setObjectName(QStringLiteral("conSystem"));
    conSystem->setLoginPrompt(false);
    conBusiness = new TADOConnection(this);
    conBusiness->setObjectName(QStringLiteral("conBusiness"));
    conBusiness->setLoginPrompt(false);
    qryTemp = new TQxADOQuery(this);
    qryTemp->setObjectName(QStringLiteral("qryTemp"));
    qryTemp->SetConnection(conBusiness);
    qryStruct = new TQxADOQuery(this);
    qryStruct->setObjectName(QStringLiteral("qryStruct"));
    qryStruct->SetConnection(conSystem);
    MsgDlg = new TQxMsgdlg(this);
    MsgDlg->setObjectName(QStringLiteral("MsgDlg"));
    if (!dmDatabase)
        dmDatabase = this;
}

TdmDatabase::~TdmDatabase()
{
    if (dmDatabase == this)
        dmDatabase = nullptr;
    // Queries first, so none is left on a connection that is going.
    delete qryTemp;
    delete qryStruct;
    qryTemp = nullptr;
    qryStruct = nullptr;
}
