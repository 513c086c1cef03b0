#include "panel/RowActions.h"

#include "panel/PanelKeys.h"
#include "panel/RowRules.h"

namespace kivaro::RowActions {

namespace {

using enum Modifier;

KeyCombo combo(quint32 code, Modifiers modifiers, const QString& key) {
    return {code, modifiers, key};
}

// The primary action and the other open mode, for a row that opens or searches.
QList<Entry> opening(OpenMode panelMode, const QString& title, const QString& here,
                     const QString& elsewhere, const QString& symbol) {
    if (panelMode == OpenMode::newTab)
        return {{title, symbol, returnKey()},
                {here, QStringLiteral("plus.square.on.square"), commandReturn(), false,
                 Effect::execute, OpenMode::currentTab}};
    return {{here, symbol, returnKey()},
            {elsewhere, QStringLiteral("plus.square.on.square"), commandReturn(), false,
             Effect::execute, OpenMode::newTab}};
}

QList<Entry> ownEntries(const Row& row, OpenMode panelMode) {
    switch (row.kind) {
    case Row::Kind::tab: {
        QList<Entry> entries{
            {QStringLiteral("Switch to Tab"), QStringLiteral("arrow.right.square"), returnKey()}};
        if (row.action.as<Action::RevealTab>())
            entries.append({QStringLiteral("Open in This Group"),
                            QStringLiteral("arrow.up.right.square"), commandReturn(), false,
                            Effect::openInGroup});
        return entries;
    }
    case Row::Kind::search:
        return opening(panelMode, QStringLiteral("Search"), QStringLiteral("Search Here"),
                       QStringLiteral("Search in New Tab"), QStringLiteral("magnifyingglass"));
    case Row::Kind::command:
        return {{QStringLiteral("Run"), row.symbol.isEmpty() ? QStringLiteral("play") : row.symbol,
                 returnKey()}};
    case Row::Kind::mode:
        return {{QStringLiteral("Enter Developer Tools"), row.symbol, returnKey(), false,
                 Effect::enterDevTools}};
    default:
        return opening(panelMode, QStringLiteral("Open"), QStringLiteral("Open Here"),
                       QStringLiteral("Open in New Tab"), QStringLiteral("arrow.up.right.square"));
    }
}

} // namespace

KeyCombo returnKey() {
    return combo(PanelKeys::Code::returnKey, {}, QStringLiteral("↩"));
}

KeyCombo commandReturn() {
    return combo(PanelKeys::Code::returnKey, command, QStringLiteral("↩"));
}

KeyCombo copyLinkKey(bool markdown) {
    return combo(PanelKeys::Code::c, markdown ? command | shift | option : command | shift,
                 QStringLiteral("C"));
}

KeyCombo pinKey() {
    return combo(PanelKeys::Code::p, command | shift, QStringLiteral("P"));
}

KeyCombo removeKey() {
    return combo(PanelKeys::Code::deleteKey, command | shift, QStringLiteral("⌫"));
}

QList<Entry> of(const Row& row, OpenMode panelMode) {
    QList<Entry> entries = ownEntries(row, panelMode);
    if (row.kind == Row::Kind::command || row.kind == Row::Kind::mode)
        return entries;
    if (RowRules::link(row)) {
        entries.append({QStringLiteral("Copy Link"), QStringLiteral("link"), copyLinkKey(false),
                        false, Effect::copyLink});
        entries.append({QStringLiteral("Copy Markdown Link"), QStringLiteral("text.badge.plus"),
                        copyLinkKey(true), false, Effect::copyMarkdown});
    }
    if (row.action.as<Action::SwitchTab>())
        entries.append({QStringLiteral("Pin or Unpin Tab"), QStringLiteral("pin"), pinKey(), false,
                        Effect::togglePin});
    if (RowRules::isRemovable(row)) {
        const bool tab = row.kind == Row::Kind::tab;
        entries.append({tab ? QStringLiteral("Close Tab") : QStringLiteral("Remove from History"),
                        tab ? QStringLiteral("xmark") : QStringLiteral("trash"), removeKey(), true,
                        Effect::remove});
    }
    return entries;
}

QList<RowAction> bind(const QList<Entry>& entries, const Perform& perform) {
    QList<RowAction> actions;
    actions.reserve(entries.size());
    for (const Entry& entry : entries)
        actions.append({entry.title, entry.symbol, entry.shortcut, entry.danger,
                        [perform, entry] { perform(entry); }});
    return actions;
}

const RowAction* firstDanger(const QList<RowAction>& actions) {
    for (const RowAction& action : actions) {
        if (action.danger)
            return &action;
    }
    return nullptr;
}

const RowAction* byShortcut(const QList<RowAction>& actions, const KeyCombo& key) {
    for (const RowAction& action : actions) {
        if (!action.shortcut || !action.shortcut->sameKeys(key))
            continue;
        if (action.shortcut->sameKeys(returnKey()))
            continue;
        return &action;
    }
    return nullptr;
}

} // namespace kivaro::RowActions
