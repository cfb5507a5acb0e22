// libFuzzer target of the template reader. Every input must end in a template or in
// ETemplateError: any other exception, a crash, a hang or a single allocation beyond the
// fuzzer's malloc limit is a finding. The pictures of a template that reads are decoded as a
// report would decode them.
#include "platform/template/TemplateFormat.h"

#include <QByteArray>
#include <QGuiApplication>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static int argc = 1;
    static char name[] = "template_reader_fuzzer";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = new QGuiApplication(argc, argv);
    (void)app;
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        const qx::tpl::TemplateDocument doc = qx::tpl::readTemplate(bytes);
        for (const qx::tpl::TemplateBand& band : doc.bands) {
            for (const qx::tpl::TemplateObject& object : band.objects) {
                if (!object.png.isEmpty())
                    (void)qx::tpl::decodePng(object.png);
            }
        }
        // What was read writes and reads back the same.
        if (qx::tpl::readTemplate(qx::tpl::writeTemplate(doc)) != doc)
            std::abort();
    } catch (const ETemplateError&) {
        // The one way a damaged template may end.
    } catch (...) {
        std::abort();
    }
    return 0;
}
