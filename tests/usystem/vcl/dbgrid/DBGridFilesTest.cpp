// Column layout files: the bytes of a saved layout, loading it into another grid, damaged
// files that leave the columns alone, and saves that fail without harming the old file.
#include <gtest/gtest.h>

#include "DBGridTestSupport.h"
#include "platform/rtl/Exceptions.h"
#include "tests/support/ReadOnlyFolder.h"
#include "tests/support/SaveFault.h"
#include "tests/support/SmallFileSystem.h"
#include "usystem/vcl/dbgrid/uQxDBGridFiles.h"

#include <QBuffer>
#include <QDir>
#include <QMenu>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// ---- the image, spelled out byte by byte -----------------------------------------------------

QByteArray shortBytes(const QByteArray& s)
{
    return char(s.size()) + s;
}
QByteArray prop(const QByteArray& name)
{
    return shortBytes(name);
}
QByteArray ident(const QByteArray& s)
{
    return '\x07' + shortBytes(s);
}
QByteArray asciiString(const QByteArray& s)
{
    return '\x06' + shortBytes(s);
}
QByteArray le(quint32 v, int bytes)
{
    QByteArray out;
    for (int i = 0; i < bytes; ++i)
        out += char((v >> (8 * i)) & 0xFF);
    return out;
}
QByteArray wideString(const QString& s)
{
    QByteArray out = '\x12' + le(quint32(s.size()), 4);
    for (QChar c : s)
        out += le(c.unicode(), 2);
    return out;
}
QByteArray int8(int v)
{
    return QByteArray("\x02", 1) + char(v);
}
QByteArray int16(int v)
{
    return QByteArray("\x03", 1) + le(quint32(v), 2);
}
const QByteArray False("\x08", 1);
const QByteArray True("\x09", 1);
const QByteArray End("\x00", 1);

QByteArray wrapperImage(const QList<QByteArray>& columnEntries)
{
    QByteArray out = "TPF0" + shortBytes("TQxColumnsWrapper") + End + prop("Columns") + '\x0e';
    for (const QByteArray& entry : columnEntries)
        out += '\x01' + entry + End;
    return out + End + End + End;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// Field names, widths and captions of a grid's columns, to see they did not change.
QStringList describe(const TQxDBGridColumns* cols)
{
    QStringList out;
    for (int i = 0; i < cols->Count(); ++i) {
        const TQxColumn* c = cols->Items(i);
        out << QStringLiteral("%1/%2/%3/%4").arg(c->FieldName()).arg(c->Width())
                   .arg(c->Title()->Caption()).arg(c->IsStored());
    }
    return out;
}

// The one column of the byte test: every value it writes differs from its default.
void dressColumn(TQxColumn* c)
{
    c->SetFieldName("Name");
    c->SetAlignment(taCenter);
    c->SetButtonStyle(cbsNone);
    c->SetColor(clRed);
    c->SetDropDownRows(9);
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(16);
    font.setBold(true);
    c->SetFont(font);
    c->SetPickList({QStringLiteral("甲"), QStringLiteral("b")});
    c->SetReadOnly(true);
    c->Title()->SetAlignment(taRightJustify);
    c->Title()->SetCaption(QStringLiteral("名称"));
    c->Title()->SetColor(clYellow);
    QFont titleFont(QStringLiteral("黑体"));
    titleFont.setPixelSize(14);
    titleFont.setItalic(true);
    c->Title()->SetFont(titleFont);
    c->SetWidth(200);
    c->SetVisible(false);
    c->SetFixedColumns(true);
    c->SetTabStop(false);
    c->SetIMEControl(true);
}

QByteArray dressedColumnEntry()
{
    return prop("Alignment") + ident("taCenter")
           + prop("ButtonStyle") + ident("cbsNone")
           + prop("Color") + ident("clRed")
           + prop("DropDownRows") + int8(9)
           + prop("Expanded") + False
           + prop("FieldName") + asciiString("Name")
           + prop("Font.Charset") + ident("GB2312_CHARSET")
           + prop("Font.Color") + ident("clWindowText")
           + prop("Font.Height") + int8(-16)
           + prop("Font.Name") + wideString(QStringLiteral("宋体"))
           + prop("Font.Style") + '\x0b' + shortBytes("fsBold") + End
           + prop("PickList.Strings") + '\x01' + wideString(QStringLiteral("甲")) + asciiString("b") + End
           + prop("ReadOnly") + True
           + prop("Title.Alignment") + ident("taRightJustify")
           + prop("Title.Caption") + wideString(QStringLiteral("名称"))
           + prop("Title.Color") + ident("clYellow")
           + prop("Title.Font.Charset") + ident("GB2312_CHARSET")
           + prop("Title.Font.Color") + ident("clWindowText")
           + prop("Title.Font.Height") + int8(-14)
           + prop("Title.Font.Name") + wideString(QStringLiteral("黑体"))
           + prop("Title.Font.Style") + '\x0b' + shortBytes("fsItalic") + End
           + prop("Width") + int16(200)
           + prop("Visible") + False
           + prop("FixedColumns") + True
           + prop("TabStop") + False
           + prop("IMEControl") + True;
}

class DBGridFiles : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const QString& name) const { return dir.filePath(name); }

    QTemporaryDir dir;
};

} // namespace

