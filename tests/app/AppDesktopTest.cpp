#include "AppFixture.h"
#include "platform/XvfbServer.h"
#include "platform/linux/X11HotkeyRegistrar.h"
#include "platform/linux/X11Workspace.h"
#include "settings/Preferences.h"
#include "support/RequireTool.h"
#include "support/X11TestClient.h"
#include "support/X11TestDesktop.h"
#include "support/X11WindowManager.h"

namespace kivaro::testing {
namespace {

using namespace Qt::StringLiterals;

// A real desktop: Xvfb, openbox activating windows as they map, the X11 adapters, and another
// X client as the user. The adapters outlive the delegate (AppTest's TearDown lets it go).
class AppDesktopTest : public AppTest {
public:
    void SetUp() override {
        KIVARO_REQUIRE_TOOL(XvfbServer::available(), "Xvfb is not installed");
        KIVARO_REQUIRE_TOOL(X11WindowManager::available(), "openbox is not installed");
        ASSERT_TRUE(server.start()) << server.error().toStdString();
        ASSERT_TRUE(manager.start(server.display()));
    }

    XvfbServer server;
    X11WindowManager manager;
    std::optional<X11Workspace> workspace;
    std::optional<X11HotkeyRegistrar> keys;
};

TEST_F(AppDesktopTest, KeysFollowTheActiveWindowAndOpenThePanel) {
    world.preferences->store(PreferenceKey::otherBrowsers, true);
    start(workspace.emplace(server.display()), keys.emplace(server.display()));
    X11TestClient user(server.display());
    ASSERT_FALSE(registered());

    user.createWindow(u"google-chrome"_s, u"Google-chrome"_s, 4242);
    ASSERT_TRUE(waitUntil([&] { return registered(); })) << "Chrome in front holds the keys";
    EXPECT_EQ(store->browser()->bundleID(), u"com.google.Chrome"_s);
    ASSERT_TRUE(user.type({VirtualKey::t, Modifier::command, u"T"_s}));
    EXPECT_TRUE(waitUntil([&] { return panel->calls == QStringList{u"show newTab"_s}; }));

    // Our panel taking the keyboard leaves Chrome in front, for the keys and the placement.
    X11TestDesktop ours(server.display());
    ours.setActive(ours.createWindow({0, 0, 680, 60}, QCoreApplication::applicationPid(),
                                     X11TestDesktop::Type::utility));
    const auto front = [&] {
        return workspace->frontApplication().value_or(Workspace::Application());
    };
    EXPECT_TRUE(waitUntil([&] { return front().pid == 4242; }));
    EXPECT_TRUE(registered());

    user.createWindow(u"xterm"_s, u"XTerm"_s, 4343);
    EXPECT_TRUE(waitUntil([&] { return !registered(); })) << "another window releases them";
}

} // namespace
} // namespace kivaro::testing
