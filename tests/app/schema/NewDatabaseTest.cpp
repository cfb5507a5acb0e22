// What a new shop database holds: the tables, their declared types, the unique keys, the
// defaults the bill sums rely on, the first rows and the dictionary.
#include "SqliteHelpers.h"

#include "app/schema/DatabaseSchema.h"
#include "app/schema/OperatorRights.h"
#include "app/schema/Password.h"
#include "app/schema/TempDatabase.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QSet>

using qx::app::TempDatabase;
using qx::app::test::Db;

namespace {

class NewDatabase : public ::testing::Test
{
protected:
    TempDatabase folder;
    Db db{folder.databasePath()};
};

// The declared type of a column as a query over it reports it (nullptr reads as "").
QString declType(Db& db, const QString& table, const QString& column)
{
    sqlite3_stmt* stmt = nullptr;
    const QByteArray sql = QStringLiteral("SELECT %1 FROM %2").arg(column, table).toUtf8();
    if (sqlite3_prepare_v2(db.get(), sql.constData(), -1, &stmt, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << sql.constData() << ": " << sqlite3_errmsg(db.get());
        return QStringLiteral("<error>");
    }
    const char* type = sqlite3_column_decltype(stmt, 0);
    const QString result = type ? QString::fromUtf8(type) : QString();
    sqlite3_finalize(stmt);
    return result;
}

struct ColumnMeta
{
    QString declType;
    QString collation;
    bool primaryKey = false;
    bool autoIncrement = false;
};

ColumnMeta columnMeta(Db& db, const char* table, const char* column)
{
    const char* type = nullptr;
    const char* collation = nullptr;
    int notNull = 0, primaryKey = 0, autoinc = 0;
    ColumnMeta meta;
    if (sqlite3_table_column_metadata(db.get(), nullptr, table, column, &type, &collation,
                                      &notNull, &primaryKey, &autoinc)
        != SQLITE_OK) {
        ADD_FAILURE() << table << "." << column << ": " << sqlite3_errmsg(db.get());
        return meta;
    }
    meta.declType = QString::fromUtf8(type ? type : "");
    meta.collation = QString::fromUtf8(collation ? collation : "");
    meta.primaryKey = primaryKey != 0;
    meta.autoIncrement = autoinc != 0;
    return meta;
}

} // namespace

TEST_F(NewDatabase, PassesIntegrityCheckAndCarriesSchemaVersion)
{
    EXPECT_EQ(db.column(QStringLiteral("PRAGMA integrity_check")), QStringList{QStringLiteral("ok")});
    EXPECT_EQ(db.value(QStringLiteral("PRAGMA user_version")).toInt(), qx::app::kSchemaVersion);
}

TEST_F(NewDatabase, HoldsEveryTableAndSavedQuery)
{
    const QStringList tables = {
        "t_ReceptionMst", "t_ReceptionDlt", "t_ReceptionDlt2", "t_ReceptionDlt3",
        "t_OutMst", "t_Outdlt", "t_Outdlt1",
        "t_InMst", "t_InDlt", "t_InDlt1",
        "t_CheckMst", "t_CheckDlt",
        "t_PayMst", "t_Paydlt",
        "t_DayAccount",
        "t_Card", "t_CardAdd", "t_Cardtype", "t_CheckVehicle",
        "tVehicle", "t_Client", "t_Supplier", "tServiceItem", "t_Stock", "tMaterial", "tMaterialName",
        "t_Model", "t_MainWorker", "t_EngineNo", "t_SupplierType", "t_Receiver", "t_VINPre",
        "t_ClientType", "t_MisInfo",
        "t_UserDB", "tReportTitle", "tRctReport", "tQueryReport", "tDictMst", "tDictDlt",
        "tAccount", "tRctStr", "t_Setting", "t_SNo", "t_OutStkMst", "t_OutStkDlt",
    };
    const QStringList present = db.column(QStringLiteral(
        "SELECT name FROM sqlite_schema WHERE type = 'table' AND name NOT LIKE 'sqlite%'"));
    for (const QString& table : tables)
        EXPECT_TRUE(present.contains(table)) << table.toStdString();
    EXPECT_EQ(present.size(), tables.size()) << present.join(',').toStdString();

    EXPECT_EQ(db.column(QStringLiteral("SELECT name FROM sqlite_schema WHERE type = 'view'")),
              QStringList{QStringLiteral("V_Receiv")});
}

TEST_F(NewDatabase, NamesMatchWithoutLetterCase)
{
    // The programs spell several names in more than one way.
    EXPECT_EQ(db.exec(QStringLiteral("SELECT billNo, INTIME, totalamount FROM t_Receptionmst")), SQLITE_DONE);
    EXPECT_EQ(db.exec(QStringLiteral("SELECT CostPrice FROM t_Outdlt")), SQLITE_DONE);
    EXPECT_EQ(db.exec(QStringLiteral("SELECT costprice FROM T_STOCK")), SQLITE_DONE);
    EXPECT_EQ(db.exec(QStringLiteral("SELECT PassWord, Right FROM t_Userdb")), SQLITE_DONE);
}

TEST_F(NewDatabase, DeclaredTypesCarryTheColumnKinds)
{
    struct Case { const char* table; const char* column; const char* type; };
    const Case cases[] = {
        {"t_ReceptionMst", "BillNo", "TEXT(30)"},
        {"t_DayAccount", "Charger", "TEXT(12)"},
        {"t_CardAdd", "CardNo", "TEXT(20)"},
        {"tDictMst", "CTableName", "TEXT(60)"},
        {"t_UserDB", "Password", "TEXT(128)"},
        {"tQueryReport", "ReportMemo", "MEMO TEXT"},
        {"t_ReceptionMst", "ID", "INTEGER"},
        {"t_Stock", "Qty", "INTEGER"},
        {"tQueryReport", "OrderIndex", "INTEGER"},
        {"t_ReceptionMst", "TotalAmount", "MONEY REAL"},
        {"t_Stock", "CostPrice", "MONEY REAL"},
        {"t_ReceptionMst", "XZhe", "DOUBLE"},
        {"t_CardAdd", "Balance", "DOUBLE"},
        {"t_ReceptionMst", "INtime", "DATETIME"},
        {"tVehicle", "InSureDate", "DATETIME"},
        {"tReportTitle", "isStock", "YESNO"},
        {"t_ReceptionMst", "IsSettle", "YESNO"},
        {"tRctReport", "ReportData", "BLOB"},
        {"tQueryReport", "ReportDB", "BLOB"},
        // A saved query keeps the types of the columns it passes through...
        {"V_Receiv", "TotalAmount", "MONEY REAL"},
        // ...and its computed columns have none.
        {"V_Receiv", "YearMonth", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(declType(db, QString::fromUtf8(c.table), QString::fromUtf8(c.column)),
                  QString::fromUtf8(c.type))
            << c.table << "." << c.column;
    }
}

TEST_F(NewDatabase, EveryColumnHasAKnownKind)
{
    const QRegularExpression text(QStringLiteral("^TEXT\\(\\d+\\)$"));
    const QStringList kinds = {"MEMO TEXT", "INTEGER", "MONEY REAL", "DOUBLE", "DECIMAL",
                               "DATETIME", "YESNO", "BLOB"};
    const QStringList tables = db.column(QStringLiteral(
        "SELECT name FROM sqlite_schema WHERE type = 'table' AND name NOT LIKE 'sqlite%'"));
    for (const QString& table : tables) {
        const QByteArray tableName = table.toUtf8();
        for (const QString& column : db.column(QStringLiteral("SELECT name FROM pragma_table_info(?)"), {table})) {
            const ColumnMeta meta = columnMeta(db, tableName.constData(), column.toUtf8().constData());
            const QString where = table + QLatin1Char('.') + column;
            if (text.match(meta.declType).hasMatch() || meta.declType == QStringLiteral("MEMO TEXT")) {
                EXPECT_EQ(meta.collation, QStringLiteral("NOCASE")) << where.toStdString();
            } else {
                EXPECT_TRUE(kinds.contains(meta.declType)) << where.toStdString() << " " << meta.declType.toStdString();
            }
            // Only the row numbers are AutoNumbers.
            if (meta.autoIncrement) {
                EXPECT_TRUE(column == QStringLiteral("ID") || column == QStringLiteral("IndexID"))
                    << where.toStdString();
            }
        }
    }
}

TEST_F(NewDatabase, AutoNumbersAreAutoincrementPrimaryKeys)
{
    struct Case { const char* table; const char* column; bool autoNumber; };
    const Case cases[] = {
        {"t_ReceptionMst", "ID", true},
        {"t_Stock", "ID", true},
        {"t_CardAdd", "ID", true},
        {"tDictDlt", "IndexID", true},
        {"t_ReceptionMst", "BillNo", false},
        {"t_Client", "CCode", false},
        {"t_Stock", "Qty", false},
    };
    for (const Case& c : cases) {
        const ColumnMeta meta = columnMeta(db, c.table, c.column);
        EXPECT_EQ(meta.primaryKey && meta.autoIncrement, c.autoNumber) << c.table << "." << c.column;
    }
    // Text compares without letter case, as the programs expect of the database.
    EXPECT_EQ(columnMeta(db, "t_Client", "CCode").collation, QStringLiteral("NOCASE"));
    EXPECT_EQ(columnMeta(db, "t_ReceptionMst", "BillNo").collation, QStringLiteral("NOCASE"));
}

TEST_F(NewDatabase, MoneyIsStoredAsRealAndMemoAsText)
{
    ASSERT_EQ(db.exec(QStringLiteral("INSERT INTO t_ReceptionMst (BillNo, TotalAmount) VALUES (?, ?)"),
                      {QStringLiteral("WX060305001"), 100}),
              SQLITE_DONE);
    EXPECT_EQ(db.value(QStringLiteral("SELECT typeof(TotalAmount) FROM t_ReceptionMst")).toString(),
              QStringLiteral("real"));
    EXPECT_EQ(db.value(QStringLiteral("SELECT typeof(sum(TotalAmount)) FROM t_ReceptionMst")).toString(),
              QStringLiteral("real"));

    ASSERT_EQ(db.exec(QStringLiteral("INSERT INTO tQueryReport (ReportName, ReportMemo) VALUES ('R', ?)"),
                      {QStringLiteral("0012")}),
              SQLITE_DONE);
    EXPECT_EQ(db.value(QStringLiteral("SELECT ReportMemo FROM tQueryReport")).toString(),
              QStringLiteral("0012"));
}

TEST_F(NewDatabase, AmountsAndQuantitiesDefaultToZero)
{
    // A row written without its amounts still adds up.
    struct Case { const char* table; QStringList columns; };
    const Case cases[] = {
        {"t_ReceptionMst", {"STimesAmount", "TimesAmount", "SPartsAmount", "PartsAmount", "XZhe", "CZhe",
                            "CostAmount", "ManaAmount", "tcAmount", "nsAmount", "OtherAmount",
                            "TaxAmount", "TotalAmount", "Received", "DecAmount"}},
        {"t_ReceptionDlt", {"TimeAmount"}},
        {"t_ReceptionDlt2", {"Qty", "Price", "Amount", "CostPrice"}},
        {"t_ReceptionDlt3", {"Amount"}},
        {"t_OutMst", {"Payed", "TotalAmount", "CostAmount"}},
        {"t_Outdlt", {"Qty", "Price", "Rebate", "Amount", "Costprice"}},
        {"t_Outdlt1", {"Amount"}},
        {"t_InMst", {"TotalAmount", "Payed"}},
        {"t_InDlt", {"Qty", "Costprice", "Amount"}},
        {"t_InDlt1", {"Amount"}},
        {"t_CheckMst", {"TotalAmount", "TotalQuantity"}},
        {"t_CheckDlt", {"Qty1", "Qty2", "Qty", "Costprice", "Amount"}},
        {"t_PayMst", {"TotalAmount"}},
        {"t_Paydlt", {"Amount"}},
        {"t_DayAccount", {"JAmount", "DAmount"}},
        {"t_Card", {"Amount", "MaxTime", "Useed"}},
        {"t_CardAdd", {"Balance", "Amount"}},
        {"t_Stock", {"Qty", "Price", "CostPrice"}},
    };
    for (const Case& c : cases) {
        const QString table = QString::fromUtf8(c.table);
        ASSERT_EQ(db.exec(QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table)), SQLITE_DONE) << c.table;
        for (const QString& column : c.columns) {
            const QVariant value = db.value(QStringLiteral("SELECT %1 FROM %2").arg(column, table));
            EXPECT_FALSE(value.isNull()) << c.table << "." << column.toStdString();
            EXPECT_EQ(value.toDouble(), 0.0) << c.table << "." << column.toStdString();
        }
    }
}

TEST_F(NewDatabase, UniqueIndexesRefuseDuplicateBillNumbersAndCodes)
{
    struct Case { const char* table; const char* column; const char* value; const char* sameOtherCase; };
    const Case cases[] = {
        {"t_ReceptionMst", "BillNo", "WX060305001", "wx060305001"},
        {"t_OutMst", "BillNo", "XS060305001", "xs060305001"},
        {"t_InMst", "BillNo", "GJ060305001", "gj060305001"},
        {"t_CheckMst", "BillNo", "PD060305001", "pd060305001"},
        {"t_PayMst", "BillNo", "FK-1", "fk-1"},
        {"t_OutStkMst", "BillNo", "CK1", "ck1"},
        {"tVehicle", "VIN", "IMEI35A", "imei35a"},
        {"t_Client", "CCode", "C001a", "C001A"},
        {"t_Supplier", "SCode", "S01b", "s01B"},
        {"tServiceItem", "SItemCode", "X1", "x1"},
        {"t_Stock", "ItemCode", "P-ab", "P-AB"},
        {"t_Card", "CardNo", "K9a", "k9A"},
    };
    for (const Case& c : cases) {
        const QString insert = QStringLiteral("INSERT INTO %1 (%2) VALUES (?)")
                                   .arg(QString::fromUtf8(c.table), QString::fromUtf8(c.column));
        EXPECT_EQ(db.exec(insert, {QString::fromUtf8(c.value)}), SQLITE_DONE) << c.table;
        EXPECT_EQ(db.exec(insert, {QString::fromUtf8(c.value)}), SQLITE_CONSTRAINT_UNIQUE) << c.table;
        EXPECT_EQ(db.exec(insert, {QString::fromUtf8(c.sameOtherCase)}), SQLITE_CONSTRAINT_UNIQUE) << c.table;
    }
    // Line tables repeat the bill number on every line.
    EXPECT_EQ(db.exec(QStringLiteral("INSERT INTO t_ReceptionDlt2 (BillNo) VALUES ('WX060305001')")), SQLITE_DONE);
    EXPECT_EQ(db.exec(QStringLiteral("INSERT INTO t_ReceptionDlt2 (BillNo) VALUES ('WX060305001')")), SQLITE_DONE);
}

TEST_F(NewDatabase, AdministratorHoldsEveryRight)
{
    // The rights check's own comparison: the trimmed right equals module '-' action.
    const QString check = QStringLiteral(
        "SELECT count(*) FROM t_UserDB WHERE UserCode = ? AND trim(Right) = ?");
    const QString admin = qx::app::administratorCode();
    struct Case { const char* module; const char* action; bool held; };
    const Case cases[] = {
        {"主", "工单管理", true},
        {"主", "采购管理", true},
        {"主", "报表中心", true},
        {"主", "系统设置", true},
        {"主", "销售管理", true},
        {"主", "车辆年季审", true},
        {"工单录入", "增加", true},
        {"工单录入", "改车主", true},
        {"维修结算单", "配件成本", true},
        {"入库单", "保存审核", true},
        {"库存管理", "更改配件编号", true},
        {"支付凭证管理", "取消审核", true},
        {"基本定义", "员工信息", true},
        {"统计分析", "年营业统计", true},
        {"系统设置", "操作员及权限", true},
        {"系统设置", "恢复数据", true},
        {"报表中心", "报表设置", true},
        {"报表中心", "维修历史工单别", false},
        {"工单录入", "打印", false},
    };
    for (const Case& c : cases) {
        const QString right = QString::fromUtf8(c.module) + QLatin1Char('-') + QString::fromUtf8(c.action);
        EXPECT_EQ(db.value(check, {admin, right}).toInt() > 0, c.held) << right.toStdString();
    }

    EXPECT_EQ(db.value(QStringLiteral("SELECT count(DISTINCT UserCode) FROM t_UserDB")).toInt(), 1);
    const QStringList stored = db.column(QStringLiteral("SELECT Right FROM t_UserDB ORDER BY rowid"));
    EXPECT_EQ(stored, qx::app::administratorRights());
    // Stored as the rights editor stores them: indented entries keep their blanks.
    EXPECT_TRUE(stored.contains(QStringLiteral("    工单录入-增加")));
    EXPECT_TRUE(stored.contains(QStringLiteral("        维修结算单-打印")));
}

TEST_F(NewDatabase, AdministratorPasswordIsTheHashOfTheEmptyPassword)
{
    const QStringList passwords =
        db.column(QStringLiteral("SELECT DISTINCT Password FROM t_UserDB WHERE UserCode = '高级用户'"));
    ASSERT_EQ(passwords.size(), 1);
    EXPECT_TRUE(qx::app::isPasswordHash(passwords.first()));
    EXPECT_LE(passwords.first().size(), 128);
    EXPECT_EQ(qx::app::verifyPassword(passwords.first(), QString()), qx::app::PasswordCheck::Match);
    EXPECT_EQ(qx::app::verifyPassword(passwords.first(), QStringLiteral("x")),
              qx::app::PasswordCheck::Mismatch);
}

TEST_F(NewDatabase, ShopSettingsRowTurnsStockAndBackupOn)
{
    const QList<QVariantList> rows =
        db.rows(QStringLiteral("SELECT isStock, isBackup, CorpName FROM tReportTitle"));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0][0].toInt(), 1);
    EXPECT_EQ(rows[0][1].toInt(), 1);
    EXPECT_EQ(rows[0][2].toString(), QString());
}

