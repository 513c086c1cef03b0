#include "panel/Placement.h"

#include "panel/ToastLayout.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

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

// The frame as one line: the top of the panel's rows, and the left and right edges of the
// visible panel (the window less its margin).
QString rendered(const Placement::Frame& frame) {
    const double m = Placement::margin;
    const QRectF panel = frame.window.adjusted(m, m, -m, -m);
    return u"top %1, %2–%3"_s.arg(frame.top).arg(panel.left()).arg(panel.right());
}

struct PlacementCase {
    const char* name;
    std::optional<QRectF> front;
    QList<ScreenArea> screens;
    QPointF mouse;
    QString frame;
    friend void PrintTo(const PlacementCase& c, std::ostream* out) { *out << c.name; }
};

class PlacementCases : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(PlacementCases, PlacesThePanel) {
    const PlacementCase& c = GetParam();
    const auto frame = Placement::panel(c.front, c.mouse, c.screens, panelSize);
    ASSERT_TRUE(frame.has_value());
    EXPECT_EQ(frame->window.size(), panelSize);
    EXPECT_EQ(rendered(*frame), c.frame);
}

// Bottom-left coordinates: a panel drops from the top of the front window's visible area by
// 16 % of its height, at most 140 points and never below room for four rows, centred on the
// window and kept inside the visible frame of the window's screen.
INSTANTIATE_TEST_SUITE_P(
    Placement, PlacementCases,
    ::testing::Values(PlacementCase{"BelowTheTopCentred", QRectF(120, 25, 1200, 800), oneScreen,
                                    mouseOnPrimary, u"top 745, 380–1060"_qs},
                      PlacementCase{"TheDropIsAtMost140", QRectF(100, 0, 1000, 875), oneScreen,
                                    mouseOnPrimary, u"top 783, 260–940"_qs},
                      PlacementCase{"ALowWindow", QRectF(100, 5, 800, 310), oneScreen,
                                    mouseOnPrimary, u"top 313.4, 160–840"_qs},
                      PlacementCase{"NoLowerThanFourRows", QRectF(100, -500, 800, 600), oneScreen,
                                    mouseOnPrimary, u"top 282, 160–840"_qs},
                      PlacementCase{"OffTheRightEdge", QRectF(1000, 100, 1200, 700), oneScreen,
                                    mouseOnPrimary, u"top 736, 760–1440"_qs},
                      PlacementCase{"OffTheLeftEdge", QRectF(-900, 100, 1200, 700), oneScreen,
                                    mouseOnPrimary, u"top 736, 0–680"_qs},
                      PlacementCase{"NarrowerThanThePanel", QRectF(500, 200, 420, 320), oneScreen,
                                    mouseOnPrimary, u"top 516.8, 370–1050"_qs},
                      PlacementCase{"AboveTheVisibleFrame", QRectF(100, 300, 1000, 800), oneScreen,
                                    mouseOnPrimary, u"top 831, 260–940"_qs},
                      PlacementCase{"OnTheSecondScreen", QRectF(2000, 100, 1200, 800), twoScreens,
                                    mouseOnPrimary, u"top 820, 2260–2940"_qs},
                      PlacementCase{"StraddlingTheCentreDecides", QRectF(1000, 100, 1000, 700),
                                    twoScreens, mouseOnPrimary, u"top 736, 1440–2120"_qs},
                      PlacementCase{"NoWindowTheScreenUnderTheMouse", std::nullopt, twoScreens,
                                    QPointF(2000, 500), u"top 808, 2060–2740"_qs},
                      PlacementCase{"AMouseOffEveryScreenTheMainOne", std::nullopt, twoScreens,
                                    QPointF(-5000, -5000), u"top 783, 380–1060"_qs},
                      PlacementCase{"AWindowOnNoScreenTheWholeFrame", QRectF(9000, 9000, 800, 600),
                                    twoScreens, mouseOnPrimary, u"top 783, 380–1060"_qs}),
    [](const auto& info) { return std::string(info.param.name); });

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
    EXPECT_DOUBLE_EQ(ToastLayout::duration(u"0123456789"_s), 1.4);
    EXPECT_DOUBLE_EQ(ToastLayout::duration(QString(40, u'x')), 2.8);
    EXPECT_DOUBLE_EQ(ToastLayout::duration(QString()), 1.4);
    EXPECT_DOUBLE_EQ(ToastLayout::duration(QString(12, u'x')), 1.4);
    EXPECT_NEAR(ToastLayout::duration(QString(13, u'x')), 1.45, 1e-12);
    // Characters as read: a letter with a combining accent or an emoji family is one.
    const QString accents = u"e\u0301"_s.repeated(20);
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
