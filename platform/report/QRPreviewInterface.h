// Preview interfaces: what shows a report's pages on the screen.
//
// A report previews through the interface class registered last (the standard one until
// another is registered): Show puts up a window for the printer object's pages and returns at
// once (pages keep arriving while the report runs); ShowModal shows the finished pages and
// returns when the window was closed. The window tells the printer object when it closes
// (TQRPrinter::ClosePreview); until then the report keeps its printer object.
#pragma once

#include <functional>
#include <memory>

class QWidget;
class TQRPrinter;

class TQRPreviewInterface
{
public:
    virtual ~TQRPreviewInterface();
    // Returns the window, shown and not waited for.
    virtual QWidget* Show(TQRPrinter* printer) = 0;
    // Returns when the window was closed; the window may already be gone (nullptr).
    virtual QWidget* ShowModal(TQRPrinter* printer) = 0;
};

using TQRPreviewInterfaceClass = std::function<std::unique_ptr<TQRPreviewInterface>()>;

// Makes the class the one reports preview through.
void RegisterPreviewClass(TQRPreviewInterfaceClass cls);
template <typename Interface>
void RegisterPreviewClass()
{
    RegisterPreviewClass([] { return std::make_unique<Interface>(); });
}
// Back to the engine's standard preview window.
void RegisterStandardPreviewClass();
// An instance of the registered class.
std::unique_ptr<TQRPreviewInterface> CreatePreviewInterface();

// The engine's own: the plain standard preview window (QRStandardPreview.h).
class TQRStandardPreviewInterface : public TQRPreviewInterface
{
public:
    QWidget* Show(TQRPrinter* printer) override;
    QWidget* ShowModal(TQRPrinter* printer) override;
};
