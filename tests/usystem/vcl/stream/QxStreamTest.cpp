// TQxStream: the list, the image of a list, reading into an owner with the renaming rule, the
// events, and the memory, file and field targets.
#include "tests/support/SaveFault.h"
#include "StreamTestClasses.h"

#include "usystem/vcl/stream/uQxstream.h"

#include "platform/rtl/Exceptions.h"
#include "platform/ui/Components.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class QxStream : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        qx::registerClass<TQxQueryControl>();
        qx::registerClass<TTestEdit>();
    }

    TQxQueryControl* query(QObject* owner, const QString& name, const QString& sql = {})
    {
        auto* q = new TQxQueryControl(owner);
        q->setObjectName(name);
        q->SQL = sql;
        return q;
    }

    QByteArray write(TQxStream& stream)
    {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        stream.WriteToStream(buffer);
        return bytes;
    }

    void read(TQxStream& stream, const QByteArray& bytes)
    {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        stream.ReadFromStream(buffer);
    }
};

TEST_F(QxStream, CreateSetsTheWindowToTheOwnerAndUsesTags)
{
    QObject owner;
    TQxStream stream(&owner);
    EXPECT_EQ(stream.StreamWindow(), &owner);
    EXPECT_TRUE(stream.isUseTag());
    EXPECT_EQ(stream.ComponentCount(), 0);
}

TEST_F(QxStream, EmptyListIsOneZeroByteAndReadsAsNothing)
{
    QObject owner;
    TQxStream stream(&owner);
    EXPECT_EQ(write(stream), QByteArray(1, '\0'));

    int readEvents = 0, components = 0;
    stream.OnReadFromStream = [&](QObject* sender) {
        EXPECT_EQ(sender, &stream);
        ++readEvents;
    };
    stream.OnReadComponent = [&](QObject*, QObject*) { ++components; };
    const int before = int(owner.children().size());
    read(stream, QByteArray(1, '\0'));
    EXPECT_EQ(readEvents, 1);
    EXPECT_EQ(components, 0);
    EXPECT_EQ(owner.children().size(), before);
}

TEST_F(QxStream, AddAndClearRaiseTheirEventsAndNilIsIgnored)
{
    QObject owner;
    TQxStream stream(&owner);
    QStringList events;
    stream.OnAddComponent = [&](QObject* o, QObject* c) {
        EXPECT_EQ(o, &stream);
        events << QStringLiteral("add ") + c->objectName();
    };
    stream.OnRemoveComponent = [&](QObject*, QObject* c) {
        events << QStringLiteral("remove ") + c->objectName();
    };
    stream.AddComponent(nullptr);
    auto* a = query(&owner, QStringLiteral("A"));
    auto* b = query(&owner, QStringLiteral("B"));
    stream.AddComponent(a);
    stream.AddComponent(b);
    stream.AddComponent(a); // duplicates are kept
    EXPECT_EQ(stream.ComponentCount(), 3);
    EXPECT_EQ(stream.ComponentNames(1), QLatin1String("B"));
    stream.ClearComponents();
    EXPECT_EQ(stream.ComponentCount(), 0);
    EXPECT_EQ(events, QStringList({"add A", "add B", "add A", "remove A", "remove B", "remove A"}));
    // The list never owned them.
    EXPECT_EQ(owner.findChildren<TQxQueryControl*>().size(), 2);
}

TEST_F(QxStream, TwoComponentsReadIntoAnOwnerWithTheirNamesAreNumbered)
{
    QObject source;
    TQxStream writer(&source);
    writer.AddComponent(query(&source, QStringLiteral("Query"), QStringLiteral("select 1")));
    writer.AddComponent(query(&source, QStringLiteral("Report"), QStringLiteral("select 2")));
    const QByteArray image = write(writer);
    EXPECT_EQ(image.count("TPF0"), 2);
    EXPECT_EQ(image.back(), '\0');

    QObject owner;
    query(&owner, QStringLiteral("query")); // the same name, compared without case
    query(&owner, QStringLiteral("Report"));
    TQxStream reader(&owner);
    QList<TQxQueryControl*> got;
    reader.OnReadComponent = [&](QObject* o, QObject* c) {
        EXPECT_EQ(o, &reader);
        got << qobject_cast<TQxQueryControl*>(c);
    };
    read(reader, image);
    ASSERT_EQ(got.size(), 2);
    EXPECT_EQ(got[0]->objectName(), QLatin1String("QxQueryControl1"));
    EXPECT_EQ(got[1]->objectName(), QLatin1String("QxQueryControl2"));
    EXPECT_EQ(got[0]->SQL, QLatin1String("select 1"));
    EXPECT_EQ(got[1]->SQL, QLatin1String("select 2"));
    EXPECT_EQ(got[0]->parent(), &owner);
    EXPECT_TRUE(qx::components(&owner).contains(got[1]));
}

