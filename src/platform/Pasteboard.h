#pragma once

#include <QString>

#include <optional>

namespace kivaro {

// Where copied links go. The system clipboard implements it (SystemPasteboard); tests
// record what was written. Main thread only.
class Pasteboard {
public:
    virtual ~Pasteboard() = default;

    // Replaces the whole content: `text` as plain text and, when given, `url` as an address.
    virtual void write(const QString& text, const std::optional<QString>& url) = 0;
};

} // namespace kivaro
