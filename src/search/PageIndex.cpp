#include "search/PageIndex.h"

#include "base/Web.h"

namespace kivaro {

namespace {

constexpr int letterBits = 26;
constexpr int digitBits = 10;
constexpr int otherBits = 64 - letterBits - digitBits;

quint64 trigramKey(QStringView text, qsizetype at) {
    return quint64(text[at].unicode()) << 32 | quint64(text[at + 1].unicode()) << 16 |
           text[at + 2].unicode();
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

quint64 characterBit(QChar character) {
    const char16_t c = character.unicode();
    if (c >= u'a' && c <= u'z')
        return quint64(1) << (c - u'a');
    if (c >= u'0' && c <= u'9')
        return quint64(1) << (letterBits + (c - u'0'));
    return quint64(1) << (letterBits + digitBits + c % otherBits);
}

void PairMask::add(QStringView text) {
    for (qsizetype i = 1; i < text.size(); ++i) {
        const unsigned pair = (unsigned(text[i - 1].unicode()) * 31 + text[i].unicode()) & 255;
        bits[pair / 64] |= quint64(1) << (pair % 64);
    }
}

quint64 characterMask(QStringView text) {
    quint64 mask = 0;
    for (QChar c : text)
        mask |= characterBit(c);
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
    entry.utf8Length = PageView::noUtf8;
    if (QStringView(haystack).isValidUtf16()) {
        const QByteArray bytes = haystack.toUtf8();
        entry.utf8Length = quint32(bytes.size());
        utf8_.append(bytes);
    }
    entry.wordStart = quint32(words_.size());
    entry.wordCount = quint32(words.size());
    entry.characters = characterMask(haystack);
    entry.pairs.add(haystack);
    entry.hostStart16 = host.isEmpty() ? u'\0' : host.front().unicode();
    entry.titleStart16 = lowerTitle.isEmpty() ? u'\0' : lowerTitle.front().unicode();
    entry.labelInitials = 0;
    for (qsizetype i = 0; i < host.size(); ++i) {
        if (i == 0 || host[i - 1] == u'.')
            entry.labelInitials |= characterBit(host[i]);
    }
    entry.wordInitials = 0;
    for (const Text::WordSpan& word : words)
        entry.wordInitials |= characterBit(lowerTitle[word.start]);

    const quint32 entryNumber = quint32(entries_.size());
    for (qsizetype at = 0; at + 3 <= haystack.size(); ++at) {
        std::vector<quint32>& holders = trigrams_[trigramKey(haystack, at)];
        if (holders.empty() || holders.back() != entryNumber)
            holders.push_back(entryNumber);
    }

    text_.append(haystack);
    hosts_.append(host);
    words_.insert(words_.end(), words.begin(), words.end());
    entries_.push_back(entry);
}

std::optional<std::span<const quint32>> PageIndex::candidates(const QStringList& words) const {
    std::optional<std::span<const quint32>> shortest;
    for (const QString& word : words) {
        for (qsizetype at = 0; at + 3 <= word.size(); ++at) {
            const auto holders = trigrams_.constFind(trigramKey(word, at));
            if (holders == trigrams_.cend())
                return std::span<const quint32>();
            if (!shortest || holders->size() < shortest->size())
                shortest = std::span<const quint32>(*holders);
        }
    }
    return shortest;
}

} // namespace kivaro
