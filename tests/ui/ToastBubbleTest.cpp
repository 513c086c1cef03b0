#include "ui/ToastBubble.h"

#include "panel/Colors.h"
#include "platform/fake/FakeWindowList.h"
#include "platform/fake/FakeWorkspace.h"
#include "ui/Motion.h"

#include <QAbstractAnimation>
#include <QApplication>
#include <QLabel>
#include <QScreen>

#include <gtest/gtest.h>

namespace kivaro {
namespace {

class ToastBubbleTest : public ::testing::Test {
protected:
    ToastBubbleTest() {
        toast.setStyle({PanelTheme::light, 0.6, Colors::brand()});
        toast.setDisplay({});
        workspace.run(u"com.apple.Safari"_qs, true);
        toast.setDesktop(&workspace, &windows);
    }

    QRect available() const { return QGuiApplication::primaryScreen()->availableGeometry(); }

    // Runs every animation under way to its end.
    void settle() {
        const auto animations = toast.findChildren<QAbstractAnimation*>();
        for (QAbstractAnimation* animation : animations) {
            if (animation->state() == QAbstractAnimation::Running && !animation->group())
                animation->setCurrentTime(animation->totalDuration());
        }
    }

    // The bubble without its transparent margin, in screen coordinates.
    QRect bubbleOnScreen() const {
        return toast.bubble().geometry().translated(toast.geometry().topLeft());
    }