TEST_F(NewDatabase, CardTypesHaveThresholdsAndNumericBenefits)
{
    const QList<QVariantList> rows = db.rows(QStringLiteral(
        "SELECT CardType, Amount, Times, WashUseTime, XZhe, CZhe, Time1, Time2 FROM t_Cardtype"
        " ORDER BY rowid"));
    ASSERT_EQ(rows.size(), 3);
    double previous = 0;
    for (const QVariantList& row : rows) {
        EXPECT_FALSE(row[0].toString().isEmpty());
        EXPECT_GT(row[1].toDouble(), previous) << row[0].toString().toStdString();
        previous = row[1].toDouble();
        for (int i = 2; i < row.size(); ++i)
            EXPECT_FALSE(row[i].isNull()) << row[0].toString().toStdString() << " column " << i;
    }
}

TEST_F(NewDatabase, SavedQueryGivesTheDayAndYearMonthOfEachWorkOrder)
{
    const QString insert = QStringLiteral(
        "INSERT INTO t_ReceptionMst (BillNo, INtime, TimesAmount, PartsAmount, TotalAmount, Received)"
        " VALUES (?, ?, ?, ?, ?, ?)");
    ASSERT_EQ(db.exec(insert, {QStringLiteral("WX060305001"), QStringLiteral("2006-03-05"), 10.5, 20, 30.5, 30}), SQLITE_DONE);
    ASSERT_EQ(db.exec(insert, {QStringLiteral("WX060305002"), QStringLiteral("2006-03-05 14:20:00"), 1, 2, 3, 0}), SQLITE_DONE);
    ASSERT_EQ(db.exec(insert, {QStringLiteral("WX061101001"), QStringLiteral("2006-11-01"), 5, 5, 10, 10}), SQLITE_DONE);

    const QList<QVariantList> days = db.rows(QStringLiteral(
        "SELECT sIntime, Count(*), Sum(TotalAmount), sum(TotalAmount-Received-DecAmount)"
        " FROM V_Receiv WHERE YearMonth = 200603 GROUP BY sIntime"));
    ASSERT_EQ(days.size(), 1);
    EXPECT_EQ(days[0][0].toString(), QStringLiteral("2006-03-05"));
    EXPECT_EQ(days[0][1].toInt(), 2);
    EXPECT_DOUBLE_EQ(days[0][2].toDouble(), 33.5);
    EXPECT_DOUBLE_EQ(days[0][3].toDouble(), 3.5);

    EXPECT_EQ(db.column(QStringLiteral("SELECT YearMonth FROM V_Receiv GROUP BY YearMonth ORDER BY 1")),
              (QStringList{QStringLiteral("200603"), QStringLiteral("200611")}));
}

