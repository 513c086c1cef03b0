#include "base/Notifications.h"

namespace kivaro {

Notifications& Notifications::center() {
    static Notifications center;
    return center;
}

void Notifications::post(const QString& name, const QVariant& object) {
    emit posted(name, object);
}

} // namespace kivaro
