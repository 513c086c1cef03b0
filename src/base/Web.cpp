#include "base/Web.h"

#include "base/Text.h"

#include <QStringList>
#include <QStringTokenizer>
#include <QUrl>

#include <algorithm>

namespace kivaro::Web {

namespace {

constexpr QStringView https = u"https://";
constexpr QStringView http = u"http://";
constexpr QStringView www = u"www.";
constexpr QStringView localhost = u"localhost";

QStringView droppingPrefix(QStringView text, QStringView prefix) {
    return text.startsWith(prefix) ? text.sliced(prefix.size()) : text;
}

// The query with every item whose name begins with "utm_" removed; the others keep
// their order and their encoding.
QString queryWithoutTracking(const QString& query) {
    QStringList kept;
    for (QStringView item : QStringTokenizer(query, u'&')) {
        const QStringView name = item.left(item.indexOf(u'='));
        const QString decodedName = QUrl::fromPercentEncoding(name.toUtf8());
        if (!decodedName.toLower().startsWith(u"utm_"))
            kept.append(item.toString());
    }
    return kept.join(u'&');
}

// The host part of typed text: before the first "/" and then before the first ":".
QStringView typedHost(QStringView text) {
    QStringView host = text;
    for (QStringView piece : QStringTokenizer(text, u'/', Qt::SkipEmptyParts)) {
        host = piece;
        break;
    }
    for (QStringView piece : QStringTokenizer(host, u':', Qt::SkipEmptyParts))
        return piece;
    return {};
}

// The host and port of an address's text: after "//" and any user name, up to the path, query
// or fragment.
QStringView writtenHostAndPort(QStringView url) {
    const qsizetype start = url.indexOf(u"//");
    if (start < 0)
        return {};
    QStringView authority = url.sliced(start + 2);
    for (QChar end : {u'/', u'?', u'#'}) {
        if (const qsizetype at = authority.indexOf(end); at >= 0)
            authority.truncate(at);
    }
    return authority.sliced(authority.lastIndexOf(u'@') + 1);
}

// The host in the form the address wrote it. QUrl keeps one form of an international host
// and hands it out as Unicode or as ASCII ("xn--" labels) depending on its top-level domain;
// an address names a page as written, like bare() and page() do.
QString writtenHost(const QUrl& parsed, QStringView url) {
    const QString ascii = parsed.host(QUrl::EncodeUnicode);
    const QStringView written = writtenHostAndPort(url);
    const bool unicode =
        std::any_of(written.begin(), written.end(), [](QChar c) { return c.unicode() > 0x7f; });
    return unicode ? QUrl::fromAce(ascii.toLatin1(), QUrl::IgnoreIDNWhitelist) : ascii;
}

} // namespace

QString host(const QString& url) {
    const QUrl parsed(url);
    if (!parsed.isValid())
        return {};
    const QString lower = writtenHost(parsed, url).toLower();
    if (lower.startsWith(www))
        return lower.sliced(www.size());
    return lower;
}

QString bare(QStringView url) {
    const QString lower = url.toString().toLower();
    // Every prefix goes, however often it repeats ("https://https://www.www."), so that the
    // bare form of a bare form is itself.
    QStringView rest = lower;
    for (QStringView before; before.size() != rest.size();) {
        before = rest;
        for (QStringView prefix : {https, http, www})
            rest = droppingPrefix(rest, prefix);
    }
    while (rest.endsWith(u'/'))
        rest.chop(1);
    return rest.toString();
}

QString page(const QString& url) {
    if (!QUrl(url).isValid())
        return bare(url);
    // The fragment starts at the first "#", the query at the first "?" before it. Editing the
    // text rather than re-serialising the parsed address keeps every other byte as it was.
    QStringView rest = QStringView(url).left(url.indexOf(u'#'));
    const qsizetype queryStart = rest.indexOf(u'?');
    if (queryStart < 0)
        return bare(rest);
    const QString query = queryWithoutTracking(rest.sliced(queryStart + 1).toString());
    const QStringView location = rest.first(queryStart);
    return bare(query.isEmpty() ? location.toString() : location.toString() + u'?' + query);
}

bool looksLikeURL(QStringView text) {
    const QString t = Text::trimSpacesAndTabs(text).toString().toLower();
    if (t.isEmpty() || t.contains(u' '))
        return false;
    if (t.startsWith(http) || t.startsWith(https))
        return true;
    // A host no address can hold ("b%c.de", a replacement character) makes a search, not a
    // broken address.
    const QStringView host = typedHost(t);
    if (!QUrl(https.toString().append(host)).isValid())
        return false;
    if (t.startsWith(localhost))
        return true;
    const auto labels =
        QStringTokenizer(host, u'.', Qt::SkipEmptyParts).toContainer<QList<QStringView>>();
    if (labels.size() < 2)
        return false;
    const auto isNumber = [](char32_t c) { return QChar::isNumber(c); };
    if (labels.size() == 4 && std::all_of(labels.begin(), labels.end(), [&](QStringView label) {
            return Text::allCodePoints(label, isNumber);
        }))
        return true;
    const QStringView last = labels.last();
    if (last.toUcs4().size() < 2)
        return false;
    return Text::allCodePoints(last, [](char32_t c) { return QChar::isLetter(c); });
}

QString normalize(QStringView text) {
    const QString t = Text::trimSpacesAndTabs(text).toString();
    const QString lower = t.toLower();
    if (lower.startsWith(http) || lower.startsWith(https))
        return t;
    if (lower.startsWith(localhost))
        return http.toString() + t;
    if (!t.isEmpty() && QChar::isNumber(t.toUcs4().front()))
        return http.toString() + t;
    return https.toString() + t;
}

} // namespace kivaro::Web
