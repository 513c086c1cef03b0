#include "AppFixture.h"
#include "platform/XvfbServer.h"
#include "platform/linux/X11HotkeyRegistrar.h"
#include "platform/linux/X11Workspace.h"
#include "settings/Preferences.h"
#include "support/RequireTool.h"
#include "support/WaitUntil.h"
#include "support/X11TestClient.h"
#include "support/X11WindowManager.h"

namespace kivaro::testing {
namespace {

// A real desktop: Xvfb, openbox activating windows as they map, the X11 adapters, and
// another X client acting as the user. The adapters outlive the delegate (AppTest's
// TearDown lets it go first).
class AppDesktopTest : public AppTest {
public:
    void SetUp() override {
        KIVARO_REQUIRE_TOOL(XvfbServer::available(), "Xvfb is not installed");
        KIVARO_REQUIRE_TOOL(X11WindowManager::available(), "openbox is not installed");
        ASSERT_TRUE(server.start()) << server.error().toStdString();
        ASSERT_TRUE(manager.start(server.display()));
        workspace = std::make_unique<X11Workspace>(server.display());
        keys = std::make_unique<X11HotkeyRegistrar>(server.display());
        user = std::make_unique<X11TestClient>(server.display());
    }

    XvfbServer server;
    X11WindowManager manager;
    std::unique_ptr<X11Workspace> workspace;
    std::unique_ptr<X11HotkeyRegistrar> keys;
    std::unique_ptr<X11TestClient> user;
};

TEST_F(AppDesktopTest, KeysFollowTheActiveWindowAndOpenThePanel) {
    world.preferences->store(PreferenceKey::otherBrowsers, true);
    start(*workspace, *keys);
    ASSERT_FALSE(registered());

    user->createWindow(QStringLiteral("google-chrome"), QStringLiteral("Google-chrome"), 4242);
    ASSERT_TRUE(waitUntil([&] { return registered(); })) << "Chrome in front holds the keys";
    EXPECT_EQ(store->browser()->bundleID(), QStringLiteral("com.google.Chrome"));

    ASSERT_TRUE(user->type({VirtualKey::t, Modifier::command, QStringLiteral("T")}));
    EXPECT_TRUE(
        waitUntil([&] { return panel->calls == QStringList{QStringLiteral("show newTab")}; }));

    user->createWindow(QStringLiteral("xterm"), QStringLiteral("XTerm"), 4343);
    EXPECT_TRUE(waitUntil([&] { return !registered(); })) << "another window releases them";
}

} // namespace
} // namespace kivaro::testing
