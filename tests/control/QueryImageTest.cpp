// Stored query definitions: the bytes of the image, round trips through the report table and
// through template files, and images that carry more than this version writes or are damaged.
#include "QueryTestSupport.h"

#include "platform/env/ScriptedDialogService.h"
#include "platform/rtl/Exceptions.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/ReadOnlyFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qxtest;

namespace {

const QString kNoReportTable = QStringLiteral("请设置报表的数据存储表！");

QByteArray readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// A long statement of plain characters: stored with a 4-byte length.
const QByteArray kLongSql = "select BillNo, Amount from tRepair where " + QByteArray(300, 'x');

// A small definition with one item in each list, and its image byte by byte.
void fillSmall(TQxQueryControl& q, TDataSet* reportData)
{
    q.setObjectName(QStringLiteral("QxQueryControl1"));
    auto* d = q.DataSections()->Add();
    d->SetFieldName(QStringLiteral("Amount"));
    d->SetTitleLen(70000);
    d->SetVisible(true);
    d->SetIsMoney(true);
    auto* f = q.FieldSections()->Add();
    f->SetFieldName(QStringLiteral("BillNo"));
    f->SetCFieldName(QStringLiteral("单号"));
    f->SetTableName(QStringLiteral("tRepair"));
    f->SetCTableName(QStringLiteral("维修单"));
    f->SetVisible(true); // FieldType stays empty: not written
    auto* c = q.CalcFieldSections()->Add();
    c->SetFieldName(QStringLiteral("Net"));
    c->SetExpression(QStringLiteral("[计算.Amount]*2"));
    auto* j = q.JoinSections()->Add();
    j->SetSTableName(QStringLiteral("维修单"));
    j->SetSFieldName(QStringLiteral("单号"));
    j->SetDTableName(QStringLiteral("配件"));
    j->SetDFieldName(QStringLiteral("单号"));
    j->SetLogicChar(QStringLiteral("等于"));
    auto* k = q.Conditions()->Add();
    k->SetFieldName(QStringLiteral("日期"));
    k->SetTableName(QStringLiteral("维修单"));
    k->SetOperateChar(QStringLiteral("大于"));
    k->SetLogicalChar(QStringLiteral("结束"));
    k->SetFieldValue(QStringLiteral("Today"));
    q.SetTableNameList({QStringLiteral("维修单"), QStringLiteral("Parts")});
    auto* s = q.SumFieldSections()->Add();
    s->SetFieldName(QStringLiteral("金额"));
    s->SetTableName(QStringLiteral("维修单"));
    s->SetFieldValue(QStringLiteral("合计"));
    q.SetReportData(reportData);
    q.SetQueryIndex(1);
    auto* p = q.SQLConditions()->Add();
    p->SetFieldName(QStringLiteral("@@Date"));
    p->SetCFieldName(QStringLiteral("日期"));
    p->SetFieldType(QStringLiteral("DateTime"));
    p->SetParName(QStringLiteral("Date>=:Date"));
    q.SetAnalyzerSQL(QString::fromLatin1(kLongSql));
    q.SetJCKeyfields(QStringLiteral("BillNo"));
    q.SetJCResultField(QStringLiteral("Amount"));
    q.SetJCSum(true);
    q.SetJCType(2);
    auto* gs = q.GroupSumSections()->Add();
    gs->SetFieldName(QStringLiteral("Amount"));
    gs->SetSumType(QStringLiteral("Sum"));
    auto* g = q.GroupFieldSections()->Add();
    g->SetFieldName(QStringLiteral("Worker"));
    g->SetCFieldName(QStringLiteral("Worker"));
    g->SetdisFieldName(QStringLiteral("BillNo"));
    g->SetCdisFieldName(QStringLiteral("BillNo"));
    g->SetPreFix(QStringLiteral("维修工:"));
    g->SetFieldLen(300);
    auto* x = q.JCSections()->Add();
    x->SetJCName(QStringLiteral("Cash"));
    x->SetJCCondition(QStringLiteral("PayType='现金'"));
    x->SetJCResult(QStringLiteral("Amount"));
    auto* call = q.CallSections()->Add();
    call->SetCallName(QStringLiteral("明细"));
    call->SetCallType(QStringLiteral("子报表"));
    call->SetSCondition(QStringLiteral("BillNo"));
    call->SetDCondition(QStringLiteral("@@BillNo"));
}

QByteArray smallImageProperties()
{
    const auto w = [](const char* utf8) { return wideStr(QString::fromUtf8(utf8)); };
    return prop("DataSections", collection({prop("FieldName", str("Amount")) + prop("TitleLen", int32(70000))
                                            + prop("Visible", boolean(true)) + prop("IsMoney", boolean(true))}))
           + prop("FieldSections", collection({prop("FieldName", str("BillNo")) + prop("CFieldName", w("单号"))
                                               + prop("TableName", str("tRepair")) + prop("CTableName", w("维修单"))
                                               + prop("Visible", boolean(true))}))
           + prop("CalcFieldSections",
                  collection({prop("FieldName", str("Net")) + prop("Expression", w("[计算.Amount]*2"))}))
           + prop("JoinSections", collection({prop("STableName", w("维修单")) + prop("SFieldName", w("单号"))
                                              + prop("DTableName", w("配件")) + prop("DFieldName", w("单号"))
                                              + prop("LogicChar", w("等于"))}))
           + prop("Conditions", collection({prop("FieldName", w("日期")) + prop("TableName", w("维修单"))
                                            + prop("OperateChar", w("大于")) + prop("LogicalChar", w("结束"))
                                            + prop("FieldValue", str("Today"))}))
           + prop("TableNameList.Strings", QByteArray("\x01") + w("维修单") + str("Parts") + '\0')
           + prop("SumFieldSections", collection({prop("FieldName", w("金额")) + prop("TableName", w("维修单"))
                                                  + prop("FieldValue", w("合计"))}))
           + prop("ReportData", ident("QryReport"))
           + prop("QueryIndex", int8(1))
           + prop("SQLConditions", collection({prop("FieldName", str("@@Date")) + prop("CFieldName", w("日期"))
                                               + prop("FieldType", str("DateTime"))
                                               + prop("ParName", str("Date>=:Date"))}))
           + prop("AnalyzerSQL", longStr(kLongSql))
           + prop("JCKeyfields", str("BillNo"))
           + prop("JCResultField", str("Amount"))
           + prop("JCSum", boolean(true))
           + prop("JCType", int8(2))
           + prop("GroupSumSections", collection({prop("FieldName", str("Amount")) + prop("SumType", str("Sum"))}))
           + prop("GroupFieldSections",
                  collection({prop("FieldName", str("Worker")) + prop("CFieldName", str("Worker"))
                              + prop("disFieldName", str("BillNo")) + prop("CdisFieldName", str("BillNo"))
                              + prop("PreFix", w("维修工:")) + prop("FieldLen", int16(300))}))
           + prop("GSSum", boolean(false))
           + prop("JCSections", collection({prop("JCName", str("Cash")) + prop("JCCondition", w("PayType='现金'"))
                                            + prop("JCResult", str("Amount"))}))
           + prop("CallSections", collection({prop("CallName", w("明细")) + prop("CallType", w("子报表"))
                                              + prop("SCondition", str("BillNo"))
                                              + prop("DCondition", str("@@BillNo"))}));
}

// The blob of a report row: one image, then the end of the list.
QByteArray smallBlob() { return image("TQxQueryControl", "QxQueryControl1", smallImageProperties()) + '\0'; }

class QueryImage : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dialogs = qx::ScriptedDialogService::current();
        ASSERT_TRUE(dialogs);
        dialogs->clear();
        table = makeReportTable();
    }
    void TearDown() override
    {
        EXPECT_EQ(dialogs->unexpected(), 0);
        EXPECT_EQ(dialogs->pending(), 0);
    }

    qx::ScriptedDialogService* dialogs = nullptr;
    std::unique_ptr<TQxMemTable> table;
    QTemporaryDir dir;
};

} // namespace

