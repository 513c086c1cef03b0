#pragma once

#include "platform/MenuBarAccess.h"

namespace kivaro {

// An application's menu bar through the Accessibility interface. Each MenuElement holds one
// retained AXUIElementRef, released with the last copy of the element.
class MacMenuBarAccess final : public MenuBarAccess {
public:
    bool trusted() const override;
    std::optional<MenuElement> menuBar(const QString& bundleID) const override;
    QList<MenuElement> children(const MenuElement& element) const override;
    QString title(const MenuElement& element) const override;
    bool enabled(const MenuElement& element) const override;
    std::optional<QString> keyCharacter(const MenuElement& element) const override;
    std::optional<qint64> keyModifiers(const MenuElement& element) const override;
    bool press(const MenuElement& element) override;
};

} // namespace kivaro