    FakeWorkspace workspace;
    FakeWindowList windows;
    ToastBubble toast;
};

TEST_F(ToastBubbleTest, ShowsNearTheTopOfTheFrontWindowForItsTimeNeverTakingInput) {
    EXPECT_TRUE(toast.windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_TRUE(toast.windowFlags().testFlag(Qt::WindowTransparentForInput));
    EXPECT_TRUE(toast.testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_TRUE(toast.testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_TRUE(toast.testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_FALSE(toast.isVisible());
    const QRect browser(available().x() + 20, available().y() + 40, 700, 500);
    windows.setWindows({{workspace.frontApplication()->pid, 0, QRectF(browser)}});
    toast.show(u"Tab pinned"_qs, u"pin"_qs);
    settle();
    EXPECT_TRUE(toast.isVisible());
    EXPECT_EQ(toast.label().text(), u"Tab pinned"_qs);
    EXPECT_EQ(toast.height(), 104);
    EXPECT_EQ(toast.bubble().height(), 40);
    EXPECT_EQ(toast.width(), toast.bubble().width() + 64);
    EXPECT_EQ(bubbleOnScreen().top(), browser.top() + 96);
    EXPECT_NEAR(bubbleOnScreen().center().x(), browser.center().x(), 1);
    EXPECT_FALSE(toast.icon().pixmap().isNull());
    // 10 characters: the shortest stay.
    EXPECT_EQ(toast.hideTimer().interval(), 1400);
    EXPECT_TRUE(toast.hideTimer().isActive());
    EXPECT_FALSE(toast.confirmTimer().isActive());

    toast.show(QString(40, u'x'), u"pin"_qs);
    EXPECT_EQ(toast.hideTimer().interval(), 2800);
}

TEST_F(ToastBubbleTest, CutsLongTextsAtTheWidthCapAndStaysInsideTheScreen) {
    const QString text = QString(300, u'w');
    toast.show(text, u"exclamationmark.circle"_qs);
    settle();
    EXPECT_EQ(toast.bubble().width(), 490);
    EXPECT_EQ(toast.label().width(), 420);
    EXPECT_TRUE(toast.label().text().endsWith(QChar(0x2026)));
    EXPECT_LT(toast.label().text().size(), text.size());
    // The bubble keeps inside the screen; only its margin may cross the edge.
    EXPECT_GE(bubbleOnScreen().left(), available().left());
    EXPECT_LE(bubbleOnScreen().right(), available().right());

    const QRect browser(available().right() - 150, available().y() + 40, 700, 500);
    windows.setWindows({{workspace.frontApplication()->pid, 0, QRectF(browser)}});
    toast.show(u"Allow Accessibility to run menu commands"_qs, u"lock.shield"_qs);
    settle();
    EXPECT_LE(bubbleOnScreen().right(), available().right());
    EXPECT_LE(toast.geometry().right(), available().right() + 32);
}

TEST_F(ToastBubbleTest, SwapsInTheDoneSymbol) {
    toast.show(u"Link copied"_qs, u"link"_qs, u"checkmark.circle.fill"_qs);
    EXPECT_TRUE(toast.confirmTimer().isActive());
    EXPECT_EQ(toast.confirmTimer().interval(), 280);
    EXPECT_TRUE(toast.icon().isVisible());
    EXPECT_FALSE(toast.check().isVisible());
    EXPECT_FALSE(toast.check().pixmap().isNull());
    toast.confirm();
    EXPECT_FALSE(toast.icon().isVisible());
    EXPECT_TRUE(toast.check().isVisible());
    // A new message starts again from the action's symbol.
    toast.show(u"Tab pinned"_qs, u"pin"_qs);
    EXPECT_TRUE(toast.icon().isVisible());
    EXPECT_FALSE(toast.check().isVisible());
    EXPECT_FALSE(toast.confirmTimer().isActive());
}

TEST_F(ToastBubbleTest, ANewMessageReplacesTheOneLeaving) {
    toast.show(u"Tab pinned"_qs, u"pin"_qs);
    toast.leave();
    EXPECT_TRUE(toast.isLeaving());
    toast.show(u"Tab unpinned"_qs, u"pin.slash"_qs);
    EXPECT_FALSE(toast.isLeaving());
    EXPECT_TRUE(toast.isVisible());
    EXPECT_EQ(toast.label().text(), u"Tab unpinned"_qs);
    settle();
    EXPECT_TRUE(toast.isVisible());
    EXPECT_DOUBLE_EQ(toast.opacity(), 1.0);
    EXPECT_TRUE(toast.hideTimer().isActive());

    // An undisturbed leave ends hidden, faded out.
    toast.leave();
    settle();
    EXPECT_FALSE(toast.isVisible());
    EXPECT_DOUBLE_EQ(toast.opacity(), 0.0);
}

TEST_F(ToastBubbleTest, ReducedMotionHidesAtOnceAndStillConfirms) {
    toast.setDisplay({false, true});
    toast.show(u"Link copied"_qs, u"link"_qs, u"checkmark.circle.fill"_qs);
    EXPECT_TRUE(toast.findChildren<QAbstractAnimation*>().isEmpty());
    toast.confirm();
    EXPECT_TRUE(toast.check().isVisible());
    toast.leave();
    EXPECT_FALSE(toast.isVisible());
    EXPECT_FALSE(toast.isLeaving());
}

TEST_F(ToastBubbleTest, ReadsReducedMotionAtEveryShowAndGrowsTheDoneSymbolInPlace) {
    DisplayOptions desktop;
    toast.setDisplaySource([&desktop] { return desktop; });
    toast.show(u"Link copied"_qs, u"link"_qs, u"checkmark.circle.fill"_qs);
    settle();
    const QRect resting = toast.check().geometry();
    toast.confirm();
    // The done symbol scales up and fades in where it stands.
    EXPECT_EQ(toast.check().geometry(), resting);
    EXPECT_LT(Motion::transformOf(toast.check()).scale(), 1);
    EXPECT_LT(Motion::transformOf(toast.check()).opacity(), 1);
    settle();
    EXPECT_DOUBLE_EQ(Motion::transformOf(toast.check()).scale(), 1);

    desktop.reduceMotion = true;
    toast.show(u"Tab pinned"_qs, u"pin"_qs);
    for (const QAbstractAnimation* animation : toast.findChildren<QAbstractAnimation*>())
        EXPECT_NE(animation->state(), QAbstractAnimation::Running);
    toast.leave();
    EXPECT_FALSE(toast.isVisible());
}

TEST_F(ToastBubbleTest, AMessageWithoutAScreenLetsTheOldOneFinishLeaving) {
    toast.show(u"Tab pinned"_qs, u"pin"_qs);
    toast.leave();
    toast.setScreens([] { return QList<ScreenArea>(); });
    toast.show(u"Nowhere to go"_qs, u"pin"_qs);
    EXPECT_TRUE(toast.isLeaving());
    EXPECT_EQ(toast.label().text(), u"Tab pinned"_qs);
    settle();
    EXPECT_FALSE(toast.isVisible());
    EXPECT_DOUBLE_EQ(toast.opacity(), 0.0);
}

TEST_F(ToastBubbleTest, UnknownSymbolsStillShowTheText) {
    toast.show(u"Something happened"_qs, u"no.such.symbol"_qs, u"nor.this"_qs);
    EXPECT_TRUE(toast.isVisible());
    EXPECT_EQ(toast.label().text(), u"Something happened"_qs);
    toast.show(QString(), QString());
    EXPECT_TRUE(toast.isVisible());
    EXPECT_EQ(toast.hideTimer().interval(), 1400);
}

TEST_F(ToastBubbleTest, OneSharedBubble) {
    ToastBubble& shared = ToastBubble::shared();
    EXPECT_EQ(&shared, &ToastBubble::shared());
    Toast& asToast = shared;
    shared.setStyle({PanelTheme::dark, 0.6, Colors::brand()});
    asToast.show(u"Tab pinned"_qs, u"pin"_qs);
    EXPECT_TRUE(shared.isVisible());
    delete &shared;
    // A new one comes when the old one is gone.
    EXPECT_FALSE(ToastBubble::shared().isVisible());
}

} // namespace
} // namespace kivaro
