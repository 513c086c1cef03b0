#include "browsers/DevToolsTabs.h"

#include "browsers/DevToolsBrowser.h"
#include "browsers/DevToolsEndpoint.h"
#include "browsers/LinuxBrowsers.h"
#include "platform/linux/PosixPrivateFolder.h"
#include "support/Files.h"
#include "support/FixtureRows.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kivaro {
namespace {

using namespace Qt::StringLiterals;

using DevToolsTabs::Listed;
using DevToolsTabs::Page;

TEST(DevToolsEndpoint, ReadsThePortAndTheBrowserPathAndNothingElse) {
    const auto endpoint =
        DevToolsEndpoint::parse("45321\n/devtools/browser/0f1e2d3c-aaaa-bbbb-cccc-0123456789ab");
    ASSERT_TRUE(endpoint);
    EXPECT_EQ(endpoint->webSocketUrl().toString(),
              u"ws://127.0.0.1:45321/devtools/browser/0f1e2d3c-aaaa-bbbb-cccc-0123456789ab"_s);
    EXPECT_EQ(endpoint->httpUrl(u"/json/list"_s).toString(), u"http://127.0.0.1:45321/json/list"_s);
    // A trailing line feed, or Windows line ends, change nothing.
    EXPECT_TRUE(DevToolsEndpoint::parse("9222\r\n/devtools/browser/abc\r\n"));

    for (const char* garbage :
         {"", "9222", "\n/devtools/browser/abc", "0\n/devtools/browser/abc",
          "70000\n/devtools/browser/abc", "-1\n/devtools/browser/abc",
          "92x2\n/devtools/browser/abc", "9222\n/devtools/page/abc", "9222\n/devtools/browser/",
          "9222\n/devtools/browser/a/../../x", "9222\n/devtools/browser/abc?x=1"})
        EXPECT_EQ(DevToolsEndpoint::parse(garbage), std::nullopt) << garbage;
    EXPECT_EQ(DevToolsEndpoint::parse(QByteArray("\xff\xfe\x00\x01", 4)), std::nullopt);
}

TEST(DevToolsEndpoint, ReadsOnlyARegularFileInTheFolder) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    EXPECT_EQ(DevToolsEndpoint::read(folder.path()), std::nullopt);

    const QString file = folder.path() + u"/DevToolsActivePort"_s;
    ASSERT_TRUE(QDir().mkdir(file)); // a folder under the file's name
    EXPECT_EQ(DevToolsEndpoint::read(folder.path()), std::nullopt);
    ASSERT_TRUE(QDir().rmdir(file));

    testing::writeFile(file, "9222\n/devtools/browser/abc");
    EXPECT_EQ(DevToolsEndpoint::read(folder.path()),
              (DevToolsEndpoint{9222, u"/devtools/browser/abc"_s, folder.path()}));
}

TEST(DevToolsTabs, ListsOnlyPageTargetsFromTheListing) {
    // Targets of other types, and entries without a text id, are left out.
    const QByteArray listing = testing::fixtureText(u"devtools-list.json"_s).toUtf8();
    EXPECT_EQ(DevToolsTabs::pages(listing),
              (QList<Page>{{u"P1"_s, u"One"_s, u"https://one.example/"_s},
                           {u"P2"_s, {}, u"about:blank"_s}}));
    EXPECT_EQ(DevToolsTabs::pages("[]"), QList<Page>());
    EXPECT_EQ(DevToolsTabs::pages("{\"id\": \"P1\"}"), std::nullopt);
    EXPECT_EQ(DevToolsTabs::pages("<html>"), std::nullopt);
    EXPECT_EQ(DevToolsTabs::pages(QByteArray()), std::nullopt);
}

Page page(const char* id) {
    return Page{QString::fromUtf8(id), QString::fromUtf8(id).toLower(),
                u"https://"_s + QString::fromUtf8(id).toLower()};
}

QStringList ids(const QList<Listed>& listed) {
    QStringList ids;
    for (const Listed& tab : listed)
        ids.append(u"%1:%2:%3%4"_s.arg(tab.tab.windowOrder)
                       .arg(tab.tab.index)
                       .arg(tab.targetId)
                       .arg(tab.tab.isCurrent ? u"*"_s : QString()));
    return ids;
}

