#include "favicons/FaviconFiles.h"

#include <QCryptographicHash>

#include <algorithm>

namespace kivaro::FaviconFiles {

namespace {

bool plainCharacter(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') ||
           u == u'.' || u == u'-' || u == u'_' || u == u':';
}

bool plain(const QString& host) {
    if (host.isEmpty() || host.size() > longestPlainHost || host.startsWith(u'.'))
        return false;
    return std::all_of(host.begin(), host.end(), plainCharacter);
}

} // namespace

QString fileName(const QString& host) {
    if (plain(host))
        return host + QStringLiteral(".png");
    const QByteArray digest =
        QCryptographicHash::hash(host.toUtf8(), QCryptographicHash::Sha256).toHex();
    return u'~' + QString::fromLatin1(digest) + QStringLiteral(".png");
}

} // namespace kivaro::FaviconFiles
