#pragma once

#include "app/SignalPipe.h"
#include "keys/Hotkeys.h"
#include "panel/PanelControls.h"
#include "platform/Workspace.h"

#include <QObject>
#include <QSet>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>

class QMenu;
class QSystemTrayIcon;

namespace kivaro {

class Preferences;
class Store;

// The running program's centre: it builds the tray item and its menu, follows the front
// application (holding the hot keys only while a browser it drives, or this program, is in
// front), dispatches every hot-key press to the panel or the store, and opens the panel on
// SIGUSR1 (new tab) and SIGUSR2 (current tab). Main thread only.
class AppDelegate : public QObject {
    Q_OBJECT

public:
    // What the delegate works with; the program owns them, and they outlive the delegate.
    struct Parts {
        Store& store;
        Hotkeys& hotkeys;
        Workspace& workspace;
        Preferences& preferences;
        // Makes the command panel, once, on first use.
        std::function<std::unique_ptr<PanelControls>()> makePanel;
        // This process: its own windows coming forward change nothing.
        qint64 ownPid = 0;
    };

    AppDelegate(Parts parts, bool showOnLaunch, QObject* parent = nullptr);
    ~AppDelegate() override;

    // The windows the tray menu and the reopen handler lead to. Until a hook is set its
    // item does nothing, and start-up skips the welcome window.
    std::function<void()> showSettings;
    std::function<void()> showWelcome;

    // Start-up, once the event loop is about to run.
    void applicationDidFinishLaunching();
    void setUpMenu();

    // Adjusts the hot keys, the driven browser and tab tracking to the front application.
    void follow(const std::optional<Workspace::Application>& app);
    void appActivated(const std::optional<Workspace::Application>& app);
    void preferencesChanged();
    // `object` is true while a shortcut recorder records.
    void recordingChanged(const QVariant& object);
    void pressed(Hotkeys::Press key);
    // Runs `handler` on the main thread each time the process gets `signal`.
    bool listen(int signal, std::function<void()> handler);

    // Menu actions and the handler of a second start.
    void openBar();
    void openSettings();
    void openWelcome();
    bool reopen();

    PanelControls& controller();
    QSystemTrayIcon* statusItem() const { return statusItem_.get(); }

private:
    void followFront();
    void reportRefused(HotkeyAction action, const KeyCombo& keys);
    void reportNoTray() const;

    Parts parts_;
    std::unique_ptr<PanelControls> controller_;
    std::unique_ptr<QMenu> menu_;
    std::unique_ptr<QSystemTrayIcon> statusItem_;
    SignalPipe signals_;
    bool showOnLaunch_ = false;
    // Refused keys already reported: each is said once, not on every change of window.
    QSet<QString> reported_;
};

} // namespace kivaro
