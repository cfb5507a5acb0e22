#include "platform/rtl/SystemError.h"

#include <cerrno>
#include <cstring>

namespace qx {

QString systemErrorText(int error)
{
    switch (error) {
    case ENOSPC: return QStringLiteral("磁盘空间不足。");
    case EDQUOT: return QStringLiteral("磁盘配额不足。");
    case EFBIG: return QStringLiteral("文件太大。");
    case EACCES:
    case EPERM:
    case EISDIR: return QStringLiteral("拒绝访问。");
    case EROFS: return QStringLiteral("介质受写入保护。");
    case ENOENT:
    case ENOTDIR: return QStringLiteral("系统找不到指定的路径。");
    case EIO: return QStringLiteral("由于 I/O 设备错误，无法运行此项请求。");
    case ENAMETOOLONG: return QStringLiteral("文件名或扩展名太长。");
    case EBUSY:
    case ETXTBSY: return QStringLiteral("另一个程序正在使用此文件，进程无法访问。");
    case EMFILE:
    case ENFILE: return QStringLiteral("系统无法打开文件。");
    case ENOMEM: return QStringLiteral("内存资源不足，无法处理此命令。");
    default: break;
    }
    char buffer[256] = {};
    // The GNU strerror_r returns the text, which need not be in the buffer.
    const char* text = strerror_r(error, buffer, sizeof buffer);
    return QStringLiteral("%1 (%2)。").arg(QString::fromLocal8Bit(text)).arg(error);
}

} // namespace qx
