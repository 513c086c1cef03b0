#include "tools/query/PanelPicture.h"

#include "settings/Preferences.h"
#include "store/QuietDesktop.h"
#include "store/Store.h"
#include "ui/CommandPanel.h"
#include "ui/PanelController.h"

#include <QEventLoop>
#include <QPainter>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

namespace kivaro {

namespace {

// Long enough for the mode pulse and the chip's pop to finish.
constexpr int settleMs = 900;

// The state as the demonstration store shows it: no browser is asked, and the state's
// suggestions come back as the canned ones for the query.
DemoData pictureOf(const QueryState& state, const QString& query) {
    DemoData demo{.tabs = state.tabs, .history = state.history, .devTools = state.devTools};
    demo.visits = Store::visitsByHost(state.history);
    demo.suggestions.insert(query.trimmed().toLower(), state.suggestionsFor(query));
    return demo;
}

void turnEventLoop(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

QImage PanelPicture::draw(const QueryState& state) const {
    const QTemporaryDir scratch;
    Preferences preferences(std::make_unique<QSettings>(
        scratch.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat));
    preferences.store(PreferenceKey::panelTheme, rawValue(theme));
    preferences.store(PreferenceKey::resultLayout, rawValue(layout));
    preferences.setSectionOrder(order);
    preferences.setSearchEngine(engine);
    QuietDesktop desktop;
    Store store(desktop.adapters(preferences, scratch.path()), pictureOf(state, query));
    store.commands = state.commands;
    store.hidden = state.hidden;
    store.archived = state.archived;
    PanelController panel({.store = store,
                           .preferences = preferences,
                           .workspace = desktop,
                           .pasteboard = desktop,
                           .toast = desktop});
    panel.show(mode);
    if (dev)
        panel.enterDevMode();
    else if (site)
        panel.enterSite(*site, false);
    if (!query.isEmpty())
        panel.type(query);
    for (int step = 0; step < select; ++step)
        panel.runCommand(PanelKeys::FieldCommand::moveDown);
    if (menu)
        panel.openMenu();
    turnEventLoop(settleMs);
    // Over a plain page of the theme, as the translucent panel sits over the browser.
    const QImage window = panel.window().grab().toImage();
    QImage picture(window.size(), QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(window.devicePixelRatio());
    picture.fill(theme == PanelTheme::dark ? QColor(40, 40, 44) : QColor(236, 236, 238));
    QPainter painter(&picture);
    painter.drawImage(0, 0, window);
    painter.end();
    return picture;
}

} // namespace kivaro
