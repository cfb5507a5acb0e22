// The fixture later tests use: a fresh program folder with its own database copy.
#include "SqliteHelpers.h"

#include "app/schema/OperatorRights.h"
#include "app/schema/TempDatabase.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

using qx::app::TempDatabase;
using qx::app::test::Db;

TEST(TempDatabaseFixture, GivesAProgramFolderWithDatabaseAndSettings)
{
    QString folder;
    {
        TempDatabase fixture;
        folder = fixture.programFolder();
        EXPECT_TRUE(QFileInfo(folder).isDir());
        EXPECT_EQ(fixture.databasePath(), QDir(folder).filePath(QStringLiteral("Account.mdb")));
        EXPECT_TRUE(QFile::exists(fixture.databasePath()));

        QFile ini(fixture.filePath(QStringLiteral("ConSQL.ini")));
        ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
        EXPECT_EQ(ini.readAll(), QByteArray("[Server]\r\nPath=\r\n"));

        Db db(fixture.databasePath());
        EXPECT_EQ(db.value(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
    }
    EXPECT_FALSE(QFileInfo::exists(folder));
}

TEST(TempDatabaseFixture, EachFixtureHasItsOwnData)
{
    TempDatabase first;
    TempDatabase second;
    EXPECT_NE(first.programFolder(), second.programFolder());
    {
        Db db(first.databasePath());
        ASSERT_EQ(db.exec(QStringLiteral("DELETE FROM t_UserDB")), SQLITE_DONE);
        EXPECT_EQ(db.value(QStringLiteral("SELECT count(*) FROM t_UserDB")).toInt(), 0);
    }
    Db db(second.databasePath());
    EXPECT_EQ(db.value(QStringLiteral("SELECT count(*) FROM t_UserDB")).toInt(),
              qx::app::administratorRights().size());
}
