#include "panel/RowRules.h"

namespace kivaro {

namespace {

bool opensPages(Row::Kind kind) {
    return kind == Row::Kind::history || kind == Row::Kind::open || kind == Row::Kind::archived;
}

} // namespace

bool RowRules::isRemovable(const Row& row) {
    switch (row.kind) {
    case Row::Kind::tab:
        return row.action.as<Action::SwitchTab>() != nullptr;
    case Row::Kind::history:
    case Row::Kind::open:
        return !row.url.isEmpty();
    default:
        return false;
    }
}

std::optional<QString> RowRules::link(const Row& row) {
    if (!row.url.isEmpty())
        return row.url;
    if (const auto* open = row.action.as<Action::Open>(); open && opensPages(row.kind))
        return open->url;
    return std::nullopt;
}

} // namespace kivaro
