#include "panel/Colors.h"

#include "panel/PanelStyle.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace kivaro {
namespace {

TEST(ColorsTest, ContrastWithWhiteFollowsTheRelativeLuminance) {
    EXPECT_DOUBLE_EQ(Colors::contrastWithWhite(Qt::white), 1.0);
    EXPECT_DOUBLE_EQ(Colors::contrastWithWhite(Qt::black), 21.0);
    // Below the knee a channel is divided by 12.92; another model is converted; invalid is 0.
    EXPECT_NEAR(Colors::luminance(QColor::fromRgbF(0.03f, 0.03f, 0.03f)), 0.03 / 12.92, 1e-6);
    EXPECT_NEAR(Colors::luminance(QColor::fromHsvF(0, 0, 1)), 1.0, 1e-9);
    EXPECT_EQ(Colors::luminance(QColor()), 0.0);
    EXPECT_LT(Colors::contrastWithWhite(QColor::fromRgb(0, 255, 0)), 1.5);
}

TEST(ColorsTest, SelectionFillDarkensOnlyAsFarAsNeeded) {
    EXPECT_EQ(Colors::selectionFill(Colors::brand()), Colors::brand()); // readable already
    EXPECT_EQ(Colors::textOn(Colors::brand()), QColor(Qt::white));
    // A mid orange is darkened, keeping its hue, to the first readable step.
    const QColor fill = Colors::selectionFill(QColor::fromRgb(235, 120, 20));
    EXPECT_GE(Colors::contrastWithWhite(fill), Colors::readableContrast);
    EXPECT_LT(Colors::contrastWithWhite(
                  QColor::fromHsvF(fill.hsvHueF(), fill.hsvSaturationF(), fill.valueF() + 0.02f)),
              Colors::readableContrast);
    EXPECT_NEAR(fill.hsvHueF(), QColor::fromRgb(235, 120, 20).hsvHueF(), 0.01);
    // Light yellow cannot be saved within 0.62 of its brightness: itself, with dark text.
    const QColor yellow = QColor::fromRgb(255, 240, 120);
    EXPECT_EQ(Colors::selectionFill(yellow), yellow);
    EXPECT_EQ(Colors::textOn(yellow), QColor::fromRgbF(0.08f, 0.08f, 0.08f));
    // Grey has no hue; it still darkens. Invalid stays invalid.
    const QColor grey = QColor::fromRgb(150, 150, 150);
    EXPECT_GE(Colors::contrastWithWhite(Colors::selectionFill(grey)), Colors::readableContrast);
    EXPECT_FALSE(Colors::selectionFill(QColor()).isValid());
}

TEST(ColorsTest, HexParsesSixDigitsOnlyAndPrintsUpperCase) {
    EXPECT_EQ(Colors::fromHex(u"#1F35C7"), Colors::brand());
    EXPECT_EQ(Colors::fromHex(u"1f35c7"), Colors::brand());
    for (const QString& junk :
         {u"#FFF"_s, u"fff"_s, u"#1F35C7FF"_s, u"1F35C7FF"_s, u"#1F35C"_s, u"#1F35C7A"_s, u""_s,
          u"#"_s, u"##1F35C7"_s, u"#GGGGGG"_s, u" 1F35C7"_s, u"1F35C7 "_s, u"-1F35C"_s, u"0x1F35"_s,
          u"#１F35C7"_s, u"blue"_s})
        EXPECT_FALSE(Colors::fromHex(junk).has_value()) << junk.toStdString();
    EXPECT_EQ(Colors::hex(QColor::fromRgb(255, 10, 0, 10)), u"#FF0A00"_s); // without alpha
    EXPECT_EQ(Colors::hex(QColor::fromHsv(240, 255, 255)), u"#0000FF"_s);
    EXPECT_EQ(Colors::hex(*Colors::fromHex(u"#abcdef")), u"#ABCDEF"_s);
}

TEST(ColorsTest, AccentFollowsTheChoiceAndABrokenCustomColourFallsBack) {
    const QColor system = QColor::fromRgb(10, 132, 255);
    EXPECT_EQ(Colors::accent(AccentChoice::brand, u"#FF0000"_s, system), Colors::brand());
    EXPECT_EQ(Colors::accent(AccentChoice::system, std::nullopt, system), system);
    EXPECT_EQ(Colors::accent(AccentChoice::custom, u"#FF0000"_s, system), QColor(Qt::red));
    for (const std::optional<QString>& broken : {std::optional<QString>(), {u"#F00"_s}, {u"red"_s}})
        EXPECT_EQ(Colors::accent(AccentChoice::custom, broken, system), Colors::brand());
}

TEST(TintStrengthTest, FollowsOpacityWithinRangeUnlessTransparencyIsReduced) {
    const std::tuple<double, bool, double> cases[] = {
        {0.6, false, 0},  {0.8, false, 0.425}, {1.0, false, 0.85}, {0.2, false, 0},
        {7, false, 0.85}, {0.6, true, 1},      {1.0, true, 1}};
    for (const auto& [opacity, reduced, strength] : cases)
        EXPECT_NEAR(tintStrength(opacity, reduced), strength, 1e-12) << opacity << reduced;
}

} // namespace
} // namespace kivaro