TEST_F(NewDatabase, DictionaryDescribesEveryTableAndColumn)
{
    // Every table and saved query has one row with a Chinese name of its own.
    EXPECT_EQ(db.value(QStringLiteral("SELECT count(*) FROM tDictMst")).toInt(),
              db.value(QStringLiteral("SELECT count(*) FROM sqlite_schema"
                                      " WHERE type IN ('table','view') AND name NOT LIKE 'sqlite%'")).toInt());
    EXPECT_EQ(db.value(QStringLiteral("SELECT count(DISTINCT CTableName) FROM tDictMst")).toInt(),
              db.value(QStringLiteral("SELECT count(*) FROM tDictMst")).toInt());

    // One row per column, in column order, with a caption unique within its table.
    int columns = 0;
    for (const QString& table : db.column(QStringLiteral("SELECT Tablename FROM tDictMst"))) {
        const QStringList names = db.column(QStringLiteral("SELECT name FROM pragma_table_info(?)"), {table});
        const QStringList listed = db.column(
            QStringLiteral("SELECT FieldName FROM tDictDlt WHERE TableName = ? ORDER BY IndexID"), {table});
        EXPECT_EQ(listed, names) << table.toStdString();
        const QStringList captions = db.column(
            QStringLiteral("SELECT CFieldName FROM tDictDlt WHERE TableName = ?"), {table});
        EXPECT_EQ(QSet<QString>(captions.begin(), captions.end()).size(), captions.size()) << table.toStdString();
        columns += names.size();
    }
    EXPECT_EQ(db.value(QStringLiteral("SELECT count(*) FROM tDictDlt")).toInt(), columns);

    // Only the type words the query designer knows, and the memo's own word.
    const QStringList words = db.column(QStringLiteral("SELECT DISTINCT FieldType FROM tDictDlt"));
    const QStringList known = {"varChar", "Text", "Int", "money", "Float", "DateTime", "Bit", "Image"};
    for (const QString& word : words)
        EXPECT_TRUE(known.contains(word)) << word.toStdString();

    // Business tables are offered to the designer, system tables are not.
    EXPECT_EQ(db.value(QStringLiteral("SELECT SysTable FROM tDictMst WHERE Tablename = 't_ReceptionMst'")).toInt(), 0);
    EXPECT_EQ(db.value(QStringLiteral("SELECT SysTable FROM tDictMst WHERE Tablename = 't_UserDB'")).toInt(), 1);
}

