#include "app/Screenshot.h"

#include "store/Store.h"
#include "ui/CommandPanel.h"
#include "ui/PanelChrome.h"
#include "ui/PanelController.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QPixmap>
#include <QTimer>

#include <cstdio>

namespace kivaro {

namespace {

// A refresh or a row that never comes must not hang a run on a server: after this the
// picture is taken as it is.
constexpr int patienceMs = 10000;

// Turns the event loop until `done` holds or the patience runs out.
template <typename Condition>
void turnUntil(Condition done) {
    const QDeadlineTimer deadline(patienceMs);
    while (!done() && !deadline.hasExpired()) {
        QEventLoop loop;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

QWidget* panelWindow() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (qobject_cast<CommandPanel*>(window) && window->isVisible())
            return window;
    }
    return nullptr;
}

} // namespace

int takeScreenshot(Store& store, PanelController& panel, const QString& file,
                   const QString& query) {
    int answers = 0;
    store.refresh([&answers] { ++answers; });
    // The refresh answers twice: once the tabs are in, and once everything is.
    turnUntil([&] { return answers >= 2 || store.demo.has_value(); });
    panel.show(OpenMode::newTab);
    // A picture keeps its clear margin and shadow, whether or not the desktop composites.
    panel.chrome().setComposited(true);
    if (!query.isEmpty())
        panel.type(query);
    turnUntil([&] { return query.isEmpty() || !panel.rows().isEmpty(); });
    // Layout and painting follow the rows on the next turns of the loop.
    int turns = 0;
    turnUntil([&] { return ++turns > 20; });
    QWidget* window = panelWindow();
    if (!window) {
        std::fprintf(stderr, "Kivaro: the panel did not open, so there is no picture\n");
        return 1;
    }
    if (!window->grab().save(file, "PNG")) {
        std::fprintf(stderr, "Kivaro: cannot write %s\n", qPrintable(file));
        return 1;
    }
    std::printf("%s\n", qPrintable(file));
    return 0;
}

} // namespace kivaro
