#include "panel/RowAccessory.h"

#include "panel/RowRules.h"

namespace kivaro {

namespace {

bool isSwitchTab(const Row& row) {
    return row.kind == Row::Kind::tab && row.action.as<Action::SwitchTab>() != nullptr;
}

bool isPage(const Row& row) {
    return (row.kind == Row::Kind::history || row.kind == Row::Kind::open) && !row.url.isEmpty();
}

QString labelOf(const Row& row, bool removeHint) {
    if (removeHint && isSwitchTab(row))
        return QStringLiteral("Close Tab");
    if (removeHint && isPage(row))
        return QStringLiteral("Remove from History");
    return row.kind == Row::Kind::tab ? row.label : QString();
}

} // namespace

RowAccessory::Look RowAccessory::of(const Row& row, bool removeHint, std::optional<int> number) {
    Look look;
    look.removing = removeHint && RowRules::isRemovable(row);
    if (number && !look.removing) {
        look.showsNumber = true;
        return look;
    }
    look.showsKeys = true;
    look.showsArrow = row.kind == Row::Kind::tab || (removeHint && isPage(row));
    look.label = labelOf(row, removeHint);
    look.arrowSymbol = !look.removing               ? QStringLiteral("arrow.right")
                       : row.kind == Row::Kind::tab ? QStringLiteral("xmark")
                                                    : QStringLiteral("trash");
    return look;
}

QList<RowAction> ActionOrder::dangerLast(const QList<RowAction>& actions) {
    QList<RowAction> shown;
    for (const bool danger : {false, true}) {
        for (const RowAction& action : actions) {
            if (action.danger == danger)
                shown.append(action);
        }
    }
    return shown;
}

std::optional<qsizetype> ActionOrder::separatorBefore(const QList<RowAction>& shown) {
    for (qsizetype i = 1; i < shown.size(); ++i) {
        if (shown[i].danger && !shown[i - 1].danger)
            return i;
    }
    return std::nullopt;
}

} // namespace kivaro
