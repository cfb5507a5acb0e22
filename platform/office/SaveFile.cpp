#include "platform/office/SaveFile.h"

#include "platform/rtl/SafeSave.h"

namespace qx {

void saveFileBytes(const QString& fileName, const QByteArray& bytes)
{
    // The shared safe save: temporary file beside the target, every write, the sync and the
    // rename checked, the old file whole on any failure.
    saveFile(fileName, bytes);
}

} // namespace qx
