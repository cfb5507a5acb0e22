#include "platform/office/ExportFileName.h"

#include "platform/rtl/Clock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace qx {

namespace {

// A caption is a title, not a path: long ones are cut to keep the name within what file
// systems take (255 bytes), which 80 characters of UTF-8 always are.
constexpr int MaxCaptionLength = 80;

QString fileNamePart(const QString& caption)
{
    QString part;
    for (const QChar c : caption) {
        const bool refused = c.unicode() < 0x20 || c == u'/' || c == u'\\' || c == u':' || c == u'*'
            || c == u'?' || c == u'"' || c == u'<' || c == u'>' || c == u'|' || c.isSurrogate();
        part += refused ? QChar(u'_') : c;
    }
    part = part.trimmed();
    if (part.size() > MaxCaptionLength)
        part.truncate(MaxCaptionLength);
    return part;
}

} // namespace

QString newExportFileName(const QString& caption, const QString& extension)
{
    const QString stamp = Now().toQDateTime().toString(QStringLiteral("yyyyMMddhhmmss"));
    const QString part = fileNamePart(caption);
    const QString base = QDir(QDir::tempPath()).filePath(part.isEmpty() ? stamp : part + u'_' + stamp);
    // The name is claimed by creating the file exclusively, so two exports in the same second
    // (two program windows, two test processes) never pick the same file; the save then
    // replaces the empty claim whole.
    QString name = base + u'.' + extension;
    for (int n = 2;; ++n) {
        QFile claim(name);
        if (claim.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return name;
        if (!QFileInfo::exists(name))
            return name; // the folder refuses the file: the save reports why
        name = base + u'_' + QString::number(n) + u'.' + extension;
    }
}

ClaimedExportFile::ClaimedExportFile(const QString& caption, const QString& extension)
    : m_name(newExportFileName(caption, extension))
{}

ClaimedExportFile::~ClaimedExportFile()
{
    if (!m_keep)
        QFile::remove(m_name);
}

} // namespace qx
