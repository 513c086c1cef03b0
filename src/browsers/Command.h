#pragma once

#include "browsers/Action.h"
#include "platform/KeyCombo.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace kivaro {

// One command result: a browser menu item, a developer tool or one of the program's own.
struct Command {
    QString title;
    QString symbol;   // system symbol name shown as the icon
    QString keywords; // space-separated lower-case words the ranker also matches
    QString menu;     // the menu shown beside the title
    Action action;
    QStringList keys;  // shortcut glyphs
    bool core = false; // a core developer tool
    std::optional<KeyCombo> combo;

    bool operator==(const Command&) const = default;
};

} // namespace kivaro