TEST_F(DBGridFiles, OneColumnIsWrittenByteForByteWithDefaultsLeftOut)
{
    DBGridWindow w(3);
    dressColumn(w.grid->Columns()->Add());
    w.grid->Columns()->SaveToFile(path("a.dbg"));
    EXPECT_EQ(readAll(path("a.dbg")).toHex(' '), wrapperImage({dressedColumnEntry()}).toHex(' '));
}

TEST_F(DBGridFiles, AFreshColumnWritesOnlyWhatAlwaysGoes)
{
    DBGridWindow w(3);
    w.grid->Columns()->Add()->SetFieldName("Code");
    w.grid->Columns()->Add()->SetFieldName("Qty");
    w.grid->Columns()->SaveToFile(path("b.dbg"));
    auto plain = [](const QByteArray& field) {
        return prop("Expanded") + False + prop("FieldName") + asciiString(field) + prop("Visible")
               + True + prop("FixedColumns") + False + prop("TabStop") + True + prop("IMEControl")
               + False;
    };
    EXPECT_EQ(readAll(path("b.dbg")).toHex(' '), wrapperImage({plain("Code"), plain("Qty")}).toHex(' '));
}

TEST_F(DBGridFiles, AnEmptyCollectionIsAnImageWithoutEntries)
{
    DBGridWindow w(3, false);
    w.grid->Columns()->SaveToFile(path("e.dbg"));
    EXPECT_EQ(readAll(path("e.dbg")), wrapperImage({}));
}

TEST_F(DBGridFiles, LoadingReplacesTheColumnsOfAnotherGridWithStoredCopies)
{
    writeAll(path("a.dbg"), wrapperImage({dressedColumnEntry()}));
    DBGridWindow w(3);
    w.grid->Columns()->Add()->SetFieldName("Code");
    w.grid->Columns()->Add()->SetFieldName("Qty");

    w.grid->Columns()->LoadFromFile(path("a.dbg"));

    TQxDBGridColumns* cols = w.grid->Columns();
    ASSERT_EQ(cols->Count(), 1);
    const TQxColumn* c = cols->Items(0);
    EXPECT_TRUE(c->IsStored());
    EXPECT_EQ(cols->State(), csCustomized);
    EXPECT_EQ(c->FieldName(), "Name");
    EXPECT_EQ(c->Field(), w.table->FieldByName("Name"));
    EXPECT_EQ(c->Alignment(), taCenter);
    EXPECT_EQ(c->ButtonStyle(), cbsNone);
    EXPECT_EQ(c->Color(), clRed);
    EXPECT_EQ(c->DropDownRows(), 9);
    EXPECT_EQ(c->Font().family(), QStringLiteral("宋体"));
    EXPECT_EQ(c->Font().pixelSize(), 16);
    EXPECT_TRUE(c->Font().bold());
    EXPECT_EQ(c->PickList(), (QStringList{QStringLiteral("甲"), QStringLiteral("b")}));
    EXPECT_TRUE(c->ReadOnly());
    EXPECT_EQ(c->Title()->Alignment(), taRightJustify);
    EXPECT_EQ(c->Title()->Caption(), QStringLiteral("名称"));
    EXPECT_EQ(c->Title()->Color(), clYellow);
    EXPECT_EQ(c->Title()->Font().family(), QStringLiteral("黑体"));
    EXPECT_EQ(c->Title()->Font().pixelSize(), 14);
    EXPECT_TRUE(c->Title()->Font().italic());
    EXPECT_FALSE(c->Title()->Font().bold());
    EXPECT_EQ(c->Width(), 200);
    EXPECT_FALSE(c->Visible());
    EXPECT_TRUE(c->FixedColumns());
    EXPECT_FALSE(c->TabStop());
    EXPECT_TRUE(c->IMEControl());

    // Written again, the same bytes.
    cols->SaveToFile(path("again.dbg"));
    EXPECT_EQ(readAll(path("again.dbg")), readAll(path("a.dbg")));
}

