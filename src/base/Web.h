#pragma once

#include <QString>
#include <QStringView>

// Pure address functions used throughout the program. They never fail: text that is not
// an address gives an empty or unchanged result.
namespace kivaro::Web {

// Lower-case host without a leading "www."; empty when the address has none.
QString host(const QString& url);

// The program-wide identity of a page: lower-cased, without an "https://" or "http://"
// scheme, a leading "www." and trailing slashes.
QString bare(QStringView url);

// The bare form without the fragment and without "utm_" query parameters, so that
// tracking variants of one page fold together.
QString page(const QString& url);

// Whether typed text is an address rather than a search.
bool looksLikeURL(QStringView text);

// Typed text completed into an address to open.
QString normalize(QStringView text);

} // namespace kivaro::Web
