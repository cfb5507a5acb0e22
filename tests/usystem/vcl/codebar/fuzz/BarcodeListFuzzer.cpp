// libFuzzer target of the barcode label lists (".Bar"): a table of the list's own structure
// reads a file as the dialog's "读取" does. Every input must load or end in the loader's
// EDatabaseError, never in a crash, undefined behaviour or another exception, and no value is
// read in cut.
#include "platform/db/QxMemTable.h"
#include "usystem/vcl/codebar/uQxCodebar.h"

#include <QApplication>
#include <QBuffer>

#include <cstdint>
#include <cstdlib>

namespace {

// The dialog's list table, whose structure every read takes.
const TQxMemTable& listTable()
{
    static QApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "barcode_list_fuzzer";
        static char* argv[] = {name, nullptr};
        return new QApplication(argc, argv);
    }();
    (void)app;
    static TFrmCodeBar* form = new TFrmCodeBar;
    return *form->tblitemcode;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const TQxMemTable& shape = listTable();
    QBuffer in;
    in.setData(QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)));
    in.open(QIODevice::ReadOnly);
    try {
        TQxMemTable list;
        list.CopyStructure(const_cast<TQxMemTable*>(&shape));
        list.SetCsvEncoding(shape.CsvEncoding());
        list.Open();
        list.LoadFromStream(in);
        for (list.First(); !list.Eof(); list.Next())
            for (TField* f : *list.Fields())
                if (f->DataType() == ftString && f->AsString().size() > f->Size())
                    std::abort();
    } catch (const EDatabaseError&) {
    } catch (...) {
        std::abort();
    }
    return 0;
}
