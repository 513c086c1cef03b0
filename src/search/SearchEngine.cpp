#include "search/SearchEngine.h"

#include <QByteArray>

namespace kivaro {

namespace {

// QByteArray::toPercentEncoding leaves exactly the unreserved characters of RFC 3986
// (letters, digits, "-", ".", "_", "~") as they are. Text that is not valid UTF-16 (a lone
// surrogate) cannot be encoded and gives nothing.
QString percentEncoded(QStringView text) {
    if (!text.isValidUtf16())
        return {};
    return QString::fromLatin1(text.toUtf8().toPercentEncoding());
}

} // namespace

QString SearchEngine::displayName() const {
    return QString::fromUtf16(row().displayName);
}

QString SearchEngine::searchURL(QStringView text) const {
    return QString::fromUtf16(row().searchPage) + percentEncoded(text);
}

} // namespace kivaro
