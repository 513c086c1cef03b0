#pragma once

#include "platform/MenuBarAccess.h"

namespace kivaro {

// Linux desktops offer no way to read or press another application's menu bar, so there is
// nothing to read here by design: the walk comes back empty and the callers' fallbacks (the
// default command list, commands that cannot run) apply.
class LinuxMenuBarAccess : public MenuBarAccess {
public:
    // Nothing is withheld from us; there is simply no menu bar to read.
    bool trusted() const override { return true; }
    std::optional<MenuElement> menuBar(const QString& bundleID) const override;
    QList<MenuElement> children(const MenuElement& element) const override;
    QString title(const MenuElement& element) const override;
    bool enabled(const MenuElement& element) const override;
    std::optional<QString> keyCharacter(const MenuElement& element) const override;
    std::optional<qint64> keyModifiers(const MenuElement& element) const override;
    bool press(const MenuElement& element) override;
};

} // namespace kivaro
