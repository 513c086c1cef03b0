#include "FakeDevTools.h"
#include "browsers/Commands.h"
#include "browsers/DevToolsBrowser.h"
#include "browsers/DevToolsMenuBarAccess.h"
#include "browsers/MenuBar.h"
#include "platform/linux/PosixPrivateFolder.h"
#include "support/ScopedEnv.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kivaro {
namespace {

using Operation = DevToolsBrowser::Operation;
using namespace Qt::StringLiterals;

const QString bundleID = u"org.chromium.Chromium"_s;

// A browser reached through the fake endpoint. Window 1 holds tabs A, B and C in that order with
// B shown; window 2, behind it, holds D.
struct Scene {
    Scene() {
        fake.setPages({{u"C"_s, u"https://c/"_s, 1},
                       {u"B"_s, u"https://b/"_s, 1},
                       {u"A"_s, u"https://a/"_s, 1},
                       {u"D"_s, u"https://d/"_s, 2}});
        testing::writePortFile(home.filePath(u"chromium"_s), *fake.endpoint());
        browser->tabs(); // learns the tab order
        fake.show(u"B"_s);
    }

    QTemporaryDir home;
    testing::ScopedEnv config{"XDG_CONFIG_HOME", QFile::encodeName(home.path())};
    testing::FakeDevTools fake;
    std::unique_ptr<PrivateFolder> snapshots = PosixPrivateFolder::forSnapshots();
    std::shared_ptr<DevToolsBrowser> browser = std::make_shared<DevToolsBrowser>(
        bundleID, u"Chromium"_s, QStringList{u"chromium"_s}, *snapshots);
};

struct OperationCase {
    QStringList path;
    Operation operation;
    QStringList calls;
};

void PrintTo(const OperationCase& each, std::ostream* out) {
    *out << each.path.join(u" › "_s).toStdString();
}

class DevToolsOperationsTest : public ::testing::TestWithParam<OperationCase> {};

// Each command reaches the protocol as exactly these calls, performed directly or pressed as the
// menu item of that title.
TEST_P(DevToolsOperationsTest, SendsTheCallsOfItsCommand) {
    {
        Scene scene;
        EXPECT_TRUE(scene.browser->perform(GetParam().operation));
        EXPECT_EQ(scene.fake.log(), GetParam().calls);
    }
    Scene scene;
    DevToolsMenuBarAccess access({scene.browser});
    EXPECT_TRUE(MenuBar::press(access, GetParam().path, bundleID));
    EXPECT_EQ(scene.fake.log(), GetParam().calls);
}

const QString close = u"Target.closeTarget {\"targetId\":\"%1\"}"_s;
const QString create = u"Target.createTarget {\"url\":\"%1\"}"_s;
const QString activate = u"Target.activateTarget {\"targetId\":\"%1\"}"_s;

INSTANTIATE_TEST_SUITE_P(
    Commands, DevToolsOperationsTest,
    ::testing::Values(
        OperationCase{
            {u"File"_s, u"New Tab"_s}, Operation::newTab, {create.arg(u"chrome://newtab/")}},
        OperationCase{{u"File"_s, u"New Window"_s},
                      Operation::newWindow,
                      {u"Target.createTarget {\"newWindow\":true,\"url\":\"chrome://newtab/\"}"_s}},
        OperationCase{{u"File"_s, u"Close Tab"_s}, Operation::closeTab, {close.arg(u"B")}},
        OperationCase{{u"File"_s, u"Close Other Tabs"_s},
                      Operation::closeOtherTabs,
                      {close.arg(u"A"), close.arg(u"C")}},
        OperationCase{{u"File"_s, u"Close Window"_s},
                      Operation::closeWindow,
                      {close.arg(u"A"), close.arg(u"B"), close.arg(u"C")}},
        OperationCase{{u"View"_s, u"Stop"_s}, Operation::stop, {u"B Page.stopLoading {}"_s}},
        OperationCase{{u"View"_s, u"Reload Page"_s}, Operation::reload, {u"B Page.reload {}"_s}},
        OperationCase{{u"View"_s, u"Reload Page From Origin"_s},
                      Operation::reloadIgnoringCache,
                      {u"B Page.reload {\"ignoreCache\":true}"_s}},
        OperationCase{
            {u"View"_s, u"Enter Full Screen"_s},
            Operation::toggleFullScreen,
            {u"Browser.setWindowBounds {\"bounds\":{\"windowState\":\"fullscreen\"},\"windowId\":1}"_s}},
        OperationCase{{u"View"_s, u"Developer"_s, u"View Source"_s},
                      Operation::viewSource,
                      {create.arg(u"view-source:https://b/")}},
        OperationCase{{u"View"_s, u"Developer"_s, u"Developer Tools"_s},
                      Operation::developerTools,
                      {u"Target.openDevTools {\"targetId\":\"B\"}"_s}},
        OperationCase{{u"History"_s, u"Back"_s},
                      Operation::back,
                      {u"B Page.navigateToHistoryEntry {\"entryId\":11}"_s}},
        OperationCase{{u"History"_s, u"Forward"_s},
                      Operation::forward,
                      {u"B Page.navigateToHistoryEntry {\"entryId\":13}"_s}},
        OperationCase{{u"Tab"_s, u"Select Next Tab"_s}, Operation::nextTab, {activate.arg(u"C")}},
        OperationCase{
            {u"Tab"_s, u"Select Previous Tab"_s}, Operation::previousTab, {activate.arg(u"A")}},
        OperationCase{
            {u"Tab"_s, u"Duplicate Tab"_s}, Operation::duplicateTab, {create.arg(u"https://b/")}}));

TEST(DevToolsOperations, FullScreenTogglesBackAndNothingReachesAnotherWindow) {
    Scene scene;
    EXPECT_TRUE(scene.browser->perform(Operation::toggleFullScreen));
    EXPECT_TRUE(scene.browser->perform(Operation::toggleFullScreen));
    // Stepping past the last tab of the window wraps to its first, not into window 2.
    scene.fake.show(u"C"_s);
    EXPECT_TRUE(scene.browser->perform(Operation::nextTab));
    const QString bounds =
        u"Browser.setWindowBounds {\"bounds\":{\"windowState\":\"%1\"},\"windowId\":1}"_s;
    EXPECT_EQ(scene.fake.log(),
              (QStringList{bounds.arg(u"fullscreen"), bounds.arg(u"normal"), activate.arg(u"A")}));
}

// One line per command: its menu, title, symbol and shortcut.
QStringList rendered(const QList<Command>& commands, const QStringList& titles) {
    QStringList lines;
    for (const Command& command : commands)
        if (titles.contains(command.title))
            lines.append(command.menu + u" | "_s + command.title + u" | "_s + command.symbol +
                         u" | "_s + command.keys.join(QString()));
    return lines;
}

TEST(DevToolsMenuBar, ItsItemsBecomeCatalogCommandsWhileTheBrowserAnswers) {
    auto scene = std::make_unique<Scene>();
    DevToolsMenuBarAccess access({scene->browser});
    const QList<MenuBar::Item> items = MenuBar::walk(access, bundleID);
    ASSERT_EQ(items.size(), DevToolsMenuBarAccess::items().size());
    const QList<Command> commands = Commands::resolve(items, false);
    EXPECT_EQ(rendered(commands, {u"Close Tab"_s, u"Reload Page"_s, u"Back"_s, u"Duplicate Tab"_s,
                                  u"Pin Tab"_s}),
              (QStringList{u"File | Close Tab | xmark | \u2303W"_s,
                           u"View | Reload Page | arrow.clockwise | \u2303R"_s,
                           u"History | Back | filemenu.and.selection | \u2325\u2190"_s,
                           u"Tab | Duplicate Tab | plus.square.on.square | "_s}));
    EXPECT_EQ(rendered(Commands::dev(items), {u"Page Source"_s, u"Developer Tools"_s}),
              (QStringList{u"Developer | Page Source | chevron.left.forwardslash.chevron.right | "
                           u"\u2303U"_s,
                           u"Developer | Developer Tools | hammer | \u2303\u21e7I"_s}));
    EXPECT_FALSE(MenuBar::press(access, {u"Tab"_s, u"Pin Tab"_s}, bundleID));
    EXPECT_FALSE(MenuBar::press(access, {u"View"_s, u"Reload Page"_s}, u"com.google.Chrome"_s));

    // A browser that stops answering offers no menu bar and carries out nothing.
    const auto browser = scene->browser;
    scene.reset();
    EXPECT_TRUE(MenuBar::walk(access, bundleID).isEmpty());
    EXPECT_FALSE(browser->perform(Operation::reload));
}

} // namespace
} // namespace kivaro
