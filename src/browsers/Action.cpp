#include "browsers/Action.h"

#include <array>

namespace kivaro {

namespace {

// The case names, in the order of the payload's alternatives.
constexpr auto typeNames = std::to_array<const char16_t*>(
    {u"switchTab", u"revealTab", u"open", u"menu", u"copyLink", u"devMode"});
static_assert(typeNames.size() == std::variant_size_v<Action::Payload>);

} // namespace

QString Action::typeName() const {
    return QString::fromUtf16(typeNames[payload.index()]);
}

} // namespace kivaro
