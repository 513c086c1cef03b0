#include "panel/Placement.h"

#include "panel/ToastLayout.h"

#include <gtest/gtest.h>

namespace kivaro {
namespace {

// A 1440 × 900 primary screen with a 25-point menu bar, and a 1920 × 1080 screen to its
// right whose bottom lies 180 points lower.
const ScreenArea primary{QRectF(0, 0, 1440, 900), QRectF(0, 0, 1440, 875)};
const ScreenArea second{QRectF(1440, -180, 1920, 1080), QRectF(1440, -180, 1920, 1080)};
const QList<ScreenArea> oneScreen{primary};
const QList<ScreenArea> twoScreens{primary, second};
const QSizeF panelSize(776, 156);
const QPointF mouseOnPrimary(700, 400);

Placement::Frame placed(const std::optional<QRectF>& front, const QList<ScreenArea>& screens,
                        const QPointF& mouse = mouseOnPrimary) {
    const std::optional<Placement::Frame> frame =
        Placement::panel(front, mouse, screens, panelSize);
    EXPECT_TRUE(frame.has_value());
    return frame.value_or(Placement::Frame{});
}

// The visible panel inside the window: the window less its margin.
QRectF visiblePanel(const Placement::Frame& frame) {
    const double m = Placement::margin;
    return frame.window.adjusted(m, m, -m, -m);
}

TEST(PlacementTest, SitsBelowTheTopOfTheFrontWindowCentredOnIt) {
    // 1200 × 800, its top 50 points below the top of the visible frame.
    const QRectF window(120, 25, 1200, 800);
    const Placement::Frame frame = placed(window, oneScreen);
    EXPECT_DOUBLE_EQ(maxY(visiblePanel(frame)), maxY(window) - 0.16 * 800);
    EXPECT_DOUBLE_EQ(frame.top, maxY(window) - 128 + 48);
    EXPECT_DOUBLE_EQ(visiblePanel(frame).center().x(), window.center().x());
    EXPECT_EQ(frame.window.size(), panelSize);
}

TEST(PlacementTest, TheDropIsAtMost140Points) {
    const QRectF tall(100, 0, 1000, 875);
    EXPECT_DOUBLE_EQ(placed(tall, oneScreen).top, 875 - 140 + 48);
}

TEST(PlacementTest, NeverSinksBelowRoomForFourRows) {
    for (double bottom : {0.0, 5.0, 20.0}) {
        const QRectF low(100, bottom, 800, 310);
        const Placement::Frame frame = placed(low, oneScreen);
        EXPECT_GE(frame.top, primary.visible.y() + 234 + 48) << bottom;
    }
    // A window mostly below the screen: only its visible part counts, and the floor holds.
    EXPECT_DOUBLE_EQ(placed(QRectF(100, -500, 800, 600), oneScreen).top, 234 + 48);
}

TEST(PlacementTest, StaysInsideTheVisibleFrameHorizontally) {
    // Hanging off the right edge: the panel ends at the visible frame's right edge.
    const Placement::Frame right = placed(QRectF(1000, 100, 1200, 700), oneScreen);
    EXPECT_DOUBLE_EQ(maxX(visiblePanel(right)), maxX(primary.visible));
    // Hanging off the left edge: it starts at the left edge.
    const Placement::Frame left = placed(QRectF(-900, 100, 1200, 700), oneScreen);
    EXPECT_DOUBLE_EQ(visiblePanel(left).x(), primary.visible.x());
    // A window narrower than the panel: centred on it while there is room.
    const QRectF narrow(500, 200, 420, 320);
    const Placement::Frame small = placed(narrow, oneScreen);
    EXPECT_DOUBLE_EQ(visiblePanel(small).center().x(), narrow.center().x());
    EXPECT_DOUBLE_EQ(small.top, maxY(narrow) - 0.16 * 320 + 48);
}

TEST(PlacementTest, TheWindowAboveTheVisibleFrameCountsOnlyItsVisiblePart) {
    const QRectF above(100, 300, 1000, 800);
    // Clipped to 575 points high below the menu bar: drop 92.
    EXPECT_DOUBLE_EQ(placed(above, oneScreen).top, 875 - 92 + 48);
}

TEST(PlacementTest, FollowsTheFrontWindowToTheSecondScreen) {
    const QRectF window(2000, 100, 1200, 800);
    const Placement::Frame frame = placed(window, twoScreens);
    EXPECT_DOUBLE_EQ(frame.top, 900 - 128 + 48);
    EXPECT_DOUBLE_EQ(visiblePanel(frame).center().x(), window.center().x());
    EXPECT_TRUE(second.visible.contains(visiblePanel(frame)));
    // Straddling both screens: the centre decides, and the panel stays on that screen.
    const QRectF straddling(1000, 100, 1000, 700);
    const Placement::Frame across = placed(straddling, twoScreens);
    EXPECT_TRUE(second.visible.contains(visiblePanel(across)));
}

TEST(PlacementTest, WithoutAFrontWindowUsesTheScreenUnderTheMouse) {
    const Placement::Frame frame = placed(std::nullopt, twoScreens, QPointF(2000, 500));
    EXPECT_DOUBLE_EQ(frame.top, maxY(second.visible) - 140 + 48);
    EXPECT_DOUBLE_EQ(visiblePanel(frame).center().x(), second.visible.center().x());
    // A mouse off every screen falls back to the main (first) screen.
    const Placement::Frame lost = placed(std::nullopt, twoScreens, QPointF(-5000, -5000));
    EXPECT_DOUBLE_EQ(visiblePanel(lost).center().x(), primary.visible.center().x());
    // A front window on no visible frame at all: the whole visible frame is the anchor.
    const Placement::Frame away = placed(QRectF(9000, 9000, 800, 600), twoScreens);
    EXPECT_DOUBLE_EQ(visiblePanel(away).center().x(), primary.visible.center().x());
}

TEST(PlacementTest, NoScreenNoPlace) {
    EXPECT_FALSE(Placement::panel(QRectF(0, 0, 800, 600), mouseOnPrimary, {}, panelSize));
    EXPECT_FALSE(ToastLayout::frame(QRectF(0, 0, 800, 600), std::nullopt, 100));
}

TEST(ScreenAreaTest, FlipsBetweenTopLeftAndBottomLeftCoordinates) {
    // 100 points from the top of a 900-point screen, 50 high: 750 from its bottom.
    EXPECT_EQ(flipped(QRectF(10, 100, 300, 50), 900), QRectF(10, 750, 300, 50));
    EXPECT_EQ(flipped(flipped(QRectF(-20, 30, 40, 50), 900), 900), QRectF(-20, 30, 40, 50));
    // Points on the shared edge belong to one screen only.
    EXPECT_EQ(screenAt(twoScreens, QPointF(1440, 10)), second);
    EXPECT_EQ(screenAt(twoScreens, QPointF(1439.5, 10)), primary);
    EXPECT_FALSE(screenAt({}, QPointF()).has_value());
}

TEST(ToastLayoutTest, StaysLongerForLongerTexts) {
    EXPECT_DOUBLE_EQ(ToastLayout::duration(QStringLiteral("0123456789")), 1.4);
    EXPECT_DOUBLE_EQ(ToastLayout::duration(QString(40, u'x')), 2.8);
    EXPECT_DOUBLE_EQ(ToastLayout::duration(QString()), 1.4);
    EXPECT_DOUBLE_EQ(ToastLayout::duration(QString(12, u'x')), 1.4);
    EXPECT_NEAR(ToastLayout::duration(QString(13, u'x')), 1.45, 1e-12);
    // Characters as read: a letter with a combining accent or an emoji family is one.
    const QString accents = QStringLiteral("e\u0301").repeated(20);
    EXPECT_DOUBLE_EQ(ToastLayout::duration(accents), 1.8);
    const QString families = QString::fromUtf8("👨‍👩‍👧").repeated(20);
    EXPECT_DOUBLE_EQ(ToastLayout::duration(families), 1.8);
}

TEST(ToastLayoutTest, CapsTheTextAt420Points) {
    EXPECT_EQ(ToastLayout::textWidth(99.9), 99);
    EXPECT_EQ(ToastLayout::textWidth(5000), 420);
    EXPECT_EQ(ToastLayout::textWidth(-3), 0);
    EXPECT_DOUBLE_EQ(ToastLayout::bubbleWidth(420), 490);
    EXPECT_DOUBLE_EQ(ToastLayout::bubbleWidth(100), 170);
}

TEST(ToastLayoutTest, SitsNearTheTopOfTheFrontWindow) {
    const QRectF window(120, 25, 1200, 800);
    const std::optional<QRectF> frame = ToastLayout::frame(window, primary, 100);
    ASSERT_TRUE(frame.has_value());
    EXPECT_EQ(frame->size(), QSizeF(170 + 64, 104));
    EXPECT_DOUBLE_EQ(frame->center().x(), window.center().x());
    // The bubble's top edge: 96 below the window's top.
    EXPECT_DOUBLE_EQ(maxY(*frame) - 32, maxY(window) - 96);
    // Without a window: 24 below the top of the visible frame.
    const std::optional<QRectF> alone = ToastLayout::frame(std::nullopt, primary, 100);
    ASSERT_TRUE(alone.has_value());
    EXPECT_DOUBLE_EQ(maxY(*alone) - 32, maxY(primary.visible) - 24);
    EXPECT_DOUBLE_EQ(alone->center().x(), primary.visible.center().x());
}

TEST(ToastLayoutTest, KeepsTheBubbleInsideTheVisibleFrame) {
    // Near the right edge the margin may cross it, the bubble itself does not.
    const std::optional<QRectF> right =
        ToastLayout::frame(QRectF(1000, 100, 1200, 700), primary, 420);
    ASSERT_TRUE(right.has_value());
    EXPECT_DOUBLE_EQ(maxX(*right) - 32, maxX(primary.visible));
    const std::optional<QRectF> left =
        ToastLayout::frame(QRectF(-1100, 100, 1200, 700), primary, 420);
    ASSERT_TRUE(left.has_value());
    EXPECT_DOUBLE_EQ(left->x() + 32, primary.visible.x());
    // On the second screen it keeps to that screen.
    const std::optional<QRectF> there =
        ToastLayout::frame(QRectF(3000, 100, 1000, 700), second, 420);
    ASSERT_TRUE(there.has_value());
    EXPECT_LE(maxX(*there) - 32, maxX(second.visible));
}

} // namespace
} // namespace kivaro
