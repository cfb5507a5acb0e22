// A program that saves work orders into a shop database, for the tests that kill it halfway
// or run two of it at once. It prints "ready" once the database is open and "saved <number>"
// after each save has returned, flushing each line, so its parent knows which saves were
// committed. Errors go to stderr and end it with status 2.
//
//   SaveWorker <database> <yyyy-mm-dd> new <count>   saves count new bills
//   SaveWorker <database> <yyyy-mm-dd> loop          saves new bills and re-saves them, until killed
#include "tests/documents/workorder/worker/WorkerBill.h"
#include "tests/documents/workorder/worker/WorkerSay.h"

#include "platform/db/sql/ADOConnection.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/Exceptions.h"

#include <QCoreApplication>
#include <QDate>
#include <QStringList>

#include <cstdio>

using qx::documents::test::say;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fputs("usage: SaveWorker <database> <yyyy-mm-dd> new <count> | loop\n", stderr);
        return 1;
    }
    try {
        qx::setToday(QDate::fromString(args[2], Qt::ISODate));
        TADOConnection connection;
        connection.setConnectionString(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + args[1]);
        connection.Open();
        qx::documents::test::WorkerBill bill(connection);
        say("ready");
        const bool loop = args[3] == QLatin1String("loop");
        const int count = loop ? -1 : args.value(4).toInt();
        QString last;
        for (int i = 0; loop || i < count; ++i) {
            // In the loop every third save re-saves the last bill with other quantities.
            const QString stored = loop && i % 3 == 2 ? last : QString();
            bill.fill(i, stored);
            last = bill.save(stored);
            say("saved " + last.toLatin1());
        }
    } catch (const Exception& e) {
        std::fprintf(stderr, "%s\n", e.Message().toUtf8().constData());
        return 2;
    }
    return 0;
}
