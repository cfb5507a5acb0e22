// "生成拼音五笔码" over 100,000 parts without input codes: the button of the settings dialog
// (the dictionary loaded, every part read through the scratch query, its codes computed and
// written, all in one transaction), against a plain SQLite loop on the same database that reads
// the names and writes three codes computed beforehand with one prepared UPDATE per row in one
// transaction. Both runs start from the same table, and alternate so both meet the same machine.
#include "app/data/dmData.h"
#include "app/schema/TempDatabase.h"
#include "app/settings/uADict.h"
#include "bench/support/BenchReport.h"
#include "platform/db/sql/ADOConnection.h"
#include "platform/db/sql/SqliteStatement.h"
#include "platform/env/ProgramFolder.h"
#include "platform/env/ScriptedDialogService.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/foundation/ImeDictionary.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>

#include <limits>
#include <memory>
#include <string>
#include <vector>

#include <sqlite3.h>

namespace {

constexpr int kParts = 100000;
constexpr int kRuns = 5;

// Part names as a phone shop writes them: a Chinese name, often with a model in Latin letters.
const char* const kWords[] = {"屏幕", "总成", "电池", "尾插", "排线", "摄像头", "听筒", "喇叭",
                              "主板", "外壳", "按键", "充电器", "数据线", "钢化膜", "后盖", "中框"};
constexpr int kWordCount = int(sizeof(kWords) / sizeof(kWords[0]));

std::string partName(int i)
{
    std::string name = std::string(kWords[i % kWordCount]) + kWords[(i / kWordCount) % kWordCount];
    if (i % 3 == 0)
        name = "iPhone" + std::to_string(6 + i % 10) + name;
    return name;
}

void fillStock(TADOConnection& connection)
{
    sqlite3* db = connection.handle();
    connection.BeginTrans();
    qx::SqliteStatement insert(db, "INSERT INTO t_Stock (ItemCode, ItemName, Model, Qty, Price, CostPrice, "
                                   "UnitCode, Location) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
    for (int i = 0; i < kParts; ++i) {
        const std::string code = std::to_string(100000 + i);
        const std::string name = partName(i);
        const std::string model = "M" + std::to_string(i % 50);
        sqlite3_bind_text(insert.get(), 1, code.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert.get(), 2, name.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert.get(), 3, model.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(insert.get(), 4, i % 40);
        sqlite3_bind_double(insert.get(), 5, (i % 500) + 0.5);
        sqlite3_bind_double(insert.get(), 6, (i % 300) + 0.25);
        sqlite3_bind_text(insert.get(), 7, "个", -1, SQLITE_STATIC);
        sqlite3_bind_text(insert.get(), 8, "A1", -1, SQLITE_STATIC);
        qx::stepStatement(db, insert.get());
        sqlite3_reset(insert.get());
    }
    connection.CommitTrans();
}

// Every part without codes again (untimed, before each run).
void clearCodes(TADOConnection& connection)
{
    connection.Execute(QStringLiteral("update t_Stock set PY = null, WBH = null, WB = null"));
}

int codedParts(TADOConnection& connection)
{
    sqlite3* db = connection.handle();
    qx::SqliteStatement count(db, "select count(*) from t_Stock where PY is not null and PY <> ''");
    sqlite3_step(count.get());
    return sqlite3_column_int(count.get(), 0);
}

QByteArray codesOfPart(TADOConnection& connection, int id)
{
    sqlite3* db = connection.handle();
    qx::SqliteStatement row(db, "select PY || '/' || WBH || '/' || WB from t_Stock where ID = ?1");
    sqlite3_bind_int(row.get(), 1, id);
    if (sqlite3_step(row.get()) != SQLITE_ROW)
        return QByteArray();
    return QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(row.get(), 0)));
}

struct PrecomputedCodes
{
    QByteArray py, wbh, wb;
};

// The peer: the names read in the walk's order and three precomputed codes written per row.
void runPeer(sqlite3* db, const std::vector<PrecomputedCodes>& codes)
{
    qx::stepStatement(db, qx::SqliteStatement(db, "BEGIN").get());
    qx::SqliteStatement select(db, "SELECT ID, ItemName FROM t_Stock ORDER BY ID LIMIT 100000");
    qx::SqliteStatement update(db, "UPDATE t_Stock SET PY = ?1, WBH = ?2, WB = ?3 WHERE ID = ?4");
    std::size_t row = 0;
    std::size_t nameBytes = 0;
    while (sqlite3_step(select.get()) == SQLITE_ROW) {
        const int id = sqlite3_column_int(select.get(), 0);
        nameBytes += std::size_t(sqlite3_column_bytes(select.get(), 1));
        const PrecomputedCodes& c = codes[row++];
        sqlite3_bind_text(update.get(), 1, c.py.constData(), int(c.py.size()), SQLITE_STATIC);
        sqlite3_bind_text(update.get(), 2, c.wbh.constData(), int(c.wbh.size()), SQLITE_STATIC);
        sqlite3_bind_text(update.get(), 3, c.wb.constData(), int(c.wb.size()), SQLITE_STATIC);
        sqlite3_bind_int(update.get(), 4, id);
        qx::stepStatement(db, update.get());
        sqlite3_reset(update.get());
    }
    qx::stepStatement(db, qx::SqliteStatement(db, "COMMIT").get());
    if (row != std::size_t(kParts) || nameBytes == 0)
        qFatal("the peer read %zu parts", row);
}

} // namespace

