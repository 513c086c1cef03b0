#include "platform/linux/LinuxMenuBarAccess.h"

namespace kivaro {

// No application exposes its menu bar to us on Linux, so no element is ever handed out and the
// element readers below only answer "nothing there".

std::optional<MenuElement> LinuxMenuBarAccess::menuBar(const QString&) const {
    return std::nullopt;
}

QList<MenuElement> LinuxMenuBarAccess::children(const MenuElement&) const {
    return {};
}

QString LinuxMenuBarAccess::title(const MenuElement&) const {
    return {};
}

bool LinuxMenuBarAccess::enabled(const MenuElement&) const {
    return false;
}

std::optional<QString> LinuxMenuBarAccess::keyCharacter(const MenuElement&) const {
    return std::nullopt;
}

std::optional<qint64> LinuxMenuBarAccess::keyModifiers(const MenuElement&) const {
    return std::nullopt;
}

bool LinuxMenuBarAccess::press(const MenuElement&) {
    return false;
}

} // namespace kivaro
