#include "browsers/FirefoxBrowser.h"

#include "FakeDevTools.h"
#include "browsers/DevToolsMenuBarAccess.h"
#include "browsers/MenuBar.h"
#include "panel/Access.h"
#include "platform/fake/FakeHotkeyRegistrar.h"
#include "platform/fake/FakePermissionProbe.h"
#include "platform/linux/PosixPrivateFolder.h"
#include "support/Files.h"
#include "support/ScopedEnv.h"
#include "support/ScratchPreferences.h"

#include <QTemporaryDir>

#include <gmock/gmock.h>

namespace kivaro {
namespace {

using namespace Qt::StringLiterals;
using ::testing::ElementsAre;

const QString id = u"org.mozilla.firefox"_s;

// A fake Firefox named by the server file of the default profile in a private home (another
// profile's, written later, names a remote host and is passed over); window 2 is in front and
// "p1" is the current tab of window 1.
struct FirefoxScene {
    FirefoxScene() {
        const QString root = home.filePath(u".mozilla/firefox"_s);
        testing::writeFile(root + u"/profiles.ini"_s, "[Profile0]\nPath=p\n[Profile1]\nPath=q\n");
        testing::writeFile(root + u"/p/WebDriverBiDiServer.json"_s,
                           R"({"ws_host": "127.0.0.1", "ws_port": )" +
                               QByteArray::number(fake.endpoint()->port) + '}');
        QFile remote(root + u"/q/WebDriverBiDiServer.json"_s);
        testing::writeFile(remote.fileName(), R"({"ws_host": "192.0.2.7", "ws_port": 9222})");
        EXPECT_TRUE(remote.open(QIODevice::ReadWrite) &&
                    remote.setFileTime(QDateTime::currentDateTime().addSecs(60),
                                       QFileDevice::FileModificationTime));
        fake.setPages({{u"p2"_s, u"https://b/"_s, 2},
                       {u"p1"_s, u"https://a/"_s, 1},
                       {u"p3"_s, u"https://c/"_s, 1}});
    }

    QTemporaryDir home;
    testing::ScopedEnv homeEnv{"HOME", QFile::encodeName(home.path())};
    testing::ScopedEnv config{"XDG_CONFIG_HOME", QFile::encodeName(home.filePath(u"none"_s))};
    testing::FakeDevTools fake;
    std::unique_ptr<PrivateFolder> snapshots = PosixPrivateFolder::forSnapshots();
    std::shared_ptr<FirefoxBrowser> browser =
        std::make_shared<FirefoxBrowser>(id, u"Firefox"_s, *snapshots);
};

TEST(FirefoxBrowser, ListsTabsByWindowActsOnTheContextsItListedAndOffersItsCommands) {
    FirefoxScene scene;
    const QList<SafariTab> tabs = scene.browser->tabs();
    const qint64 front = tabs.value(0).windowID;
    const qint64 back = tabs.value(1).windowID;
    EXPECT_THAT(tabs, ElementsAre(SafariTab{front, 0, 1, u"p2"_s, u"https://b/"_s, {}, true},
                                  SafariTab{back, 1, 1, u"p1"_s, u"https://a/"_s, {}, true},
                                  SafariTab{back, 1, 2, u"p3"_s, u"https://c/"_s, {}, false}));
    EXPECT_EQ(scene.browser->currentTab(), (TabRef{front, 1, u"https://b/"_s}));
    EXPECT_EQ(scene.browser->status(), QString());

    scene.browser->switchTo(back, 2);
    scene.browser->close(back, 1);
    scene.browser->close(back, 9);
    DevToolsMenuBarAccess access({scene.browser});
    QStringList titles;
    for (const MenuBar::Item& item : MenuBar::walk(access, id))
        titles.append(item.path.last());
    EXPECT_TRUE(titles.contains(u"Reload Page"_s));
    EXPECT_FALSE(titles.contains(u"Developer Tools"_s) || titles.contains(u"View Source"_s));
    EXPECT_TRUE(MenuBar::press(access, {u"History"_s, u"Back"_s}, id));
    EXPECT_THAT(
        scene.fake.log(),
        ElementsAre(u"browsingContext.activate {\"context\":\"p3\"}"_s,
                    u"browsingContext.close {\"context\":\"p1\"}"_s,
                    u"browsingContext.traverseHistory {\"context\":\"p3\",\"delta\":-1}"_s));
}

// Firefox serves one session at a time and keeps one whose socket merely closed: a browser
// object that goes must end its session, or Firefox refuses the next program (or the next
// start of this one) until it restarts.
TEST(FirefoxBrowser, EndsItsSessionWhenItGoesSoThatTheNextOneIsServed) {
    FirefoxScene scene;
    ASSERT_EQ(scene.browser->tabs().size(), 3);
    scene.browser.reset();
    const FirefoxBrowser next(id, u"Firefox"_s, *scene.snapshots);
    EXPECT_EQ(next.tabs().size(), 3);
    EXPECT_TRUE(next.reachable());
}

// The settings' access check asks the very object the program drives: another one would be
// refused while this one holds Firefox's only session.
TEST(FirefoxBrowser, TheAccessCheckAsksTheBrowserTheProgramDrives) {
    FirefoxScene scene;
    ASSERT_EQ(scene.browser->tabs().size(), 3);
    FakePermissionProbe permissions;
    FakeHotkeyRegistrar keys;
    testing::ScratchPreferences scratch;
    const auto sources =
        AccessCheck::platformSources(permissions, keys, scratch.preferences, {scene.browser});
    EXPECT_EQ(sources.reachableBrowser(), u"Firefox"_s);
}

TEST(FirefoxBrowser, ARefusedSessionLeavesItUnreachableWithHowToStartIt) {
    FirefoxScene scene;
    scene.fake.refuseSessions();
    EXPECT_FALSE(scene.browser->reachable());
    EXPECT_TRUE(scene.browser->tabs().isEmpty());
    EXPECT_THAT(scene.browser->status().toStdString(),
                ::testing::HasSubstr("--remote-debugging-port"));
}

} // namespace
} // namespace kivaro
