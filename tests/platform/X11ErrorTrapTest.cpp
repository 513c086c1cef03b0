#include "platform/linux/X11ErrorTrap.h"

#include "platform/linux/X11Properties.h"
#include "support/XvfbServer.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <gtest/gtest.h>

namespace kivaro {
namespace {

class X11ErrorTrapTest : public testing::XvfbTest {
protected:
    void SetUp() override {
        if (!serverReady())
            return;
        display_ = XOpenDisplay(display().toUtf8().constData());
        ASSERT_NE(display_, nullptr);
    }
    void TearDown() override {
        if (display_)
            XCloseDisplay(display_);
    }

    // A request that fails with BadWindow: no window has this id.
    void failARequest() const { XUnmapWindow(display_, missingWindow); }

    static constexpr Window missingWindow = 0x3fffff0;
    Display* display_ = nullptr;
};

TEST_F(X11ErrorTrapTest, NestedTrapsEachCatchAndTheOuterOneSurvivesTheInner) {
    ErrorTrap outer(display_);
    EXPECT_FALSE(outer.failed());
    {
        ErrorTrap inner(display_);
        failARequest();
        EXPECT_TRUE(inner.failed());
    }
    // The error inside the inner trap counts for the outer one, and an error after the inner
    // trap has ended is still caught (not handed round in circles or to the default handler,
    // which would end the program).
    EXPECT_TRUE(outer.failed());
    failARequest();
    EXPECT_TRUE(outer.failed());
}

TEST_F(X11ErrorTrapTest, PropertiesOfAVanishedWindowReadAsNothing) {
    EXPECT_TRUE(windowProperty(display_, missingWindow, "_NET_WM_PID", XA_CARDINAL).empty());
    ErrorTrap trap(display_);
    EXPECT_TRUE(windowProperty(display_, missingWindow, "_NET_WM_STATE", XA_ATOM).empty());
    EXPECT_TRUE(trap.failed());
    // A root-window property of the wrong type reads as nothing, not as garbage.
    EXPECT_TRUE(
        windowProperty(display_, DefaultRootWindow(display_), "RESOURCE_MANAGER", XA_CARDINAL)
            .empty());
}

} // namespace
} // namespace kivaro
