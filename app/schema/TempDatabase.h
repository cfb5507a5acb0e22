// A throw-away program folder holding a fresh shop database, for tests: the folder and all
// it holds are removed when the object goes. The folder has the database under its usual name
// and a ConSQL.ini whose empty Path makes the program use that database.
//
// The database is built once per process and copied for each fixture, so a test pays for the
// build (and its password hash) only once.
#pragma once

#include <QString>
#include <QTemporaryDir>

namespace qx::app {

class TempDatabase
{
public:
    // Raises EDatabaseError or EInOutError when the folder or the database cannot be made.
    TempDatabase();
    ~TempDatabase();
    TempDatabase(const TempDatabase&) = delete;
    TempDatabase& operator=(const TempDatabase&) = delete;

    // The program folder, without a trailing separator.
    QString programFolder() const;
    // A file of the program folder.
    QString filePath(const QString& fileName) const;
    // The database file (programFolder()/Account.mdb).
    QString databasePath() const;

private:
    QTemporaryDir m_folder;
};

} // namespace qx::app
