#include "panel/Access.h"

#include "browsers/RemoteBrowser.h"
#include "keys/Binding.h"
#include "keys/HotkeyBindings.h"
#include "keys/KeyCaps.h"
#include "platform/HotkeyRegistrar.h"

#include <QCoreApplication>
#include <QPointer>

namespace kivaro {

namespace {

// Trial registrations carry this id; a press during the moment one is held is dropped.
constexpr quint32 trialId = 98;

bool isHeldElsewhere(HotkeyRegistrar& registrar, const KeyCombo& keys) {
    const auto ref = registrar.registerHotkey(keys, trialId, false);
    if (!ref)
        return true;
    registrar.unregisterHotkey(*ref);
    return false;
}

} // namespace

QString AccessNeed::explanation() const {
    switch (value_) {
    case automation:
        return QStringLiteral("Lets Kivaro read, switch and close Safari's tabs.");
    case accessibility:
        return QStringLiteral(
            "Lets Kivaro run Safari's menu commands, pin tabs and switch tab groups.");
    case fullDisk:
        return QStringLiteral("Lets Kivaro search Safari's history and closed tab groups.");
    case globalShortcuts:
        return QStringLiteral(
            "Lets your shortcuts open Kivaro over the browser: an X11 session, and "
            "keys no other program holds.");
    case browserControl:
        return QStringLiteral(
            "Lets Kivaro read and switch your browser's tabs: the browser runs with "
            "remote debugging on.");
    }
    return {};
}

std::optional<Permission> AccessNeed::permission() const {
    switch (value_) {
    case automation:
        return Permission::automation;
    case accessibility:
        return Permission::accessibility;
    case fullDisk:
        return Permission::fullDisk;
    case globalShortcuts:
    case browserControl:
        break;
    }
    return std::nullopt;
}

QList<AccessNeed> AccessNeed::forPlatform() {
#ifdef Q_OS_MACOS
    return {automation, accessibility, fullDisk};
#else
    return {globalShortcuts, browserControl};
#endif
}

QString AccessState::fix(AccessNeed need) const {
    if (granted.contains(need))
        return {};
    if (need == AccessNeed::globalShortcuts) {
        if (!x11Session)
            return QStringLiteral(
                "Log out and pick an X11 session (such as “GNOME on Xorg”) at the "
                "login screen: under Wayland no program gets global shortcuts.");
        QStringList keys;
        for (const HeldKey& held : heldElsewhere)
            keys.append(held.keys);
        return QStringLiteral(
                   "Another program holds %1. Record other keys under Shortcuts, or free "
                   "them in your desktop's keyboard settings.")
            .arg(keys.join(QStringLiteral(", ")));
    }
    if (need == AccessNeed::browserControl)
        return QStringLiteral(
            "No browser answers. Start yours with remote debugging on; Chrome needs a "
            "profile of its own for it:");
    return {};
}

QStringList AccessState::fixCommands(AccessNeed need) const {
    if (granted.contains(need) || need != AccessNeed::browserControl)
        return {};
    return {QStringLiteral("chromium --remote-debugging-port=0"),
            QStringLiteral("firefox-esr --remote-debugging-port=0"),
            QStringLiteral("google-chrome --remote-debugging-port=0 "
                           "--user-data-dir=\"$HOME/.config/google-chrome-kivaro\"")};
}

std::optional<QString> AccessState::heldKeys(HotkeyAction action) const {
    for (const HeldKey& held : heldElsewhere) {
        if (held.action == action)
            return held.keys;
    }
    return std::nullopt;
}

bool isX11Session(const QProcessEnvironment& environment) {
    const QString type = environment.value(QStringLiteral("XDG_SESSION_TYPE")).toLower();
    if (type == u"x11")
        return true;
    if (type == u"wayland")
        return false;
    return !environment.value(QStringLiteral("DISPLAY")).isEmpty();
}

QList<HeldKey> keysHeldElsewhere(HotkeyRegistrar& registrar, const HotkeyBindings& bindings) {
    QList<HeldKey> held;
    for (HotkeyAction action : HotkeyAction::allCases()) {
        if (!bindings.shortcutEnabled(action))
            continue;
        const KeyCombo combo = bindings.combo(action);
        for (const KeyCombo& keys : Binding::registrations(combo, action)) {
            if (isHeldElsewhere(registrar, keys)) {
                held.append({action, KeyCaps::text(keys, KeyCaps::nativeStyle())});
                break;
            }
        }
    }
    return held;
}

AccessCheck::Sources AccessCheck::platformSources(PermissionProbe& permissions,
                                                  HotkeyRegistrar& hotkeys,
                                                  HotkeyBindings& bindings,
                                                  QList<std::shared_ptr<const Browser>> browsers) {
    Sources sources{&permissions, &hotkeys, &bindings, {}, {}};
#ifndef Q_OS_MACOS
    sources.x11Session = [] { return isX11Session(QProcessEnvironment::systemEnvironment()); };
    sources.reachableBrowser = [browsers = std::move(browsers)] {
        for (const auto& browser : browsers) {
            const auto* remote = dynamic_cast<const RemoteBrowser*>(browser.get());
            if (remote && remote->reachable())
                return remote->name();
        }
        return QString();
    };
#else
    Q_UNUSED(browsers);
#endif
    return sources;
}

AccessCheck::AccessCheck(Sources sources, QObject* parent)
    : QObject(parent), sources_(std::move(sources)) {
    worker_.setMaxThreadCount(1);
}

AccessCheck::~AccessCheck() {
    worker_.waitForDone();
}

void AccessCheck::refresh() {
    AccessState next = state_;
    next.x11Session = sources_.x11Session && sources_.x11Session();
    next.heldElsewhere = sources_.hotkeys && sources_.bindings
                             ? keysHeldElsewhere(*sources_.hotkeys, *sources_.bindings)
                             : QList<HeldKey>{};
    update(std::move(next));
    askBrowser();
}

void AccessCheck::request(AccessNeed need) {
    if (canRequest(need))
        sources_.permissions->request(*need.permission());
}

bool AccessCheck::canRequest(AccessNeed need) const {
    return sources_.permissions && need.permission();
}

void AccessCheck::askBrowser() {
    if (asking_ || !sources_.reachableBrowser)
        return;
    asking_ = true;
    QPointer<AccessCheck> self(this);
    worker_.start([ask = sources_.reachableBrowser, self]() mutable {
        QString name = ask();
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self = std::move(self), name = std::move(name)] {
                if (!self)
                    return;
                self->asking_ = false;
                AccessState next = self->state_;
                next.reachableBrowser = name;
                self->update(std::move(next));
            },
            Qt::QueuedConnection);
    });
}

void AccessCheck::update(AccessState next) {
    next.granted = grantedBy(next);
    if (next == state_)
        return;
    state_ = std::move(next);
    emit changed();
}

QSet<AccessNeed> AccessCheck::grantedBy(const AccessState& state) const {
    QSet<AccessNeed> granted;
    for (AccessNeed need : AccessNeed::forPlatform()) {
        bool has = false;
        if (const auto permission = need.permission())
            has = sources_.permissions && sources_.permissions->granted(*permission);
        else if (need == AccessNeed::globalShortcuts)
            has = state.x11Session && state.heldElsewhere.isEmpty();
        else if (need == AccessNeed::browserControl)
            has = !state.reachableBrowser.isEmpty();
        if (has)
            granted.insert(need);
    }
    return granted;
}

} // namespace kivaro
