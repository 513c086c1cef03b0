#pragma once

#include "base/EnumNames.h"

#include <QString>
#include <QStringView>

namespace kivaro {

enum class SearchEngineValue { google, duckDuckGo, kagi, bing };

// The web-search setting: turns search text into the engine's search address.
class SearchEngine : public EnumCase<SearchEngine, SearchEngineValue> {
public:
    using EnumCase::EnumCase;
    using enum SearchEngineValue;

    QString displayName() const;

    // The engine's search page for `text`, every character outside the unreserved set of
    // RFC 3986 percent-encoded byte by byte (a space is %20, a plus sign %2B).
    QString searchURL(QStringView text) const;

    struct Case {
        Value value;
        const char16_t* raw;
        const char16_t* displayName;
        const char16_t* searchPage; // up to and including "?q="
    };
    static constexpr auto table = enumTable<Case>({
        {google, u"google", u"Google", u"https://www.google.com/search?q="},
        {duckDuckGo, u"duckDuckGo", u"DuckDuckGo", u"https://duckduckgo.com/?q="},
        {kagi, u"kagi", u"Kagi", u"https://kagi.com/search?q="},
        {bing, u"bing", u"Bing", u"https://www.bing.com/search?q="},
    });
};

} // namespace kivaro
