#include "panel/FrontWindow.h"

#include "panel/FieldIcon.h"
#include "panel/PanelStyle.h"
#include "platform/fake/FakeWindowList.h"
#include "platform/fake/FakeWorkspace.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace kivaro {
namespace {

const QString safari = u"com.apple.Safari"_s;
const ScreenArea primary{QRectF(0, 0, 1440, 900), QRectF(0, 0, 1440, 875)};
const ScreenArea second{QRectF(1440, -180, 1920, 1080), QRectF(1440, -180, 1920, 1080)};

class FrontWindowTest : public ::testing::Test {
protected:
    void SetUp() override { workspace.run(safari, true); }

    qint64 safariPid() const { return workspace.frontApplication()->pid; }

    FakeWorkspace workspace;
    FakeWindowList windows;
};

TEST_F(FrontWindowTest, TakesTheFirstLargeOrdinaryWindowOfTheFrontApplication) {
    const qint64 pid = safariPid();
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
    windows.setWindows({{safariPid(), 0, QRectF(1500, 300, 1000, 600)}});
    EXPECT_EQ(FrontWindow::frame(workspace, windows, {primary, second}),
              QRectF(1500, 900 - 900, 1000, 600));
    windows.setWindows({{safariPid(), 0, QRectF(1500, 800, 1000, 400)}});
    EXPECT_EQ(FrontWindow::frame(workspace, windows, {primary, second}),
              QRectF(1500, -300, 1000, 400));
}

TEST_F(FrontWindowTest, NothingWithoutAFrontApplicationAWindowOrAScreen) {
    windows.setWindows({{safariPid(), 0, QRectF(0, 0, 401, 301)}});
    EXPECT_TRUE(FrontWindow::frame(workspace, windows, {primary}).has_value());
    EXPECT_FALSE(FrontWindow::frame(workspace, windows, {}).has_value());
    windows.setWindows({{safariPid(), 0, QRectF(0, 0, 400, 301)}});
    EXPECT_FALSE(FrontWindow::frame(workspace, windows, {primary}).has_value());
    windows.setWindows({});
    EXPECT_FALSE(FrontWindow::frame(workspace, windows, {primary}).has_value());
    FakeWorkspace empty;
    windows.setWindows({{0, 0, QRectF(0, 0, 1000, 800)}});
    EXPECT_FALSE(FrontWindow::frame(empty, windows, {primary}).has_value());
}

TEST_F(FrontWindowTest, TheScreenOfTheFrameOrOfTheMouse) {
    EXPECT_EQ(FrontWindow::screen(QRectF(1500, 0, 800, 600), QPointF(10, 10), {primary, second}),
              second);
    EXPECT_EQ(FrontWindow::screen(std::nullopt, QPointF(2000, 10), {primary, second}), second);
    EXPECT_EQ(FrontWindow::screen(std::nullopt, QPointF(-1e6, 0), {second, primary}), second);
    EXPECT_FALSE(FrontWindow::screen(std::nullopt, QPointF(), {}).has_value());
}

TEST(TintStrengthTest, FollowsOpacityUnlessTransparencyIsReduced) {
    EXPECT_DOUBLE_EQ(tintStrength(0.6, false), 0);
    EXPECT_DOUBLE_EQ(tintStrength(1.0, false), 0.85);
    EXPECT_NEAR(tintStrength(0.8, false), 0.425, 1e-12);
    EXPECT_DOUBLE_EQ(tintStrength(0.6, true), 1);
    EXPECT_DOUBLE_EQ(tintStrength(1.0, true), 1);
    // Out-of-range values are held to the range.
    EXPECT_DOUBLE_EQ(tintStrength(0.2, false), 0);
    EXPECT_DOUBLE_EQ(tintStrength(7, false), 0.85);
}

Row rowOf(Row::Kind kind, const QString& host) {
    Row row;
    row.kind = kind;
    row.host = host;
    return row;
}

TEST(FieldIconTest, ChoosesBetweenFaviconAndSymbols) {
    using FieldIcon::Choice;
    using FieldIcon::Tint;
    const QString globe = u"globe"_s;
    const QString search = u"magnifyingglass"_s;

    FieldIcon::Input developer{.mode = FieldIcon::Mode::developerTools, .query = u"x"_s};
    EXPECT_EQ(FieldIcon::choose(developer),
              (Choice{u"chevron.left.forwardslash.chevron.right"_s, Tint::accent, std::nullopt}));

    FieldIcon::Input site{.mode = FieldIcon::Mode::site, .siteHost = u"github.com"_s};
    EXPECT_EQ(FieldIcon::choose(site), (Choice{globe, Tint::secondary, u"github.com"_s}));

    // The shown page address wins over the rows.
    FieldIcon::Input prefill{.prefillHost = u"apple.com"_s,
                             .query = u"apple.com/mac"_s,
                             .firstRow = rowOf(Row::Kind::tab, u"other.org"_s)};
    EXPECT_EQ(FieldIcon::choose(prefill).host, u"apple.com"_s);

    FieldIcon::Input typed{.query = u"gi"_s,
                           .firstRow = rowOf(Row::Kind::history, u"github.com"_s)};
    EXPECT_EQ(FieldIcon::choose(typed), (Choice{globe, Tint::secondary, u"github.com"_s}));

    // A search row, an empty query, no rows or a row without a host: the search symbol.
    FieldIcon::Input searchRow{.query = u"gi"_s,
                               .firstRow = rowOf(Row::Kind::search, u"google.com"_s)};
    FieldIcon::Input emptyQuery{.firstRow = rowOf(Row::Kind::tab, u"github.com"_s)};
    FieldIcon::Input noRows{.query = u"zzz"_s};
    FieldIcon::Input command{.query = u"rel"_s, .firstRow = rowOf(Row::Kind::command, QString())};
    for (const FieldIcon::Input& input : {searchRow, emptyQuery, noRows, command})
        EXPECT_EQ(FieldIcon::choose(input), (Choice{search, Tint::secondary, std::nullopt}));
}

} // namespace
} // namespace kivaro
