#include "ui/settings/SettingsPanes.h"

#include "browsers/LinuxBrowsers.h"
#include "history/HistorySource.h"
#include "panel/Access.h"
#include "panel/Colors.h"
#include "panel/KeyPress.h"
#include "panel/SettingsState.h"
#include "settings/Preferences.h"
#include "ui/PanelPalette.h"
#include "ui/Symbols.h"
#include "ui/settings/SettingsForm.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace kivaro {

namespace {

// Safari, its tab groups and its archive exist only on the Mac.
constexpr bool hasSafari() {
#ifdef Q_OS_MACOS
    return true;
#else
    return false;
#endif
}

const QString guideTail = QStringLiteral(
    "Kivaro adds the ⌘T bar for tabs, history, site search, menu commands and developer tools.");

// A browser the Browsers pane can guide the user through.
struct BrowserChoice {
    QString bundleID;
    QString name;
    QString themeIcon; // the desktop's icon name on Linux
    QString description;
    QStringList steps;
    QString guide;   // the page of the full guide
    QString command; // how to start it so that Kivaro can drive it, where that takes a command
};

// Chromium itself allows remote debugging on its default profile; the Chrome-branded builds
// and those that follow them need a profile of their own.
QString debuggingCommand(const LinuxBrowsers::Entry& entry) {
    // The name the installed build answers to ("firefox-esr" on Debian), else the usual one.
    const auto onPath =
        std::find_if(entry.programs.begin(), entry.programs.end(), [](const QString& name) {
            return !QStandardPaths::findExecutable(name).isEmpty();
        });
    const QString program = onPath != entry.programs.end() ? *onPath : entry.programs.value(0);
    // Chromium and Firefox allow it on their default profiles.
    if (entry.bundleID == u"org.chromium.Chromium" || entry.bundleID == HistorySource::firefoxID)
        return program + QStringLiteral(" --remote-debugging-port=0");
    return program +
           QStringLiteral(" --remote-debugging-port=0 --user-data-dir=\"$HOME/.config/%1-kivaro\"")
               .arg(entry.dataFolder);
}

QString guideUrl(const QString& slug) {
    return QStringLiteral("https://kivaro.app/guide/") + slug;
}

QList<BrowserChoice> browserChoices() {
    const auto press = [](const QString& name) {
        return KeyPress::nativeText(
            QStringLiteral("Press ⌘T in %1 and allow Kivaro to control %1.").arg(name));
    };
    QList<BrowserChoice> choices;
#ifdef Q_OS_MACOS
    choices.append(
        {QStringLiteral("com.apple.Safari"),
         QStringLiteral("Safari"),
         {},
         {},
         {QStringLiteral("In Safari, choose View › Show Sidebar."),
          QStringLiteral(
              "Choose File › New Empty Tab Group to split your tabs, one group per project."),
          QStringLiteral("Press ⌘T in Safari to open Kivaro.")},
         guideUrl(QStringLiteral("safari"))});
    const QString optIn =
        QStringLiteral("Turn on Also use in Chrome, Brave, Edge and Vivaldi below.");
#endif
#ifndef Q_OS_MACOS
    choices.append({QStringLiteral("org.chromium.Chromium"),
                    QStringLiteral("Chromium"),
                    QStringLiteral("chromium"),
                    QStringLiteral("Chromium shows your tabs down the side. ") + guideTail,
                    {QStringLiteral("Right-click the tab strip and choose Show Tabs Vertically.")},
                    guideUrl(QStringLiteral("chromium"))});
    choices.append({HistorySource::firefoxID,
                    QStringLiteral("Firefox"),
                    QStringLiteral("firefox-esr"),
                    QStringLiteral("Firefox can show your tabs down the side. ") + guideTail,
                    {QStringLiteral("Open Settings › General › Browser Layout and choose "
                                    "Vertical tabs.")},
                    guideUrl(QStringLiteral("firefox"))});
#endif
    choices.append({QStringLiteral("com.google.Chrome"),
                    QStringLiteral("Chrome"),
                    QStringLiteral("google-chrome"),
                    QStringLiteral("Chrome shows your tabs down the side. ") + guideTail,
                    {QStringLiteral("Right-click the tab strip and choose Show Tabs Vertically.")},
                    guideUrl(QStringLiteral("chrome"))});
#ifdef Q_OS_MACOS
    choices.last().steps.append(optIn);
#endif
    choices.append(
        {QStringLiteral("com.brave.Browser"),
         QStringLiteral("Brave"),
         QStringLiteral("brave-browser"),
         QStringLiteral("Brave keeps your tabs in a vertical sidebar. ") + guideTail,
         {QStringLiteral("Open brave://settings/appearance and turn on Use vertical tabs.")},
         guideUrl(QStringLiteral("brave"))});
    choices.append(
        {QStringLiteral("com.microsoft.edgemac"),
         QStringLiteral("Edge"),
         QStringLiteral("microsoft-edge"),
         QStringLiteral("Edge keeps your tabs in a vertical sidebar. ") + guideTail,
         {QStringLiteral(
             "Click the tab actions menu at the top left and choose Turn on vertical tabs.")},
         guideUrl(QStringLiteral("edge"))});
    choices.append(
        {QStringLiteral("com.vivaldi.Vivaldi"),
         QStringLiteral("Vivaldi"),
         QStringLiteral("vivaldi"),
         QStringLiteral("Vivaldi can put the tab bar on the left. ") + guideTail,
         {QStringLiteral("Open Vivaldi Settings › Tabs › Tab Bar Position and choose Left.")},
         guideUrl(QStringLiteral("vivaldi"))});
    for (BrowserChoice& choice : choices) {
        choice.description = KeyPress::nativeText(choice.description);
#ifndef Q_OS_MACOS
        // On Linux the browser is driven over remote debugging, which it must be started with.
        if (const auto entry = LinuxBrowsers::find(choice.bundleID))
            choice.command = debuggingCommand(*entry);
#endif
        if (choice.bundleID != u"com.apple.Safari")
            choice.steps.append(press(choice.name));
    }
    return choices;
}

// How to reach the settings without the tray item: a second start opens them in the running
// copy.
QString hiddenIconNote() {
#ifdef Q_OS_MACOS
    return QStringLiteral("To open Settings while the icon is hidden, open Kivaro again from the "
                          "Applications folder.");
#else
    return QStringLiteral("To open Settings while the icon is hidden, start Kivaro again from your "
                          "applications menu.");
#endif
}

bool isInstalled(const QString& bundleID) {
#ifdef Q_OS_MACOS
    Q_UNUSED(bundleID);
    return true;
#else
    const auto entry = LinuxBrowsers::find(bundleID);
    return entry && LinuxBrowsers::isInstalled(*entry);
#endif
}

QIcon browserIcon(const BrowserChoice& choice, const QColor& ink) {
    const QIcon themed = QIcon::fromTheme(choice.themeIcon);
    if (isInstalled(choice.bundleID) && !themed.isNull())
        return themed;
    return QIcon(QPixmap::fromImage(Symbols::image(QStringLiteral("globe"), 64, ink)));
}

// The guide of one browser: description, numbered steps, the open button and the link.
QWidget* browserGuide(const BrowserChoice& choice, PaneContext& context) {
    auto* guide = new QWidget;
    auto* column = new QVBoxLayout(guide);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(8);
    if (!choice.description.isEmpty()) {
        auto* description = new QLabel(choice.description, guide);
        description->setWordWrap(true);
        column->addWidget(description);
    }
    QStringList steps = choice.steps;
    // The command goes before the last step, pressing the shortcut in the browser.
    const qsizetype commandStep = steps.size() - 1;
    if (!choice.command.isEmpty())
        steps.insert(commandStep,
                     QStringLiteral("Start %1 with remote debugging on:").arg(choice.name));
    for (qsizetype i = 0; i < steps.size(); ++i) {
        auto* step = new QLabel(QStringLiteral("%1.  %2").arg(i + 1).arg(steps.at(i)), guide);
        step->setWordWrap(true);
        step->setTextInteractionFlags(Qt::TextSelectableByMouse);
        column->addWidget(step);
        if (!choice.command.isEmpty() && i == commandStep)
            column->addWidget(commandLabel({choice.command}, guide));
    }
    auto* buttons = new QHBoxLayout;
    const bool installed = isInstalled(choice.bundleID);
    auto* open = new QPushButton(installed ? QStringLiteral("Open ") + choice.name
                                           : choice.name + QStringLiteral(" is not installed"),
                                 guide);
    open->setEnabled(installed);
    QObject::connect(open, &QPushButton::clicked, guide, [&context, id = choice.bundleID] {
        if (context.state.hooks().openApplication)
            context.state.hooks().openApplication(id);
    });
    buttons->addWidget(open);
    auto* link = new QLabel(
        QStringLiteral("<a href=\"%1\">Read the full guide</a>").arg(choice.guide), guide);
    QObject::connect(link, &QLabel::linkActivated, guide, [&context](const QString& url) {
        if (context.state.hooks().openUrl)
            context.state.hooks().openUrl(url);
    });
    buttons->addWidget(link);
    buttons->addStretch(1);
    column->addLayout(buttons);
    if (choice.bundleID != u"com.apple.Safari" && hasSafari())
        column->addWidget(
            noteLabel(QStringLiteral("Closed Tab Groups and auto-archive work in Safari only. "
                                     "Everything else works in %1 too.")
                          .arg(choice.name)));
    return guide;
}

// A button icon of the symbol, faint when the button is disabled.
QIcon symbolIcon(const QString& symbol, const QColor& ink) {
    QIcon icon(QPixmap::fromImage(Symbols::image(symbol, 32, ink)));
    icon.addPixmap(QPixmap::fromImage(Symbols::image(symbol, 32, Colors::withAlpha(ink, 0.25))),
                   QIcon::Disabled);
    return icon;
}

QComboBox* boundPicker(SettingsForm& form, const QStringList& titles, std::function<int()> read,
                       std::function<void(int)> write) {
    auto* picker = new QComboBox;
    picker->addItems(titles);
    form.onReload([picker, read] {
        const QSignalBlocker blocker(picker);
        picker->setCurrentIndex(read());
    });
    QObject::connect(picker, &QComboBox::currentIndexChanged, picker, std::move(write));
    return picker;
}

QString hiddenPages(int count) {
    return count == 1 ? QStringLiteral("1 hidden page")
                      : QString::number(count) + QStringLiteral(" hidden pages");
}

} // namespace

