#include "keys/Hotkeys.h"

#include <QMetaObject>

namespace kivaro {

quint32 Hotkeys::idOf(const Press& press) {
    return quint32(HotkeyAction::allCases().indexOf(press.action)) * 2 + (press.markdown ? 2 : 1);
}

std::optional<Hotkeys::Press> Hotkeys::pressOf(quint32 id) {
    const QList<HotkeyAction> actions = HotkeyAction::allCases();
    if (id == 0 || (id - 1) / 2 >= quint32(actions.size()))
        return std::nullopt;
    const Press press{actions.at((id - 1) / 2), (id - 1) % 2 == 1};
    if (press.markdown && !Binding::hasMarkdownVariant(press.action))
        return std::nullopt;
    return press;
}

Hotkeys::Hotkeys(HotkeyRegistrar& registrar, HotkeyBindings& bindings)
    : registrar_(registrar), bindings_(bindings) {
    registrar_.setPressHandler([this](quint32 id) { received(id); });
}

Hotkeys::~Hotkeys() {
    unregisterKeys();
    registrar_.setPressHandler({});
}

void Hotkeys::registerKeys() {
    if (!refs_.isEmpty())
        return;
    for (HotkeyAction action : HotkeyAction::allCases()) {
        if (!bindings_.shortcutEnabled(action))
            continue;
        const QList<KeyCombo> combos = Binding::registrations(bindings_.combo(action), action);
        for (qsizetype i = 0; i < combos.size(); ++i) {
            // A binding the system refuses is skipped; the others still register.
            if (const auto ref = registrar_.registerHotkey(combos[i], idOf({action, i > 0}), false))
                refs_.append(*ref);
            else if (onRefused)
                onRefused(action, combos[i]);
        }
    }
}

void Hotkeys::unregisterKeys() {
    for (HotkeyRegistrar::Ref ref : std::as_const(refs_))
        registrar_.unregisterHotkey(ref);
    refs_.clear();
}

void Hotkeys::received(quint32 id) {
    const auto press = pressOf(id);
    if (!press)
        return;
    QMetaObject::invokeMethod(
        &context_,
        [this, press = *press] {
            if (onPress)
                onPress(press);
        },
        Qt::QueuedConnection);
}

} // namespace kivaro
