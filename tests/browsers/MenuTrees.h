#pragma once

#include "browsers/Command.h"
#include "platform/fake/FakeMenuBarAccess.h"
#include "search/Row.h"

#include <QString>
#include <QStringList>

namespace kivaro::MenuTrees {

// Bundle identifiers the fake menu bars are registered under.
inline const QString safariID = QStringLiteral("com.apple.Safari");
inline const QString chromiumID = QStringLiteral("org.chromium.Chromium");

// Raw accessibility modifier integers.
namespace Raw {
constexpr qint64 command = 0;
constexpr qint64 shift = 1;
constexpr qint64 option = 2;
constexpr qint64 control = 4;
constexpr qint64 noCommand = 8;
} // namespace Raw

// Safari's menu bar as it reads with one window open, the sidebar hidden and the Develop menu
// shown: submenus, separators, disabled items, history pages, the window list.
FakeMenuBarAccess::Node safari();

// The same bar with the sidebar, console, page source and web inspector shown, a timeline recording
// and the responsive design mode on: the toggles read the other way.
FakeMenuBarAccess::Node safariToggled();

// Chromium's menu bar: no Develop menu, developer items under View › Developer, a "Copy Link"
// of its own under File › Share, and a "Profiles" menu.
FakeMenuBarAccess::Node chromium();

} // namespace kivaro::MenuTrees

namespace kivaro {

inline const QString& titleOf(const Command& command) {
    return command.title;
}
inline const QString& titleOf(const Row& row) {
    return row.title;
}
inline const QString& titleOf(const ScoredRow& scored) {
    return scored.row.title;
}

// The titles of commands or rows, in order.
template <typename Records>
QStringList titlesOf(const Records& records) {
    QStringList titles;
    for (const auto& record : records)
        titles.append(titleOf(record));
    return titles;
}

} // namespace kivaro
