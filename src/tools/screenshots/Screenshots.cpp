// kivaro-screenshots FOLDER: draws the empty panel, its result rows, action menu and bar, and
// a toast offscreen, laid over a stand-in for a web page as on a desktop, then the settings and
// welcome windows, and writes them to FOLDER for a person to look at.
#include "WindowShots.h"
#include "favicons/Favicons.h"
#include "panel/Colors.h"
#include "ui/ActionBar.h"
#include "ui/ActionMenu.h"
#include "ui/CommandPanel.h"
#include "ui/PanelChrome.h"
#include "ui/PanelPalette.h"
#include "ui/RowView.h"
#include "ui/ShadowView.h"
#include "ui/TintView.h"
#include "ui/ToastBubble.h"

#include <QAbstractAnimation>
#include <QApplication>
#include <QDir>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QTemporaryDir>

#include <cstdio>

namespace {

using namespace kivaro;

QImage overBackdrop(QWidget& window) {
    const QPixmap grabbed = window.grab();
    // At the screen's own density: QT_SCALE_FACTOR=2 gives a sharp picture twice the size.
    QImage picture(grabbed.size(), QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(grabbed.devicePixelRatio());
    const QSizeF logical = grabbed.deviceIndependentSize();
    QPainter painter(&picture);
    QLinearGradient page(0, 0, logical.width(), logical.height());
    page.setColorAt(0, QColor(0xe8, 0xee, 0xf6));
    page.setColorAt(1, QColor(0xc9, 0xd6, 0xea));
    painter.fillRect(QRectF(QPointF(), logical), page);
    painter.setPen(QColor(0x9a, 0xa8, 0xbd));
    for (int y = 12; y < logical.height(); y += 18)
        painter.drawLine(24, y, int(logical.width()) / 2 + (y * 7) % 200, y);
    painter.drawPixmap(0, 0, grabbed);
    painter.end();
    return picture;
}

bool save(const QDir& folder, QWidget& window, const QString& name) {
    const QString path = folder.filePath(name);
    if (!overBackdrop(window).save(path, "PNG")) {
        std::fprintf(stderr, "kivaro-screenshots: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

// A made-up site icon: a rounded square in `colour` with a letter, as the cache would hold.
void storeIcon(const Favicons& favicons, const QString& host, const QColor& colour,
               const QString& letter) {
    QImage icon(64, 64, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(colour);
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(2, 2, 60, 60), 14, 14);
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setPixelSize(40);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(icon.rect(), Qt::AlignCenter, letter);
    painter.end();
    icon.save(favicons.filePath(host), "PNG");
}

Row sampleRow(Row::Kind kind, const QString& title, const QString& detail, const QString& host,
              const QString& url, Action action = Action::open({})) {
    Row row;
    row.kind = kind;
    row.title = title;
    row.detail = detail;
    row.host = host;
    row.url = url;
    row.action = std::move(action);
    return row;
}

QList<Row> sampleRows() {
    Row tab = sampleRow(Row::Kind::tab, QStringLiteral("Pull requests · kivaro/kivaro"),
                        QStringLiteral("github.com"), QStringLiteral("github.com"),
                        QStringLiteral("https://github.com/kivaro/kivaro/pulls"),
                        Action::switchTab(1, 2));
    tab.label = QStringLiteral("Switch to Tab");
    Row docs =
        sampleRow(Row::Kind::tab, QStringLiteral("QWidget Class | Qt Widgets 6.4"),
                  QStringLiteral("doc.qt.io"), QStringLiteral("doc.qt.io"),
                  QStringLiteral("https://doc.qt.io/qt-6/qwidget.html"), Action::switchTab(1, 3));
    docs.label = QStringLiteral("Switch to Tab");
    Row news = sampleRow(
        Row::Kind::history, QStringLiteral("Hacker News"), QStringLiteral("news.ycombinator.com"),
        QStringLiteral("news.ycombinator.com"), QStringLiteral("https://news.ycombinator.com/"));
    Row waiting =
        sampleRow(Row::Kind::history,
                  QStringLiteral("A page whose title runs on far longer than the row has "
                                 "room for, so it is cut off"),
                  QStringLiteral("example.invalid/a/very/long/address/that/gives/way"),
                  QStringLiteral("example.invalid"), QStringLiteral("https://example.invalid/a"));
    Row search = sampleRow(Row::Kind::search, QStringLiteral("qt widgets"),
                           QStringLiteral("Search Google"), {}, {});
    Row command = sampleRow(Row::Kind::command, QStringLiteral("New Private Window"),
                            QStringLiteral("File"), {}, {}, Action::menu({}));
    command.symbol = QStringLiteral("macwindow");
    command.keys = {QStringLiteral("⇧"), QStringLiteral("⌘"), QStringLiteral("N")};
    return {tab, docs, news, waiting, search, command};
}

QList<RowAction> tabActions() {
    const auto action = [](const char* title, const char* symbol, bool danger,
                           std::optional<KeyCombo> keys) {
        return RowAction{QString::fromUtf8(title), QString::fromUtf8(symbol), keys, danger, [] {}};
    };
    return {
        action("Close Tab", "xmark", true,
               KeyCombo{51, Modifier::command | Modifier::shift, QStringLiteral("⌫")}),
        action("Switch to Tab", "arrow.right.square", false, KeyCombo{36, {}, QStringLiteral("↩")}),
        action("Copy Link", "link", false,
               KeyCombo{8, Modifier::command | Modifier::shift, QStringLiteral("C")}),
        action("Copy Markdown Link", "text.badge.plus", false,
               KeyCombo{8, Modifier::command | Modifier::shift | Modifier::option,
                        QStringLiteral("C")}),
        action("Pin or Unpin Tab", "pin", false,
               KeyCombo{35, Modifier::command | Modifier::shift, QStringLiteral("P")})};
}

// The visible panel without its field: rows under section titles, the action bar and,
// when `menu`, the action menu open. What the hints show is set by `hint`.
enum class Hint { none, numbers, remove };

std::unique_ptr<QWidget> resultsSheet(PanelTheme theme, Favicons& favicons, bool menu, Hint hint) {
    auto window = std::make_unique<QWidget>();
    window->setAttribute(Qt::WA_TranslucentBackground);
    window->setPalette(PanelPalette::forTheme(theme));
    constexpr int margin = 48;
    const QList<Row> rows = sampleRows();
    const QStringList titles{QString(),
                             QString(),
                             QStringLiteral("History"),
                             QString(),
                             QStringLiteral("Search"),
                             QStringLiteral("Commands")};
    const int listHeight = int(rows.size()) * (RowView::height + 2) + 3 * 26 + 16;
    const QRect shape(margin, margin, 680, listHeight + ActionBar::height);
    window->resize(shape.width() + 2 * margin, shape.height() + 2 * margin);
    (new ShadowView(22, margin, window.get()))->setGeometry(window->rect());
    auto* surface = new SurfaceView(22, window.get());
    surface->setGeometry(shape);
    auto* tint = new TintView(22, window.get());
    tint->setGeometry(shape);
    tint->setStrength(0.85);
    int y = shape.top() + 8;
    QList<RowView*> views;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (!titles[i].isEmpty()) {
            QWidget* title = RowView::sectionTitle(titles[i], window.get());
            title->setGeometry(shape.left() + 8, y, 664, RowView::sectionTitleHeight);
            y += RowView::sectionTitleHeight + 2;
        }
        auto* view = new RowView(rows[i], Colors::brand(), &favicons, window.get());
        view->setGeometry(shape.left() + 8, y, 664, RowView::height);
        view->setSelected(i == 0);
        view->setRemoveHint(hint == Hint::remove && i == 0);
        if (hint == Hint::numbers)
            view->setNumber(int(i) + 1);
        views.append(view);
        y += RowView::height + 2;
    }
    auto* bar = new ActionBar(window.get());
    bar->setGeometry(shape.left(), shape.bottom() + 1 - ActionBar::height, 680, ActionBar::height);
    bar->update(OpenMode::newTab, std::nullopt, tabActions()[1]);
    if (menu) {
        auto* actions = new ActionMenu(window.get());
        actions->present(rows[0].title, tabActions());
        actions->setGeometry(shape.right() + 1 - 10 - ActionMenu::width,
                             bar->y() - 8 - actions->preferredHeight(), ActionMenu::width,
                             actions->preferredHeight());
        actions->show();
        actions->move(1);
    }
    return window;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kivaro-screenshots FOLDER\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "kivaro-screenshots: cannot make %s\n", argv[1]);
        return 1;
    }

    CommandPanel panel;
    auto* chrome = new PanelChrome(panel);
    chrome->applyAppearance({PanelTheme::dark, 0.8, Colors::brand()}, {});
    chrome->styleEditor();
    panel.present();
    bool written = save(folder, panel, QStringLiteral("panel-empty.png"));
    // A site search starting: the glow and the chip's pop a tenth of the way in.
    chrome->setModeColor(QColor(0xff, 0x66, 0x00));
    chrome->applyTone();
    chrome->showChip(QStringLiteral("Hacker News"));
    chrome->pulse();
    const auto running = panel.findChildren<QAbstractAnimation*>();
    for (QAbstractAnimation* animation : running) {
        if (!animation->group())
            animation->setCurrentTime(animation->totalDuration() / 10);
    }
    written = save(folder, panel, QStringLiteral("panel-site-pulse.png")) && written;

    QTemporaryDir icons;
    Favicons favicons(icons.path());
    storeIcon(favicons, QStringLiteral("github.com"), QColor(0x24, 0x29, 0x2f),
              QStringLiteral("G"));
    storeIcon(favicons, QStringLiteral("doc.qt.io"), QColor(0x41, 0xcd, 0x52), QStringLiteral("Q"));
    storeIcon(favicons, QStringLiteral("news.ycombinator.com"), QColor(0xff, 0x66, 0x00),
              QStringLiteral("Y"));
    for (const PanelTheme theme : {PanelTheme::light, PanelTheme::dark}) {
        const QString name =
            theme == PanelTheme::light ? QStringLiteral("light") : QStringLiteral("dark");
        written = save(folder, *resultsSheet(theme, favicons, false, Hint::none),
                       QStringLiteral("rows-%1.png").arg(name)) &&
                  written;
        written = save(folder, *resultsSheet(theme, favicons, true, Hint::none),
                       QStringLiteral("menu-%1.png").arg(name)) &&
                  written;
        written = save(folder, *resultsSheet(theme, favicons, false, Hint::numbers),
                       QStringLiteral("numbers-%1.png").arg(name)) &&
                  written;
        written = save(folder, *resultsSheet(theme, favicons, false, Hint::remove),
                       QStringLiteral("remove-%1.png").arg(name)) &&
                  written;
    }

    ToastBubble toast;
    toast.setStyle({PanelTheme::light, 0.6, Colors::brand()});
    toast.setDisplay({false, true});
    toast.show(QStringLiteral("Link copied"), QStringLiteral("link"),
               QStringLiteral("checkmark.circle.fill"));
    written = save(folder, toast, QStringLiteral("toast-link.png")) && written;
    toast.confirm();
    written = save(folder, toast, QStringLiteral("toast-link-done.png")) && written;
    toast.show(QStringLiteral("Allow Accessibility to run menu commands"),
               QStringLiteral("lock.shield"));
    written = save(folder, toast, QStringLiteral("toast-permission.png")) && written;
    written = saveWindowShots(folder) && written;
    return written ? 0 : 1;
}
