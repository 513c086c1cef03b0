#include "search/Text.h"

#include <QChar>
#include <QStringTokenizer>

namespace kivaro::Text {

namespace {

bool isSpaceOrTab(QChar c) { return c == u' ' || c == u'\t'; }

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
    return anyWordStartsWith(text, wordSpans(text), prefix);
}

bool anyWordStartsWith(QStringView text, const QList<WordSpan>& words, QStringView prefix) {
    for (const WordSpan& word : words) {
        if (word.length >= prefix.size() && text.sliced(word.start, word.length).startsWith(prefix))
            return true;
    }
    return false;
}

bool anyPieceStartsWith(QStringView text, QChar separator, QStringView prefix) {
    for (QStringView piece : QStringTokenizer(text, separator)) {
        if (piece.startsWith(prefix))
            return true;
    }
    return false;
}

} // namespace kivaro::Text
