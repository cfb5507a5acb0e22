// Reads a written dBASE table back through shapelib, as another program would: the fields'
// names, types and sizes, the values as text, and the file's raw bytes for the header checks.
#pragma once

#include <QFile>
#include <QString>
#include <QStringList>

#include <shapefil.h>

#include <memory>
#include <vector>

#include "platform/rtl/Gbk.h"

namespace qxtest {

struct DbfField
{
    QString name;
    char type = 0; // 'C', 'N', 'L', 'D'
    int width = 0;
    int decimals = 0;
};

class DbfReadBack
{
public:
    explicit DbfReadBack(const QString& path)
        : m_handle(DBFOpen(QFile::encodeName(path).constData(), "rb"))
    {
        QFile f(path);
        if (f.open(QIODevice::ReadOnly))
            m_bytes = f.readAll();
    }
    ~DbfReadBack()
    {
        if (m_handle)
            DBFClose(m_handle);
    }
    DbfReadBack(const DbfReadBack&) = delete;
    DbfReadBack& operator=(const DbfReadBack&) = delete;

    bool ok() const { return m_handle != nullptr; }
    const QByteArray& bytes() const { return m_bytes; }
    int records() const { return DBFGetRecordCount(m_handle); }

    std::vector<DbfField> fields() const
    {
        std::vector<DbfField> result;
        for (int i = 0; i < DBFGetFieldCount(m_handle); ++i) {
            char name[XBASE_FLDNAME_LEN_READ + 1] = {};
            int width = 0, decimals = 0;
            DBFGetFieldInfo(m_handle, i, name, &width, &decimals);
            result.push_back({qx::fromGbk(QByteArray(name)), DBFGetNativeFieldType(m_handle, i), width, decimals});
        }
        return result;
    }

    QStringList names() const
    {
        QStringList result;
        for (const DbfField& f : fields())
            result << f.name;
        return result;
    }

    // A value as shapelib reads it: GBK decoded, surrounding blanks dropped.
    QString text(int record, int field) const
    {
        return qx::fromGbk(QByteArray(DBFReadStringAttribute(m_handle, record, field)));
    }
    bool isNull(int record, int field) const { return DBFIsAttributeNULL(m_handle, record, field); }

    // The field's bytes in the record as stored, blanks included.
    QByteArray raw(int record, int field) const
    {
        const int headerLength = uchar(m_bytes[8]) | (uchar(m_bytes[9]) << 8);
        const int recordLength = uchar(m_bytes[10]) | (uchar(m_bytes[11]) << 8);
        int offset = 1;
        const std::vector<DbfField> all = fields();
        for (int i = 0; i < field; ++i)
            offset += all[std::size_t(i)].width;
        return m_bytes.mid(headerLength + record * recordLength + offset, all[std::size_t(field)].width);
    }

private:
    DBFHandle m_handle;
    QByteArray m_bytes;
};

} // namespace qxtest