TEST_F(DBGridFiles, SaveThenLoadKeepsOrderWidthsCaptionsAndVisibility)
{
    DBGridWindow w(3);
    TQxDBGridColumns* cols = w.grid->Columns();
    cols->SetState(csCustomized);
    cols->Items(0)->setIndex(3);
    cols->Items(1)->SetWidth(140);
    cols->Items(2)->Title()->SetCaption(QStringLiteral("数量"));
    cols->Items(0)->SetVisible(false);
    const QStringList before = describe(cols);
    cols->SaveToFile(path("grid.dbg"));

    cols->SetState(csDefault);
    ASSERT_NE(describe(cols), before);
    cols->LoadFromFile(path("grid.dbg"));
    EXPECT_EQ(describe(cols), before);
    EXPECT_FALSE(cols->Items(0)->Visible());
    EXPECT_EQ(cols->State(), csCustomized);
}

TEST_F(DBGridFiles, ALayoutOfAnotherDatasetShowsMissingFieldsAsEmptyColumns)
{
    writeAll(path("other.dbg"),
             wrapperImage({prop("FieldName") + asciiString("Price") + prop("Title.Caption")
                               + wideString(QStringLiteral("价格")),
                           prop("FieldName") + asciiString("Code")}));
    DBGridWindow w(3);
    w.grid->Columns()->LoadFromFile(path("other.dbg"));
    TQxDBGridColumns* cols = w.grid->Columns();
    ASSERT_EQ(cols->Count(), 2);
    EXPECT_EQ(cols->Items(0)->Field(), nullptr);
    EXPECT_EQ(cols->Items(0)->Title()->Caption(), QStringLiteral("价格"));
    EXPECT_EQ(cols->Items(1)->Field(), w.table->FieldByName("Code"));
    // Written the other way round: the short names still load.
    EXPECT_EQ(w.grid->DataLink()->FieldCount(), 2);
}

TEST_F(DBGridFiles, APopupMenuIsStoredByNameAndFoundAgainOnTheLoadingForm)
{
    DBGridWindow w(3);
    auto* menu = new QMenu(w.window.get());
    menu->setObjectName("pmGrid");
    TQxColumn* c = w.grid->Columns()->Add();
    c->SetFieldName("Code");
    c->SetPopupMenu(menu);
    w.grid->Columns()->SaveToFile(path("menu.dbg"));
    EXPECT_TRUE(readAll(path("menu.dbg")).contains(prop("FieldName") + asciiString("Code") + prop("PopupMenu")
                                                   + ident("pmGrid") + prop("Visible")));

    DBGridWindow other(3);
    auto* otherMenu = new QMenu(other.window.get());
    otherMenu->setObjectName("pmGrid");
    other.grid->Columns()->LoadFromFile(path("menu.dbg"));
    EXPECT_EQ(other.grid->Columns()->Items(0)->PopupMenu(), otherMenu);

    // A form without that menu: the column has none.
    DBGridWindow bare(3);
    bare.grid->Columns()->LoadFromFile(path("menu.dbg"));
    EXPECT_EQ(bare.grid->Columns()->Items(0)->PopupMenu(), nullptr);
}

