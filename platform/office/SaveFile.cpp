#include "platform/office/SaveFile.h"

#include "platform/rtl/Exceptions.h"

#include <QFileInfo>
#include <QSaveFile>

namespace qx {

void saveFileBytes(const QString& fileName, const QByteArray& bytes)
{
    const QString shown = QFileInfo(fileName).absoluteFilePath();
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw EInOutError(QStringLiteral("Cannot create file \"%1\". %2").arg(shown, file.errorString()));
    // commit() closes the file without reporting a failure of the last buffered bytes, so they
    // are flushed and checked here, before the new file may take the old one's place.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw EInOutError(QStringLiteral("Cannot write file \"%1\". %2").arg(shown, reason));
    }
    if (!file.commit())
        throw EInOutError(QStringLiteral("Cannot create file \"%1\". %2").arg(shown, file.errorString()));
}

} // namespace qx
