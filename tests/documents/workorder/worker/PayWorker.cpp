// A program that takes payments on work orders through the receipt dialog, for the test that
// kills it halfway. It prints "ready" once the data module is connected and "paid <number>"
// after each payment has returned, flushing each line. Errors go to stderr after "error: " and
// end it with status 2.
//
//   PayWorker <program folder> <bill number>...   pays 1 on each bill in turn, until killed
#include "app/data/dmData.h"
#include "documents/receipts/uReceivRecord.h"
#include "platform/env/DialogService.h"
#include "platform/env/ProgramFolder.h"
#include "platform/env/ScriptedDialogService.h"
#include "platform/rtl/Exceptions.h"
#include "tests/documents/workorder/worker/WorkerSay.h"

#include <QApplication>
#include <QDate>
#include <QStringList>

#include <cstdio>
#include <memory>

using qx::documents::test::say;

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fputs("usage: PayWorker <program folder> <bill number>...\n", stderr);
        return 1;
    }
    // No question is expected: each payment is the whole amount asked.
    auto dialogs = std::make_unique<qx::ScriptedDialogService>();
    qx::ScriptedDialogService* scripted = dialogs.get();
    qx::DialogService::install(std::move(dialogs));
    try {
        qx::setProgramFolder(args[1]);
        TdmdataUnit module;
        if (module.DataModuleCreate() != TdmdataUnit::orConnected)
            throw Exception(QStringLiteral("no connection"));
        say("ready");
        for (int i = 0;; ++i) {
            const QString billNo = args[2 + i % (args.size() - 2)];
            auto* dialog = new TFrmReceivRecord;
            dialog->ReceiptBillNo = billNo;
            dialog->SetAmountDue(Currency(1));
            dialog->SetReceiptDate(TDateTime::fromQDate(QDate(2026, 3, 5)));
            dialog->LoadReceipts();
            dialog->show();
            dialog->Button1Click(nullptr);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            if (!scripted->messages().isEmpty())
                throw Exception(scripted->messages().join(u'|'));
            say("paid " + billNo.toLatin1());
        }
    } catch (const Exception& e) {
        std::fprintf(stderr, "error: %s\n", e.Message().toUtf8().constData());
        return 2;
    }
}
