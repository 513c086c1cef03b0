#include "favicons/Favicons.h"
#include "panel/Colors.h"
#include "panel/Placement.h"
#include "platform/fake/FakeWindowList.h"
#include "platform/fake/FakeWorkspace.h"
#include "ui/CommandPanel.h"
#include "ui/Desktop.h"
#include "ui/PanelChrome.h"
#include "ui/PanelPalette.h"
#include "ui/ShadowView.h"
#include "ui/TintView.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kivaro {
namespace {

const PanelStyle darkBrand{PanelTheme::dark, 0.6, Colors::brand()};

class PanelWidgetsTest : public ::testing::Test {
protected:
    PanelWidgetsTest() : chrome(*new PanelChrome(panel)) {}

    CommandPanel panel;
    PanelChrome& chrome;
};

TEST_F(PanelWidgetsTest, IsAFramelessTranslucentToolWindowAboveOthers) {
    EXPECT_TRUE(panel.windowFlags().testFlag(Qt::Tool));
    EXPECT_TRUE(panel.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(panel.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(panel.windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_TRUE(panel.testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_TRUE(panel.canBecomeKey());
    EXPECT_FALSE(panel.canBecomeMain());
    EXPECT_EQ(panel.size(), QSize(776, 156));
    EXPECT_FALSE(panel.isVisible());
    panel.present();
    EXPECT_TRUE(panel.isVisible());
    EXPECT_EQ(chrome.size(), panel.size());
    // The visible panel is the window less its 48-point margin.
    EXPECT_EQ(chrome.surface().geometry(), QRect(48, 48, 680, 60));
    EXPECT_EQ(chrome.tint().geometry(), chrome.surface().geometry());
    EXPECT_EQ(chrome.shadow().geometry(), QRect(0, 0, 776, 156));
    EXPECT_EQ(chrome.fieldIcon().geometry(), QRect(48 + 22, 48 + 20, 20, 20));
}

TEST_F(PanelWidgetsTest, KeysReachOnKeyBeforeTheField) {
    QList<int> seen;
    QList<Qt::KeyboardModifiers> modifiers;
    panel.onKey = [&seen](QKeyEvent& event) {
        seen.append(event.key());
        return event.key() == Qt::Key_Down;
    };
    panel.onModifiers = [&modifiers](Qt::KeyboardModifiers held) { modifiers.append(held); };
    panel.present();

    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(&chrome.field(), &down);
    QKeyEvent letter(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, u"a"_qs);
    QApplication::sendEvent(&chrome.field(), &letter);
    // Consumed keys never reach the field; the others are typed.
    EXPECT_EQ(seen, QList<int>({Qt::Key_Down, Qt::Key_A}));
    EXPECT_EQ(chrome.field().text(), u"a"_qs);

    // Modifier keys report the masked flags held after the event and are not key presses
    // for onKey. (A key event carries the state from before it, as window systems send it.)
    QKeyEvent shift(QEvent::KeyPress, Qt::Key_Shift, Qt::KeypadModifier);
    QApplication::sendEvent(&chrome.field(), &shift);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Shift, Qt::ShiftModifier);
    QApplication::sendEvent(&chrome.field(), &release);
    EXPECT_EQ(modifiers, QList<Qt::KeyboardModifiers>({Qt::ShiftModifier, Qt::NoModifier}));
    EXPECT_EQ(seen.size(), 2);

    // Without callbacks keys simply go to the field.
    panel.onKey = nullptr;
    panel.onModifiers = nullptr;
    QApplication::sendEvent(&chrome.field(), &letter);
    QApplication::sendEvent(&chrome.field(), &shift);
    EXPECT_EQ(chrome.field().text(), u"aa"_qs);
}

TEST_F(PanelWidgetsTest, AppearanceSetsThemeTintAndTone) {
    chrome.applyAppearance({PanelTheme::dark, 0.6, Colors::brand()}, {});
    EXPECT_DOUBLE_EQ(chrome.tint().strength(), 0);
    EXPECT_FALSE(chrome.surface().isSolid());
    EXPECT_LT(Colors::luminance(panel.palette().color(QPalette::Window)), 0.1);
    chrome.applyAppearance({PanelTheme::light, 1.0, Colors::brand()}, {});
    EXPECT_DOUBLE_EQ(chrome.tint().strength(), 0.85);
    EXPECT_GT(Colors::luminance(panel.palette().color(QPalette::Window)), 0.8);
    chrome.applyAppearance({PanelTheme::automatic, 0.6, Colors::brand()}, {true, false});
    EXPECT_DOUBLE_EQ(chrome.tint().strength(), 1);
    EXPECT_TRUE(chrome.surface().isSolid());

    // Without a mode colour the tone is the accent and the wash is invisible.
    EXPECT_EQ(chrome.tone(), Colors::brand());
    EXPECT_EQ(chrome.wash().color().alpha(), 0);
    const QColor yellow = QColor::fromRgb(255, 240, 120);
    chrome.setModeColor(yellow);
    chrome.applyTone();
    EXPECT_EQ(chrome.tone(), yellow);
    EXPECT_NEAR(chrome.wash().color().alphaF(), 0.07, 0.01);
    // White cannot be read on light yellow: the chip's text turns near-black.
    EXPECT_TRUE(chrome.chip().styleSheet().contains(Colors::hex(yellow)));
    EXPECT_TRUE(chrome.chip().styleSheet().contains(u"#141414"_qs));
    EXPECT_NEAR(chrome.field().palette().color(QPalette::Highlight).alphaF(), 0.22, 0.01);
}

TEST(DisplayOptionsTest, MotionIsReducedWhenTheDesktopTurnsEffectsOff) {
    const bool before = QApplication::isEffectEnabled(Qt::UI_General);
    QApplication::setEffectEnabled(Qt::UI_General, false);
    EXPECT_TRUE(PanelPalette::displayOptions().reduceMotion);
    QApplication::setEffectEnabled(Qt::UI_General, true);
    EXPECT_FALSE(PanelPalette::displayOptions().reduceMotion);
    EXPECT_FALSE(PanelPalette::displayOptions().reduceTransparency);
    QApplication::setEffectEnabled(Qt::UI_General, before);
}

TEST_F(PanelWidgetsTest, PulseGlowsUnlessMotionIsReduced) {
    chrome.applyAppearance(darkBrand, {false, true});
    chrome.showChip(u"Search GitHub"_qs);
    panel.present();
    chrome.pulse();
    EXPECT_EQ(chrome.pulseView(), nullptr);

    chrome.applyAppearance(darkBrand, {});
    chrome.pulse();
    ASSERT_NE(chrome.pulseView(), nullptr);
    ASSERT_NE(chrome.pulseAnimation(), nullptr);
    EXPECT_EQ(chrome.pulseView()->geometry(), chrome.surface().geometry());
    EXPECT_EQ(chrome.pulseAnimation()->duration(), 700);
    // At its end the glow goes away.
    chrome.pulseAnimation()->setCurrentTime(700);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(chrome.pulseView(), nullptr);
}

TEST_F(PanelWidgetsTest, FieldIconShowsTheFaviconOnlyForTheHostStillShown) {
    QTemporaryDir folder;
    Favicons favicons(folder.path());
    chrome.applyAppearance(darkBrand, {});
    // A host that cannot be looked up leaves the stand-by globe in place.
    chrome.updateFieldIcon({.mode = FieldIcon::Mode::site, .siteHost = u"127.0.0.1:1"_qs},
                           &favicons);
    EXPECT_EQ(chrome.fieldIconHost(), u"127.0.0.1:1"_qs);
    const QImage globe = chrome.fieldIcon().pixmap().toImage();
    EXPECT_FALSE(globe.isNull());
    // Back to no host: the search symbol, the remembered host kept.
    chrome.updateFieldIcon({}, &favicons);
    EXPECT_EQ(chrome.fieldIconHost(), u"127.0.0.1:1"_qs);
    EXPECT_NE(chrome.fieldIcon().pixmap().toImage(), globe);
    // Without a favicon service the symbol stays.
    chrome.updateFieldIcon({.mode = FieldIcon::Mode::site, .siteHost = u"example.com"_qs}, nullptr);
    EXPECT_EQ(chrome.fieldIcon().pixmap().toImage(), globe);
}

TEST_F(PanelWidgetsTest, ShadowStaysOutsideTheShape) {
    panel.present();
    const QImage shadow = chrome.shadow().shadowImage();
    ASSERT_EQ(shadow.size(), QSize(776, 156));
    const QRect shape = chrome.shadow().shape();
    EXPECT_EQ(shape, QRect(48, 48, 680, 60));
    // Nothing inside the shape; some shade below it, more below than above (offset).
    EXPECT_EQ(qAlpha(shadow.pixel(shape.center())), 0);
    const int below = qAlpha(shadow.pixel(shape.center().x(), shape.bottom() + 8));
    const int above = qAlpha(shadow.pixel(shape.center().x(), shape.top() - 8));
    EXPECT_GT(below, 0);
    EXPECT_GT(below, above);
    EXPECT_LE(below, int(255 * ShadowView::opacity) + 1);
}

TEST_F(PanelWidgetsTest, PlacesItselfOverTheFrontWindow) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    const QRect available = screen->availableGeometry();
    FakeWorkspace workspace;
    workspace.run(u"org.chromium.Chromium"_qs, true);
    FakeWindowList windows;
    const QRect browser(available.x() + 40, available.y() + 30, 700, 500);
    windows.setWindows({{workspace.frontApplication()->pid, 0, QRectF(browser)}});

    const std::optional<double> top = chrome.place(&workspace, &windows);
    ASSERT_TRUE(top.has_value());
    // In Qt's coordinates: the visible top 16 % of the window's height below its top.
    EXPECT_EQ(panel.geometry().top() + 48, browser.top() + 80);
    EXPECT_EQ(panel.geometry().size(), QSize(776, 156));
    EXPECT_DOUBLE_EQ(*top, Desktop::primaryHeight() - panel.geometry().top());

    // Without adapters: the screen under the mouse, 16 % (at most 140) below its top.
    ASSERT_TRUE(chrome.place(nullptr, nullptr).has_value());
    const int drop = std::min(int(available.height() * 0.16), 140);
    EXPECT_NEAR(panel.geometry().top() + 48, available.top() + drop, 1);
}

} // namespace
} // namespace kivaro
