#pragma once

#include <QString>

#include <optional>

namespace kivaro {

class Toast;

// Where copied links go. The system clipboard implements it (SystemPasteboard); tests
// record what was written. Main thread only.
class Pasteboard {
public:
    virtual ~Pasteboard() = default;

    // Replaces the whole content: `text` as plain text and, when given, `url` as an address.
    virtual void write(const QString& text, const std::optional<QString>& url) = 0;
};

// Copying page links, as plain text and address or as a Markdown link.
namespace Clipboard {

// "[title](url)", with the square brackets of the title escaped; the address is unchanged.
QString markdownLink(const QString& url, const QString& title);

// Writes the link and confirms it with a toast. Main thread only.
void copyLink(Pasteboard& pasteboard, Toast& toast, const QString& url, const QString& title,
              bool markdown);

} // namespace Clipboard

} // namespace kivaro
