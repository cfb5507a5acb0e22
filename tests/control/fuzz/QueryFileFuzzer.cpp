// libFuzzer target of the report template files (.QXE) that users exchange: every input,
// saved as a file, is loaded into a query definition with LoadFromFile. A load must end in a
// definition or in EReadError; any other exception, a crash, a hang or an allocation beyond
// the fuzzer's limit is a finding. A definition that loads must save and load again to the
// same image, and the component read out of the file must be gone afterwards.
#include "control/uQxQueryControl.h"

#include "platform/db/Fields.h"
#include "platform/db/QxMemTable.h"
#include "platform/rtl/Exceptions.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

const QTemporaryDir& folder()
{
    static const QTemporaryDir dir;
    return dir;
}

// The definition saved, loaded into a fresh component and saved again gives the same bytes.
// The report table lives in memory, so that the check costs no disk writes, and only for
// the one input: its rows sit in mapped pages, which the leak check does not search.
void checkRoundTrip(TQxQueryControl& loaded)
{
    TQxMemTable table;
    table.setObjectName(QStringLiteral("QryReport"));
    table.FieldDefs()->Add(QStringLiteral("ReportDB"), ftBlob);
    table.Open();
    TField* blob = table.FieldByName(QStringLiteral("ReportDB"));
    loaded.setObjectName(QStringLiteral("Query"));
    loaded.SetReportData(&table);
    loaded.SaveToReportData();
    const QByteArray first = blob->AsBytes();
    TQxQueryControl again;
    again.setObjectName(QStringLiteral("Query"));
    again.SetReportData(&table);
    again.LoadFromReportData();
    again.SaveToReportData();
    if (blob->AsBytes() != first)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (!folder().isValid())
        std::abort();
    const QString input = folder().filePath(QStringLiteral("input.QXE"));
    {
        QFile f(input);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)
            || f.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
            std::abort();
    }
    TQxQueryControl query;
    bool loaded = false;
    try {
        query.LoadFromFile(input);
        loaded = true;
    } catch (const EReadError&) {
        // The one way a damaged file may end.
    } catch (...) {
        std::abort();
    }
    if (!query.findChildren<TQxQueryControl*>().isEmpty())
        std::abort();
    if (loaded) {
        try {
            checkRoundTrip(query);
        } catch (...) {
            std::abort();
        }
    }
    return 0;
}
