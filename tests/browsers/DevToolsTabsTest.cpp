#include "browsers/DevToolsTabs.h"

#include "browsers/DevToolsBrowser.h"
#include "browsers/DevToolsEndpoint.h"
#include "browsers/LinuxBrowsers.h"
#include "platform/linux/PosixPrivateFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kivaro {
namespace {

using DevToolsTabs::Listed;
using DevToolsTabs::Page;

TEST(DevToolsEndpoint, ReadsThePortAndTheBrowserPathAndNothingElse) {
    const auto endpoint =
        DevToolsEndpoint::parse("45321\n/devtools/browser/0f1e2d3c-aaaa-bbbb-cccc-0123456789ab");
    ASSERT_TRUE(endpoint);
    EXPECT_EQ(endpoint->port, 45321);
    EXPECT_EQ(endpoint->webSocketUrl().toString(),
              QStringLiteral(
                  "ws://127.0.0.1:45321/devtools/browser/0f1e2d3c-aaaa-bbbb-cccc-0123456789ab"));
    EXPECT_EQ(endpoint->httpUrl(QStringLiteral("/json/list")).toString(),
              QStringLiteral("http://127.0.0.1:45321/json/list"));
    // A trailing line feed, or Windows line ends, change nothing.
    EXPECT_TRUE(DevToolsEndpoint::parse("9222\r\n/devtools/browser/abc\r\n"));

    for (const QByteArray& garbage :
         {QByteArray(), QByteArray("9222"), QByteArray("\n/devtools/browser/abc"),
          QByteArray("0\n/devtools/browser/abc"), QByteArray("70000\n/devtools/browser/abc"),
          QByteArray("-1\n/devtools/browser/abc"), QByteArray("92x2\n/devtools/browser/abc"),
          QByteArray("9222\n/devtools/page/abc"), QByteArray("9222\n/devtools/browser/"),
          QByteArray("9222\n/devtools/browser/a/../../x"),
          QByteArray("9222\n/devtools/browser/abc?x=1"), QByteArray("\xff\xfe\x00\x01", 4)})
        EXPECT_EQ(DevToolsEndpoint::parse(garbage), std::nullopt) << garbage.toStdString();
}

TEST(DevToolsEndpoint, ReadsOnlyARegularFileInTheFolder) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    EXPECT_EQ(DevToolsEndpoint::read(folder.path()), std::nullopt);

    const QString file = folder.path() + QStringLiteral("/DevToolsActivePort");
    ASSERT_TRUE(QDir().mkdir(file)); // a folder under the file's name
    EXPECT_EQ(DevToolsEndpoint::read(folder.path()), std::nullopt);
    ASSERT_TRUE(QDir().rmdir(file));

    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::WriteOnly));
    written.write("9222\n/devtools/browser/abc");
    written.close();
    EXPECT_EQ(DevToolsEndpoint::read(folder.path()),
              (DevToolsEndpoint{9222, QStringLiteral("/devtools/browser/abc"), folder.path()}));
}

TEST(DevToolsTabs, ListsOnlyPageTargetsFromTheListing) {
    const QByteArray listing = R"([
        {"id": "P1", "type": "page", "title": "One", "url": "https://one.example/"},
        {"id": "UI", "type": "browser_ui", "title": "Omnibox Popup", "url": "chrome://omnibox-popup.top-chrome/"},
        {"id": "W", "type": "service_worker", "url": "https://one.example/sw.js"},
        {"id": "P2", "type": "page", "url": "about:blank"},
        {"type": "page", "title": "no id"},
        "not an object",
        {"id": 7, "type": "page"}
    ])";
    EXPECT_EQ(DevToolsTabs::pages(listing),
              (QList<Page>{{QStringLiteral("P1"), QStringLiteral("One"),
                            QStringLiteral("https://one.example/")},
                           {QStringLiteral("P2"), {}, QStringLiteral("about:blank")}}));
    EXPECT_EQ(DevToolsTabs::pages("[]"), QList<Page>());
    EXPECT_EQ(DevToolsTabs::pages("{\"id\": \"P1\"}"), std::nullopt);
    EXPECT_EQ(DevToolsTabs::pages("<html>"), std::nullopt);
    EXPECT_EQ(DevToolsTabs::pages(QByteArray()), std::nullopt);
}

Page page(const char* id) {
    return Page{QString::fromUtf8(id), QString::fromUtf8(id).toLower(),
                QStringLiteral("https://") + QString::fromUtf8(id).toLower()};
}

QStringList ids(const QList<Listed>& listed) {
    QStringList ids;
    for (const Listed& tab : listed)
        ids.append(QStringLiteral("%1:%2:%3%4")
                       .arg(tab.tab.windowOrder)
                       .arg(tab.tab.index)
                       .arg(tab.targetId)
                       .arg(tab.tab.isCurrent ? QStringLiteral("*") : QString()));
    return ids;
}

TEST(DevToolsTabs, WindowsRunFrontToBackAndEachShowsItsLastShownTab) {
    // Most recently shown first: C (window 2), A (window 1), B (window 2), D (window 1).
    const QList<Page> shown{page("C"), page("A"), page("B"), page("D")};
    const QHash<QString, qint64> windows{{QStringLiteral("A"), 1},
                                         {QStringLiteral("B"), 2},
                                         {QStringLiteral("C"), 2},
                                         {QStringLiteral("D"), 1}};
    DevToolsTabOrder order;
    order.update(shown);
    const QList<Listed> listed = DevToolsTabs::arrange(shown, windows, order);
    // First seen together, tabs rank from the least recently shown: D, B, A, C.
    EXPECT_EQ(ids(listed), (QStringList{QStringLiteral("0:1:B"), QStringLiteral("0:2:C*"),
                                        QStringLiteral("1:1:D"), QStringLiteral("1:2:A*")}));
    EXPECT_EQ(listed[1].tab,
              (SafariTab{2, 0, 2, QStringLiteral("c"), QStringLiteral("https://c"), {}, true}));
}

