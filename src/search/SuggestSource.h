#pragma once

#include <QString>

namespace kivaro {

// Where search suggestions come from. Equal when the case and the "ds" parameter are equal.
struct SuggestSource {
    enum class Kind { google, none, wikipedia, duckDuckGo, amazon };

    Kind kind = Kind::none;
    QString ds; // google only: empty for web search, "yt" for video search

    static SuggestSource google(QString ds = {}) { return {Kind::google, std::move(ds)}; }
    static SuggestSource none() { return {Kind::none, {}}; }
    static SuggestSource wikipedia() { return {Kind::wikipedia, {}}; }
    static SuggestSource duckDuckGo() { return {Kind::duckDuckGo, {}}; }
    static SuggestSource amazon() { return {Kind::amazon, {}}; }

    bool operator==(const SuggestSource&) const = default;
};

} // namespace kivaro
