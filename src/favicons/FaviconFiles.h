#pragma once

#include <QString>

namespace kivaro {

// Names of the favicon cache files. Hosts come from web pages and browsers, so a name must
// never leave the cache folder, whatever the host holds.
namespace FaviconFiles {

// Longest host kept as it is; a file name may have 255 bytes and ".png" follows.
inline constexpr int longestPlainHost = 200;

// host + ".png" for an ordinary host (ASCII letters, digits, '.', '-', '_' and a ':' before
// a port, not starting with a dot, at most 200 characters); any other host becomes "~",
// the SHA-256 of its UTF-8 bytes in hexadecimal and ".png". No ordinary name holds a '~',
// so the two kinds never collide.
QString fileName(const QString& host);

} // namespace FaviconFiles

} // namespace kivaro
