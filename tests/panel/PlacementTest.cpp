#include "panel/Placement.h"

#include "panel/FieldIcon.h"
#include "panel/FrontWindow.h"
#include "panel/ToastLayout.h"
#include "platform/fake/FakeWindowList.h"
#include "platform/fake/FakeWorkspace.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace kivaro {
namespace {

// A 1440 × 900 primary screen with a 25-point menu bar, and a 1920 × 1080 screen to its
// right whose bottom lies 180 points lower.
const ScreenArea primary{QRectF(0, 0, 1440, 900), QRectF(0, 0, 1440, 875)};
const ScreenArea second{QRectF(1440, -180, 1920, 1080), QRectF(1440, -180, 1920, 1080)};
const QList<ScreenArea> one{primary};
const QList<ScreenArea> two{primary, second};
const QSizeF panelSize(776, 156);
const QPointF mouseOnPrimary(700, 400);

struct PlacementCase {
    const char* name;
    std::optional<QRectF> front;
    QList<ScreenArea> screens;
    // The top of the panel's rows, and the left and right edges of the visible panel.
    QString frame;
    QPointF mouse = mouseOnPrimary;
};

class PlacementCases : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(PlacementCases, PlacesThePanel) {
    const PlacementCase& c = GetParam();
    const auto frame = Placement::panel(c.front, c.mouse, c.screens, panelSize);
    ASSERT_TRUE(frame.has_value());
    EXPECT_EQ(frame->window.size(), panelSize);
    const double m = Placement::margin;
    const QRectF panel = frame->window.adjusted(m, m, -m, -m);
    EXPECT_EQ(u"top %1, %2–%3"_s.arg(frame->top).arg(panel.left()).arg(panel.right()), c.frame);
}

// Bottom-left coordinates: a panel drops from the top of the front window's visible area by
// 16 % of its height, at most 140 points and never below room for four rows, centred on the
// window and kept inside the visible frame of the window's screen.
using P = PlacementCase;
INSTANTIATE_TEST_SUITE_P(
    Placement, PlacementCases,
    ::testing::Values(
        P{"BelowTheTopCentred", QRectF(120, 25, 1200, 800), one, u"top 745, 380–1060"_s},
        P{"TheDropIsAtMost140", QRectF(100, 0, 1000, 875), one, u"top 783, 260–940"_s},
        P{"ALowWindow", QRectF(100, 5, 800, 310), one, u"top 313.4, 160–840"_s},
        P{"NoLowerThanFourRows", QRectF(100, -500, 800, 600), one, u"top 282, 160–840"_s},
        P{"OffTheRightEdge", QRectF(1000, 100, 1200, 700), one, u"top 736, 760–1440"_s},
        P{"OffTheLeftEdge", QRectF(-900, 100, 1200, 700), one, u"top 736, 0–680"_s},
        P{"NarrowerThanThePanel", QRectF(500, 200, 420, 320), one, u"top 516.8, 370–1050"_s},
        P{"AboveTheVisibleFrame", QRectF(100, 300, 1000, 800), one, u"top 831, 260–940"_s},
        P{"OnTheSecondScreen", QRectF(2000, 100, 1200, 800), two, u"top 820, 2260–2940"_s},
        P{"StraddlingTheCentreDecides", QRectF(1000, 100, 1000, 700), two, u"top 736, 1440–2120"_s},
        P{"NoWindowTheScreenUnderTheMouse", std::nullopt, two, u"top 808, 2060–2740"_s,
          QPointF(2000, 500)},
        P{"AMouseOffEveryScreenTheMainOne", std::nullopt, two, u"top 783, 380–1060"_s,
          QPointF(-5000, -5000)},
        P{"AWindowOnNoScreenTheWholeFrame", QRectF(9000, 9000, 800, 600), two,
          u"top 783, 380–1060"_s}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PlacementTest, NoScreenNoPlace) {
    EXPECT_FALSE(Placement::panel(QRectF(0, 0, 800, 600), mouseOnPrimary, {}, panelSize));
    EXPECT_FALSE(ToastLayout::frame(QRectF(0, 0, 800, 600), std::nullopt, 100));
}

TEST(ScreenAreaTest, FlipsBetweenTopLeftAndBottomLeftCoordinates) {
    // 100 points from the top of a 900-point screen, 50 high: 750 from its bottom.
    EXPECT_EQ(flipped(QRectF(10, 100, 300, 50), 900), QRectF(10, 750, 300, 50));
    // Points on the shared edge belong to one screen only.
    EXPECT_EQ(screenAt(two, QPointF(1440, 10)), second);
    EXPECT_EQ(screenAt(two, QPointF(1439.5, 10)), primary);
    EXPECT_FALSE(screenAt({}, QPointF()).has_value());
    // The front window's centre decides over the mouse.
    EXPECT_EQ(FrontWindow::screen(QRectF(1500, 0, 800, 600), QPointF(10, 10), two), second);
    EXPECT_EQ(FrontWindow::screen(std::nullopt, QPointF(2000, 10), two), second);
}

TEST(ToastLayoutTest, StaysLongerForLongerTextsCountedAsRead) {
    // A letter with a combining accent, or an emoji family, is one character.
    const std::pair<QString, double> cases[] = {
        {QString(), 1.4},
        {QString(12, u'x'), 1.4},
        {QString(13, u'x'), 1.45},
        {QString(40, u'x'), 2.8},
        {u"e\u0301"_s.repeated(20), 1.8},
        {QString::fromUtf8("👨‍👩‍👧").repeated(20), 1.8}};
    for (const auto& [text, seconds] : cases)
        EXPECT_NEAR(ToastLayout::duration(text), seconds, 1e-12) << text.size();
    EXPECT_EQ(ToastLayout::textWidth(5000), 420);
    EXPECT_EQ(ToastLayout::textWidth(-3), 0);
    EXPECT_DOUBLE_EQ(ToastLayout::bubbleWidth(100), 170);
}

TEST(ToastLayoutTest, SitsNearTheTopOfTheFrontWindowInsideTheVisibleFrame) {
    const QRectF window(120, 25, 1200, 800);
    const auto frame = ToastLayout::frame(window, primary, 100);
    ASSERT_TRUE(frame.has_value());
    EXPECT_EQ(frame->size(), QSizeF(170 + 64, 104));
    EXPECT_DOUBLE_EQ(frame->center().x(), window.center().x());
    EXPECT_DOUBLE_EQ(maxY(*frame) - 32, maxY(window) - 96); // the bubble 96 below the top
    // Without a window: 24 below the top of the visible frame.
    const auto alone = ToastLayout::frame(std::nullopt, primary, 100);
    ASSERT_TRUE(alone.has_value());
    EXPECT_DOUBLE_EQ(maxY(*alone) - 32, maxY(primary.visible) - 24);
    EXPECT_DOUBLE_EQ(alone->center().x(), primary.visible.center().x());
    // Near an edge the margin may cross it, the bubble itself does not.
    const auto right = ToastLayout::frame(QRectF(1000, 100, 1200, 700), primary, 420);
    const auto left = ToastLayout::frame(QRectF(-1100, 100, 1200, 700), primary, 420);
    const auto there = ToastLayout::frame(QRectF(3000, 100, 1000, 700), second, 420);
    ASSERT_TRUE(right && left && there);
    EXPECT_DOUBLE_EQ(maxX(*right) - 32, maxX(primary.visible));
    EXPECT_DOUBLE_EQ(left->x() + 32, primary.visible.x());
    EXPECT_LE(maxX(*there) - 32, maxX(second.visible));
}

class FrontWindowTest : public ::testing::Test {
protected:
    FrontWindowTest() {
        workspace.run(u"com.apple.Safari"_s, true);
        pid = workspace.frontApplication()->pid;
    }

    std::optional<QRectF> frameOf(std::initializer_list<std::pair<int, QRectF>> layered,
                                  const QList<ScreenArea>& screens = two) {
        QList<WindowList::Window> list;
        for (const auto& [layer, bounds] : layered)
            list.append({pid, layer, bounds});
        windows.setWindows(list);
        return FrontWindow::frame(workspace, windows, screens);
    }

    FakeWorkspace workspace;
    FakeWindowList windows;
    qint64 pid = 0;
};

TEST_F(FrontWindowTest, TakesTheFirstLargeOrdinaryWindowOfTheFrontApplication) {
    windows.setWindows({
        {pid + 1, 0, QRectF(0, 0, 1000, 700)}, // another application in front
        {pid, 0, QRectF(10, 10, 300, 500)},    // a palette: too narrow
        {pid, 0, QRectF(10, 10, 800, 300)},    // a pop-up: not tall enough
        {pid, 3, QRectF(10, 10, 900, 700)},    // another layer
        {pid, 0, QRectF(100, 50, 1200, 800)},  // the browser window
        {pid, 0, QRectF(0, 0, 1400, 850)},     // a window behind it
    });
    // 50 points below the top of a 900-point primary screen, 800 high: 50 from its bottom.
    EXPECT_EQ(FrontWindow::frame(workspace, windows, two), QRectF(100, 50, 1200, 800));
}

TEST_F(FrontWindowTest, ConvertsFromTheTopLeftOfThePrimaryScreen) {
    EXPECT_EQ(frameOf({{0, QRectF(1500, 300, 1000, 600)}}), QRectF(1500, 0, 1000, 600));
    EXPECT_EQ(frameOf({{0, QRectF(1500, 800, 1000, 400)}}), QRectF(1500, -300, 1000, 400));
}

TEST_F(FrontWindowTest, NothingWithoutAFrontApplicationAWindowOrAScreen) {
    EXPECT_TRUE(frameOf({{0, QRectF(0, 0, 401, 301)}}, {primary}).has_value());
    EXPECT_FALSE(frameOf({{0, QRectF(0, 0, 401, 301)}}, {}).has_value());
    EXPECT_FALSE(frameOf({{0, QRectF(0, 0, 400, 301)}}).has_value());
    EXPECT_FALSE(frameOf({}).has_value());
    windows.setWindows({{0, 0, QRectF(0, 0, 1000, 800)}});
    EXPECT_FALSE(FrontWindow::frame(FakeWorkspace(), windows, {primary}).has_value());
}

TEST(FieldIconTest, ChoosesBetweenFaviconAndSymbols) {
    using namespace FieldIcon;
    const auto host = [](Row::Kind kind, const QString& name) {
        return Row{.kind = kind, .host = name};
    };
    const QString globe = u"globe"_s;
    const Choice search{u"magnifyingglass"_s, Tint::secondary, std::nullopt};
    const std::pair<Input, Choice> cases[] = {
        {{.mode = Mode::developerTools, .query = u"x"_s},
         {u"chevron.left.forwardslash.chevron.right"_s, Tint::accent, std::nullopt}},
        {{.mode = Mode::site, .siteHost = u"github.com"_s},
         {globe, Tint::secondary, u"github.com"_s}},
        // The shown page address wins over the rows.
        {{.prefillHost = u"apple.com"_s,
          .query = u"apple.com/mac"_s,
          .firstRow = host(Row::Kind::tab, u"other.org"_s)},
         {globe, Tint::secondary, u"apple.com"_s}},
        {{.query = u"gi"_s, .firstRow = host(Row::Kind::history, u"github.com"_s)},
         {globe, Tint::secondary, u"github.com"_s}},
        // A search row, an empty query, no rows or a row without a host: the search symbol.
        {{.query = u"gi"_s, .firstRow = host(Row::Kind::search, u"google.com"_s)}, search},
        {{.firstRow = host(Row::Kind::tab, u"github.com"_s)}, search},
        {{.query = u"zzz"_s}, search},
        {{.query = u"rel"_s, .firstRow = host(Row::Kind::command, QString())}, search},
    };
    for (const auto& [input, choice] : cases)
        EXPECT_EQ(choose(input), choice) << input.query.toStdString();
}

} // namespace
} // namespace kivaro
