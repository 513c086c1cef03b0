#include "favicons/Favicons.h"
#include "panel/Colors.h"
#include "platform/fake/FakeWindowList.h"
#include "platform/fake/FakeWorkspace.h"
#include "ui/CommandPanel.h"
#include "ui/Desktop.h"
#include "ui/PanelChrome.h"
#include "ui/PanelPalette.h"

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

    void send(QEvent::Type type, int key, Qt::KeyboardModifiers modifiers, const QString& text) {
        QKeyEvent event(type, key, modifiers, text);
        QApplication::sendEvent(&chrome.field(), &event);
    }

    CommandPanel panel;
    PanelChrome& chrome;
};

TEST_F(PanelWidgetsTest, AFocusableToolWindowWhoseKeysReachOnKeyBeforeTheField) {
    EXPECT_TRUE(panel.windowFlags().testFlag(Qt::Tool));
    EXPECT_FALSE(panel.windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_TRUE(panel.canBecomeKey());
    QList<int> seen;
    QList<Qt::KeyboardModifiers> modifiers;
    panel.onKey = [&seen](QKeyEvent& event) {
        seen.append(event.key());
        return event.key() == Qt::Key_Down;
    };
    panel.onModifiers = [&modifiers](Qt::KeyboardModifiers held) { modifiers.append(held); };
    panel.present();
    send(QEvent::KeyPress, Qt::Key_Down, {}, {});
    send(QEvent::KeyPress, Qt::Key_A, {}, u"a"_qs);
    EXPECT_EQ(seen, QList<int>({Qt::Key_Down, Qt::Key_A}));
    EXPECT_EQ(chrome.field().text(), u"a"_qs) << "only keys onKey leaves reach the field";
    // Modifier keys report the flags held after the event (an event carries those before it)
    // and are no key presses for onKey.
    send(QEvent::KeyPress, Qt::Key_Shift, Qt::KeypadModifier, {});
    send(QEvent::KeyRelease, Qt::Key_Shift, Qt::ShiftModifier, {});
    EXPECT_EQ(modifiers, QList<Qt::KeyboardModifiers>({Qt::ShiftModifier, Qt::NoModifier}));
    EXPECT_EQ(seen.size(), 2);
    panel.onKey = nullptr;
    panel.onModifiers = nullptr;
    send(QEvent::KeyPress, Qt::Key_A, {}, u"a"_qs);
    send(QEvent::KeyPress, Qt::Key_Shift, {}, {});
    EXPECT_EQ(chrome.field().text(), u"aa"_qs);
}

TEST_F(PanelWidgetsTest, MotionIsReducedWhenTheDesktopTurnsEffectsOffAndThenNoPulse) {
    const bool before = QApplication::isEffectEnabled(Qt::UI_General);
    QApplication::setEffectEnabled(Qt::UI_General, false);
    EXPECT_TRUE(PanelPalette::displayOptions().reduceMotion);
    QApplication::setEffectEnabled(Qt::UI_General, true);
    EXPECT_FALSE(PanelPalette::displayOptions().reduceMotion);
    QApplication::setEffectEnabled(Qt::UI_General, before);
    chrome.applyAppearance(darkBrand, {false, true});
    panel.present();
    chrome.pulse();
    EXPECT_EQ(chrome.pulseView(), nullptr);
    chrome.applyAppearance(darkBrand, {});
    chrome.pulse();
    EXPECT_NE(chrome.pulseView(), nullptr);
}

TEST_F(PanelWidgetsTest, FieldIconShowsTheFaviconOnlyForTheHostStillShown) {
    QTemporaryDir folder;
    Favicons favicons(folder.path());
    chrome.applyAppearance(darkBrand, {});
    // A host that cannot be looked up leaves the stand-by globe in place.
    chrome.updateFieldIcon({.mode = FieldIcon::Mode::site, .siteHost = u"127.0.0.1:1"_qs},
                           &favicons);
    const QImage globe = chrome.fieldIcon().pixmap().toImage();
    EXPECT_FALSE(globe.isNull());
    chrome.updateFieldIcon({}, &favicons);
    EXPECT_EQ(chrome.fieldIconHost(), u"127.0.0.1:1"_qs);
    EXPECT_NE(chrome.fieldIcon().pixmap().toImage(), globe);
    chrome.updateFieldIcon({.mode = FieldIcon::Mode::site, .siteHost = u"example.com"_qs}, nullptr);
    EXPECT_EQ(chrome.fieldIcon().pixmap().toImage(), globe);
}

TEST_F(PanelWidgetsTest, PlacesItselfOverTheFrontWindowInQtCoordinates) {
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    FakeWorkspace workspace;
    workspace.run(u"org.chromium.Chromium"_qs, true);
    FakeWindowList windows;
    const QRect browser(available.x() + 40, available.y() + 30, 700, 500);
    windows.setWindows({{workspace.frontApplication()->pid, 0, QRectF(browser)}});
    const std::optional<double> top = chrome.place(&workspace, &windows);
    ASSERT_TRUE(top.has_value());
    // The visible panel (less its 48-point margin) 16 % of the window's height below its top.
    EXPECT_EQ(panel.geometry().top() + 48, browser.top() + 80);
    EXPECT_DOUBLE_EQ(*top, Desktop::primaryHeight() - panel.geometry().top());
    EXPECT_TRUE(chrome.place(nullptr, nullptr).has_value()) << "without adapters: the screen";
}

} // namespace
} // namespace kivaro
