#include "panel/Colors.h"
#include "ui/CommandPanel.h"
#include "ui/PanelChrome.h"
#include "ui/ToastBubble.h"

#include <QDir>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>

#include <cstdio>
#include <gtest/gtest.h>

namespace kivaro {
namespace {

// Pictures of the panel and of a toast for a person to look at, written into the build
// folder. Translucent windows are laid over a stand-in for a web page, as on a desktop.
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

QString saved(const QImage& picture, const QString& name) {
    const QDir folder(QStringLiteral(KIVARO_SCREENSHOT_DIR));
    folder.mkpath(QStringLiteral("."));
    const QString path = folder.filePath(name);
    return picture.save(path, "PNG") ? path : QString();
}

bool opaqueAt(const QImage& image, const QPoint& point) {
    return qAlpha(image.pixel(point)) == 255;
}

TEST(ScreenshotTest, EmptyPanel) {
    CommandPanel panel;
    auto* chrome = new PanelChrome(panel);
    chrome->applyAppearance({PanelTheme::dark, 0.8, Colors::brand()}, {});
    chrome->styleEditor();
    panel.present();
    const QImage grabbed = panel.grab().toImage();
    EXPECT_EQ(grabbed.size(), QSize(776, 156));
    // The corners are clear (shadow room); the surface is painted but translucent.
    EXPECT_LT(qAlpha(grabbed.pixel(2, 2)), 10);
    EXPECT_GT(qAlpha(grabbed.pixel(388, 78)), 100);
    const QString path = saved(overBackdrop(panel), QStringLiteral("panel-empty.png"));
    ASSERT_FALSE(path.isEmpty());
    std::printf("panel screenshot: %s\n", qPrintable(path));
    const QImage written(path);
    EXPECT_EQ(written.size(), QSize(776, 156));
    EXPECT_TRUE(opaqueAt(written, QPoint(388, 78)));
}

TEST(ScreenshotTest, ToastWithDoneSymbol) {
    ToastBubble toast;
    toast.setStyle({PanelTheme::light, 0.6, Colors::brand()});
    toast.setDisplay({false, true});
    toast.show(QStringLiteral("Link copied"), QStringLiteral("link"),
               QStringLiteral("checkmark.circle.fill"));
    const QString before = saved(overBackdrop(toast), QStringLiteral("toast-link.png"));
    toast.confirm();
    const QString after = saved(overBackdrop(toast), QStringLiteral("toast-link-done.png"));
    toast.show(QStringLiteral("Allow Accessibility to run menu commands"),
               QStringLiteral("lock.shield"));
    const QString warning = saved(overBackdrop(toast), QStringLiteral("toast-permission.png"));
    for (const QString& path : {before, after, warning}) {
        ASSERT_FALSE(path.isEmpty());
        std::printf("toast screenshot: %s\n", qPrintable(path));
    }
    EXPECT_EQ(QImage(after).height(), 104);
}

} // namespace
} // namespace kivaro