TEST_F(NewDatabase, DictionaryRowsCarryCaptionTypeAndWidth)
{
    struct Case { const char* table; const char* field; const char* caption; const char* type; int len; const char* dflt; };
    const Case cases[] = {
        {"t_ReceptionMst", "BillNo", "工单号", "varChar", 30, nullptr},
        {"t_ReceptionMst", "TotalAmount", "合计金额", "money", 8, "0"},
        {"t_ReceptionMst", "INtime", "送修日期", "DateTime", 8, nullptr},
        {"t_ReceptionMst", "IsSettle", "已结算", "Bit", 1, "0"},
        {"t_ReceptionDlt", "PayType", "付费方式", "varChar", 10, "客付"},
        {"t_Stock", "Qty", "库存数量", "Int", 4, "0"},
        {"t_CardAdd", "Balance", "卡余额", "Float", 8, "0"},
        {"tRctReport", "ReportData", "模板", "Image", 16, nullptr},
        {"V_Receiv", "YearMonth", "年月", "Int", 4, nullptr},
    };
    for (const Case& c : cases) {
        const QList<QVariantList> rows = db.rows(
            QStringLiteral("SELECT CFieldName, FieldType, FieldLen, DefaultValue FROM tDictDlt"
                           " WHERE TableName = ? AND FieldName = ?"),
            {QString::fromUtf8(c.table), QString::fromUtf8(c.field)});
        ASSERT_EQ(rows.size(), 1) << c.table << "." << c.field;
        EXPECT_EQ(rows[0][0].toString(), QString::fromUtf8(c.caption)) << c.field;
        EXPECT_EQ(rows[0][1].toString(), QString::fromUtf8(c.type)) << c.field;
        EXPECT_EQ(rows[0][2].toInt(), c.len) << c.field;
        if (c.dflt) {
            EXPECT_EQ(rows[0][3].toString(), QString::fromUtf8(c.dflt)) << c.field;
        } else {
            EXPECT_TRUE(rows[0][3].isNull()) << c.field;
        }
    }
}

