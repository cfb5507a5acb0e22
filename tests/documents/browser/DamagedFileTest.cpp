// A shop database cut short (a copy broken off, a disk that failed), also where only the work
// orders' pages at its end are missing: the start refuses it with its message before any list
// reads it, nothing crashes, and the file is left as it was for the shop to look at.
#include "tests/documents/browser/BrowserFixture.h"

#include <QFile>

namespace qx::documents::test {
namespace {

class DamagedFileTest : public BrowserTest
{
};

TEST_F(DamagedFileTest, ATruncatedDatabaseIsRefusedAtTheStart)
{
    // Many bills, so the work orders' pages lie at the end of the file.
    exec(QStringLiteral("with recursive n(i) as (select 1 union all select i + 1 from n where i < 3000) "
                        "insert into t_ReceptionMst (BillNo, BillDate, INtime, ClientEvent, TotalAmount) "
                        "select 'WY' || i, '2026-03-05', '2026-03-05', printf('%.200c', 'x'), i from n"));
    module.reset();
    QFile file(DatabasePath);
    const qint64 whole = file.size();
    ASSERT_GT(whole, 4 * 4096);
    const QByteArray content = [&] {
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }();
    file.close();
    for (const qint64 keep : {qint64(100), qint64(4096 + 100), whole / 2, whole - 4096}) {
        SCOPED_TRACE(keep);
        dialogs().clear();
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(content.left(keep)), keep);
        file.close();
        module = std::make_unique<TdmdataUnit>();
        dialogs().answerMessage(qx::mrOk);
        EXPECT_EQ(module->DataModuleCreate(), TdmdataUnit::orConnectFailed);
        EXPECT_EQ(dialogs().messages(), QStringList{"连接失败,请重新设置数据连接！"});
        module.reset();
        EXPECT_EQ(QFileInfo(DatabasePath).size(), keep);
    }
    // The test's own tear-down needs a data module.
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
    file.close();
    module = std::make_unique<TdmdataUnit>();
    ASSERT_EQ(module->DataModuleCreate(), TdmdataUnit::orConnected);
}

} // namespace
} // namespace qx::documents::test