TEST_F(DBGridFiles, AFileWithoutColumnsLeavesNoStoredColumns)
{
    writeAll(path("e.dbg"), wrapperImage({}));
    DBGridWindow w(3);
    w.grid->Columns()->Add()->SetFieldName("Code");
    w.grid->Columns()->LoadFromFile(path("e.dbg"));
    // Back to the dataset's own columns at the next layout.
    EXPECT_EQ(w.grid->Columns()->State(), csDefault);
}

TEST_F(DBGridFiles, TheButtonPictureIsItsSizeAndABitmapFile)
{
    DBGridWindow w(3);
    TQxColumn* c = w.grid->Columns()->Add();
    c->SetFieldName("Code");
    QImage glyph(5, 3, QImage::Format_RGB32);
    glyph.fill(QColor(10, 200, 30));
    c->SetGlyph(glyph);
    QBuffer image;
    image.open(QIODevice::ReadWrite);
    SaveColumnsToStream(*w.grid->Columns(), image);
    const QByteArray bytes = image.data();
    const int at = bytes.indexOf(prop("Glyph.Data"));
    ASSERT_GT(at, 0);
    const QByteArray data = bytes.mid(at + prop("Glyph.Data").size());
    ASSERT_EQ(data.at(0), '\x0a');
    const quint32 total = qFromLittleEndian<quint32>(data.constData() + 1);
    const quint32 bmpSize = qFromLittleEndian<quint32>(data.constData() + 5);
    EXPECT_EQ(total, bmpSize + 4);
    EXPECT_TRUE(data.mid(9, 2) == "BM");
    // What follows the picture is the rest of the entry.
    EXPECT_EQ(data.mid(5 + int(total), 14), prop("FixedColumns") + False);

    DBGridWindow other(3);
    image.seek(0);
    LoadColumnsFromStream(*other.grid->Columns(), image);
    ASSERT_EQ(other.grid->Columns()->Count(), 1);
    const QImage back = other.grid->Columns()->Items(0)->Glyph().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(back.size(), glyph.size());
    EXPECT_EQ(back.pixel(4, 2), glyph.pixel(4, 2));
}

TEST_F(DBGridFiles, ADamagedFileRaisesAReadErrorAndLeavesTheColumns)
{
    const QByteArray good = wrapperImage({dressedColumnEntry(), prop("FieldName") + asciiString("Qty")});
    const struct
    {
        const char* what;
        QByteArray bytes;
    } cases[] = {
        {"empty", QByteArray()},
        {"signature only", good.left(4)},
        {"cut in the class name", good.left(10)},
        {"cut in the first entry", good.left(60)},
        {"cut in a wide string", good.left(good.indexOf(prop("Title.Caption")) + 20)},
        {"cut before the last end byte", good.left(good.size() - 1)},
        {"garbage", QByteArray("\x7f\x45\x4c\x46garbage\xff\xfe\x00\x01", 15)},
        {"another signature", "TPF1" + good.mid(4)},
        {"another class", "TPF0" + shortBytes("TQxColumnWrapper") + good.mid(4 + 18)},
        {"unknown column property",
         wrapperImage({prop("FieldName") + asciiString("Code") + prop("Colour") + ident("clRed")})},
        {"unknown enumeration value", wrapperImage({prop("ButtonStyle") + ident("cbsBig")})},
        {"wrong value kind", wrapperImage({prop("Visible") + asciiString("yes")})},
        {"huge string length", wrapperImage({prop("FieldName") + '\x12' + le(0x7fffffff, 4)})},
        {"bad picture", wrapperImage({prop("Glyph.Data") + '\x0a' + le(8, 4) + le(4, 4) + "XXXX"})},
    };
    DBGridWindow w(3);
    w.grid->Columns()->Add()->SetFieldName("Code");
    w.grid->Columns()->Items(0)->SetWidth(150);
    w.grid->Columns()->Add()->SetFieldName("Qty");
    const QStringList before = describe(w.grid->Columns());
    for (const auto& c : cases) {
        writeAll(path("bad.dbg"), c.bytes);
        EXPECT_THROW(w.grid->Columns()->LoadFromFile(path("bad.dbg")), EReadError) << c.what;
        EXPECT_EQ(describe(w.grid->Columns()), before) << c.what;
    }
    // And the good one still loads.
    writeAll(path("good.dbg"), good);
    w.grid->Columns()->LoadFromFile(path("good.dbg"));
    EXPECT_EQ(w.grid->Columns()->Count(), 2);
}