TEST(DevToolsTabs, TabsKeepTheirPlacesAndNewOnesComeLast) {
    const QHash<QString, qint64> windows{{QStringLiteral("A"), 1},
                                         {QStringLiteral("B"), 1},
                                         {QStringLiteral("C"), 1},
                                         {QStringLiteral("N"), 1}};
    DevToolsTabOrder order;
    order.update({page("C"), page("B"), page("A")});
    // A is shown again, N opens, B closes: the order of the rest does not change.
    const QList<Page> later{page("N"), page("A"), page("C")};
    order.update(later);
    EXPECT_EQ(
        ids(DevToolsTabs::arrange(later, windows, order)),
        (QStringList{QStringLiteral("0:1:A"), QStringLiteral("0:2:C"), QStringLiteral("0:3:N*")}));
    // A forgotten target that comes back counts as new.
    order.update({page("A")});
    order.update({page("C"), page("A")});
    EXPECT_LT(order.rank(QStringLiteral("A")), order.rank(QStringLiteral("C")));
}

TEST(DevToolsTabs, PagesWithoutAKnownWindowAreLeftOut) {
    const QList<Page> shown{page("A"), page("B")};
    DevToolsTabOrder order;
    order.update(shown);
    EXPECT_EQ(ids(DevToolsTabs::arrange(shown, {{QStringLiteral("B"), 5}}, order)),
              QStringList{QStringLiteral("0:1:B*")});
    EXPECT_TRUE(DevToolsTabs::arrange({}, {}, order).isEmpty());
}

TEST(LinuxBrowsers, RecognisesBrowsersByWindowClassAndExecutable) {
    const auto bundleOf = [](const std::optional<LinuxBrowsers::Entry>& entry) {
        return entry ? entry->bundleID : QStringLiteral("none");
    };
    EXPECT_EQ(bundleOf(LinuxBrowsers::forWindowClass(QStringLiteral("chromium"),
                                                     QStringLiteral("Chromium"))),
              QStringLiteral("org.chromium.Chromium"));
    EXPECT_EQ(bundleOf(LinuxBrowsers::forWindowClass(QStringLiteral("chromium (Work)"),
                                                     QStringLiteral("Chromium"))),
              QStringLiteral("org.chromium.Chromium"));
    EXPECT_EQ(bundleOf(LinuxBrowsers::forWindowClass(QStringLiteral("brave-browser (Default)"),
                                                     QString())),
              QStringLiteral("com.brave.Browser"));
    EXPECT_EQ(bundleOf(LinuxBrowsers::forWindowClass(QStringLiteral("google-chrome"),
                                                     QStringLiteral("Google-chrome"))),
              QStringLiteral("com.google.Chrome"));
    EXPECT_EQ(
        bundleOf(LinuxBrowsers::forWindowClass(QStringLiteral("xterm"), QStringLiteral("XTerm"))),
        QStringLiteral("none"));
    for (const char16_t* firefox : {u"firefox", u"firefox-esr"})
        EXPECT_EQ(bundleOf(LinuxBrowsers::forWindowClass(QStringLiteral("Navigator"),
                                                         QString::fromUtf16(firefox))),
                  QStringLiteral("org.mozilla.firefox"));
    EXPECT_EQ(bundleOf(LinuxBrowsers::forExecutable(QStringLiteral("/opt/google/chrome/chrome"))),
              QStringLiteral("com.google.Chrome"));
    EXPECT_EQ(
        bundleOf(LinuxBrowsers::forExecutable(QStringLiteral("/opt/microsoft/msedge/msedge"))),
        QStringLiteral("com.microsoft.edgemac"));
    EXPECT_EQ(bundleOf(LinuxBrowsers::forExecutable(QStringLiteral("/usr/bin/chromium-x"))),
              QStringLiteral("none"));
}

TEST(LinuxBrowsers, OffersOnlyTheInstalledBrowsersEachWithItsDedicatedFolderToo) {
    const auto chromium = LinuxBrowsers::find(QStringLiteral("org.chromium.Chromium"));
    ASSERT_TRUE(chromium);
    EXPECT_EQ(LinuxBrowsers::devToolsFolders(*chromium),
              (QStringList{QStringLiteral("chromium"), QStringLiteral("chromium-kivaro")}));
    EXPECT_EQ(LinuxBrowsers::find(QStringLiteral("com.apple.Safari")), std::nullopt);

    const auto snapshots = PosixPrivateFolder::forSnapshots();
    const auto installed = LinuxBrowsers::browsers(*snapshots, [](const QString& id) {
        return id == u"org.chromium.Chromium" || id == u"com.brave.Browser";
    });
    ASSERT_EQ(installed.size(), 2);
    EXPECT_EQ(installed[0]->name(), QStringLiteral("Brave"));
    EXPECT_EQ(std::dynamic_pointer_cast<DevToolsBrowser>(installed[1])->dataFolders(),
              LinuxBrowsers::devToolsFolders(*chromium));
    EXPECT_TRUE(
        LinuxBrowsers::browsers(*snapshots, [](const QString&) { return false; }).isEmpty());
}

} // namespace
} // namespace kivaro
