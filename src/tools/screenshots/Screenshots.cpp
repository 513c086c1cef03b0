// kivaro-screenshots FOLDER: draws the empty panel and a toast offscreen, laid over a stand-in
// for a web page as on a desktop, then the settings and welcome windows, and writes them to
// FOLDER for a person to look at.
#include "WindowShots.h"
#include "panel/Colors.h"
#include "ui/CommandPanel.h"
#include "ui/PanelChrome.h"
#include "ui/ToastBubble.h"

#include <QApplication>
#include <QDir>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>

#include <cstdio>

namespace {

using namespace kivaro;

QImage overBackdrop(QWidget& window) {
    const QPixmap grabbed = window.grab();
    QImage picture(grabbed.size(), QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&picture);
    QLinearGradient page(0, 0, picture.width(), picture.height());
    page.setColorAt(0, QColor(0xe8, 0xee, 0xf6));
    page.setColorAt(1, QColor(0xc9, 0xd6, 0xea));
    painter.fillRect(picture.rect(), page);
    painter.setPen(QColor(0x9a, 0xa8, 0xbd));
    for (int y = 12; y < picture.height(); y += 18)
        painter.drawLine(24, y, picture.width() / 2 + (y * 7) % 200, y);
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