Toggle* boundToggle(SettingsForm& form, std::function<bool()> read,
                    std::function<void(bool)> write) {
    auto* toggle = new Toggle;
    form.onReload([toggle, read = std::move(read)] {
        const QSignalBlocker blocker(toggle);
        toggle->setChecked(read());
        toggle->update();
    });
    QObject::connect(toggle, &Toggle::toggled, toggle, std::move(write));
    return toggle;
}

SettingsForm* buildPane(SettingsPane pane, PaneContext& context) {
    switch (pane) {
    case SettingsPane::general:
        return buildGeneral(context);
    case SettingsPane::browsers:
        return buildBrowsers(context);
    case SettingsPane::appearance:
        return buildAppearance(context);
    case SettingsPane::results:
        return buildResults(context);
    case SettingsPane::history:
        return buildHistory(context);
    case SettingsPane::shortcuts:
        return buildShortcuts(context);
    case SettingsPane::permissions:
        return buildPermissions(context);
    }
    return nullptr;
}

SettingsForm* buildGeneral(PaneContext& context) {
    Preferences& preferences = context.preferences;
    auto* form = new SettingsForm(SettingsPane::general);
    form->beginCard();
    form->addRow(QStringLiteral("launchAtLogin"), QStringLiteral("Launch at login"),
                 boundToggle(
                     *form, [&] { return preferences.launchAtLogin(); },
                     [&](bool on) { preferences.setLaunchAtLogin(on); }));
    form->addRow(QStringLiteral("menuBarIcon"), QStringLiteral("Show menu bar icon"),
                 boundToggle(
                     *form, [&] { return preferences.showMenuBarIcon(); },
                     [&](bool on) { preferences.store(PreferenceKey::showMenuBarIcon, on); }),
                 hiddenIconNote());
    form->beginCard();
    QStringList engines;
    for (SearchEngine engine : SearchEngine::allCases())
        engines.append(engine.displayName());
    form->addRow(
        QStringLiteral("searchEngine"), QStringLiteral("Search engine"),
        boundPicker(
            *form, engines,
            [&] { return int(SearchEngine::allCases().indexOf(preferences.searchEngine())); },
            [&](int index) {
                preferences.setSearchEngine(
                    SearchEngine::allCases().value(index, SearchEngine::google));
            }));
    form->addRow(
        QStringLiteral("suggestions"), QStringLiteral("Show Google suggestions"),
        boundToggle(
            *form, [&] { return preferences.searchSuggestions(); },
            [&](bool on) { preferences.setSearchSuggestions(on); }),
        QStringLiteral(
            "Suggestions are fetched from Google as you type, whichever search engine you use."));
    form->beginCard();
    Toggle* others = boundToggle(
        *form, [&] { return preferences.otherBrowsers(); },
        [&](bool on) { preferences.store(PreferenceKey::otherBrowsers, on); });
#ifdef Q_OS_MACOS
    const QString othersNote =
        QStringLiteral("Each browser asks once for permission to be controlled. Menu commands, "
                       "developer tools, pinning and "
                       "⌃Tab work through each browser's own menus. Closed Tab Groups and "
                       "auto-archive work in Safari only.");
#else
    // Without Safari the Chromium family is what Kivaro drives; there is nothing to opt into.
    others->setEnabled(false);
    const QString othersNote = QStringLiteral("On Linux Kivaro always works in Chrome, Brave, "
                                              "Edge, Vivaldi, Chromium and Helium, started with "
                                              "remote debugging on (see Browsers).");
#endif
    form->addRow(QStringLiteral("otherBrowsers"),
                 QStringLiteral("Also use in Chrome, Brave, Edge and Vivaldi"), others, othersNote);
    return form;
}