TEST_F(NewDatabase, OperatorWithAnEmptyRightIsListedAndHoldsNothing)
{
    ASSERT_EQ(db.exec(QStringLiteral("INSERT INTO t_UserDB (UserCode, Password, Remark, Right) VALUES ('张三', NULL, NULL, '')")),
              SQLITE_DONE);
    EXPECT_EQ(db.column(QStringLiteral("Select distinct UserCode from t_UserDB ORDER BY UserCode")),
              (QStringList{QStringLiteral("张三"), QStringLiteral("高级用户")}));
    EXPECT_EQ(db.value(QStringLiteral("SELECT count(*) FROM t_UserDB WHERE UserCode = '张三' AND trim(Right) = ?"),
                       {QStringLiteral("主-工单管理")}).toInt(),
              0);
}

TEST_F(NewDatabase, PurchasesWithoutVoucherNumberAreOfferedToVouchers)
{
    const QString insert = QStringLiteral("INSERT INTO t_InMst (BillNo, BNo) VALUES (?, ?)");
    ASSERT_EQ(db.exec(insert, {QStringLiteral("GJ060305001"), QVariant()}), SQLITE_DONE);
    ASSERT_EQ(db.exec(insert, {QStringLiteral("GJ060305002"), QString()}), SQLITE_DONE);
    ASSERT_EQ(db.exec(insert, {QStringLiteral("GJ060305003"), QStringLiteral("FK-7")}), SQLITE_DONE);
    EXPECT_EQ(db.column(QStringLiteral("Select BillNo from t_inMst where BNo='' or BNo is Null ORDER BY BillNo")),
              (QStringList{QStringLiteral("GJ060305001"), QStringLiteral("GJ060305002")}));
}
