// The library's text hook for captions and messages. Every caption the look pass touches and
// every message-box text passes through localizeText. The hook is the identity until the
// program installs another one (the library's display mode would convert to traditional
// Chinese; nothing in the system sets that mode).
#pragma once

#include <QString>

#include <functional>

namespace qx {

QString localizeText(const QString& text);
// Installs the hook (an empty function restores the identity).
void setTextHook(std::function<QString(const QString&)> hook);

} // namespace qx