TEST_F(QueryImage, ImageHoldsTheNameAndTheDefinitionInOrder)
{
    TQxQueryControl q;
    fillSmall(q, table.get());
    // The memory table's own state is no part of the definition.
    q.SetTag(7);
    q.SetReadOnly(true);
    q.SaveToReportData();
    EXPECT_EQ(reportBlob(*table), smallBlob());

    const QString file = dir.filePath(QStringLiteral("维修明细.QXE"));
    q.SaveToFile(file);
    EXPECT_EQ(readFile(file), smallBlob());
}

TEST_F(QueryImage, EmptyDefinitionWritesIntegersBooleansAndEmptyLists)
{
    TQxQueryControl q;
    q.setObjectName(QStringLiteral("Q"));
    q.SetReportData(table.get());
    table->setObjectName(QString()); // a dataset without a name cannot be referred to
    q.SaveToReportData();
    const QByteArray none = collection({});
    const QByteArray props = prop("DataSections", none) + prop("FieldSections", none)
                             + prop("CalcFieldSections", none) + prop("JoinSections", none)
                             + prop("Conditions", none) + prop("SumFieldSections", none)
                             + prop("QueryIndex", int8(0)) + prop("SQLConditions", none)
                             + prop("JCSum", boolean(false)) + prop("JCType", int8(0))
                             + prop("GroupSumSections", none) + prop("GroupFieldSections", none)
                             + prop("GSSum", boolean(false)) + prop("JCSections", none)
                             + prop("CallSections", none);
    EXPECT_EQ(reportBlob(*table), image("TQxQueryControl", "Q", props) + '\0');
}

