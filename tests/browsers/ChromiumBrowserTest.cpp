#include "browsers/ChromiumBrowser.h"

#include "ScriptingFixture.h"
#include "history/BrowserFolders.h"
#include "support/Files.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kivaro {

void PrintTo(const SafariTab& tab, std::ostream* out);

namespace {

using namespace Qt::StringLiterals;
using namespace test;
using ::testing::ElementsAre;
using D = Descriptor;

const QString chrome = u"com.google.Chrome"_s;
const QString tell = u"tell application id \"com.google.Chrome\""_s;
const QString currentTabScript = tell + u" to return {id of window 1, active tab index of window "
                                        u"1, URL of active tab of window 1}"_s;

class ChromiumBrowserTest : public ScriptingTest {
protected:
    void SetUp() override {
        ScriptingTest::SetUp();
        workspace_.run(chrome);
    }

    ChromiumBrowser browser_{chrome,  u"Chrome"_s, u"Google Chrome"_s, u"Google/Chrome"_s,
                             runner_, workspace_,  snapshots_};
};

TEST_F(ChromiumBrowserTest, EachOfTheFamilyDrivesItsOwnApplicationFromThisPlatformsFolder) {
    const QList<ChromiumBrowser> all = ChromiumBrowser::all(runner_, workspace_, snapshots_);
    const QList<BrowserFolders::ChromiumFolder>& folders = BrowserFolders::chromiumFamily();
    ASSERT_EQ(all.size(), folders.size());
    for (qsizetype i = 0; i < all.size(); ++i)
        EXPECT_EQ(all[i].dataFolder(), folders[i].dataFolder);
    workspace_.run(u"com.brave.Browser"_s);
    all[1].urls(3);
    EXPECT_EQ(runner_.sources(),
              QStringList{u"tell application id \"com.brave.Browser\" to return URL of every tab "
                          u"of window id 3"_s});
}

// Opting in offers only what is installed now, in the family's order.
TEST_F(ChromiumBrowserTest, InstalledListsTheFamilyThatIsInstalledNowInOrder) {
    workspace_.install(u"org.chromium.Chromium"_s);
    workspace_.install(u"com.brave.Browser"_s);
    QStringList ids;
    for (const auto& browser : ChromiumBrowser::installed(runner_, workspace_, snapshots_))
        ids.append(browser->bundleID());
    EXPECT_EQ(ids, (QStringList{chrome, u"com.brave.Browser"_s, u"org.chromium.Chromium"_s}));
}

TEST_F(ChromiumBrowserTest, EveryOperationSendsItsScriptTextExactly) {
    browser_.tabs();
    browser_.switchTo(5000000000LL, 4);
    browser_.open(u"https://a.example/\"x\""_s, true);
    browser_.open(u"https://a.example/"_s, false);
    browser_.close(5000000000LL, 2);
    browser_.currentPage();
    browser_.currentTab();
    browser_.urls(-7);
    // The expected texts, one script after another with "----" between them.
    EXPECT_EQ(runner_.sources().join(u"\n----\n"_s) + u'\n',
              testing::fixtureText(u"scripts/chromium-operations.applescript"_s));
}

TEST_F(ChromiumBrowserTest, WithoutTheBrowserRunningOnlyOpenIsSent) {
    workspace_.quit(chrome);
    runner_.answer(
        chromeTabsScript,
        list({list({integer(1), integer(1), texts({u"t"_s}), texts({u"https://a.example/"_s})})}));
    EXPECT_TRUE(browser_.tabs().isEmpty());
    browser_.switchTo(1, 1);
    browser_.close(1, 1);
    EXPECT_EQ(browser_.currentPage(), std::nullopt);
    EXPECT_EQ(browser_.currentTab(), std::nullopt);
    EXPECT_TRUE(browser_.urls(1).isEmpty());
    EXPECT_TRUE(runner_.sources().isEmpty());
    browser_.open(u"https://a.example/"_s, true);
    EXPECT_EQ(runner_.sources().size(), 1);
}

TEST_F(ChromiumBrowserTest, TabsFollowTheAddressesWithTitlesWhereThereAreAny) {
    runner_.answer(
        chromeTabsScript,
        list({
            // An id beyond 32 bits given as text, the active index as text, one title short.
            list({text(u"5000000000"_s), text(u"2"_s), texts({u"One"_s}),
                  texts({u"https://one.example/"_s, u"https://two.example/"_s})}),
            D::missing(),
            list({integer(8), integer(1), D::missing(), texts({u"https://x.example/"_s})}),
            list({integer(9), integer(1), texts({u"t"_s}), D::missing()}),
            // Titles given as a text, ids missing or unreadable.
            list({D::missing(), text(u"junk"_s), text(u"not a list"_s),
                  list({text(u"https://three.example/"_s), D::missing()})}),
            list({text(u"+12"_s), integer(1), texts({}), texts({})}),
        }));
    const QList<SafariTab> tabs = browser_.tabs();
    EXPECT_THAT(
        tabs,
        ElementsAre(SafariTab{5000000000LL, 0, 1, u"One"_s, u"https://one.example/"_s, {}, false},
                    SafariTab{5000000000LL, 0, 2, {}, u"https://two.example/"_s, {}, true},
                    SafariTab{0, 4, 1, {}, u"https://three.example/"_s, {}, false},
                    SafariTab{0, 4, 2, {}, {}, {}, false}));
    // The wide id goes back into the scripts unchanged.
    runner_.clearSources();
    browser_.switchTo(tabs[1].windowID, tabs[1].index);
    browser_.close(tabs[1].windowID, tabs[1].index);
    EXPECT_TRUE(
        runner_.sources()[0].contains(u"window id 5000000000\n  set active tab index of w to 2"));
    EXPECT_TRUE(runner_.sources()[1].endsWith(u" to close tab 2 of window id 5000000000"));
}

TEST_F(ChromiumBrowserTest, CurrentTabReadsWideIds) {
    runner_.answerInTurn(
        currentTabScript,
        {list({text(u"-5000000000"_s), text(u"3"_s), text(u"https://a.example/"_s)}),
         list({integer(4), D::missing(), text(u"https://b.example/"_s)}),
         list({integer(4), integer(1), D::missing()})});
    EXPECT_EQ(browser_.currentTab(), (TabRef{-5000000000LL, 3, u"https://a.example/"_s}));
    EXPECT_EQ(browser_.currentTab(), (TabRef{4, 0, u"https://b.example/"_s}));
    EXPECT_EQ(browser_.currentTab(), std::nullopt);
}

} // namespace
} // namespace kivaro
