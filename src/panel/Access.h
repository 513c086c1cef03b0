#pragma once

#include "base/EnumNames.h"
#include "keys/HotkeyAction.h"
#include "platform/KeyCombo.h"
#include "platform/PermissionProbe.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QProcessEnvironment>
#include <QSet>
#include <QString>
#include <QThreadPool>

#include <functional>
#include <optional>

namespace kivaro {

class Browser;
class HotkeyBindings;
class HotkeyRegistrar;

enum class AccessNeedValue { automation, accessibility, fullDisk, globalShortcuts, browserControl };

// What the program needs from the system to work. On the Mac these are its three privacy
// permissions; on Linux, where no such permission exists, they are global shortcuts (an X11
// session and keys no other program holds) and a browser that answers over remote debugging.
class AccessNeed : public EnumCase<AccessNeed, AccessNeedValue> {
public:
    using EnumCase::EnumCase;
    using enum AccessNeedValue;

    QString title() const { return QString::fromUtf16(row().title); }
    // One line on what it is for.
    QString explanation() const;
    // The privacy permission behind it, where it is one.
    std::optional<Permission> permission() const;

    // The needs of the platform being built, in the order they are listed.
    static QList<AccessNeed> forPlatform();

    struct Case {
        Value value;
        const char16_t* raw;
        const char16_t* title;
    };
    static constexpr auto table = enumTable<Case>({
        {automation, u"automation", u"Control Safari"},
        {accessibility, u"accessibility", u"Accessibility"},
        {fullDisk, u"fullDisk", u"Full Disk Access"},
        {globalShortcuts, u"globalShortcuts", u"Global shortcuts"},
        {browserControl, u"browserControl", u"Browser control"},
    });
};

inline size_t qHash(AccessNeed need, size_t seed = 0) {
    return ::qHash(int(AccessNeedValue(need)), seed);
}

// A shortcut whose keys another program holds: the action and the keys, as shown.
struct HeldKey {
    HotkeyAction action;
    QString keys;

    bool operator==(const HeldKey&) const = default;
};

// One look at what the program has.
struct AccessState {
    QSet<AccessNeed> granted;
    bool x11Session = false;
    // Enabled shortcuts whose keys (or Markdown variant) another program holds.
    QList<HeldKey> heldElsewhere;
    // The browser that answered, or empty when none did.
    QString reachableBrowser;

    bool operator==(const AccessState&) const = default;

    // How to get the need when it is missing; empty when it is there or a button asks for it.
    QString fix(AccessNeed need) const;
    // The commands that fix it, each to be typed as it is; empty when none does.
    QStringList fixCommands(AccessNeed need) const;
    // The keys of `action` another program holds, when it holds them.
    std::optional<QString> heldKeys(HotkeyAction action) const;
};

// Whether this login runs an X11 session: XDG_SESSION_TYPE says so, or, where it says nothing,
// a DISPLAY is set. Wayland gives no program global keys.
bool isX11Session(const QProcessEnvironment& environment);

// The keys of every enabled shortcut tried against the system, as a second holder of our own
// registrations: a key fails only when another program holds it or it cannot be had at all.
QList<HeldKey> keysHeldElsewhere(HotkeyRegistrar& registrar, const HotkeyBindings& bindings);

// Watches what the program has. refresh() takes the quick looks on the main thread and the
// slow one (asking a browser over the network) on a worker, one at a time; `changed` is sent
// only when the state differs from the last one. Main thread only.
class AccessCheck : public QObject {
    Q_OBJECT

public:
    struct Sources {
        PermissionProbe* permissions = nullptr;
        HotkeyRegistrar* hotkeys = nullptr;
        HotkeyBindings* bindings = nullptr;
        std::function<bool()> x11Session;
        // Blocks: the name of a browser that answers now, empty when none does. Runs on a worker.
        std::function<QString()> reachableBrowser;
    };

    // The sources of the platform being built: its permissions and hot keys, the session, and on
    // Linux the first of `browsers` that answers over remote control. These are the very objects
    // the program drives, so the check shares their connections: Firefox serves one at a time.
    static Sources platformSources(PermissionProbe& permissions, HotkeyRegistrar& hotkeys,
                                   HotkeyBindings& bindings,
                                   QList<std::shared_ptr<const Browser>> browsers);

    explicit AccessCheck(Sources sources, QObject* parent = nullptr);
    // Waits for a browser question still running, so that its sources may go after this.
    ~AccessCheck() override;

    void refresh();
    // Asks the system for the need where a request exists (the Mac's permissions).
    void request(AccessNeed need);
    // Whether `request` can do anything for the need.
    bool canRequest(AccessNeed need) const;
    const AccessState& state() const { return state_; }
    bool granted(AccessNeed need) const { return state_.granted.contains(need); }

signals:
    void changed();

private:
    void update(AccessState next);
    void askBrowser();
    QSet<AccessNeed> grantedBy(const AccessState& state) const;

    Sources sources_;
    AccessState state_;
    bool asking_ = false;
    QThreadPool worker_;
};

} // namespace kivaro
