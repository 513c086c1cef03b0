#pragma once

#include <QAccessible>

#include <functional>

class QWidget;

namespace kivaro {

// The accessibility side of the panel's own views: each is one element with a role, its
// accessibleName as name, its whatsThis text as help and, for buttons, a press action.
namespace Accessible {

// Gives `widget` the role; a button's press runs `press`. Call it before anything asks for
// the widget's accessibility (setting its accessible name does).
void describe(QWidget& widget, QAccessible::Role role, std::function<void()> press = {});

// The selected state the element reports (a result row, a menu item).
void setSelected(QWidget& widget, bool selected);

} // namespace Accessible

} // namespace kivaro
