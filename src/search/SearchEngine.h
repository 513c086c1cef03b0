#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

namespace kivaro {

// The web-search setting: turns search text into the engine's search address.
class SearchEngine {
public:
    enum Value { google, duckDuckGo, kagi, bing };

    constexpr SearchEngine(Value value) : value_(value) {}
    constexpr operator Value() const { return value_; }

    static QList<SearchEngine> allCases();
    static std::optional<SearchEngine> fromRaw(QStringView raw);
    QString rawValue() const;
    QString displayName() const;

    // The engine's search page for `text`, every character outside the unreserved set of
    // RFC 3986 percent-encoded byte by byte (a space is %20, a plus sign %2B).
    QString searchURL(QStringView text) const;

private:
    Value value_;
};

} // namespace kivaro
