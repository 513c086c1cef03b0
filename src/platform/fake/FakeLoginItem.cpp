#include "platform/fake/FakeLoginItem.h"

namespace kivaro {

bool FakeLoginItem::setEnabled(bool on) {
    ++changes;
    if (refuse)
        return false;
    enabled_ = on;
    return true;
}

} // namespace kivaro
