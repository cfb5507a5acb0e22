#include "platform/report/QRPreviewInterface.h"

#include "platform/env/DialogService.h"
#include "platform/report/QRStandardPreview.h"

namespace {

TQRPreviewInterfaceClass& registered()
{
    static TQRPreviewInterfaceClass cls;
    return cls;
}

} // namespace

TQRPreviewInterface::~TQRPreviewInterface() = default;

void RegisterPreviewClass(TQRPreviewInterfaceClass cls)
{
    registered() = std::move(cls);
}

void RegisterStandardPreviewClass()
{
    registered() = nullptr;
}

std::unique_ptr<TQRPreviewInterface> CreatePreviewInterface()
{
    if (registered()) {
        if (auto iface = registered()())
            return iface;
    }
    return std::make_unique<TQRStandardPreviewInterface>();
}

QWidget* TQRStandardPreviewInterface::Show(TQRPrinter* printer)
{
    auto* window = new TQRStandardPreview(printer);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    return window;
}

QWidget* TQRStandardPreviewInterface::ShowModal(TQRPrinter* printer)
{
    TQRStandardPreview window(printer);
    qx::DialogService::instance().execDialog(window);
    return nullptr;
}