SettingsForm* buildBrowsers(PaneContext& context) {
    auto* form = new SettingsForm(SettingsPane::browsers);
    form->beginCard(QStringLiteral("Set up your browser"));
    auto* chooser = new QWidget;
    auto* column = new QVBoxLayout(chooser);
    column->setContentsMargins(0, 0, 0, 0);
    auto* tiles = new QHBoxLayout;
    // Six browsers on Linux share the card's width.
    tiles->setSpacing(2);
    auto* group = new QButtonGroup(chooser);
    auto* guides = new QVBoxLayout;
    const QList<BrowserChoice> choices = browserChoices();
    QList<QWidget*> pages;
    for (qsizetype i = 0; i < choices.size(); ++i) {
        auto* tile = new QToolButton(chooser);
        tile->setCheckable(true);
        tile->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        tile->setIcon(browserIcon(choices.at(i), PanelPalette::secondaryLabel(chooser->palette())));
        tile->setIconSize(QSize(28, 28));
        tile->setText(choices.at(i).name);
        tile->setMinimumSize(68, 64);
        tile->setAutoRaise(true);
        group->addButton(tile, int(i));
        tiles->addWidget(tile);
        QWidget* page = browserGuide(choices.at(i), context);
        page->setVisible(i == 0);
        guides->addWidget(page);
        pages.append(page);
    }
    tiles->addStretch(1);
    group->button(0)->setChecked(true);
    QObject::connect(group, &QButtonGroup::idClicked, chooser, [pages](int chosen) {
        for (qsizetype i = 0; i < pages.size(); ++i)
            pages.at(i)->setVisible(i == chosen);
    });
    column->addLayout(tiles);
    column->addSpacing(6);
    column->addLayout(guides);
    form->addWidget(QStringLiteral("browserGuide"), chooser);
    return form;
}