TEST_F(QueryImage, HandMadeImageLoads)
{
    setReportBlob(*table, smallBlob());
    TQxQueryControl want;
    fillSmall(want, table.get());
    TQxQueryControl got;
    got.SetReportData(table.get());
    got.LoadFromReportData();
    // A loaded group-sum item never takes SumType over.
    want.GroupSumSections()->Items(0)->SetSumType(QString());
    expectSameValues(&want, &got);
    // The component read from the image is gone once its definition is copied.
    EXPECT_TRUE(got.findChildren<TQxQueryControl*>().isEmpty());
}

TEST_F(QueryImage, RoundTripThroughTheReportTable)
{
    TQxQueryControl saved;
    fillDefinition(saved, QStringLiteral("甲"), table.get());
    saved.SaveToReportData();
    EXPECT_EQ(table->RecordCount(), 1);
    EXPECT_EQ(table->State(), dsBrowse);

    TQxQueryControl loaded;
    fillDefinition(loaded, QStringLiteral("乙"), nullptr); // replaced whole by the load
    loaded.SetReportData(table.get());
    loaded.LoadFromReportData();
    expectSameValues(&saved, &loaded, {}, {QStringLiteral("TGroupSumSection.SumType")});
    for (int i = 0; i < loaded.GroupSumSections()->Count(); ++i)
        EXPECT_EQ(loaded.GroupSumSections()->Items(i)->SumType(), QString());

    // Saving again replaces the whole blob: a shorter definition leaves nothing of the longer.
    TQxQueryControl small;
    fillSmall(small, table.get());
    small.SaveToReportData();
    EXPECT_EQ(reportBlob(*table), smallBlob());
}

TEST_F(QueryImage, SavingIntoAnEmptyReportTableMakesItsRow)
{
    auto empty = makeReportTable(false);
    TQxQueryControl q;
    fillSmall(q, empty.get());
    q.SaveToReportData();
    ASSERT_EQ(empty->RecordCount(), 1);
    EXPECT_EQ(reportBlob(*empty), smallBlob());

    // A row being inserted by the caller is written as it is and posted.
    empty->Append();
    empty->FieldByName(QStringLiteral("ReportName"))->SetAsString(QStringLiteral("新报表"));
    q.SaveToReportData();
    EXPECT_EQ(empty->RecordCount(), 2);
    EXPECT_EQ(empty->FieldByName(QStringLiteral("ReportName"))->AsString(), QStringLiteral("新报表"));
    EXPECT_EQ(reportBlob(*empty), smallBlob());
}

TEST_F(QueryImage, RoundTripThroughAFile)
{
    TQxQueryControl saved;
    fillDefinition(saved, QStringLiteral("Z"), table.get());
    const QString file = dir.filePath(QStringLiteral("报表.QXE"));
    saved.SaveToFile(file);

    TQxQueryControl loaded;
    fillDefinition(loaded, QStringLiteral("Y"), nullptr);
    loaded.LoadFromFile(file);
    expectSameValues(&saved, &loaded, {},
                     {QStringLiteral("TGroupSumSection.SumType"), QStringLiteral("TQxQueryControl.ReportData")});
    EXPECT_EQ(loaded.ReportData(), nullptr); // never taken from an image

    // A file and a blob hold the same image.
    saved.SaveToReportData();
    EXPECT_EQ(readFile(file), reportBlob(*table));
}

