#include "usystem/vcl/stream/uQxstream.h"

#include "platform/db/BlobStream.h"
#include "platform/db/Fields.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SafeSave.h"
#include "platform/stream/ClassRegistry.h"
#include "platform/stream/ComponentReader.h"
#include "platform/stream/ComponentWriter.h"
#include "platform/ui/Components.h"

#include <QFile>
#include <QFileInfo>
#include <QWidget>

namespace {

// Where a control's parent stands among the components of that parent's owner (its form),
// or -1 when it has none.
int parentPosition(QWidget* parent)
{
    const QObject* owner = qx::componentOwner(parent);
    if (!owner)
        owner = parent->window() != parent ? static_cast<QObject*>(parent->window())
                                           : parent->parent();
    return owner ? int(qx::components(owner).indexOf(parent)) : -1;
}

} // namespace

TQxStream::TQxStream(QObject* Owner)
    : QObject(Owner)
    , m_StreamWindow(Owner)
{}

TQxStream::~TQxStream() = default;

void TQxStream::AddComponent(QObject* Component)
{
    if (!Component)
        return;
    m_components.append({Component->objectName(), QPointer<QObject>(Component)});
    if (OnAddComponent)
        OnAddComponent(this, Component);
}

void TQxStream::ClearComponents()
{
    while (!m_components.isEmpty()) {
        if (OnRemoveComponent)
            OnRemoveComponent(this, m_components.first().second);
        if (!m_components.isEmpty())
            m_components.removeFirst();
    }
}

void TQxStream::WriteToStream(QIODevice& Stream)
{
    qx::ComponentWriter writer(Stream);
    const auto entries = m_components;
    for (const auto& entry : entries) {
        QObject* component = entry.second;
        if (!component)
            continue;
        if (m_isUseTag) {
            auto* control = qobject_cast<QWidget*>(component);
            const int tag = component->metaObject()->indexOfProperty("Tag");
            if (control && control->parentWidget() && tag >= 0)
                component->metaObject()->property(tag).write(
                    component, parentPosition(control->parentWidget()));
        }
        bool AllowWrite = true;
        if (OnWritingComponent)
            OnWritingComponent(this, component, AllowWrite);
        if (AllowWrite)
            writer.writeComponent(component);
        if (OnWriteComponent)
            OnWriteComponent(this, component);
    }
    writer.writeListEnd();
    if (OnWriteToStream)
        OnWriteToStream(this);
}

void TQxStream::renameRead(QObject* component, QString& name) const
{
    const QObject* owner = parent();
    if (name.isEmpty() || !owner || !qx::findComponent(owner, name))
        return;
    const QString base =
        QString::fromLatin1(qx::streamClassName(component->metaObject())).mid(1);
    for (int n = 1;; ++n) {
        const QString candidate = base + QString::number(n);
        if (!qx::findComponent(owner, candidate)) {
            name = candidate;
            return;
        }
    }
}

void TQxStream::ReadFromStream(QIODevice& Stream)
{
    qx::ComponentReader reader(Stream);
    if (OnRegister)
        OnRegister(this);
    // Every component read belongs to the stream's owner, also the controls that sit on
    // StreamWindow and the children of a component read.
    if (QObject* owner = parent())
        reader.OnCreateComponent = [owner](QObject* component) {
            qx::insertComponent(owner, component);
        };
    reader.OnSetName = [this](QObject* component, QString& name) { renameRead(component, name); };
    reader.readComponentList(parent(), m_StreamWindow, [this](QObject* component) {
        if (OnReadComponent)
            OnReadComponent(this, component);
    });
    reader.fixupReferences(parent());
    if (OnReadFromStream)
        OnReadFromStream(this);
}

namespace {

TBlobField* blobFieldOf(TDataSet* dataSet, const QString& fieldName)
{
    TField* field = dataSet->FieldByName(fieldName);
    auto* blob = qobject_cast<TBlobField*>(field);
    if (!blob)
        throw EInvalidCast(QStringLiteral("Invalid class typecast"));
    return blob;
}

} // namespace

void TQxStream::WriteToField()
{
    if (!m_DataSet || !m_DataSet->Active())
        return;
    TBlobField* field = blobFieldOf(m_DataSet, m_FieldName);
    if (field->ReadOnly())
        throw EDatabaseError(QStringLiteral("Field '%1' cannot be modified").arg(field->FieldName()));
    std::unique_ptr<QIODevice> stream = m_DataSet->CreateBlobStream(field, bmReadWrite);
    WriteToStream(*stream);
    if (auto* blob = qobject_cast<TBlobStream*>(stream.get()))
        blob->Truncate();
    stream->close(); // stores the bytes; a refused store raises here
}

void TQxStream::ReadFromField()
{
    if (!m_DataSet || !m_DataSet->Active())
        return;
    TBlobField* field = blobFieldOf(m_DataSet, m_FieldName);
    std::unique_ptr<QIODevice> stream = m_DataSet->CreateBlobStream(field, bmRead);
    ReadFromStream(*stream);
}

void TQxStream::WriteToFile()
{
    qx::saveFile(m_FileName, [&](QIODevice& out) { WriteToStream(out); });
    if (OnWriteToFile)
        OnWriteToFile(this);
}

void TQxStream::ReadFromFile()
{
    if (m_FileName.isEmpty() || !QFileInfo(m_FileName).isFile())
        return;
    QFile file(m_FileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EInOutError(QStringLiteral("Cannot open file \"%1\". %2")
                              .arg(QFileInfo(m_FileName).absoluteFilePath(), file.errorString()));
    ReadFromStream(file);
    file.close();
    if (OnReadFromFile)
        OnReadFromFile(this);
}
