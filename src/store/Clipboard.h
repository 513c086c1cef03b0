#pragma once

#include "platform/Pasteboard.h"

#include <QString>

#include <optional>

namespace kivaro {

class Toast;

// Copying page links, as plain text and address or as a Markdown link.
namespace Clipboard {

// "[title](url)", with the square brackets of the title escaped; the address is unchanged.
QString markdownLink(const QString& url, const QString& title);

// Writes the link and confirms it with a toast. Main thread only.
void copyLink(Pasteboard& pasteboard, Toast& toast, const QString& url, const QString& title,
              bool markdown);

} // namespace Clipboard

} // namespace kivaro