int main(int argc, char** argv)
{
    qxbench::useOffscreenUnlessSet();
    QApplication app(argc, argv);
    qx::DialogService::install(std::make_unique<qx::ScriptedDialogService>());
    auto* dialogs = qx::ScriptedDialogService::current();

    qx::app::TempDatabase database;
    qx::setProgramFolder(database.programFolder());
    if (!QFile::copy(QStringLiteral(QX_PROGRAM_DIR "/Ime.DCT"), database.filePath(QStringLiteral("Ime.DCT"))))
        qFatal("no Ime.DCT in the program folder of the build");
    TdmdataUnit module;
    if (module.DataModuleCreate() != TdmdataUnit::orConnected)
        qFatal("the database did not open");
    TADOConnection& connection = *module.ADOConnection;
    fillStock(connection);

    // The peer's codes, computed before its runs from the same dictionary.
    ImeDictionary dictionary;
    if (!dictionary.load(database.filePath(QStringLiteral("Ime.DCT"))))
        qFatal("the dictionary did not load");
    std::vector<PrecomputedCodes> precomputed;
    precomputed.reserve(kParts);
    for (int i = 0; i < kParts; ++i) {
        QString py, wbh, wb;
        dictionary.codesOf(QString::fromStdString(partName(i)), py, wbh, wb);
        precomputed.push_back({py.toLatin1(), wbh.toLatin1(), wb.toLatin1()});
    }

    auto form = std::make_unique<TFrmSystemSetup>();
    form->show();
    QApplication::processEvents();

    double ours = std::numeric_limits<double>::max();
    double peer = std::numeric_limits<double>::max();
    for (int run = 0; run < kRuns; ++run) {
        clearCodes(connection);
        dialogs->clear();
        dialogs->answerMessage(qx::mrOk);
        QElapsedTimer timer;
        timer.start();
        QTest::mouseClick(form->BtnMakeCodes, Qt::LeftButton);
        ours = std::min(ours, timer.nsecsElapsed() / 1e9);
        if (dialogs->messages() != QStringList{QStringLiteral("生成成功!")} || codedParts(connection) != kParts)
            qFatal("the button coded %d parts", codedParts(connection));
        const QByteArray oursSample = codesOfPart(connection, kParts / 2);

        clearCodes(connection);
        timer.restart();
        runPeer(connection.handle(), precomputed);
        peer = std::min(peer, timer.nsecsElapsed() / 1e9);
        if (codedParts(connection) != kParts || codesOfPart(connection, kParts / 2) != oursSample)
            qFatal("the peer's codes differ from the button's");
    }

    qxbench::report(QStringLiteral("settings.input_codes_100k"), ours, peer, 2.0);
    return 0;
}
