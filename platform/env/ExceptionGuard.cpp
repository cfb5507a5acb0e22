#include "platform/env/ExceptionGuard.h"

#include "platform/env/DialogService.h"
#include "platform/rtl/Exceptions.h"

#include <QGuiApplication>

#include <exception>

namespace qx {

namespace {

void showError(QWidget* parent, const QString& text)
{
    // A failing message box must not throw out of the guard either.
    try {
        messageBox(parent, text, QGuiApplication::applicationDisplayName(), MessageIcon::Error,
                   {mrOk}, mrOk);
    } catch (...) {
    }
}

} // namespace

void showCurrentException(QWidget* parent)
{
    const std::exception_ptr current = std::current_exception();
    if (!current)
        return;
    try {
        std::rethrow_exception(current);
    } catch (const EAbort&) {
        // The silent exception: the action was abandoned on purpose.
    } catch (const Exception& e) {
        showError(parent, e.Message());
    } catch (const std::exception& e) {
        showError(parent, QString::fromUtf8(e.what()));
    } catch (...) {
        showError(parent, QStringLiteral("Unknown exception"));
    }
}

bool guard(QWidget* parent, const std::function<void()>& fn)
{
    try {
        if (fn)
            fn();
        return true;
    } catch (...) {
        showCurrentException(parent);
        return false;
    }
}

} // namespace qx
