// "生成拼音五笔码": the input codes of parts and repair items from a small fixture dictionary,
// the rows it leaves alone, the missing dictionary, and a database error that rolls the whole
// walk back.
#include "SettingsFixture.h"

#include "app/settings/InputCodes.h"
#include "app/settings/uADict.h"
#include "platform/rtl/Gbk.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/foundation/ImeDictionary.h"

#include <QFile>

namespace qx::app::test {

class InputCodesTest : public SettingsTest
{
protected:
    void SetUp() override
    {
        SettingsTest::SetUp();
        CurrentUser = QStringLiteral("高级用户");
    }

    // A dictionary line: the character, its wubi letter in byte column 7, its stroke letter in
    // 13 and its pinyin initial in 37.
    static QByteArray imeLine(const char* ch, char wb, char wbh, char py)
    {
        QByteArray l(40, ' ');
        l.replace(0, 2, qx::toGbk(QString::fromUtf8(ch)));
        l[6] = wb;
        l[12] = wbh;
        l[36] = py;
        return l + "\r\n";
    }

    void writeDictionary()
    {
        QFile f(database.filePath(QStringLiteral("Ime.DCT")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        const QByteArray bytes = imeLine("屏", 'N', 'Z', 'P') + imeLine("幕", 'A', 'H', 'M')
                                 + imeLine("电", 'J', 'S', 'D') + imeLine("池", 'I', 'N', 'C')
                                 + imeLine("贴", 'M', 'H', 'T') + imeLine("膜", 'E', 'P', 'M');
        ASSERT_EQ(f.write(bytes), bytes.size());
    }

    void addPart(const QString& code, const QVariant& name, const QVariant& py = QVariant(),
                 const QVariant& wbh = QVariant(), const QVariant& wb = QVariant())
    {
        exec(QStringLiteral("insert into t_Stock (ItemCode, ItemName, PY, WBH, WB) values (:c, :n, :p, :h, :w)"),
             {{QStringLiteral("c"), code}, {QStringLiteral("n"), name}, {QStringLiteral("p"), py},
              {QStringLiteral("h"), wbh}, {QStringLiteral("w"), wb}});
    }

    void addItem(const QString& code, const QVariant& name)
    {
        exec(QStringLiteral("insert into tServiceItem (SItemCode, SItemName) values (:c, :n)"),
             {{QStringLiteral("c"), code}, {QStringLiteral("n"), name}});
    }

    // "PY/WBH/WB" of a row; a null code reads "-".
    QString codesOf(const QString& table, const QString& keyColumn, const QString& key)
    {
        const QString value = scalar(QStringLiteral("select ifnull(PY, '-') || '/' || ifnull(WBH, '-') || '/' "
                                                     "|| ifnull(WB, '-') from ")
                                         + table + QStringLiteral(" where ") + keyColumn + QStringLiteral(" = :k"),
                                     {{QStringLiteral("k"), key}});
        return value;
    }
    QString partCodes(const QString& code) { return codesOf(QStringLiteral("t_Stock"), QStringLiteral("ItemCode"), code); }
    QString itemCodes(const QString& code)
    {
        return codesOf(QStringLiteral("tServiceItem"), QStringLiteral("SItemCode"), code);
    }

    // Presses "生成拼音五笔码" and answers the message it shows.
    void makeCodes()
    {
        TFrmSystemSetup* form = showForm(new TFrmSystemSetup);
        dialogs().answerMessage(mrOk);
        click(form->BtnMakeCodes);
        delete form;
    }
};

TEST_F(InputCodesTest, CodesComeFromTheDictionary)
{
    writeDictionary();
    addPart(QStringLiteral("P1"), QStringLiteral("屏幕"));
    addPart(QStringLiteral("P2"), QStringLiteral("iPhone屏幕总成"));
    addPart(QStringLiteral("P3"), QStringLiteral("电池"), QStringLiteral("XX"), QStringLiteral("YY"), QStringLiteral("ZZ"));
    addPart(QStringLiteral("P4"), QVariant());
    addPart(QStringLiteral("P5"), QStringLiteral("总成"));
    addPart(QStringLiteral("P6"), QStringLiteral("电池"), QString());
    addItem(QStringLiteral("S1"), QStringLiteral("贴膜"));
    addItem(QStringLiteral("S2"), QString());
    makeCodes();
    EXPECT_EQ(dialogs().messages(), QStringList{QStringLiteral("生成成功!")});

    const struct
    {
        const char* part;
        const char* codes;
    } cases[] = {
        {"P1", "PM/ZH/NA"}, // two characters, two letters each
        {"P2", "PM/ZH/NA"}, // letters and characters outside the dictionary add nothing
        {"P3", "XX/YY/ZZ"}, // a filled PY keeps every code, even for another name
        {"P4", "-/-/-"},    // no name
        {"P5", "-/-/-"},    // no character in the dictionary: tried again next time
        {"P6", "DC/SN/JI"}, // an empty PY counts as none
    };
    for (const auto& c : cases)
        EXPECT_EQ(partCodes(QString::fromUtf8(c.part)), QString::fromUtf8(c.codes)) << c.part;
    EXPECT_EQ(itemCodes(QStringLiteral("S1")), QStringLiteral("TM/HP/ME"));
    EXPECT_EQ(itemCodes(QStringLiteral("S2")), QStringLiteral("-/-/-"));
    EXPECT_FALSE(module->QryTemp->Active());
}

TEST_F(InputCodesTest, WithoutTheDictionaryNothingIsWritten)
{
    addPart(QStringLiteral("P1"), QStringLiteral("屏幕"));
    addItem(QStringLiteral("S1"), QStringLiteral("贴膜"));
    for (const bool emptyFile : {false, true}) {
        SCOPED_TRACE(emptyFile);
        dialogs().clear();
        if (emptyFile) {
            QFile f(database.filePath(QStringLiteral("Ime.DCT")));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        }
        makeCodes();
        EXPECT_EQ(dialogs().messages(), QStringList{QStringLiteral("没有找到Ime.DCT文件，不能生成拼音五笔码!")});
        EXPECT_EQ(partCodes(QStringLiteral("P1")), QStringLiteral("-/-/-"));
        EXPECT_EQ(itemCodes(QStringLiteral("S1")), QStringLiteral("-/-/-"));
    }
}

// A database error part-way rolls back every row of the walk, the parts written before the
// failing repair item among them; once the cause is gone the next run writes them all.
TEST_F(InputCodesTest, ADatabaseErrorRollsTheWalkBack)
{
    writeDictionary();
    addPart(QStringLiteral("P1"), QStringLiteral("屏幕"));
    addItem(QStringLiteral("S1"), QStringLiteral("贴膜"));
    exec(QStringLiteral("create trigger refuse_codes before update on tServiceItem "
                        "begin select raise(abort, '项目表已锁定'); end"));
    makeCodes();
    ASSERT_EQ(dialogs().messages().size(), 1);
    EXPECT_TRUE(dialogs().messages()[0].contains(QStringLiteral("项目表已锁定"))) << dialogs().messages()[0].toStdString();
    EXPECT_EQ(partCodes(QStringLiteral("P1")), QStringLiteral("-/-/-"));
    EXPECT_FALSE(module->ADOConnection->InTransaction());
    EXPECT_FALSE(module->QryTemp->Active());

    exec(QStringLiteral("drop trigger refuse_codes"));
    dialogs().clear();
    makeCodes();
    EXPECT_EQ(dialogs().messages(), QStringList{QStringLiteral("生成成功!")});
    EXPECT_EQ(partCodes(QStringLiteral("P1")), QStringLiteral("PM/ZH/NA"));
    EXPECT_EQ(itemCodes(QStringLiteral("S1")), QStringLiteral("TM/HP/ME"));
}

// At most the first 100,000 parts, by number, are looked at in one run.
TEST_F(InputCodesTest, OneRunTreatsAtMostTheRowLimit)
{
    writeDictionary();
    exec(QStringLiteral("with recursive n(i) as (select 1 union all select i + 1 from n where i < :last) "
                        "insert into t_Stock (ItemCode, ItemName, PY) select 'P' || i, '电池', "
                        "case when i <= :last - 2 then 'X' end from n"),
         {{QStringLiteral("last"), kInputCodeRowLimit + 1}});
    const ImeDictionary dictionary = ImeDictionary::fromBytes(imeLine("电", 'J', 'S', 'D') + imeLine("池", 'I', 'N', 'C'));
    EXPECT_EQ(fillInputCodes(*module->QryTemp, dictionary), 1);
    EXPECT_EQ(partCodes(QStringLiteral("P%1").arg(kInputCodeRowLimit)), QStringLiteral("DC/SN/JI"));
    EXPECT_EQ(partCodes(QStringLiteral("P%1").arg(kInputCodeRowLimit + 1)), QStringLiteral("-/-/-"));
}

} // namespace qx::app::test
