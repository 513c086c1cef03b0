#include "search/PageIndex.h"

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

// At most `PageIndex::longest` code units, never splitting a surrogate pair.
QStringView capped(QStringView text) {
    if (text.size() <= PageIndex::longest)
        return text;
    qsizetype length = PageIndex::longest;
    if (text[length - 1].isHighSurrogate())
        --length;
    return text.first(length);
}

} // namespace

quint64 characterMask(QStringView text) {
    quint64 mask = 0;
    for (QChar c : text)
        mask |= quint64(1) << characterBit(c.unicode());
    return mask;
}

void PageIndex::append(const QString& title, const QString& url) {
    // Lower-cased from a named string as the query is: Qt's in-place path for temporaries
    // treats a lone surrogate differently.
    const QString cappedTitle = capped(title).toString();
    const QString lowerTitle = cappedTitle.toLower();
    const QString haystack = lowerTitle + u' ' + Web::bare(capped(url));
    const QString host = Web::host(capped(url).toString());
    const QList<Text::WordSpan> words = Text::wordSpans(lowerTitle);

    Entry entry{};
    entry.textStart = quint32(text_.size());
    entry.textLength = quint32(haystack.size());
    entry.titleLength = quint32(lowerTitle.size());
    entry.hostStart = quint32(hosts_.size());
    entry.hostLength = quint32(host.size());
    entry.utf8Start = quint32(utf8_.size());
    entry.utf8Length = noUtf8;
    if (QStringView(haystack).isValidUtf16()) {
        const QByteArray bytes = haystack.toUtf8();
        entry.utf8Length = quint32(bytes.size());
        utf8_.append(bytes);
    }
    entry.wordStart = quint32(words_.size());
    entry.wordCount = quint32(words.size());
    entry.characters = characterMask(haystack);

    text_.append(haystack);
    hosts_.append(host);
    words_.insert(words_.end(), words.begin(), words.end());
    entries_.push_back(entry);
}

PageView PageIndex::at(qsizetype i) const {
    const Entry& entry = entries_[size_t(i)];
    std::optional<std::string_view> utf8;
    if (entry.utf8Length != noUtf8)
        utf8 = std::string_view(utf8_.constData() + entry.utf8Start, entry.utf8Length);
    return PageView{
        .haystack = QStringView(text_).sliced(entry.textStart, entry.textLength),
        .titleLength = entry.titleLength,
        .host = QStringView(hosts_).sliced(entry.hostStart, entry.hostLength),
        .utf8 = utf8,
        .titleWords = std::span(words_).subspan(entry.wordStart, entry.wordCount),
        .characters = entry.characters,
    };
}

} // namespace kivaro
