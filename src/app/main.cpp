// kivaro: the program. It sits in the tray and opens its panel over the front browser on the
// new-tab shortcut; see Options::usage() for its command line.
#include "app/AppDelegate.h"
#include "app/Options.h"
#include "app/Screenshot.h"
#include "app/SingleInstance.h"
#include "base/Identifiers.h"
#include "favicons/Favicons.h"
#include "panel/Access.h"
#include "panel/DemoScript.h"
#include "platform/Platform.h"
#include "platform/PrivateFolder.h"
#include "settings/Preferences.h"
#include "settings/Storage.h"
#include "store/Store.h"
#include "ui/PanelController.h"
#include "ui/ToastBubble.h"
#include "ui/settings/SettingsWindowController.h"
#include "ui/welcome/LivePanel.h"
#include "ui/welcome/WelcomeWindowController.h"

#include <QApplication>

#include <cstdio>
#include <variant>

namespace kivaro {

namespace {

// Qt draws on X11 wherever there is one, XWayland included: the key grabs and the tracking
// of the front window need it. A picture can be taken with no display at all. False, said
// in one line, when the program cannot run here.
bool chooseDisplay(const Options& options) {
    if (!qEnvironmentVariable("DISPLAY").isEmpty()) {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "xcb");
        return true;
    }
    if (options.screenshot) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return true;
    }
    if (!qEnvironmentVariable("WAYLAND_DISPLAY").isEmpty()) {
        std::fprintf(stderr,
                     "Kivaro: this Wayland session has no XWayland, so the global shortcuts and "
                     "following the front browser cannot work here; the panel opens from the "
                     "tray or with: kill -USR1 %lld\n",
                     static_cast<long long>(QCoreApplication::applicationPid()));
        return true;
    }
    std::fprintf(stderr, "Kivaro: there is no display (DISPLAY is not set); scripts/run shows it "
                         "under a virtual one, or take a picture with --screenshot FILE\n");
    return false;
}

QtMessageHandler passMessagesOn = nullptr;

// The offscreen platform has no windows to stack, and says so each time the panel shows;
// that says nothing to someone who asked for a picture.
void dropStackingNotes(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text != u"This plugin does not support raise()")
        passMessagesOn(type, context, text);
}

// Everything the running program is made of, wired once from makePlatform().
class Program {
public:
    Program(std::unique_ptr<Platform> platform, const Options& options)
        : platform_(std::move(platform)), preferences_(Preferences::shared()) {
        preferences_.setLoginItem(platform_->loginItem.get());
        ToastBubble::shared().setDesktop(platform_->workspace.get(), platform_->windows.get());
        store_ = options.demo ? std::make_unique<Store>(adapters(false), DemoScript::data())
                              : std::make_unique<Store>(adapters(true));
        hotkeys_ = std::make_unique<Hotkeys>(*platform_->hotkeys, preferences_);
        delegate_ = std::make_unique<AppDelegate>(
            AppDelegate::Parts{*store_, *hotkeys_, *platform_->workspace, preferences_,
                               [this] { return makePanel(); }, QCoreApplication::applicationPid()},
            options.show || options.demo);
        access_ = std::make_unique<AccessCheck>(AccessCheck::platformSources(
            *platform_->permissions, *platform_->hotkeys, preferences_, platform_->browsers));
        welcome_ = std::make_unique<WelcomeWindowController>(
            preferences_, *access_,
            WelcomeHooks{
                [this] { return store_->browser()->name(); },
                [this] { platform_->workspace->launch(store_->browser()->bundleID(), true); }},
            LivePanel::factory(preferences_, &Favicons::shared()));
        delegate_->showSettings = [this] { settings().show(); };
        delegate_->showWelcome = [this] { welcome_->show(); };
    }

    Store& store() { return *store_; }
    AppDelegate& delegate() { return *delegate_; }
    PanelController& panel() {
        delegate_->controller();
        return *panel_;
    }

private:
    // The demonstration drives no browser.
    Store::Adapters adapters(bool browsers) {
        Platform& p = *platform_;
        Store::Adapters adapters{.workspace = *p.workspace,
                                 .menuBar = *p.menuBar,
                                 .permissions = *p.permissions,
                                 .toast = ToastBubble::shared(),
                                 .pasteboard = *p.pasteboard,
                                 .snapshots = *p.snapshots,
                                 .preferences = preferences_,
                                 .safari = p.safari.get()};
        if (browsers) {
            adapters.browsers = p.browsers;
            adapters.optInBrowsers = p.optInBrowsers;
        }
        return adapters;
    }

