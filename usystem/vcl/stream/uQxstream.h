// TQxStream: keeps a list of live components and stores them, with their published properties
// and owned children, as one binary image in a stream, a file or a blob field, and creates
// them again from it. The report centre keeps its query definitions this way, so the image is
// a stored format: every image written before must stay readable.
//
// Image: for each listed component one single-component image ("TPF0", class, name,
// properties, children), then the end-of-list byte 0. Bytes after that marker are never read.
#pragma once

#include "platform/db/DataSet.h"
#include "platform/rtl/Exceptions.h"

#include <QList>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QString>

#include <functional>

class QIODevice;

using TComponentEvent = std::function<void(QObject* AOwner, QObject* AComponent)>;
using TReadComponentEvent = std::function<void(QObject* AOwner, QObject* AComponent)>;
using TWriteComponentEvent = std::function<void(QObject* AOwner, QObject* AComponent)>;
using TReadingComponentEvent =
    std::function<void(QObject* AOwner, QObject* AComponent, bool& AllowRead)>;
using TWritingComponentEvent =
    std::function<void(QObject* AOwner, QObject* AComponent, bool& AllowWrite)>;

class TQxStream : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString FileName READ FileName WRITE setFileName)
    Q_PROPERTY(QObject* StreamWindow READ StreamWindow WRITE setStreamWindow)
    Q_PROPERTY(bool isUseTag READ isUseTag WRITE setIsUseTag)
    Q_PROPERTY(TDataSet* DataSet READ DataSet WRITE setDataSet)
    Q_PROPERTY(QString FieldName READ FieldName WRITE setFieldName)
    Q_CLASSINFO("QxDefaults", "isUseTag=true")

public:
    explicit TQxStream(QObject* Owner = nullptr);
    ~TQxStream() override;

    QString FileName() const { return m_FileName; }
    void setFileName(const QString& value) { m_FileName = value; }
    QObject* StreamWindow() const { return m_StreamWindow; }
    void setStreamWindow(QObject* value) { m_StreamWindow = value; }
    bool isUseTag() const { return m_isUseTag; }
    void setIsUseTag(bool value) { m_isUseTag = value; }
    TDataSet* DataSet() const { return m_DataSet; }
    void setDataSet(TDataSet* value) { m_DataSet = value; }
    QString FieldName() const { return m_FieldName; }
    void setFieldName(const QString& value) { m_FieldName = value; }

    // The list: (name, component) entries, in the order added; duplicates allowed. A listed
    // component that has been freed meanwhile is passed over.
    int ComponentCount() const { return int(m_components.size()); }
    QObject* Components(int index) const { return m_components.at(index).second; }
    QString ComponentNames(int index) const { return m_components.at(index).first; }

    void AddComponent(QObject* Component);
    void ClearComponents();

    // Writes the image of the listed components at the stream's position.
    void WriteToStream(QIODevice& Stream);
    // Reads an image from the stream's position and creates its components, owned by the
    // stream's owner; controls get StreamWindow as their parent.
    void ReadFromStream(QIODevice& Stream);
    // When DataSet is active: writes the image into its blob field FieldName from the first
    // byte and drops whatever the field held past the new image (an older, longer image must
    // not linger in the database). The row must be in edit or insert state.
    void WriteToField();
    // When DataSet is active: reads the image in its blob field FieldName.
    void ReadFromField();
    // Creates (or empties) FileName and writes the image into it.
    void WriteToFile();
    // Reads FileName when it exists; nothing at all when it does not.
    void ReadFromFile();

    std::function<void(QObject* Sender)> OnRegister;
    std::function<void(QObject* Sender)> OnReadFromFile;
    std::function<void(QObject* Sender)> OnWriteToFile;
    std::function<void(QObject* Sender)> OnReadFromStream;
    std::function<void(QObject* Sender)> OnWriteToStream;
    TComponentEvent OnAddComponent;
    TComponentEvent OnRemoveComponent;
    TReadComponentEvent OnReadComponent;
    TWriteComponentEvent OnWriteComponent;
    // Declared for handlers written against it; a read never raises it.
    TReadingComponentEvent OnReadingComponent;
    TWritingComponentEvent OnWritingComponent;

private:
    void renameRead(QObject* component, QString& name) const;

    QList<QPair<QString, QPointer<QObject>>> m_components;
    QString m_FileName;
    QPointer<QObject> m_StreamWindow;
    bool m_isUseTag = true;
    QPointer<TDataSet> m_DataSet;
    QString m_FieldName;
};