TEST_F(QxStream, FreeNameStaysAsRead)
{
    QObject source;
    TQxStream writer(&source);
    writer.AddComponent(query(&source, QStringLiteral("Query")));
    QObject owner;
    TQxStream reader(&owner);
    read(reader, write(writer));
    ASSERT_NE(qx::findComponent(&owner, QStringLiteral("Query")), nullptr);
}

TEST_F(QxStream, VetoedComponentIsNotWrittenButStillReported)
{
    QObject source;
    TQxStream stream(&source);
    auto* a = query(&source, QStringLiteral("A"));
    auto* b = query(&source, QStringLiteral("B"));
    auto* c = query(&source, QStringLiteral("C"));
    for (auto* q : {a, b, c})
        stream.AddComponent(q);
    QList<QObject*> reported;
    stream.OnWritingComponent = [&](QObject*, QObject* comp, bool& allow) { allow = comp != b; };
    stream.OnWriteComponent = [&](QObject*, QObject* comp) { reported << comp; };
    int written = 0;
    stream.OnWriteToStream = [&](QObject*) { ++written; };
    const QByteArray image = write(stream);
    EXPECT_EQ(reported, QList<QObject*>({a, b, c}));
    EXPECT_EQ(written, 1);
    EXPECT_EQ(image.count("TPF0"), 2);

    QObject owner;
    TQxStream reader(&owner);
    read(reader, image);
    QStringList names;
    for (QObject* o : owner.findChildren<TQxQueryControl*>())
        names << o->objectName();
    EXPECT_EQ(names, QStringList({"A", "C"}));
}

TEST_F(QxStream, RewriteOverALongerImageReadsBackExactly)
{
    // A memory target keeps the old tail behind the new end marker; the reader never looks
    // past the marker.
    QObject source;
    TQxStream stream(&source);
    for (const char* n : {"A", "B", "C"})
        stream.AddComponent(query(&source, QString::fromLatin1(n), QStringLiteral("select * from tRepair")));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadWrite);
    stream.WriteToStream(buffer);
    const qint64 longer = bytes.size();

    stream.ClearComponents();
    stream.AddComponent(source.findChild<QObject*>(QStringLiteral("B")));
    buffer.seek(0);
    stream.WriteToStream(buffer);
    EXPECT_EQ(bytes.size(), longer);

    QObject owner;
    TQxStream reader(&owner);
    buffer.seek(0);
    reader.ReadFromStream(buffer);
    const auto got = owner.findChildren<TQxQueryControl*>();
    ASSERT_EQ(got.size(), 1);
    EXPECT_EQ(got[0]->objectName(), QLatin1String("B"));
}

TEST_F(QxStream, FileRoundTripTruncatesAnOlderLongerFile)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("query.QXE"));
    QObject source;
    TQxStream stream(&source);
    stream.setFileName(file);
    int wroteFile = 0;
    stream.OnWriteToFile = [&](QObject* s) {
        EXPECT_EQ(s, &stream);
        ++wroteFile;
    };
    for (const char* n : {"A", "B"})
        stream.AddComponent(query(&source, QString::fromLatin1(n), QString(200, u'x')));
    stream.WriteToFile();
    stream.ClearComponents();
    stream.AddComponent(query(&source, QStringLiteral("Short"), QStringLiteral("select 1")));
    stream.WriteToFile();
    EXPECT_EQ(wroteFile, 2);
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), write(stream));

    QObject owner;
    TQxStream reader(&owner);
    reader.setFileName(file);
    int readFile = 0;
    reader.OnReadFromFile = [&](QObject*) { ++readFile; };
    reader.ReadFromFile();
    EXPECT_EQ(readFile, 1);
    const auto got = owner.findChildren<TQxQueryControl*>();
    ASSERT_EQ(got.size(), 1);
    EXPECT_EQ(got[0]->SQL, QLatin1String("select 1"));
}

TEST_F(QxStream, ReadFromAMissingFileDoesNothing)
{
    QTemporaryDir dir;
    QObject owner;
    TQxStream stream(&owner);
    stream.setFileName(dir.filePath(QStringLiteral("missing.QXE")));
    int events = 0;
    stream.OnRegister = [&](QObject*) { ++events; };
    stream.OnReadFromStream = [&](QObject*) { ++events; };
    stream.OnReadFromFile = [&](QObject*) { ++events; };
    stream.OnReadComponent = [&](QObject*, QObject*) { ++events; };
    EXPECT_NO_THROW(stream.ReadFromFile());
    EXPECT_EQ(events, 0);
    EXPECT_FALSE(QFile::exists(stream.FileName()));
}

TEST_F(QxStream, WriteToAnImpossibleFileRaises)
{
    QTemporaryDir dir;
    QObject owner;
    TQxStream stream(&owner);
    stream.setFileName(dir.filePath(QStringLiteral("no/such/folder/x.QXE")));
    EXPECT_THROW(stream.WriteToFile(), EInOutError);
}

