#include "platform/linux/X11WindowList.h"

#include "support/X11TestClient.h"
#include "support/XvfbServer.h"

#include <gtest/gtest.h>
#include <memory>

namespace kivaro {
namespace {

using Type = X11TestClient::Type;

class X11WindowListTest : public testing::XvfbTest {
protected:
    void SetUp() override {
        if (!serverReady())
            return;
        desktop = std::make_unique<X11TestClient>(display());
        ASSERT_TRUE(desktop->isConnected());
        windows = std::make_unique<X11WindowList>(display());
        ASSERT_TRUE(windows->isConnected());
    }

    std::unique_ptr<X11TestClient> desktop;
    std::unique_ptr<X11WindowList> windows;
};

TEST_F(X11WindowListTest, ListsTheActiveWindowFirstThenTheStackFromTheTop) {
    const auto back = desktop->createWindow(QRect(0, 0, 800, 600), 100);
    const auto middle = desktop->createWindow(QRect(50, 60, 900, 700), 200, Type::none);
    const auto top = desktop->createWindow(QRect(10, 20, 500, 400), 300, Type::dialog);
    desktop->publishStack({back, middle, top});
    desktop->setActive(middle);
    EXPECT_EQ(windows->windows(), (QList<WindowList::Window>{
                                      {200, 0, QRectF(50, 60, 900, 700)},
                                      {300, 0, QRectF(10, 20, 500, 400)},
                                      {100, 0, QRectF(0, 0, 800, 600)},
                                  }));
    desktop->setActive(0); // without an active window the stack alone gives the order
    EXPECT_EQ(windows->windows().first().pid, 300);
}

TEST_F(X11WindowListTest, FrontWindowFollowsTheSizeAndLayerRules) {
    const auto browser = desktop->createWindow(QRect(100, 80, 1000, 700), 42);
    const auto palette = desktop->createWindow(QRect(120, 100, 300, 500), 42);
    const auto dock = desktop->createWindow(QRect(0, 0, 1200, 900), 42, Type::dock);
    const auto other = desktop->createWindow(QRect(0, 0, 1200, 900), 7);
    desktop->setFrameExtents(browser, QMargins(2, 30, 3, 4));
    desktop->publishStack({browser, palette, dock, other});
    desktop->setActive(palette);
    // The browser's frame counts: 2 left, 3 right, 30 above, 4 below.
    EXPECT_EQ(windows->frontWindow(42), QRectF(98, 50, 1005, 734));
    EXPECT_EQ(windows->frontWindow(7), QRectF(0, 0, 1200, 900));
    EXPECT_FALSE(windows->frontWindow(8).has_value());
    const auto listed = windows->windows();
    ASSERT_EQ(listed.size(), 4);
    EXPECT_NE(listed[2].layer, 0); // the dock
}

TEST_F(X11WindowListTest, LeavesOutWhatIsNotOnScreen) {
    const auto shown = desktop->createWindow(QRect(0, 0, 800, 600), 1);
    const auto minimised = desktop->createWindow(QRect(0, 0, 800, 600), 2);
    const auto unmapped = desktop->createWindow(QRect(0, 0, 800, 600), 3);
    const auto wallpaper = desktop->createWindow(QRect(0, 0, 1280, 1024), 4, Type::desktop);
    const auto gone = desktop->createWindow(QRect(0, 0, 800, 600), 5);
    desktop->setHidden(minimised);
    desktop->unmap(unmapped);
    desktop->publishStack({wallpaper, shown, minimised, unmapped, gone});
    desktop->destroyKeepingListed(gone);
    desktop->setActive(gone);
    const auto listed = windows->windows();
    ASSERT_EQ(listed.size(), 1);
    EXPECT_EQ(listed.first().pid, 1);
}

TEST_F(X11WindowListTest, ReportsPointsOnAScaledScreen) {
    // QT_SCALE_FACTOR=2 (or Xft.dpi 192): two device pixels a point.
    const X11WindowList scaled(display(), [] {
        return QList<ScreenScale>{{QRect(0, 0, 2560, 1600), 2}};
    });
    const auto browser = desktop->createWindow(QRect(200, 100, 1600, 1200), 42);
    desktop->setFrameExtents(browser, QMargins(0, 40, 0, 0));
    desktop->publishStack({browser});
    EXPECT_EQ(scaled.frontWindow(42), QRectF(100, 30, 800, 620));
}

TEST(ToPointsTest, ScalesAboutTheOriginOfTheScreenHoldingTheCentre) {
    const QList<ScreenScale> plain{{QRect(0, 0, 1920, 1080), 1}};
    const QList<ScreenScale> plainThenDouble{plain[0], {QRect(1920, 0, 3840, 2160), 2}};
    const QList<ScreenScale> doubled{{QRect(0, 0, 2560, 1600), 2}};
    const std::tuple<QRectF, QList<ScreenScale>, QRectF> cases[] = {
        {QRectF(10, 20, 800, 600), plain, QRectF(10, 20, 800, 600)},
        {QRectF(10, 20, 800, 600), {}, QRectF(10, 20, 800, 600)},
        {QRectF(2120, 200, 800, 600), plainThenDouble, QRectF(2020, 100, 400, 300)},
        {QRectF(100, 100, 800, 600), plainThenDouble, QRectF(100, 100, 800, 600)},
        // Off every screen: the first screen's scale.
        {QRectF(-4000, 0, 800, 600), doubled, QRectF(-2000, 0, 400, 300)}};
    for (const auto& [pixels, screens, points] : cases)
        EXPECT_EQ(toPoints(pixels, screens), points) << pixels.x();
}

TEST_F(X11WindowListTest, NothingWithoutAWindowManagerOrAServer) {
    desktop->clear();
    desktop->createWindow(QRect(0, 0, 800, 600), 1);
    EXPECT_TRUE(windows->windows().isEmpty());
    X11WindowList nowhere(u":4242"_qs);
    EXPECT_FALSE(nowhere.isConnected());
    EXPECT_TRUE(nowhere.windows().isEmpty());
    EXPECT_FALSE(nowhere.frontWindow(1).has_value());
}

} // namespace
} // namespace kivaro
