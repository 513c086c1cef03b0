#include "browsers/ChromiumBrowser.h"

#include "ScriptingFixture.h"

#include <gtest/gtest.h>

namespace kivaro {
namespace {

using namespace Qt::StringLiterals;
using namespace test;

const QString chrome = u"com.google.Chrome"_s;

class ChromiumBrowserTest : public ScriptingTest {
protected:
    void SetUp() override {
        ScriptingTest::SetUp();
        workspace_.run(chrome);
    }

    ChromiumBrowser browser_{chrome,  u"Chrome"_s, u"Google Chrome"_s, u"Google/Chrome"_s,
                             runner_, workspace_,  snapshots_};
};

// Each of the family drives its own application; opting in offers only what is installed now,
// in the family's order.
TEST_F(ChromiumBrowserTest, TheFamilyDrivesItsOwnApplicationsAndListsTheInstalledInOrder) {
    const QList<ChromiumBrowser> all = ChromiumBrowser::all(runner_, workspace_, snapshots_);
    ASSERT_GE(all.size(), 2);
    workspace_.run(u"com.brave.Browser"_s);
    all[1].urls(3);
    EXPECT_EQ(runner_.sources(),
              QStringList{u"tell application id \"com.brave.Browser\" to return URL of every tab "
                          u"of window id 3"_s});
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
    EXPECT_EQ(runner_.sources().join(u"\n----\n"_s) + u'\n',
              testing::fixtureText(u"scripts/chromium-operations.applescript"_s));
}

} // namespace
} // namespace kivaro
