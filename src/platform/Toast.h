#pragma once

#include <QString>

#include <optional>

namespace kivaro {

// Where short confirmations and failures go: "Link copied", "Tab pinned", a missing
// permission. The bubble on screen implements it (ToastBubble); tests record the messages.
// Main thread only: callers on other threads post to the main thread first.
class Toast {
public:
    virtual ~Toast() = default;

    // `symbol` and `done` are system-symbol names ("link", "checkmark.circle.fill"); with
    // `done` the bubble later swaps the symbol for it.
    virtual void show(const QString& text, const QString& symbol,
                      const std::optional<QString>& done = std::nullopt) = 0;
};

} // namespace kivaro
