#pragma once

#include "search/Row.h"

#include <QString>

#include <optional>

namespace kivaro {

// Which icon the query field shows: a favicon of the host being typed or a symbol.
namespace FieldIcon {

enum class Mode { none, site, developerTools };
// A symbol is drawn in the accent colour or in the secondary label colour.
enum class Tint { accent, secondary };

struct Input {
    Mode mode = Mode::none;
    // The site's host in site mode.
    QString siteHost;
    // The host of the page address shown in the field (current-tab mode), if it is shown.
    std::optional<QString> prefillHost;
    QString query;
    // The first result row, if there is one.
    std::optional<Row> firstRow;
};

struct Choice {
    // The symbol shown now (the stand-by symbol while a favicon is on its way).
    QString symbol;
    Tint tint = Tint::secondary;
    // The host whose favicon replaces the symbol when it is known; nothing keeps the
    // remembered host as it was.
    std::optional<QString> host;

    bool operator==(const Choice&) const = default;
};

Choice choose(const Input& input);

} // namespace FieldIcon

} // namespace kivaro