SettingsForm* buildResults(PaneContext& context) {
    Preferences& preferences = context.preferences;
    auto* form = new SettingsForm(SettingsPane::results);
    form->beginCard(QStringLiteral("Layout"));
    auto* tiles = new QWidget;
    auto* row = new QHBoxLayout(tiles);
    row->setContentsMargins(0, 0, 0, 0);
    auto* group = new QButtonGroup(tiles);
    const QList<std::pair<ResultLayout, std::pair<QString, QString>>> layouts = {
        {ResultLayout::ranked,
         {QStringLiteral("Mixed"),
          QStringLiteral("Tabs, history, searches and commands are mixed in one list, best "
                         "match first, with no headings.")}},
        {ResultLayout::grouped,
         {QStringLiteral("Grouped"),
          QStringLiteral("Results are shown under headings in the order below. The best "
                         "match always comes first.")}},
    };
    for (const auto& [layout, words] : layouts) {
        auto* tile = new QPushButton(words.first + QStringLiteral("\n") + words.second, tiles);
        tile->setCheckable(true);
        tile->setStyleSheet(
            QStringLiteral("QPushButton { text-align: left; padding: 10px; border-radius: 8px; "
                           "border: 1px solid rgba(128,128,128,70); }"
                           "QPushButton:checked { border: 2px solid palette(highlight); }"));
        tile->setMinimumHeight(88);
        tile->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        group->addButton(tile, int(layout));
        row->addWidget(tile);
    }
    // Long descriptions wrap inside the tiles: a label does the wrapping.
    for (QAbstractButton* tile : group->buttons()) {
        const QString text = tile->text();
        tile->setText({});
        auto* inner = new QVBoxLayout(tile);
        auto* title = new QLabel(QStringLiteral("<b>%1</b>").arg(text.section(u'\n', 0, 0)), tile);
        auto* detail = noteLabel(text.section(u'\n', 1), tile);
        title->setAttribute(Qt::WA_TransparentForMouseEvents);
        detail->setAttribute(Qt::WA_TransparentForMouseEvents);
        inner->setSpacing(4);
        inner->addWidget(title);
        inner->addWidget(detail, 1);
    }
    form->onReload([group, &preferences] {
        const QSignalBlocker blocker(group);
        group->button(int(preferences.resultLayout()))->setChecked(true);
    });
    QObject::connect(group, &QButtonGroup::idClicked, tiles, [&preferences](int id) {
        preferences.store(PreferenceKey::resultLayout, rawValue(ResultLayout(id)));
    });
    form->addWidget(QStringLiteral("layout"), tiles);

    form->beginCard(QStringLiteral("Section order"));
    auto* order = new QWidget;
    auto* rows = new QVBoxLayout(order);
    rows->setContentsMargins(0, 0, 0, 0);
    // In declaration order of the sections.
    const QStringList symbols = {QStringLiteral("square.on.square"), QStringLiteral("clock"),
                                 QStringLiteral("magnifyingglass"), QStringLiteral("command")};
    const auto move = [&preferences](qsizetype from, qsizetype to) {
        QList<ResultSection> sections = preferences.sectionOrder();
        if (to < 0 || to >= sections.size())
            return;
        sections.swapItemsAt(from, to);
        preferences.setSectionOrder(sections);
    };
    for (qsizetype i = 0; i < ResultSection::allCases().size(); ++i) {
        auto* line = new QHBoxLayout;
        auto* icon = new QLabel(order);
        auto* title = new QLabel(order);
        auto* up = new QToolButton(order);
        auto* down = new QToolButton(order);
        const QColor ink = order->palette().color(QPalette::WindowText);
        up->setIcon(symbolIcon(QStringLiteral("chevron.up"), ink));
        down->setIcon(symbolIcon(QStringLiteral("chevron.down"), ink));
        up->setAccessibleName(QStringLiteral("Move up"));
        down->setAccessibleName(QStringLiteral("Move down"));
        up->setAutoRaise(true);
        down->setAutoRaise(true);
        line->addWidget(icon);
        line->addWidget(title, 1);
        line->addWidget(up);
        line->addWidget(down);
        rows->addLayout(line);
        QObject::connect(up, &QToolButton::clicked, order, [move, i] { move(i, i - 1); });
        QObject::connect(down, &QToolButton::clicked, order, [move, i] { move(i, i + 1); });
        form->onReload([&preferences, symbols, icon, title, up, down, i, ink] {
            const QList<ResultSection> sections = preferences.sectionOrder();
            const ResultSection section = sections.at(i);
            icon->setPixmap(QPixmap::fromImage(
                Symbols::image(symbols.value(int(ResultSectionValue(section))), 18, ink)));
            title->setText(section.title());
            up->setEnabled(i > 0);
            down->setEnabled(i + 1 < sections.size());
        });
    }
    form->addWidget(QStringLiteral("order"), order);
    return form;
}