TEST_F(DBGridFiles, AMissingFileIsAnOpenError)
{
    DBGridWindow w(3);
    w.grid->Columns()->Add()->SetFieldName("Code");
    EXPECT_THROW(w.grid->Columns()->LoadFromFile(path("none.dbg")), EInOutError);
    EXPECT_EQ(w.grid->Columns()->Count(), 1);
}

namespace {

using qxtest::ReadOnlyFolder;

// Lets this process write no file beyond a few bytes, as a full disk would.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

} // namespace

TEST_F(DBGridFiles, ASaveIntoAReadOnlyFolderFailsAndLeavesTheOldFileWhole)
{
    DBGridWindow w(3);
    w.grid->Columns()->Add()->SetFieldName("Code");
    QDir(dir.path()).mkdir("ro");
    const QString file = path("ro/grid.dbg");
    w.grid->Columns()->SaveToFile(file);
    const QByteArray old = readAll(file);

    w.grid->Columns()->Add()->SetFieldName("Qty");
    {
        ReadOnlyFolder ro(path("ro"));
        if (!ro.ok())
            GTEST_SKIP() << "the folder cannot be made read-only here";
        EXPECT_THROW(w.grid->Columns()->SaveToFile(file), EInOutError);
    }
    EXPECT_EQ(readAll(file), old);
    EXPECT_EQ(QDir(path("ro")).entryList(QDir::Files), QStringList{"grid.dbg"});
}

TEST_F(DBGridFiles, ASaveCutShortByAFullDiskLeavesTheOldFileWhole)
{
    DBGridWindow w(3);
    w.grid->Columns()->Add()->SetFieldName("Code");
    const QString file = path("grid.dbg");
    w.grid->Columns()->SaveToFile(file);
    const QByteArray old = readAll(file);

    dressColumn(w.grid->Columns()->Add());
    {
        FileSizeLimit limit(40);
        EXPECT_THROW(w.grid->Columns()->SaveToFile(file), Exception);
    }
    EXPECT_EQ(readAll(file), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"grid.dbg"});
}

// A layout save whose bytes cannot reach the disk: the old layout stays, and the message gives
// the system's reason; on a really full file system as well as through a failing write.
TEST_F(DBGridFiles, AFailedWriteKeepsTheOldLayoutAndSaysWhy)
{
    DBGridWindow w(3);
    w.grid->Columns()->Add()->SetFieldName("Code");
    const QString file = path("grid.dbg");
    w.grid->Columns()->SaveToFile(file);
    const QByteArray old = readAll(file);
    dressColumn(w.grid->Columns()->Add());
    for (const qx::SaveStep step : {qx::SaveStep::Write, qx::SaveStep::Sync, qx::SaveStep::Rename}) {
        qxtest::SaveFault fault(step, ENOSPC);
        try {
            w.grid->Columns()->SaveToFile(file);
            ADD_FAILURE() << "no error";
        } catch (const EInOutError& e) {
            EXPECT_EQ(e.Message(),
                      QStringLiteral("Cannot write file \"%1\". 磁盘空间不足。").arg(QFileInfo(file).absoluteFilePath()));
        }
        EXPECT_EQ(readAll(file), old);
    }
}

TEST_F(DBGridFiles, ASaveOnAFullFileSystemKeepsTheOldLayout)
{
    DBGridWindow w(3);
    w.grid->Columns()->Add()->SetFieldName("Code");
    qxtest::SmallFileSystem fs(64);
    if (!fs.ok())
        GTEST_SKIP() << "no right to mount a small file system here";
    const QString full = fs.filePath(QStringLiteral("维修单-dbgrid.dbg"));
    w.grid->Columns()->SaveToFile(full);
    const QByteArray before = readAll(full);
    for (int i = 0; i < 200; ++i)
        dressColumn(w.grid->Columns()->Add());
    fs.fill();
    EXPECT_THROW(w.grid->Columns()->SaveToFile(full), EInOutError);
    EXPECT_EQ(readAll(full), before);
}
