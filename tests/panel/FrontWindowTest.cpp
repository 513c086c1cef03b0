#include "panel/FrontWindow.h"

#include "panel/FieldIcon.h"
#include "panel/PanelStyle.h"
#include "platform/fake/FakeWindowList.h"
#include "platform/fake/FakeWorkspace.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace kivaro {
namespace {

const ScreenArea primary{QRectF(0, 0, 1440, 900), QRectF(0, 0, 1440, 875)};
const ScreenArea second{QRectF(1440, -180, 1920, 1080), QRectF(1440, -180, 1920, 1080)};

class FrontWindowTest : public ::testing::Test {
protected:
    FrontWindowTest() {
        workspace.run(u"com.apple.Safari"_s, true);
        pid = workspace.frontApplication()->pid;
    }

    std::optional<QRectF> frameOf(std::initializer_list<std::pair<int, QRectF>> layered,
                                  const QList<ScreenArea>& screens = {primary, second}) {
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
    EXPECT_EQ(FrontWindow::frame(workspace, windows, {primary, second}),
              QRectF(100, 50, 1200, 800));
    EXPECT_EQ(windows.frontWindow(pid), QRectF(100, 50, 1200, 800));
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

TEST(FrontScreenTest, TheScreenOfTheFrameOrOfTheMouse) {
    EXPECT_EQ(FrontWindow::screen(QRectF(1500, 0, 800, 600), QPointF(10, 10), {primary, second}),
              second);
    EXPECT_EQ(FrontWindow::screen(std::nullopt, QPointF(2000, 10), {primary, second}), second);
    EXPECT_EQ(FrontWindow::screen(std::nullopt, QPointF(-1e6, 0), {second, primary}), second);
    EXPECT_FALSE(FrontWindow::screen(std::nullopt, QPointF(), {}).has_value());
}

TEST(TintStrengthTest, FollowsOpacityWithinRangeUnlessTransparencyIsReduced) {
    const std::tuple<double, bool, double> cases[] = {
        {0.6, false, 0},  {0.8, false, 0.425}, {1.0, false, 0.85}, {0.2, false, 0},
        {7, false, 0.85}, {0.6, true, 1},      {1.0, true, 1}};
    for (const auto& [opacity, reduced, strength] : cases)
        EXPECT_NEAR(tintStrength(opacity, reduced), strength, 1e-12) << opacity << reduced;
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
