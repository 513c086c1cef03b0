#include "WindowShots.h"

#include "favicons/Favicons.h"
#include "panel/Access.h"
#include "panel/WelcomeModel.h"
#include "platform/fake/FakeHotkeyRegistrar.h"
#include "platform/fake/FakePermissionProbe.h"
#include "settings/Preferences.h"
#include "ui/PanelPalette.h"
#include "ui/settings/SettingsForm.h"
#include "ui/settings/SettingsWindowController.h"
#include "ui/welcome/LivePanel.h"
#include "ui/welcome/WelcomeWindowController.h"

#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdio>

namespace kivaro {

namespace {

bool write(const QDir& folder, QWidget& window, const QString& name) {
    QApplication::processEvents();
    const QString path = folder.filePath(name);
    if (!window.grab().save(path, "PNG")) {
        std::fprintf(stderr, "kivaro-screenshots: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

// A desktop's palette in the theme: the panel's colours, and buttons and links to match.
QPalette desktopPalette(PanelTheme theme) {
    QPalette palette = PanelPalette::forTheme(theme);
    if (theme != PanelTheme::dark)
        return palette;
    const QColor text = palette.color(QPalette::WindowText);
    palette.setColor(QPalette::Button, QColor(0x3a, 0x3a, 0x3f));
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::Highlight, QColor(0x0a, 0x84, 0xff));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Link, QColor(0x4d, 0xa3, 0xff));
    palette.setColor(QPalette::PlaceholderText, QColor(0x8e, 0x8e, 0x93));
    palette.setColor(QPalette::Light, QColor(0x55, 0x55, 0x5a));
    palette.setColor(QPalette::Midlight, QColor(0x48, 0x48, 0x4d));
    palette.setColor(QPalette::Mid, QColor(0x30, 0x30, 0x34));
    palette.setColor(QPalette::Dark, QColor(0x1c, 0x1c, 0x1e));
    palette.setColor(QPalette::Shadow, Qt::black);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x6e, 0x6e, 0x73));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x6e, 0x6e, 0x73));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x6e, 0x6e, 0x73));
    return palette;
}

} // namespace

bool saveWindowShots(const QDir& folder) {
    QTemporaryDir scratch;
    Preferences preferences(std::make_unique<QSettings>(
        scratch.filePath(QStringLiteral("settings.conf")), QSettings::IniFormat));
    FakeHotkeyRegistrar registrar;
    // As on many desktops, the window manager holds Super+Tab.
    registrar.takeElsewhere(HotkeyAction(HotkeyAction::lastTab).defaultCombo());
    FakePermissionProbe permissions;
    Favicons favicons(scratch.filePath(QStringLiteral("favicons")));
    AccessCheck access(
        {&permissions, &registrar, &preferences, [] { return true; }, [] { return QString(); }});
    const SettingsHooks hooks{[] { return 3; },
                              [] { return QStringLiteral("2,418 pages from Chromium"); },
                              {},
                              {},
                              [] { return QStringLiteral("Chromium"); },
                              {},
                              {}};
    bool written = true;
    QApplication::setStyle(QStringLiteral("Fusion"));
    for (const PanelTheme theme : {PanelTheme::light, PanelTheme::dark}) {
        QApplication::setPalette(desktopPalette(theme));
        const QString suffix =
            theme == PanelTheme::dark ? QStringLiteral("-dark.png") : QStringLiteral(".png");
        SettingsWindowController settings(preferences, hooks, access, registrar);
        settings.show();
        for (SettingsPane pane : SettingsPane::allCases()) {
            settings.state().selectPane(pane);
            written = write(folder, *settings.window(),
                            QStringLiteral("settings-") + pane.rawValue() + suffix) &&
                      written;
            const int range = settings.window()->form(pane)->verticalScrollBar()->maximum();
            if (range > 0) {
                settings.window()->form(pane)->verticalScrollBar()->setValue(range);
                written = write(folder, *settings.window(),
                                QStringLiteral("settings-") + pane.rawValue() +
                                    QStringLiteral("-end") + suffix) &&
                          written;
            }
        }
        settings.window()->searchField().setText(QStringLiteral("hid men"));
        written = write(folder, *settings.window(), QStringLiteral("settings-search") + suffix) &&
                  written;
        settings.window()->searchField().setText(QStringLiteral("link"));
        emit settings.window()->searchField().returnPressed();
        written =
            write(folder, *settings.window(), QStringLiteral("settings-search-link") + suffix) &&
            written;
        settings.window()->searchField().setText(QStringLiteral("zzz"));
        written =
            write(folder, *settings.window(), QStringLiteral("settings-search-none") + suffix) &&
            written;

        LivePanel* live = nullptr;
        WelcomeWindowController welcome(preferences, access,
                                        {[] { return QStringLiteral("Chromium"); }, [] {}},
                                        [&](QObject* owner) {
                                            live = new LivePanel(preferences, &favicons, owner);
                                            return WelcomeDemo{live->takeStage(), &live->player()};
                                        });
        welcome.show();
        // Two moments of the demonstration, driven by hand rather than by its timers.
        live->player().cancel();
        live->open();
        live->setText(QStringLiteral("git"));
        written =
            write(folder, *welcome.window(), QStringLiteral("welcome-0-git") + suffix) && written;
        live->setText(QStringLiteral("youtube"));
        live->pressTab();
        live->setText(QStringLiteral("lofi"));
        written =
            write(folder, *welcome.window(), QStringLiteral("welcome-0-site") + suffix) && written;
        for (int step = 0; step <= WelcomeModel::lastStep; ++step) {
            welcome.model().go(step);
            written =
                write(folder, *welcome.window(), QStringLiteral("welcome-%1").arg(step) + suffix) &&
                written;
        }
        welcome.window()->close();
    }
    return written;
}

} // namespace kivaro