TEST_F(QueryImage, MissingFileLoadsAnEmptyDefinition)
{
    TQxQueryControl q;
    fillDefinition(q, QStringLiteral("1"), nullptr);
    q.LoadFromFile(dir.filePath(QStringLiteral("nothing.QXE")));
    EXPECT_EQ(q.FieldSections()->Count(), 0);
    EXPECT_TRUE(q.TableNameList().isEmpty());
    EXPECT_EQ(q.QueryIndex(), 0);
}

TEST_F(QueryImage, FailedSaveLeavesTheOldFileWhole)
{
    const QString folder = dir.filePath(QStringLiteral("locked"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString file = folder + QStringLiteral("/报表.QXE");
    writeFile(file, "old image");
    TQxQueryControl q;
    fillSmall(q, nullptr);
    {
        ReadOnlyFolder locked(folder);
        if (!locked.ok())
            GTEST_SKIP() << "cannot make the folder read-only here";
        EXPECT_THROW(q.SaveToFile(file), EInOutError);
    }
    EXPECT_EQ(readFile(file), QByteArray("old image"));
}

// A disk that fills up part way through the save: the save says so, the file there before keeps
// every byte, and nothing is left beside it.
TEST_F(QueryImage, SaveOntoAFullDiskLeavesTheOldFileWhole)
{
    const QString folder = dir.filePath(QStringLiteral("full"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString file = folder + QStringLiteral("/报表.QXE");
    TQxQueryControl q;
    fillDefinition(q, QStringLiteral("1"), nullptr);
    q.SaveToFile(file);
    const QByteArray whole = readFile(file);
    ASSERT_GT(whole.size(), 16);
    for (const qint64 limit : {qint64(0), qint64(whole.size() / 2), qint64(whole.size() - 1)}) {
        SCOPED_TRACE(limit);
        writeFile(file, "old image");
        {
            qxtest::FileSizeLimit full{rlim_t(limit)};
            ASSERT_TRUE(full.ok());
            EXPECT_THROW(q.SaveToFile(file), EInOutError);
        }
        EXPECT_EQ(readFile(file), QByteArray("old image"));
        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("报表.QXE")});
    }
    q.SaveToFile(file);
    EXPECT_EQ(readFile(file), whole);
}

TEST_F(QueryImage, NullBlobLoadsAnEmptyDefinitionWithoutAMessage)
{
    TQxQueryControl q;
    fillDefinition(q, QStringLiteral("1"), nullptr);
    q.SetGSSum(true);
    q.SetReportData(table.get());
    q.LoadFromReportData();
    EXPECT_EQ(q.FieldSections()->Count(), 0);
    EXPECT_EQ(q.CallSections()->Count(), 0);
    EXPECT_TRUE(q.AnalyzerSQL().isEmpty());
    EXPECT_TRUE(dialogs->shown().isEmpty());
}

TEST_F(QueryImage, WithoutAnOpenReportTableNothingIsReadOrWritten)
{
    TQxQueryControl q;
    fillDefinition(q, QStringLiteral("1"), nullptr);

    dialogs->answerMessage(qx::mrOk);
    q.LoadFromReportData(); // no report table at all
    EXPECT_EQ(q.FieldSections()->Count(), 0);

    fillDefinition(q, QStringLiteral("2"), table.get());
    table->Close();
    dialogs->answerMessage(qx::mrOk);
    q.SaveToReportData();
    dialogs->answerMessage(qx::mrOk);
    q.LoadFromReportData();
    EXPECT_EQ(q.FieldSections()->Count(), 0);
    EXPECT_EQ(dialogs->messages(), QStringList({kNoReportTable, kNoReportTable, kNoReportTable}));
}

TEST_F(QueryImage, ImagesCarryingMoreStillLoad)
{
    // Result fields as children, values of the memory table and of items this version does
    // not know, and the tail of an older, longer image after the end of the list.
    const QByteArray unknownItem = prop("FieldName", str("BillNo")) + prop("Width", int8(5))
                                   + prop("CFieldName", wideStr(QString::fromUtf8("单号")))
                                   + prop("Visible", boolean(true));
    const QByteArray props =
        prop("Version", str("5.50")) + prop("FieldDefs", collection({prop("Name", str("BillNo"))}))
        + prop("SortOptions", QByteArray("\x0B") + shortBytes("mtcoDescending") + '\0')
        + prop("FieldSections", collection({unknownItem})) + prop("QueryIndex", int8(1))
        + prop("AnalyzerSQL", str("select * from tRepair")) + prop("ReportData", ident("Somewhere"))
        + prop("Ratio", QByteArray("\x05") + QByteArray(10, '\0'));
    const QByteArray children =
        child("TStringField", "QxQueryControl1BillNo", prop("FieldName", str("BillNo")) + prop("Size", int8(20)))
        + child("TCurrencyField", "QxQueryControl1Amount",
                prop("FieldName", str("Amount")) + prop("DisplayLabel", wideStr(QString::fromUtf8("金额"))))
        + child("TBytesField", "QxQueryControl1Raw", prop("FieldName", str("Raw")));
    setReportBlob(*table, image("TQxQueryControl", "QxQueryControl1", props, children) + '\0'
                              + QByteArray("TPF0\x0FTQxQueryControl older tail", 34));

    TQxQueryControl q;
    q.SetReportData(table.get());
    q.LoadFromReportData();
    ASSERT_EQ(q.FieldSections()->Count(), 1);
    EXPECT_EQ(q.FieldSections()->Items(0)->FieldName(), QStringLiteral("BillNo"));
    EXPECT_EQ(q.FieldSections()->Items(0)->CFieldName(), QStringLiteral("单号"));
    EXPECT_TRUE(q.FieldSections()->Items(0)->Visible());
    EXPECT_EQ(q.QueryIndex(), 1);
    EXPECT_EQ(q.AnalyzerSQL(), QStringLiteral("select * from tRepair"));
    EXPECT_EQ(q.ReportData(), table.get());
    // The fields read went with the component that carried them.
    EXPECT_TRUE(q.findChildren<TField*>().isEmpty());
    EXPECT_TRUE(q.findChildren<TQxQueryControl*>().isEmpty());
    EXPECT_FALSE(q.Active());
}

TEST_F(QueryImage, DamagedImagesEndInTheReadError)
{
    const QByteArray good = smallBlob();
    const QList<QByteArray> damaged = {
        good.left(good.size() / 2),                                          // cut short
        "XPF0" + good.mid(4),                                                // no signature
        image("TQxQueryControl", "Q", prop("QueryIndex", str("one"))) + '\0', // wrong kind of value
        image("TQxQueryControl", "Q", prop("FieldSections", int8(1))) + '\0',
        image("TNoSuchClass", "Q", {}) + '\0',
        image("TQxQueryControl", "Q", {}, child("TNoSuchField", "F", {})) + '\0',
        // the memory table's own state refers to nothing a definition has
        image("TQxQueryControl", "Q", prop("Active", boolean(true))) + '\0',
        image("TQxQueryControl", "Q", prop("IndexName", str("ByNo"))) + '\0',
        image("TQxQueryControl", "Q", prop("Filter", str("((("))) + '\0',
    };
    for (int i = 0; i < damaged.size(); ++i) {
        SCOPED_TRACE(i);
        setReportBlob(*table, damaged[i]);
        TQxQueryControl q;
        fillDefinition(q, QStringLiteral("1"), nullptr);
        q.SetReportData(table.get());
        EXPECT_THROW(q.LoadFromReportData(), EReadError);
        EXPECT_EQ(q.FieldSections()->Count(), 0);
        EXPECT_TRUE(q.findChildren<TQxQueryControl*>().isEmpty());

        const QString file = dir.filePath(QStringLiteral("damaged.QXE"));
        writeFile(file, damaged[i]);
        EXPECT_THROW(q.LoadFromFile(file), EReadError);
    }
    const QString empty = dir.filePath(QStringLiteral("empty.QXE"));
    writeFile(empty, QByteArray());
    TQxQueryControl q;
    EXPECT_THROW(q.LoadFromFile(empty), EReadError);
}
