#include "base/Text.h"

#include <QChar>
#include <QStringTokenizer>

#include <cstring>
#include <string_view>

namespace kivaro::Text {

namespace {

bool isSpaceOrTab(QChar c) {
    return c == u' ' || c == u'\t';
}

// The code point at `position` and how many UTF-16 units it takes.
std::pair<char32_t, qsizetype> codePointAt(QStringView text, qsizetype position) {
    const QChar c = text[position];
    if (c.isHighSurrogate() && position + 1 < text.size() && text[position + 1].isLowSurrogate())
        return {QChar::surrogateToUcs4(c, text[position + 1]), 2};
    return {c.unicode(), 1};
}

} // namespace

QStringView trimSpacesAndTabs(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isSpaceOrTab(text[begin]))
        ++begin;
    while (end > begin && isSpaceOrTab(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

QStringList spaceSeparatedWords(QStringView text) {
    QStringList words;
    for (QStringView word : QStringTokenizer(text, u' ', Qt::SkipEmptyParts))
        words.append(word.toString());
    return words;
}

QList<WordSpan> wordSpans(QStringView text) {
    QList<WordSpan> spans;
    bool inWord = false;
    qsizetype start = 0;
    qsizetype position = 0;
    while (position < text.size()) {
        const auto [codePoint, width] = codePointAt(text, position);
        const bool wordCharacter = QChar::isLetterOrNumber(codePoint);
        if (wordCharacter && !inWord)
            start = position;
        if (!wordCharacter && inWord)
            spans.append({quint32(start), quint32(position - start)});
        inWord = wordCharacter;
        position += width;
    }
    if (inWord)
        spans.append({quint32(start), quint32(position - start)});
    return spans;
}

bool anyWordStartsWith(QStringView text, QStringView prefix) {
    const QList<WordSpan> words = wordSpans(text);
    return anyWordStartsWith(text, std::span(words.constData(), size_t(words.size())), prefix);
}

bool anyWordStartsWith(QStringView text, std::span<const WordSpan> words, QStringView prefix) {
    if (prefix.isEmpty())
        return !words.empty();
    for (const WordSpan& word : words) {
        if (text[word.start] == prefix.front() && word.length >= prefix.size() &&
            startsWith(text.sliced(word.start), prefix))
            return true;
    }
    return false;
}

bool containsBytes(std::string_view haystack, std::string_view needle) {
    // Finds each occurrence of the first byte with the vectorised memchr and compares the rest
    // in place: on short texts and words that beats memmem's general algorithm.
    if (needle.empty())
        return true;
    if (needle.size() > haystack.size())
        return false;
    const char* position = haystack.data();
    const char* const lastStart = haystack.data() + (haystack.size() - needle.size());
    while (position <= lastStart) {
        const auto* found = static_cast<const char*>(
            std::memchr(position, needle.front(), size_t(lastStart - position) + 1));
        if (!found)
            return false;
        // The second byte first: a call to compare the rest is dearer than the search itself.
        if (needle.size() == 1 ||
            (found[1] == needle[1] && std::equal(needle.begin() + 2, needle.end(), found + 2)))
            return true;
        position = found + 1;
    }
    return false;
}

bool anyPieceStartsWith(QStringView text, QChar separator, QStringView prefix) {
    if (prefix.isEmpty())
        return true;
    if (std::find(prefix.begin(), prefix.end(), separator) != prefix.end())
        return false; // no piece holds a separator
    const QChar first = prefix.front();
    for (qsizetype start = 0; start < text.size(); ++start) {
        const bool pieceStart = start == 0 || text[start - 1] == separator;
        if (text[start] == first && pieceStart && startsWith(text.sliced(start), prefix))
            return true;
    }
    return false;
}

} // namespace kivaro::Text
