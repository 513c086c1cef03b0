#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <algorithm>
#include <span>
#include <string_view>

namespace kivaro::Text {

// Surrounding spaces and tabs removed; newlines and other white space are kept.
QStringView trimSpacesAndTabs(QStringView text);

// The pieces between single spaces, empty pieces dropped.
QStringList spaceSeparatedWords(QStringView text);

// A run of letters and numbers (any script) in a text; every other character separates runs.
struct WordSpan {
    quint32 start = 0;  // in UTF-16 units
    quint32 length = 0; // in UTF-16 units
};

QList<WordSpan> wordSpans(QStringView text);

// Whether some word of `text` begins with `prefix`.
bool anyWordStartsWith(QStringView text, QStringView prefix);
// The same with the words of `text` found beforehand.
bool anyWordStartsWith(QStringView text, std::span<const WordSpan> words, QStringView prefix);

// Plain code-unit comparisons, kept inline: ranking calls them for every history entry on every
// keystroke.
inline bool startsWith(QStringView text, QStringView prefix) {
    return prefix.size() <= text.size() && std::equal(prefix.begin(), prefix.end(), text.begin());
}

// Whether `needle` occurs in `haystack`, code unit by code unit.
inline bool contains(QStringView haystack, QStringView needle) {
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) !=
               haystack.end() ||
           needle.isEmpty();
}

// Whether `needle` occurs in `haystack`, compared byte by byte.
bool containsBytes(std::string_view haystack, std::string_view needle);

// Whether some piece of `text` between `separator`s begins with `prefix`.
bool anyPieceStartsWith(QStringView text, QChar separator, QStringView prefix);

// Whether every character of `text` (taken as code points) satisfies `test`; false when empty.
template <typename Test>
bool allCodePoints(QStringView text, Test test) {
    if (text.isEmpty())
        return false;
    for (char32_t codePoint : text.toUcs4()) {
        if (!test(codePoint))
            return false;
    }
    return true;
}

} // namespace kivaro::Text
