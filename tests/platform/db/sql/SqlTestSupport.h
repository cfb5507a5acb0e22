// A fresh database file in a temporary folder for each test, opened through the connection.
#pragma once

#include "platform/db/sql/ADOConnection.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

class SqlFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        file = dir.filePath(QStringLiteral("Account.mdb"));
        TADOConnection::CreateDatabase(file);
        conn = std::make_unique<TADOConnection>();
        conn->setConnectionString(connectionString());
        conn->Open();
    }

    QString connectionString() const
    {
        return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1;"
                              "Jet OLEDB:Database Password=secret;Persist Security Info=False")
            .arg(file);
    }

    // The first column of the first row of sql.
    QVariant scalar(const QString& sql, TADOConnection* c = nullptr);

    QTemporaryDir dir;
    QString file;
    std::unique_ptr<TADOConnection> conn;
};

// What a SELECT of one expression gives: "null", or the value's type letter and text
// (i = integer, r = real, t = text), so that a result of the wrong kind shows.
inline QString valueShape(const QVariant& v)
{
    if (!v.isValid())
        return QStringLiteral("null");
    switch (v.typeId()) {
    case QMetaType::LongLong: return QStringLiteral("i:") + v.toString();
    case QMetaType::Double: return QStringLiteral("r:") + QString::number(v.toDouble(), 'g', 15);
    default: return QStringLiteral("t:") + v.toString();
    }
}