TEST(DevToolsTabs, WindowsRunFrontToBackAndEachShowsItsLastShownTab) {
    // Most recently shown first: C (window 2), A (window 1), B (window 2), D (window 1); E has
    // no known window and is left out.
    const QList<Page> shown{page("C"), page("E"), page("A"), page("B"), page("D")};
    const QHash<QString, qint64> windows{{u"A"_s, 1}, {u"B"_s, 2}, {u"C"_s, 2}, {u"D"_s, 1}};
    DevToolsTabOrder order;
    order.update(shown);
    const QList<Listed> listed = DevToolsTabs::arrange(shown, windows, order);
    // First seen together, tabs rank from the least recently shown: D, B, A, C.
    EXPECT_EQ(ids(listed), (QStringList{u"0:1:B"_s, u"0:2:C*"_s, u"1:1:D"_s, u"1:2:A*"_s}));
    EXPECT_EQ(listed[1].tab, (SafariTab{2, 0, 2, u"c"_s, u"https://c"_s, {}, true}));
    EXPECT_TRUE(DevToolsTabs::arrange({}, {}, order).isEmpty());
}

TEST(DevToolsTabs, TabsKeepTheirPlacesAndNewOnesComeLast) {
    const QHash<QString, qint64> windows{{u"A"_s, 1}, {u"B"_s, 1}, {u"C"_s, 1}, {u"N"_s, 1}};
    DevToolsTabOrder order;
    order.update({page("C"), page("B"), page("A")});
    // A is shown again, N opens, B closes: the order of the rest does not change.
    const QList<Page> later{page("N"), page("A"), page("C")};
    order.update(later);
    EXPECT_EQ(ids(DevToolsTabs::arrange(later, windows, order)),
              (QStringList{u"0:1:A"_s, u"0:2:C"_s, u"0:3:N*"_s}));
    // A forgotten target that comes back counts as new.
    order.update({page("A")});
    order.update({page("C"), page("A")});
    EXPECT_LT(order.rank(u"A"_s), order.rank(u"C"_s));
}

// The browsers of tests/fixtures/linux-browsers.txt.
TEST(LinuxBrowsers, RecognisesBrowsersByWindowClassAndExecutable) {
    for (const QStringList& row : testing::fixtureRows(u"linux-browsers.txt"_s, 3)) {
        const auto entry =
            row[0] == u"window"
                ? LinuxBrowsers::forWindowClass(row[1].section(u'/', 0, 0), row[1].section(u'/', 1))
                : LinuxBrowsers::forExecutable(row[1]);
        EXPECT_EQ(entry ? entry->bundleID : u"none"_s, row[2]) << row[1].toStdString();
    }
}

TEST(LinuxBrowsers, OffersOnlyTheInstalledBrowsersEachWithItsDedicatedFolderToo) {
    const auto chromium = LinuxBrowsers::find(u"org.chromium.Chromium"_s);
    ASSERT_TRUE(chromium);
    EXPECT_EQ(LinuxBrowsers::devToolsFolders(*chromium),
              (QStringList{u"chromium"_s, u"chromium-kivaro"_s}));
    EXPECT_EQ(LinuxBrowsers::find(u"com.apple.Safari"_s), std::nullopt);

    const auto snapshots = PosixPrivateFolder::forSnapshots();
    const auto installed = LinuxBrowsers::browsers(*snapshots, [](const QString& id) {
        return id == u"org.chromium.Chromium" || id == u"com.brave.Browser";
    });
    ASSERT_EQ(installed.size(), 2);
    EXPECT_EQ(installed[0]->name(), u"Brave"_s);
    EXPECT_EQ(std::dynamic_pointer_cast<DevToolsBrowser>(installed[1])->dataFolders(),
              LinuxBrowsers::devToolsFolders(*chromium));
    EXPECT_TRUE(
        LinuxBrowsers::browsers(*snapshots, [](const QString&) { return false; }).isEmpty());
}

} // namespace
} // namespace kivaro
