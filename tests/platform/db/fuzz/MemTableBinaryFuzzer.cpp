// libFuzzer target of the memory table's binary loader. Every input must load or end in the
// loader's EReadError, never in a crash, undefined behaviour, an allocation beyond the input or
// another exception; a table it loaded saves and loads again.
#include "platform/db/QxMemTable.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QBuffer in;
    in.setData(QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)));
    in.open(QIODevice::ReadOnly);
    try {
        TQxMemTable table;
        table.LoadFromBinaryStream(in);
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        table.SaveToBinaryStream(out);
        out.close();
        out.open(QIODevice::ReadOnly);
        TQxMemTable again;
        again.LoadFromBinaryStream(out);
        if (again.RecordCount() != table.RecordCount())
            std::abort();
    } catch (const EReadError&) {
    } catch (...) {
        std::abort();
    }
    return 0;
}
