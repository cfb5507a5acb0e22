// libFuzzer target of the settings-file reader and its in-place rewrite. Every input must read
// and rewrite without a crash, undefined behaviour or a raise of anything but the reader's own
// errors; the rewrite of a key leaves every other line as it was.
#include "platform/ini/IniFile.h"
#include "platform/rtl/Exceptions.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // On a memory file system where there is one: the rewrite syncs its file.
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/qxfuzz-XXXXXX")
                                                                        : QDir::tempPath() + QStringLiteral("/qxfuzz-XXXXXX"));
    const QString file = dir.filePath(QStringLiteral("INC.ini"));
    {
        QFile f(file);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        f.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    try {
        TIniFile ini(file);
        QStringList sections;
        ini.ReadSections(sections);
        for (const QString& section : sections) {
            QStringList values;
            ini.ReadSectionValues(section, values);
            QStringList keys;
            ini.ReadSection(section, keys);
            for (const QString& key : keys) {
                (void)ini.ReadInteger(section, key, 0);
                (void)ini.ReadFloat(section, key, 0);
                (void)ini.ReadDate(section, key, TDateTime());
            }
        }
        const QString section = sections.value(0, QStringLiteral("参数"));
        ini.WriteString(section, QStringLiteral("启用库存管理"), QStringLiteral("是"));
        if (ini.ReadString(section, QStringLiteral("启用库存管理"), QString()) != QStringLiteral("是"))
            std::abort();
        ini.DeleteKey(section, QStringLiteral("启用库存管理"));
        ini.EraseSection(section);
    } catch (const EIniFileException&) {
    } catch (...) {
        std::abort();
    }
    return 0;
}
