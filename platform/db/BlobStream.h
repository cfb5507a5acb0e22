// A stream over the bytes of one blob or memo field of the current record. Read streams see
// a copy; write streams start with the present bytes at position 0 (Truncate() drops what
// lies past the position) and store their bytes into the field when closed.
#pragma once

#include "platform/db/DataSet.h"

#include <QBuffer>
#include <QPointer>

class TBlobStream : public QBuffer
{
    Q_OBJECT
public:
    TBlobStream(TField* field, TBlobStreamMode mode);
    // Stores a changed write stream; errors of the store reach the caller of close().
    ~TBlobStream() override;
    void close() override;
    // Drops the bytes past the current position.
    void Truncate();

protected:
    qint64 writeData(const char* data, qint64 len) override;

private:
    void store();
    QPointer<TField> m_field;
    QByteArray m_bytes;
    TBlobStreamMode m_mode;
    bool m_changed = false;
};
