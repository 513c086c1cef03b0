#pragma once

#include "panel/RowAction.h"
#include "search/Row.h"

#include <QList>
#include <QString>

#include <optional>

namespace kivaro {

// What a result row shows at its right: the ⌘-number caps, or its label and arrow tile
// (turned into the remove hint while ⌘⇧ or ⌘⌥ is held), and its key hints.
namespace RowAccessory {

struct Look {
    // The caps ⌘ and the number, in place of everything else.
    bool showsNumber = false;
    // The label, the arrow tile and its arrow.
    bool showsArrow = false;
    bool showsKeys = false;
    QString label;
    QString arrowSymbol;
    // The arrow of a remove hint is red.
    bool removing = false;

    bool operator==(const Look&) const = default;
};

Look of(const Row& row, bool removeHint, std::optional<int> number);

} // namespace RowAccessory

// The order of a row's actions in its menus: the others in order, then the destructive ones.
namespace ActionOrder {

QList<RowAction> dangerLast(const QList<RowAction>& actions);

// The index in `shown` of the first destructive action that follows another one, where a
// separator goes; nothing when the list has only one kind.
std::optional<qsizetype> separatorBefore(const QList<RowAction>& shown);

} // namespace ActionOrder

} // namespace kivaro
