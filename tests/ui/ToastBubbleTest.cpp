#include "ui/ToastBubble.h"

#include "panel/Colors.h"
#include "platform/fake/FakeWindowList.h"
#include "platform/fake/FakeWorkspace.h"

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

    // Runs every animation under way to its end.
    void settle() {
        for (QAbstractAnimation* animation : toast.findChildren<QAbstractAnimation*>()) {
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

TEST_F(ToastBubbleTest, ShowsOverTheFrontWindowForItsTimeNeverTakingInput) {
    EXPECT_TRUE(toast.windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_TRUE(toast.windowFlags().testFlag(Qt::WindowTransparentForInput));
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect browser(available.x() + 20, available.y() + 40, 700, 500);
    windows.setWindows({{workspace.frontApplication()->pid, 0, QRectF(browser)}});
    toast.show(QString(40, u'x'), u"pin"_qs);
    settle();
    EXPECT_TRUE(toast.isVisible());
    EXPECT_EQ(bubbleOnScreen().top(), browser.top() + 96);
    EXPECT_NEAR(bubbleOnScreen().center().x(), browser.center().x(), 1);
    EXPECT_EQ(toast.hideTimer().interval(), 2800); // longer texts stay longer
    EXPECT_TRUE(toast.hideTimer().isActive());
    // A long text is cut; unknown symbols and empty texts still show.
    toast.show(QString(300, u'w'), u"pin"_qs);
    EXPECT_TRUE(toast.label().text().endsWith(QChar(0x2026)));
    toast.show(QString(), u"no.such.symbol"_qs, u"nor.this"_qs);
    EXPECT_TRUE(toast.isVisible());
}

TEST_F(ToastBubbleTest, ANewMessageReplacesTheOneLeavingUnlessItHasNoScreen) {
    toast.show(u"Tab pinned"_qs, u"pin"_qs);
    toast.leave();
    toast.show(u"Tab unpinned"_qs, u"pin.slash"_qs);
    EXPECT_FALSE(toast.isLeaving());
    settle();
    EXPECT_EQ(toast.label().text(), u"Tab unpinned"_qs);
    EXPECT_DOUBLE_EQ(toast.opacity(), 1.0);
    EXPECT_TRUE(toast.hideTimer().isActive());
    toast.leave();
    toast.setScreens([] { return QList<ScreenArea>(); });
    toast.show(u"Nowhere to go"_qs, u"pin"_qs);
    EXPECT_TRUE(toast.isLeaving());
    EXPECT_EQ(toast.label().text(), u"Tab unpinned"_qs);
    settle();
    EXPECT_FALSE(toast.isVisible());
    EXPECT_DOUBLE_EQ(toast.opacity(), 0.0);
}

TEST_F(ToastBubbleTest, SwapsInTheDoneSymbolAndReadsReducedMotionAtEveryShow) {
    DisplayOptions desktop{false, true};
    toast.setDisplaySource([&desktop] { return desktop; });
    toast.show(u"Link copied"_qs, u"link"_qs, u"checkmark.circle.fill"_qs);
    EXPECT_TRUE(toast.findChildren<QAbstractAnimation*>().isEmpty());
    EXPECT_TRUE(toast.confirmTimer().isActive());
    toast.confirm();
    EXPECT_FALSE(toast.icon().isVisible());
    EXPECT_TRUE(toast.check().isVisible());
    toast.leave();
    EXPECT_FALSE(toast.isVisible()) << "hidden at once";
    desktop.reduceMotion = false;
    toast.show(u"Tab pinned"_qs, u"pin"_qs);
    EXPECT_TRUE(toast.icon().isVisible()) << "a new message starts from the action's symbol";
    EXPECT_FALSE(toast.confirmTimer().isActive());
    toast.leave();
    EXPECT_TRUE(toast.isLeaving());
}

TEST_F(ToastBubbleTest, OneSharedBubbleReplacedWhenDeleted) {
    ToastBubble& shared = ToastBubble::shared();
    EXPECT_EQ(&shared, &ToastBubble::shared());
    static_cast<Toast&>(shared).show(u"Tab pinned"_qs, u"pin"_qs);
    EXPECT_TRUE(shared.isVisible());
    delete &shared;
    EXPECT_FALSE(ToastBubble::shared().isVisible());
}

} // namespace
} // namespace kivaro
