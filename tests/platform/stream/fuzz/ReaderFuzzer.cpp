// libFuzzer target of the component image reader. Every input must end in a list of
// components or in EReadError: any other exception, a crash, a hang or a single allocation
// beyond the fuzzer's malloc limit is a finding.
#include "StreamFixtures.h"

#include "platform/rtl/Exceptions.h"
#include "platform/stream/ComponentReader.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>

namespace {

void readOnce(const QByteArray& bytes, bool tolerant)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QObject owner;
    try {
        qx::ComponentReader reader(buffer, tolerant);
        reader.readComponentList(&owner, nullptr);
        reader.fixupReferences(&owner);
    } catch (const EReadError&) {
        // The one way a damaged image may end.
    } catch (...) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool registered = [] {
        registerTestClasses();
        return true;
    }();
    (void)registered;
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    readOnce(bytes, false);
    readOnce(bytes, true);
    return 0;
}
