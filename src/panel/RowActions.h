#pragma once

#include "browsers/Action.h"
#include "panel/RowAction.h"
#include "search/Row.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace kivaro {

// What each kind of result row offers, as data: the list the action bar, the ⌘K menu and the
// context menu show, the first entry being the row's primary action. The controller supplies
// what each entry does.
namespace RowActions {

// What an entry does when run.
enum class Effect {
    execute,       // run the row, in `mode` or (without one) the panel's mode
    openInGroup,   // close the panel and open the row's address in a new tab
    copyLink,      // copy the selected row's link
    copyMarkdown,  // the same as a Markdown link
    togglePin,     // close the panel and pin or unpin the tab
    remove,        // close the tab or remove the page from history
    enterDevTools, // enter developer-tools mode
};

struct Entry {
    QString title;
    QString symbol;
    std::optional<KeyCombo> shortcut;
    bool danger = false;
    Effect effect = Effect::execute;
    std::optional<OpenMode> mode;

    bool operator==(const Entry&) const = default;
};

// The entries of `row` for a panel opened in `panelMode`.
QList<Entry> of(const Row& row, OpenMode panelMode);

// The shortcuts the entries use.
KeyCombo returnKey();
KeyCombo commandReturn();
KeyCombo copyLinkKey(bool markdown);
KeyCombo pinKey();
KeyCombo removeKey();

// Runs an entry's effect; the controller gives one.
using Perform = std::function<void(const Entry&)>;

// The entries as actions whose `run` hands the entry to `perform`.
QList<RowAction> bind(const QList<Entry>& entries, const Perform& perform);

// The first danger action, and the action whose shortcut equals `key` (a plain Return
// excepted: Return belongs to the field).
const RowAction* firstDanger(const QList<RowAction>& actions);
const RowAction* byShortcut(const QList<RowAction>& actions, const KeyCombo& key);

} // namespace RowActions

} // namespace kivaro
