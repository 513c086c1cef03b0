#include "app/AppDelegate.h"

#include "base/Notifications.h"
#include "keys/KeyCaps.h"
#include "settings/Preferences.h"
#include "store/Store.h"
#include "ui/Symbols.h"

#include <QCoreApplication>
#include <QCursor>
#include <QFile>
#include <QIcon>
#include <QMenu>
#include <QPixmap>
#include <QPointer>
#include <QSystemTrayIcon>

#include <csignal>

namespace kivaro {

namespace {

constexpr int trayIconSide = 18;
const QString trayIconFile = QStringLiteral(":/MenuBarIcon.svg");

// The program's own tray image; the "command" symbol when it is missing.
QIcon trayIcon() {
    if (QFile::exists(trayIconFile))
        return QIcon(trayIconFile);
    const QImage symbol = Symbols::image(QStringLiteral("command"), trayIconSide * 2, Qt::white);
    return symbol.isNull() ? QIcon() : QIcon(QPixmap::fromImage(symbol));
}

} // namespace

AppDelegate::AppDelegate(Parts parts, bool showOnLaunch, QObject* parent)
    : QObject(parent), parts_(std::move(parts)), showOnLaunch_(showOnLaunch) {}

AppDelegate::~AppDelegate() {
    parts_.workspace.setActivationHandler({});
    parts_.hotkeys.onPress = {};
    parts_.hotkeys.onRefused = {};
}

void AppDelegate::applicationDidFinishLaunching() {
    setUpMenu();
    const QPointer<AppDelegate> self(this);
    parts_.hotkeys.onPress = [self](Hotkeys::Press key) {
        if (self)
            self->pressed(key);
    };
    parts_.hotkeys.onRefused = [self](HotkeyAction action, const KeyCombo& keys) {
        if (self)
            self->reportRefused(action, keys);
    };
    parts_.workspace.setActivationHandler([self](const std::optional<Workspace::Application>& app) {
        if (self)
            self->appActivated(app);
    });
    connect(&Notifications::center(), &Notifications::posted, this,
            [this](const QString& name, const QVariant& object) {
                if (name == Notifications::preferencesChanged)
                    preferencesChanged();
                else if (name == Notifications::hotkeyRecording)
                    recordingChanged(object);
            });
    controller();
    followFront();
    listen(SIGUSR1, [this] { controller().show(OpenMode::newTab); });
    listen(SIGUSR2, [this] { controller().show(OpenMode::currentTab); });
    if (!parts_.preferences.welcomed() && showWelcome)
        showWelcome();
    parts_.store.refresh();
    if (showOnLaunch_)
        controller().show(OpenMode::newTab);
}

void AppDelegate::setUpMenu() {
    menu_ = std::make_unique<QMenu>();
    menu_->addAction(tr("Open Kivaro"), this, &AppDelegate::openBar);
    menu_->addAction(tr("Settings…"), QKeySequence(Qt::CTRL | Qt::Key_Comma), this,
                     &AppDelegate::openSettings);
    menu_->addAction(tr("Welcome Guide…"), this, &AppDelegate::openWelcome);
    menu_->addSeparator();
    menu_->addAction(tr("Quit Kivaro"), QKeySequence(Qt::CTRL | Qt::Key_Q), qApp,
                     &QCoreApplication::quit);

    statusItem_ = std::make_unique<QSystemTrayIcon>(trayIcon());
    statusItem_->setToolTip(QStringLiteral("Kivaro"));
    statusItem_->setContextMenu(menu_.get());
    // A plain click opens the same menu, as the status item's click does on the Mac.
    connect(statusItem_.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger)
                    menu_->popup(QCursor::pos());
            });
    statusItem_->setVisible(parts_.preferences.showMenuBarIcon());
    reportNoTray();
}

void AppDelegate::follow(const std::optional<Workspace::Application>& app) {
    if (app && !app->bundleID.isEmpty()) {
        if (Store::BrowserRef browser = parts_.store.browserFor(app->bundleID)) {
            parts_.store.use(std::move(browser));
            parts_.hotkeys.registerKeys();
            parts_.store.trackTabs(parts_.preferences.lastTabShortcut());
            return;
        }
    }
    // Our own windows (the panel, the settings) keep whatever the browser had.
    if (app && app->pid == parts_.ownPid)
        return;
    parts_.hotkeys.unregisterKeys();
    parts_.store.trackTabs(false);
}

void AppDelegate::appActivated(const std::optional<Workspace::Application>& app) {
    follow(app);
}

void AppDelegate::preferencesChanged() {
    if (statusItem_)
        statusItem_->setVisible(parts_.preferences.showMenuBarIcon());
    // Re-registering reads the bindings and their switches afresh.
    parts_.hotkeys.unregisterKeys();
    followFront();
}

void AppDelegate::recordingChanged(const QVariant& object) {
    parts_.hotkeys.unregisterKeys();
    // While a recorder records, every key press must reach it.
    if (object.typeId() == QMetaType::Bool && object.toBool())
        return;
    followFront();
}

void AppDelegate::pressed(Hotkeys::Press key) {
    PanelControls& panel = controller();
    const bool visible = panel.isVisible();
    switch (key.action) {
    case HotkeyAction::newTab:
        panel.show(OpenMode::newTab);
        break;
    case HotkeyAction::currentTab:
        panel.show(OpenMode::currentTab);
        break;
    case HotkeyAction::copyLink:
        if (visible)
            panel.copyHotkey(key.markdown);
        else
            parts_.store.copyCurrentPage(key.markdown);
        break;
    case HotkeyAction::pin:
        if (visible)
            panel.pinHotkey();
        else
            parts_.store.togglePinCurrent();
        break;
    case HotkeyAction::lastTab:
        if (visible)
            panel.close();
        parts_.store.switchToLastTab();
        break;
    }
}

bool AppDelegate::listen(int signal, std::function<void()> handler) {
    return signals_.listen(signal, std::move(handler));
}

void AppDelegate::openBar() {
    controller().show(OpenMode::newTab);
}

void AppDelegate::openSettings() {
    if (showSettings)
        showSettings();
}

void AppDelegate::openWelcome() {
    if (showWelcome)
        showWelcome();
}

bool AppDelegate::reopen() {
    openSettings();
    return true;
}

PanelControls& AppDelegate::controller() {
    if (!controller_)
        controller_ = parts_.makePanel();
    return *controller_;
}

void AppDelegate::followFront() {
    follow(parts_.workspace.frontApplication());
}

void AppDelegate::reportRefused(HotkeyAction action, const KeyCombo& keys) {
    const QString text = KeyCaps::text(keys, KeyCaps::nativeStyle());
    if (reported_.contains(text))
        return;
    reported_.insert(text);
    qWarning("Kivaro: %s (%s) cannot be had: another program holds it, so that shortcut is off",
             qPrintable(text), qPrintable(action.title()));
}

void AppDelegate::reportNoTray() const {
    if (QSystemTrayIcon::isSystemTrayAvailable())
        return;
    const QString keys =
        KeyCaps::text(parts_.preferences.combo(HotkeyAction::newTab), KeyCaps::nativeStyle());
    qWarning("Kivaro: this desktop has no system tray. Open the panel with %s while a browser "
             "is in front, or with: kill -USR1 %lld",
             qPrintable(keys), static_cast<long long>(parts_.ownPid));
}

} // namespace kivaro
