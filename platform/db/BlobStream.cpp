#include "platform/db/BlobStream.h"

TBlobStream::TBlobStream(TField* field, TBlobStreamMode mode) : m_field(field), m_mode(mode)
{
    m_bytes = field->AsBytes();
    setBuffer(&m_bytes);
    QBuffer::open(mode == bmRead ? QIODevice::ReadOnly : QIODevice::ReadWrite);
}

TBlobStream::~TBlobStream()
{
    // A destructor cannot report: a failed store here is dropped. close() reports it.
    try {
        store();
    } catch (...) {
    }
}

void TBlobStream::close()
{
    store();
    QBuffer::close();
}

void TBlobStream::Truncate()
{
    if (m_mode == bmRead)
        return;
    m_bytes.truncate(pos());
    m_changed = true;
}

qint64 TBlobStream::writeData(const char* data, qint64 len)
{
    m_changed = true;
    return QBuffer::writeData(data, len);
}

void TBlobStream::store()
{
    if (!m_changed || m_mode == bmRead || !m_field)
        return;
    m_changed = false;
    m_field->SetAsBytes(m_bytes);
}
