// Qt's event loop does not carry exceptions, so every event handler that can throw runs inside
// the guard: an error of the system shows its message in an error box captioned with the
// application's title, the silent EAbort ends the action without a word, and nothing escapes
// into the event loop.
#pragma once

#include <functional>
#include <utility>

class QWidget;

namespace qx {

// Runs fn; true when it finished, false when it raised (after the message was shown).
bool guard(QWidget* parent, const std::function<void()>& fn);

// Shows the exception being handled the way guard does; call it only inside a catch block.
void showCurrentException(QWidget* parent);

// A slot for connect() that runs fn inside the guard:
//   connect(button, &QPushButton::clicked, this, qx::guarded(this, [this] { save(); }));
template <typename Fn>
auto guarded(QWidget* parent, Fn fn)
{
    return [parent, fn = std::move(fn)](auto&&... args) {
        guard(parent, [&] { fn(std::forward<decltype(args)>(args)...); });
    };
}

} // namespace qx
