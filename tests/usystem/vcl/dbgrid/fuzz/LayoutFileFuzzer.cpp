// libFuzzer target of the grid layout files (".dbg"). Every input must load into a grid's
// columns or end in EReadError with the columns as they were, never in a crash, undefined
// behaviour or another exception; a layout that loaded saves and loads again.
#include "platform/rtl/Exceptions.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/dbgrid/uQxDBGridFiles.h"

#include <QApplication>
#include <QBuffer>

#include <cstdint>
#include <cstdlib>

namespace {

TQxDBGrid& grid()
{
    static QApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "layout_file_fuzzer";
        static char* argv[] = {name, nullptr};
        return new QApplication(argc, argv);
    }();
    (void)app;
    static TQxDBGrid* g = new TQxDBGrid;
    return *g;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TQxDBGrid& g = grid();
    g.Columns()->clear();
    g.Columns()->Add()->SetFieldName(QStringLiteral("Keep"));
    QBuffer in;
    in.setData(QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)));
    in.open(QIODevice::ReadOnly);
    try {
        LoadColumnsFromStream(*g.Columns(), in);
    } catch (const EReadError&) {
        if (g.Columns()->Count() != 1 || g.Columns()->Items(0)->FieldName() != QStringLiteral("Keep"))
            std::abort(); // a damaged file leaves the columns as they were
        return 0;
    } catch (...) {
        std::abort();
    }
    try {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        SaveColumnsToStream(*g.Columns(), out);
        out.close();
        out.open(QIODevice::ReadOnly);
        const int count = g.Columns()->Count();
        LoadColumnsFromStream(*g.Columns(), out);
        if (g.Columns()->Count() != count)
            std::abort();
    } catch (...) {
        std::abort();
    }
    return 0;
}
