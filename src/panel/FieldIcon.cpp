#include "panel/FieldIcon.h"

namespace kivaro::FieldIcon {

namespace {

const QString developerSymbol = QStringLiteral("chevron.left.forwardslash.chevron.right");
const QString siteSymbol = QStringLiteral("globe");
const QString searchSymbol = QStringLiteral("magnifyingglass");

std::optional<QString> hostOutsideModes(const Input& input) {
    if (input.prefillHost)
        return *input.prefillHost;
    if (!input.query.isEmpty() && input.firstRow && input.firstRow->kind != Row::Kind::search)
        return input.firstRow->host;
    return std::nullopt;
}

} // namespace

Choice choose(const Input& input) {
    switch (input.mode) {
    case Mode::developerTools:
        return {developerSymbol, Tint::accent, std::nullopt};
    case Mode::site:
        return {siteSymbol, Tint::secondary, input.siteHost};
    case Mode::none:
        break;
    }
    const std::optional<QString> host = hostOutsideModes(input);
    // A row without a host (a command) has nothing to fetch: the plain search symbol.
    if (!host || host->isEmpty())
        return {searchSymbol, Tint::secondary, std::nullopt};
    return {siteSymbol, Tint::secondary, host};
}

} // namespace kivaro::FieldIcon
