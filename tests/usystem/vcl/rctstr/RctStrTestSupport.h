// A library data module whose two connections share one fresh database file holding the
// structure table tRctStr, a parts table and a bill-lines table, and a bill-lines structure
// stored under the code "RBillItem".
#pragma once

#include "platform/db/Fields.h"
#include "platform/env/ScriptedDialogService.h"
#include "usystem/vcl/ado/uDMDataBase.h"
#include "usystem/vcl/rctstr/uQxRctStr.h"
#include "tests/support/LibraryDataModule.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

class StructureDatabase : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_EQ(dmDatabase, nullptr);
        const QString file = dir.filePath(QStringLiteral("Account.mdb"));
        dm = qxtest::openLibraryDataModule(file);
        dm->conSystem->Execute(QStringLiteral(
            "CREATE TABLE tRctStr (RctCode TEXT(30) COLLATE NOCASE, RctName TEXT(40) COLLATE NOCASE,"
            " Description TEXT(50) COLLATE NOCASE, RctData BLOB);"
            "CREATE UNIQUE INDEX ux_RctStr_RctCode ON tRctStr (RctCode);"
            "CREATE TABLE tMaterial (ItemCode TEXT(20) COLLATE NOCASE, ItemName TEXT(40) COLLATE NOCASE,"
            " Model TEXT(20) COLLATE NOCASE, Price MONEY);"
            "INSERT INTO tMaterial VALUES ('A1', '屏幕', 'N70', 120), ('O''K', '电池', 'N73', 35.5),"
            " ('B2', '外壳', 'N70', 1234.5);"
            "CREATE TABLE tBillItem (BillNo TEXT(20) COLLATE NOCASE NOT NULL, ItemIndex INTEGER,"
            " ItemCode TEXT(20) COLLATE NOCASE, ItemName TEXT(40) COLLATE NOCASE, Qty INTEGER,"
            " Price MONEY, InDate DATETIME, Paid YESNO);"
            "INSERT INTO tBillItem VALUES ('B001', 1, 'A1', '屏幕', 1, 120, '2026-01-05', 0),"
            " ('B001', 2, 'B2', '外壳', 2, 1234.5, '2026-01-05', 1),"
            " ('B002', 1, 'O''K', '电池', 3, 35.5, '2026-01-06', 0)"));
        scripted = qx::ScriptedDialogService::current();
        ASSERT_NE(scripted, nullptr);
        scripted->clear();
    }

    void TearDown() override
    {
        EXPECT_EQ(scripted->unexpected(), 0);
        EXPECT_EQ(scripted->pending(), 0);
        dm.reset();
        EXPECT_EQ(dmDatabase, nullptr);
    }

    static TMstSection* define(TQxRctStr& s, const QString& field, const QString& caption,
                               bool visible = true)
    {
        TMstSection* d = s.MstSections()->Add();
        d->SetFieldName(field);
        d->SetCFieldName(caption);
        d->SetVisible(visible);
        return d;
    }

    // The bill-lines structure: every column of tBillItem, the item name filled from the
    // item code, the line date defaulting to today, one search condition.
    static void describeBillItems(TQxRctStr& s)
    {
        s.SetSQLMstSQL(QStringLiteral(
            "Select BillNo, ItemIndex, ItemCode, ItemName, Qty, Price, InDate, Paid From tBillItem"));
        s.SetGenMstSQL(QStringLiteral("select * from tBillItem"));
        s.SetMstTableName(QStringLiteral("tBillItem"));
        s.SetMstCondition(QStringLiteral("BillNo=:BillNo"));
        s.SetConditionRemark(QStringLiteral("按单号"));
        define(s, QStringLiteral("BillNo"), QStringLiteral("单号"))->SetCanNull(false);
        define(s, QStringLiteral("ItemIndex"), QStringLiteral("序号"));
        TMstSection* code = define(s, QStringLiteral("ItemCode"), QStringLiteral("编号"));
        code->SetTableName(QStringLiteral("tMaterial[ItemCode]"));
        code->SetActionType(QStringLiteral("BMaterial"));
        define(s, QStringLiteral("ItemName"), QStringLiteral("名称"))
            ->SetLookupKey(QStringLiteral("ItemCode[ItemName]"));
        define(s, QStringLiteral("Qty"), QStringLiteral("数量"))->SetDefaultValue(QStringLiteral("'1'"));
        define(s, QStringLiteral("Price"), QStringLiteral("单价"))->SetLookupKey(QStringLiteral("ItemCode"));
        define(s, QStringLiteral("InDate"), QStringLiteral("日期"))->SetDefaultValue(QStringLiteral("系统时间"));
        define(s, QStringLiteral("Paid"), QStringLiteral("已付"))->SetDefaultValue(QStringLiteral("True"));
        TFindsection* f = s.FindSections()->Add();
        f->SetFieldName(QStringLiteral("BillNo"));
        f->SetCFieldName(QStringLiteral("单号"));
        f->SetTableName(QStringLiteral("tBillItem"));
        f->SetOperateChar(QStringLiteral("等于"));
        f->SetFieldType(QStringLiteral("Varchar"));
    }

    // Stores s under code in tRctStr (the row is made first: a save never creates one).
    void store(const QString& code, TQxRctStr& s)
    {
        dm->conSystem->Execute(QStringLiteral("INSERT INTO tRctStr (RctCode, RctName) VALUES (:c, :c)"),
                               QVariantMap{{QStringLiteral("c"), code}});
        s.SaveByCode(code);
    }

    void storeBillItems()
    {
        TQxRctStr s;
        describeBillItems(s);
        store(QStringLiteral("RBillItem"), s);
    }

    int count(const QString& sqlCount)
    {
        TQxADOQuery q;
        q.SetConnection(dm->conBusiness);
        q.SQL().SetText(sqlCount);
        q.Open();
        return q.Fields()->Fields(0)->AsInteger();
    }

    QTemporaryDir dir;
    std::unique_ptr<TdmDatabase> dm;
    qx::ScriptedDialogService* scripted = nullptr;
};