TEST_F(QxStream, AFailedWriteLeavesTheOldFileWhole)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("query.QXE"));
    QObject source;
    TQxStream stream(&source);
    stream.setFileName(file);
    stream.AddComponent(query(&source, QStringLiteral("A"), QStringLiteral("select 1")));
    stream.WriteToFile();
    const QByteArray old = write(stream);
    stream.AddComponent(query(&source, QStringLiteral("B"), QString(5000, u'x')));
    int wrote = 0;
    stream.OnWriteToFile = [&](QObject*) { ++wrote; };
    qxtest::SaveFault fault(qx::SaveStep::Write, ENOSPC);
    EXPECT_THROW(stream.WriteToFile(), EInOutError);
    EXPECT_EQ(wrote, 0);
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), old);
}

TEST_F(QxStream, ControlsReadSitOnTheStreamWindow)
{
    QWidget form;
    form.setObjectName(QStringLiteral("FrmQuery"));
    auto* panel = new QWidget(&form);
    panel->setObjectName(QStringLiteral("Panel1"));
    qx::insertComponent(&form, panel);
    auto* edit = new TTestEdit(panel);
    edit->setObjectName(QStringLiteral("Edit1"));
    edit->Text = QStringLiteral("机型");
    qx::insertComponent(&form, edit);

    TQxStream stream(&form);
    stream.AddComponent(edit);
    const QByteArray image = write(stream);
    // isUseTag: the control's Tag holds its parent's place among the form's components.
    EXPECT_EQ(edit->Tag, qx::components(&form).indexOf(panel));

    QObject owner;
    QWidget window;
    TQxStream reader(&owner);
    reader.setStreamWindow(&window);
    read(reader, image);
    auto* got = window.findChild<TTestEdit*>(QStringLiteral("Edit1"));
    ASSERT_NE(got, nullptr);
    EXPECT_EQ(got->parentWidget(), &window);
    EXPECT_EQ(got->Text, QStringLiteral("机型"));
    EXPECT_EQ(qx::componentOwner(got), &owner);
}

TEST_F(QxStream, NoTagsWhenTurnedOff)
{
    QWidget form;
    auto* edit = new TTestEdit(new QWidget(&form));
    edit->setObjectName(QStringLiteral("Edit1"));
    edit->Tag = 77;
    TQxStream stream(&form);
    stream.setIsUseTag(false);
    stream.AddComponent(edit);
    write(stream);
    EXPECT_EQ(edit->Tag, 77);
}

TEST_F(QxStream, RemovedWindowIsCleared)
{
    QObject owner;
    TQxStream stream(&owner);
    auto window = std::make_unique<QWidget>();
    stream.setStreamWindow(window.get());
    window.reset();
    EXPECT_EQ(stream.StreamWindow(), nullptr);
}

TEST_F(QxStream, FreedListedComponentIsPassedOver)
{
    QObject source;
    TQxStream stream(&source);
    auto* a = query(&source, QStringLiteral("A"));
    stream.AddComponent(a);
    stream.AddComponent(query(&source, QStringLiteral("B")));
    delete a;
    EXPECT_EQ(write(stream).count("TPF0"), 1);
}

TEST_F(QxStream, DamagedImageRaisesAndKeepsWhatWasReadBefore)
{
    QObject source;
    TQxStream writer(&source);
    writer.AddComponent(query(&source, QStringLiteral("A"), QStringLiteral("select 1")));
    writer.AddComponent(query(&source, QStringLiteral("B"), QStringLiteral("select 2")));
    QByteArray image = write(writer);
    image.truncate(image.size() - 6); // cut inside the second component

    QObject owner;
    TQxStream reader(&owner);
    int finished = 0;
    reader.OnReadFromStream = [&](QObject*) { ++finished; };
    EXPECT_THROW(read(reader, image), EReadError);
    EXPECT_EQ(finished, 0);
    const auto got = owner.findChildren<TQxQueryControl*>();
    ASSERT_EQ(got.size(), 1);
    EXPECT_EQ(got[0]->objectName(), QLatin1String("A"));
}

TEST_F(QxStream, ClassesBecomeKnownInOnRegister)
{
    QObject source;
    auto* late = new TLateClass(&source);
    late->setObjectName(QStringLiteral("Late1"));
    QByteArray image;
    {
        TQxStream writer(&source);
        writer.AddComponent(late);
        image = write(writer);
    }
    QObject owner;
    TQxStream strict(&owner);
    try {
        read(strict, image);
        FAIL() << "an unknown class must not read";
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), QLatin1String("Class TLateClass not found"));
    }

    TQxStream reader(&owner);
    reader.OnRegister = [](QObject*) { qx::registerClass<TLateClass>(); };
    read(reader, image);
    EXPECT_NE(owner.findChild<TLateClass*>(QStringLiteral("Late1")), nullptr);
    qx::unregisterClass("TLateClass");
}

TEST_F(QxStream, SignatureIsRequired)
{
    QObject owner;
    TQxStream reader(&owner);
    EXPECT_THROW(read(reader, QByteArray("TPF1\x0FTQxQueryControl\x01" "A\0\0\0", 24)), EReadError);
    EXPECT_THROW(read(reader, QByteArray()), EReadError);
}

} // namespace
