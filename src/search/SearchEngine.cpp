#include "search/SearchEngine.h"

#include "base/EnumNames.h"

#include <QByteArray>

namespace kivaro {

namespace {

constexpr EnumNames<SearchEngine::Value, 4> rawNames{{{
    {SearchEngine::google, u"google"},
    {SearchEngine::duckDuckGo, u"duckDuckGo"},
    {SearchEngine::kagi, u"kagi"},
    {SearchEngine::bing, u"bing"},
}}};

constexpr EnumNames<SearchEngine::Value, 4> displayNames{{{
    {SearchEngine::google, u"Google"},
    {SearchEngine::duckDuckGo, u"DuckDuckGo"},
    {SearchEngine::kagi, u"Kagi"},
    {SearchEngine::bing, u"Bing"},
}}};

// The search page up to and including "?q=".
constexpr EnumNames<SearchEngine::Value, 4> searchPrefixes{{{
    {SearchEngine::google, u"https://www.google.com/search?q="},
    {SearchEngine::duckDuckGo, u"https://duckduckgo.com/?q="},
    {SearchEngine::kagi, u"https://kagi.com/search?q="},
    {SearchEngine::bing, u"https://www.bing.com/search?q="},
}}};

// QByteArray::toPercentEncoding leaves exactly the unreserved characters of RFC 3986
// (letters, digits, "-", ".", "_", "~") as they are. Text that is not valid UTF-16 (a lone
// surrogate) cannot be encoded and gives nothing.
QString percentEncoded(QStringView text) {
    if (!text.isValidUtf16())
        return {};
    return QString::fromLatin1(text.toUtf8().toPercentEncoding());
}

} // namespace

QList<SearchEngine> SearchEngine::allCases() {
    return {google, duckDuckGo, kagi, bing};
}

std::optional<SearchEngine> SearchEngine::fromRaw(QStringView raw) {
    if (auto value = rawNames.parse(raw))
        return SearchEngine(*value);
    return std::nullopt;
}

QString SearchEngine::rawValue() const {
    return rawNames.raw(value_);
}

QString SearchEngine::displayName() const {
    return displayNames.raw(value_);
}

QString SearchEngine::searchURL(QStringView text) const {
    return searchPrefixes.raw(value_) + percentEncoded(text);
}

} // namespace kivaro
