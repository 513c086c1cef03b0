#pragma once

#include "panel/RowAction.h"

#include <QApplication>
#include <QKeyEvent>
#include <QStringList>
#include <QWidget>

namespace kivaro::testing {

// An action that notes its title in `ran` when it runs.
inline RowAction loggedAction(const QString& title, QStringList& ran, bool danger = false,
                              std::optional<KeyCombo> shortcut = std::nullopt) {
    return {title, QStringLiteral("link"), shortcut, danger, [&ran, title] { ran.append(title); }};
}

// Sends one key press straight to the widget; true when the widget accepted it.
inline bool pressKey(QWidget& widget, int key, Qt::KeyboardModifiers modifiers = {}) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(&widget, &press);
    return press.isAccepted();
}

} // namespace kivaro::testing
