#include "search/PageKey.h"

#include "search/Web.h"


namespace kivaro {

namespace {

constexpr int letterBits = 26;
constexpr int digitBits = 10;
constexpr int otherBits = 64 - letterBits - digitBits;

int characterBit(char16_t c) {
    if (c >= u'a' && c <= u'z')
        return c - u'a';
    if (c >= u'0' && c <= u'9')
        return letterBits + (c - u'0');
    return letterBits + digitBits + c % otherBits;
}

} // namespace

quint64 characterMask(QStringView text) {
    quint64 mask = 0;
    for (QChar c : text)
        mask |= quint64(1) << characterBit(c.unicode());
    return mask;
}

PageKey PageKey::of(const QString& title, const QString& url) {
    PageKey key;
    const QString lowerTitle = title.toLower();
    key.haystack = lowerTitle + u' ' + Web::bare(url);
    key.titleLength = lowerTitle.size();
    key.host = Web::host(url);
    key.characters = characterMask(key.haystack);
    key.titleWords = Text::wordSpans(lowerTitle);
    return key;
}

} // namespace kivaro
