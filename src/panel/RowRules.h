#pragma once

#include "search/Row.h"

#include <QString>

#include <optional>

namespace kivaro {

// Rules about a result row that the panel's drawing and its actions share.
namespace RowRules {

// A tab that can be closed, or a history row that can be removed from history.
bool isRemovable(const Row& row);

// The address a row's copy actions copy: its own address, or the page an opening row opens.
std::optional<QString> link(const Row& row);

} // namespace RowRules

} // namespace kivaro
