// A library data module whose two connections share one fresh database file, as the tests of
// the library's database features need it. Header only: the tests that include it link the
// data module's library.
#pragma once

#include "usystem/vcl/ado/uDMDataBase.h"

#include <QString>

#include <memory>

namespace qxtest {

// Creates the database file and opens both connections on it; the module becomes dmDatabase.
inline std::unique_ptr<TdmDatabase> openLibraryDataModule(const QString& file)
{
    TADOConnection::CreateDatabase(file);
    auto dm = std::make_unique<TdmDatabase>();
    const QString cs = QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1").arg(file);
    dm->conSystem->setConnectionString(cs);
    dm->conSystem->Open();
    dm->conBusiness->setConnectionString(cs);
    dm->conBusiness->Open();
    return dm;
}

} // namespace qxtest
