// A zip archive built in memory with libzip: the container of the word-processor files. The
// finished archive leaves as one block of bytes, so that it reaches the disk through the
// exports' save routine like every other export file.
#pragma once

#include "platform/rtl/Exceptions.h"

#include <QByteArray>
#include <QString>

#include <memory>

namespace qx {

// libzip refused an operation; the message carries libzip's reason.
QX_DECLARE_EXCEPTION(EZipError, Exception)

class ZipWriter
{
public:
    // An empty archive; raises EZipError when libzip cannot make one.
    ZipWriter();
    ~ZipWriter();
    ZipWriter(const ZipWriter&) = delete;
    ZipWriter& operator=(const ZipWriter&) = delete;

    // Adds a compressed entry of that name (UTF-8 in the archive) holding bytes; entries keep
    // the order they are added in. A name given twice raises EZipError.
    void addFile(const QString& name, const QByteArray& bytes);

    // Finishes the archive and returns its bytes; nothing can be added afterwards.
    QByteArray finish();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace qx
