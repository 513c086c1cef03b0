#include "keys/Hotkeys.h"

#include "settings/Preferences.h"

#include <QMetaObject>

namespace kivaro {

namespace {

struct KeySource {
    HotkeyAction action;
    Hotkeys::Key key;
};

// Registration order. The Markdown copy key is derived from the copy-link binding.
const QList<KeySource> keySources{
    {HotkeyAction::newTab, Hotkeys::Key::newTab},
    {HotkeyAction::currentTab, Hotkeys::Key::currentTab},
    {HotkeyAction::copyLink, Hotkeys::Key::copyLink},
    {HotkeyAction::pin, Hotkeys::Key::pin},
    {HotkeyAction::lastTab, Hotkeys::Key::lastTab},
};

} // namespace

std::optional<Hotkeys::Key> Hotkeys::keyFromRaw(quint32 raw) {
    if (raw < quint32(Key::newTab) || raw > quint32(Key::lastTab))
        return std::nullopt;
    return Key(raw);
}

Hotkeys::Hotkeys(HotkeyRegistrar& registrar, Preferences& preferences)
    : registrar_(registrar), preferences_(preferences) {
    registrar_.setPressHandler([this](quint32 id) { received(id); });
}

Hotkeys::~Hotkeys() {
    unregisterKeys();
    registrar_.setPressHandler({});
}

void Hotkeys::registerKeys() {
    if (!refs_.isEmpty())
        return;
    for (const KeySource& source : keySources) {
        if (!preferences_.shortcutEnabled(source.action))
            continue;
        const QList<HotkeyCombo> combos =
            preferences_.combo(source.action).registrations(source.action);
        add(combos.constFirst(), source.key);
        if (combos.size() > 1)
            add(combos.at(1), Key::copyMarkdown);
    }
}

void Hotkeys::unregisterKeys() {
    for (HotkeyRegistrar::Ref ref : std::as_const(refs_))
        registrar_.unregisterHotkey(ref);
    refs_.clear();
}

void Hotkeys::add(const HotkeyCombo& combo, Key key) {
    const HotkeyRegistrar::Binding binding{combo.keyCode, combo.modifiers, quint32(key)};
    if (const auto ref = registrar_.registerHotkey(binding, false))
        refs_.append(*ref);
}

void Hotkeys::received(quint32 id) {
    const auto key = keyFromRaw(id);
    if (!key)
        return;
    QMetaObject::invokeMethod(
        &context_,
        [this, key = *key] {
            if (onPress)
                onPress(key);
        },
        Qt::QueuedConnection);
}

} // namespace kivaro