SettingsForm* buildHistory(PaneContext& context) {
    Preferences& preferences = context.preferences;
    SettingsState& state = context.state;
    auto* form = new SettingsForm(SettingsPane::history);
    form->beginCard();
    auto* status = new QLabel;
    status->setWordWrap(true);
    status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    status->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    status->setMinimumWidth(280);
    form->onReload([status, &state] {
        status->setText(state.historyStatus().isEmpty() ? QStringLiteral("Not loaded yet")
                                                        : state.historyStatus());
    });
    form->addRow(QStringLiteral("historyStatus"), QStringLiteral("Status"), status);

    auto* hidden = new QWidget;
    auto* hiddenLine = new QHBoxLayout(hidden);
    hiddenLine->setContentsMargins(0, 0, 0, 0);
    auto* count = new QLabel(hidden);
    auto* restore = new QPushButton(QStringLiteral("Restore"), hidden);
    hiddenLine->addWidget(count);
    hiddenLine->addWidget(restore);
    QObject::connect(restore, &QPushButton::clicked, hidden, [&state] { state.restoreHidden(); });
    form->onReload([count, restore, &state] {
        count->setText(hiddenPages(state.hiddenCount()));
        restore->setEnabled(state.hiddenCount() > 0);
    });
    form->addRow(QStringLiteral("hiddenPages"), QStringLiteral("Hidden pages"), hidden);

    auto* reload = new QPushButton(QStringLiteral("Reload"));
    QObject::connect(reload, &QPushButton::clicked, reload, [&state] { state.reloadHistory(); });
    form->addRow(QStringLiteral("reloadHistory"), QStringLiteral("Reload history"), reload);

    form->beginCard(QStringLiteral("Also search history from"));
    const QList<HistorySource> sources = HistorySource::available();
    QWidget* firstSource = nullptr;
    for (const HistorySource& source : sources) {
        Toggle* toggle = boundToggle(
            *form,
            [&preferences, id = source.id] { return preferences.historySources().contains(id); },
            [&preferences, id = source.id](bool on) {
                QSet<QString> chosen = preferences.historySources();
                if (on)
                    chosen.insert(id);
                else
                    chosen.remove(id);
                preferences.setHistorySources(chosen);
            });
        QWidget* row = form->addRow(firstSource ? QString() : QStringLiteral("historySources"),
                                    source.name, toggle);
        if (!firstSource)
            firstSource = row;
    }
    if (!firstSource)
        form->addRow(QStringLiteral("historySources"),
                     QStringLiteral("No other browser's history was found."), nullptr);
    if (AccessNeed::forPlatform().contains(AccessNeed::fullDisk)) {
        auto* needsAccess = noteLabel(QStringLiteral("Needs Full Disk Access"));
        form->onReload([needsAccess, &state] {
            needsAccess->setVisible(!state.access().granted(AccessNeed::fullDisk));
        });
        form->addWidget({}, needsAccess);
    }

    form->beginCard();
    const QStringList intervals = {QStringLiteral("Never"), QStringLiteral("12 hours"),
                                   QStringLiteral("1 day"), QStringLiteral("3 days"),
                                   QStringLiteral("1 week")};
    QComboBox* archive = boundPicker(
        *form, intervals,
        [&] { return int(ArchiveInterval::allCases().indexOf(preferences.archiveAfter())); },
        [&](int index) {
            preferences.setArchiveAfter(
                ArchiveInterval::allCases().value(index, ArchiveInterval::off));
        });
    archive->setEnabled(hasSafari());
    form->addRow(
        QStringLiteral("archive"), QStringLiteral("Close inactive tabs after"), archive,
        QStringLiteral(
            "Safari only. Closed tabs are saved to the archive and show up in search. Pinned "
            "tabs and the last tab in a window stay open."));
    return form;
}

} // namespace kivaro
