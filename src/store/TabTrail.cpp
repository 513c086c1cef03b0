#include "store/TabTrail.h"

#include "base/Web.h"

namespace kivaro {

void TabTrail::note(const TabRef& ref) {
    if (!entries_.isEmpty() && entries_.constFirst().windowID == ref.windowID &&
        entries_.constFirst().index == ref.index) {
        entries_.first() = ref;
        return;
    }
    const QString page = Web::bare(ref.url);
    entries_.removeIf([&](const TabRef& entry) {
        return entry.windowID == ref.windowID && Web::bare(entry.url) == page;
    });
    entries_.prepend(ref);
    if (entries_.size() > capacity)
        entries_.resize(capacity);
}

std::optional<TabRef> TabTrail::previous() const {
    if (entries_.size() < 2)
        return std::nullopt;
    return entries_.at(1);
}

void TabTrail::dropPrevious() {
    if (entries_.size() >= 2)
        entries_.removeAt(1);
}

} // namespace kivaro