    // Made on first use; it reads the store through these hooks.
    SettingsWindowController& settings() {
        if (!settings_) {
            Workspace& workspace = *platform_->workspace;
            settings_ = std::make_unique<SettingsWindowController>(
                preferences_,
                SettingsHooks{
                    .hiddenCount = [this] { return int(store_->hidden.size()); },
                    .historyStatus = [this] { return store_->historyStatus; },
                    .restoreHidden = [this] { store_->clearHidden(); },
                    .reloadHistory = [this] { store_->reloadHistory(); },
                    .browserName = [this] { return store_->browser()->name(); },
                    .openApplication =
                        [&workspace](const QString& id) { workspace.launch(id, true); },
                    .openUrl = [&workspace](const QString& url) { workspace.openURL(url); }},
                *access_, *platform_->hotkeys);
        }
        return *settings_;
    }

    std::unique_ptr<PanelControls> makePanel() {
        auto panel = std::make_unique<PanelController>(
            PanelController::Services{.store = *store_,
                                      .preferences = preferences_,
                                      .workspace = *platform_->workspace,
                                      .pasteboard = *platform_->pasteboard,
                                      .toast = ToastBubble::shared(),
                                      .windows = platform_->windows.get(),
                                      .favicons = &Favicons::shared()});
        panel_ = panel.get();
        return panel;
    }

    std::unique_ptr<Platform> platform_;
    Preferences& preferences_;
    std::unique_ptr<Store> store_;
    std::unique_ptr<Hotkeys> hotkeys_;
    PanelController* panel_ = nullptr;
    std::unique_ptr<AppDelegate> delegate_;
    std::unique_ptr<AccessCheck> access_;
    std::unique_ptr<SettingsWindowController> settings_;
    std::unique_ptr<WelcomeWindowController> welcome_;
};

// The running copy's socket: in the user's private runtime folder, where no one else can
// plant or read it.
std::optional<QString> instanceSocket(const Platform& platform) {
    const auto folder = platform.snapshots->ownFolder();
    if (!folder)
        return std::nullopt;
    return *folder + QStringLiteral("/instance");
}

int run(const Options& options, int& argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kivaro"));
    QApplication::setDesktopFileName(Identifiers::bundle);
    // A tray program: closing its last window does not end it.
    QApplication::setQuitOnLastWindowClosed(false);

    std::unique_ptr<Platform> platform = makePlatform();
    if (options.screenshot) {
        if (QGuiApplication::platformName() == u"offscreen")
            passMessagesOn = qInstallMessageHandler(dropStackingNotes);
        Program program(std::move(platform), options);
        return takeScreenshot(program.store(), program.panel(), *options.screenshot, options.query);
    }

    const std::optional<QString> socket = instanceSocket(*platform);
    SingleInstance instance(socket.value_or(QString()));
    if (socket && instance.handOver()) {
        std::fprintf(stderr, "Kivaro is already running; its settings open there\n");
        return 0;
    }
    Program program(std::move(platform), options);
    if (!socket || !instance.listen([&program] { program.delegate().reopen(); }))
        std::fprintf(stderr, "Kivaro: no private runtime folder for the running copy's socket; "
                             "a second start will not find this one\n");
    program.delegate().applicationDidFinishLaunching();
    return application.exec();
}

} // namespace

} // namespace kivaro

int main(int argc, char** argv) {
    using namespace kivaro;
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const std::variant<Options, QString> parsed = Options::parse(arguments);
    if (const QString* problem = std::get_if<QString>(&parsed)) {
        std::fprintf(stderr, "kivaro: %s\n\n%s", qPrintable(*problem),
                     qPrintable(Options::usage()));
        return 2;
    }
    const Options& options = std::get<Options>(parsed);
    if (options.help) {
        std::printf("%s", qPrintable(Options::usage()));
        return 0;
    }
    // Before anything reads a preference.
    Storage::migrate();
    if (!chooseDisplay(options))
        return 1;
    return run(options, argc, argv);
}
