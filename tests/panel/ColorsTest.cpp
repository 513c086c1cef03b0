#include "panel/Colors.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace kivaro {
namespace {

TEST(ColorsTest, LuminanceFollowsTheRelativeLuminanceFormula) {
    EXPECT_DOUBLE_EQ(Colors::luminance(Qt::white), 1.0);
    EXPECT_DOUBLE_EQ(Colors::luminance(Qt::black), 0.0);
    EXPECT_NEAR(Colors::luminance(QColor::fromRgb(255, 0, 0)), 0.2126, 1e-9);
    EXPECT_NEAR(Colors::luminance(QColor::fromRgb(0, 255, 0)), 0.7152, 1e-9);
    // Mid grey: ((0.5 + 0.055) / 1.055)^2.4 on every channel.
    EXPECT_NEAR(Colors::luminance(QColor::fromRgbF(0.5f, 0.5f, 0.5f)), 0.21404, 1e-4);
    // Below the knee the channel is divided by 12.92.
    EXPECT_NEAR(Colors::luminance(QColor::fromRgbF(0.03f, 0.03f, 0.03f)), 0.03 / 12.92, 1e-6);
    // A colour given in another model is converted first; an invalid one counts as 0.
    EXPECT_NEAR(Colors::luminance(QColor::fromHsvF(0, 0, 1)), 1.0, 1e-9);
    EXPECT_EQ(Colors::luminance(QColor()), 0.0);
}

TEST(ColorsTest, ContrastAgainstWhite) {
    EXPECT_DOUBLE_EQ(Colors::contrastWithWhite(Qt::white), 1.0);
    EXPECT_DOUBLE_EQ(Colors::contrastWithWhite(Qt::black), 21.0);
    EXPECT_GE(Colors::contrastWithWhite(Colors::brand()), Colors::readableContrast);
    // Pure green is far too light for white text.
    EXPECT_LT(Colors::contrastWithWhite(QColor::fromRgb(0, 255, 0)), 1.5);
}

TEST(ColorsTest, SelectionFillDarkensOnlyAsFarAsNeeded) {
    // Readable already: unchanged.
    EXPECT_EQ(Colors::selectionFill(Colors::brand()), Colors::brand());
    EXPECT_EQ(Colors::textOn(Colors::brand()), QColor(Qt::white));

    // A mid orange can be darkened into a readable fill.
    const QColor orange = QColor::fromRgb(235, 120, 20);
    const QColor fill = Colors::selectionFill(orange);
    EXPECT_NE(fill, orange);
    EXPECT_GE(Colors::contrastWithWhite(fill), Colors::readableContrast);
    EXPECT_GT(fill.toHsv().valueF(), 0.62f * orange.toHsv().valueF());
    EXPECT_NEAR(fill.toHsv().hsvHueF(), orange.toHsv().hsvHueF(), 0.01);
    // The first readable step: one step less would not be.
    const QColor lighter =
        QColor::fromHsvF(fill.hsvHueF(), fill.hsvSaturationF(), fill.valueF() + 0.02f);
    EXPECT_LT(Colors::contrastWithWhite(lighter), Colors::readableContrast);
    EXPECT_EQ(Colors::textOn(fill), QColor(Qt::white));

    // Light yellow cannot be saved within 0.62 of its brightness: itself, with dark text.
    const QColor yellow = QColor::fromRgb(255, 240, 120);
    EXPECT_EQ(Colors::selectionFill(yellow), yellow);
    EXPECT_EQ(Colors::textOn(yellow), QColor::fromRgbF(0.08f, 0.08f, 0.08f));

    // Grey has no hue; it still darkens without trouble. Invalid stays invalid.
    const QColor grey = QColor::fromRgb(150, 150, 150);
    EXPECT_GE(Colors::contrastWithWhite(Colors::selectionFill(grey)), Colors::readableContrast);
    EXPECT_FALSE(Colors::selectionFill(QColor()).isValid());
}

TEST(ColorsTest, HexParsesSixDigitsOnly) {
    EXPECT_EQ(Colors::fromHex(u"#1F35C7"), Colors::brand());
    EXPECT_EQ(Colors::fromHex(u"1f35c7"), Colors::brand());
    EXPECT_EQ(Colors::fromHex(u"#000000"), QColor(Qt::black));
    EXPECT_EQ(Colors::fromHex(u"FFFFFF"), QColor(Qt::white));
    for (const QString& junk :
         {u"#FFF"_s, u"fff"_s, u"#1F35C7FF"_s, u"1F35C7FF"_s, u"#1F35C"_s, u"#1F35C7A"_s, u""_s,
          u"#"_s, u"##1F35C7"_s, u"#GGGGGG"_s, u" 1F35C7"_s, u"1F35C7 "_s, u"-1F35C"_s, u"0x1F35"_s,
          u"#１F35C7"_s, u"blue"_s})
        EXPECT_FALSE(Colors::fromHex(junk).has_value()) << junk.toStdString();
}

TEST(ColorsTest, HexPrintsUpperCaseAndRoundTrips) {
    EXPECT_EQ(Colors::hex(QColor::fromRgb(0, 10, 255)), u"#000AFF"_s);
    EXPECT_EQ(Colors::hex(QColor::fromRgbF(0.5f, 0.5f, 0.5f)), u"#808080"_s);
    // Alpha is not part of the text.
    EXPECT_EQ(Colors::hex(QColor::fromRgb(255, 0, 0, 10)), u"#FF0000"_s);
    EXPECT_EQ(Colors::hex(QColor::fromHsv(240, 255, 255)), u"#0000FF"_s);
    for (int value : {0x000000, 0x123456, 0xABCDEF, 0xFFFFFF, 0x7F7F80}) {
        const QString text = u'#' + u"%1"_s.arg(value, 6, 16, QLatin1Char('0')).toUpper();
        const std::optional<QColor> parsed = Colors::fromHex(text);
        ASSERT_TRUE(parsed.has_value());
        EXPECT_EQ(Colors::hex(*parsed), text);
    }
    EXPECT_EQ(Colors::hex(Colors::brand()), u"#1F35C7"_s);
}

TEST(ColorsTest, AccentFollowsTheChoice) {
    const QColor system = QColor::fromRgb(10, 132, 255);
    EXPECT_EQ(Colors::accent(AccentChoice::brand, u"#FF0000"_s, system), Colors::brand());
    EXPECT_EQ(Colors::accent(AccentChoice::system, std::nullopt, system), system);
    EXPECT_EQ(Colors::accent(AccentChoice::custom, u"#FF0000"_s, system), QColor(Qt::red));
    // A missing or broken custom colour falls back to the brand colour.
    EXPECT_EQ(Colors::accent(AccentChoice::custom, std::nullopt, system), Colors::brand());
    EXPECT_EQ(Colors::accent(AccentChoice::custom, u"#F00"_s, system), Colors::brand());
    EXPECT_EQ(Colors::accent(AccentChoice::custom, u"red"_s, system), Colors::brand());
}

} // namespace
} // namespace kivaro
