#include "ScriptingFixture.h"
#include "browsers/ChromiumBrowser.h"
#include "browsers/Safari.h"
#include "browsers/SafariBrowser.h"
#include "support/FixtureRows.h"

#include <gtest/gtest.h>
#include <limits>

namespace kivaro {
namespace {

using namespace Qt::StringLiterals;
using namespace test;

const QString chrome = u"com.google.Chrome"_s;

QString urlsScript(const QString& windowID) {
    return u"tell application \"Safari\" to return URL of every tab of window id "_s + windowID;
}

QString closeScript(const QString& index, const QString& windowID) {
    return u"tell application \"Safari\" to close tab "_s + index + u" of window id "_s + windowID;
}

class SafariTest : public ScriptingTest {
protected:
    void SetUp() override {
        ScriptingTest::SetUp();
        workspace_.run(safari);
    }

    SafariBrowser browser_{runner_, workspace_, menus_, snapshots_,
                           SafariPlaces{.pause = [](std::chrono::milliseconds) {}}};
};

TEST_F(SafariTest, EveryOperationSendsItsScriptTextExactly) {
    browser_.tabs();
    browser_.switchTo(7, 3);
    browser_.open(u"https://example.com/a?b=1"_s, true);
    browser_.open(u"https://example.com/a?b=1"_s, false);
    browser_.close(7, 2);
    browser_.urls(7);
    browser_.frontURLs();
    browser_.currentPage();
    browser_.currentTab();
    // Window ids and indices are written in full decimal.
    browser_.switchTo(5000000000LL, 12);
    browser_.close(std::numeric_limits<qint64>::min(), -1);
    browser_.urls(5000000000LL);
    EXPECT_EQ(runner_.sources().join(u"\n----\n"_s) + u'\n',
              testing::fixtureText(u"scripts/safari-operations.applescript"_s));
}

// Closing by address: tests/fixtures/scripts/safari-close-by-address.txt.
TEST_F(SafariTest, ClosesTheFirstTabWithTheSameBareAddressAndNothingElse) {
    for (const QStringList& row :
         testing::fixtureRows(u"scripts/safari-close-by-address.txt"_s, 4)) {
        const QString &closable = row[1], &wanted = row[2], &closedIndex = row[3];
        FakeScriptRunner runner;
        const SafariBrowser browser(runner, workspace_, menus_, snapshots_, {});
        runner.answer(urlsScript(u"9"_s), answer(row[0].toUtf8()));
        if (!closable.isEmpty())
            runner.answer(closeScript(closable, u"9"_s), Descriptor::missing());
        EXPECT_EQ(browser.close(9, wanted), closedIndex == closable && !closable.isEmpty())
            << wanted.toStdString();
        QStringList sent = runner.sources();
        sent.removeIf([](const QString& source) { return !source.contains(u"to close tab"); });
        EXPECT_EQ(sent, closedIndex.isEmpty() ? QStringList()
                                              : QStringList{closeScript(closedIndex, u"9"_s)})
            << wanted.toStdString();
    }
    // The address list fails.
    EXPECT_FALSE(browser_.close(10, u"https://b.example/"_s));
}

TEST_F(SafariTest, ARunnerThatFailsEveryCallClosesAndRevealsNothing) {
    using F = FakeMenuBarAccess;
    menus_.setMenuBar(safari, F::bar({F::menu(u"Window"_s, {F::item(u"Go To Next Tab Group"_s)})}));
    EXPECT_TRUE(browser_.frontURLs().isEmpty());
    EXPECT_FALSE(browser_.close(1, u"https://a.example/"_s));
    EXPECT_FALSE(browser_.reveal(u"https://a.example/"_s));
}

// The same readings through either kind of scripted browser, named by its fixture's family.
class ScriptedBrowserTest : public ScriptingTest,
                            public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override {
        ScriptingTest::SetUp();
        if (safari_) {
            workspace_.run(safari);
            browser_ = std::make_unique<SafariBrowser>(runner_, workspace_, menus_, snapshots_,
                                                       SafariPlaces{.pause = [](auto) {}});
        } else {
            workspace_.run(chrome);
            browser_ = std::make_unique<ChromiumBrowser>(chrome, u"Chrome"_s, u"Google Chrome"_s,
                                                         u"Google/Chrome"_s, runner_, workspace_,
                                                         snapshots_);
        }
    }

    QString script(int safariIndex, int chromiumIndex) const {
        return operationScript(GetParam(), safari_ ? safariIndex : chromiumIndex);
    }

    const bool safari_ = GetParam() == std::string_view("safari");
    std::unique_ptr<Browser> browser_;
};

// The answers and what is read from them: tests/fixtures/scripts/<family>-tabs.answers.
TEST_P(ScriptedBrowserTest, TabsReadTheWindowsOfTheRightShape) {
    const QList<QStringList> blocks =
        answerBlocks(QString::fromUtf8(GetParam()) + u"-tabs.answers"_s);
    ASSERT_GE(blocks.size(), 5);
    for (const QStringList& block : blocks) {
        runner_.answer(script(0, 0), answer(block[0].toUtf8()));
        EXPECT_EQ(tabLines(browser_->tabs()), block.mid(1)) << block[0].toStdString();
    }
}

// Nothing is read from a browser that is not running, and it is not launched. Safari is sent
// its commands without looking (it answers or the script fails); the others are sent only opens.
TEST_P(ScriptedBrowserTest, WithoutTheBrowserRunningNothingIsRead) {
    workspace_.quit(browser_->bundleID());
    const QList<QStringList> tabs =
        answerBlocks(QString::fromUtf8(GetParam()) + u"-tabs.answers"_s);
    runner_.answer(script(0, 0), answer(tabs.value(0).value(0).toUtf8()));
    EXPECT_TRUE(browser_->tabs().isEmpty());
    EXPECT_EQ(browser_->currentPage(), std::nullopt);
    EXPECT_EQ(browser_->currentTab(), std::nullopt);
    EXPECT_TRUE(runner_.sources().isEmpty());
    browser_->switchTo(1, 1);
    browser_->close(1, 1);
    browser_->urls(1);
    browser_->open(u"https://a.example/"_s, true);
    EXPECT_EQ(runner_.sources().size(), safari_ ? 4 : 1);
    EXPECT_TRUE(workspace_.launched().isEmpty());
}

TEST_P(ScriptedBrowserTest, FailedScriptsGiveNothing) {
    EXPECT_TRUE(browser_->tabs().isEmpty());
    EXPECT_EQ(browser_->currentPage(), std::nullopt);
    EXPECT_EQ(browser_->currentTab(), std::nullopt);
    EXPECT_TRUE(browser_->urls(1).isEmpty());
    browser_->switchTo(1, 1);
    browser_->open(u"https://a.example/"_s, true);
    browser_->close(1, 1);
    EXPECT_EQ(runner_.sources().size(), 7);
}

// The answers and what is read from them: tests/fixtures/scripts/<family>-current.answers.
TEST_P(ScriptedBrowserTest, CurrentPageAndTabReadTheirAnswers) {
    const QList<QStringList> blocks =
        answerBlocks(QString::fromUtf8(GetParam()) + u"-current.answers"_s);
    ASSERT_GE(blocks.size(), 10);
    for (const QStringList& block : blocks) {
        const bool page = block[0].startsWith(u"page ");
        runner_.answer(page ? script(7, 5) : script(8, 6),
                       answer(block[0].section(u' ', 1).toUtf8()));
        QStringList read;
        if (const auto current = page ? browser_->currentPage() : std::nullopt)
            read.append(current->first + u'|' + current->second);
        if (const auto tab = page ? std::nullopt : browser_->currentTab())
            read.append(u"%1|%2|%3"_s.arg(tab->windowID).arg(tab->index).arg(tab->url));
        EXPECT_EQ(read, block.mid(1)) << block[0].toStdString();
    }
}

TEST_P(ScriptedBrowserTest, AddressListsReadEveryItemAsText) {
    runner_.answer(script(5, 7).section(u" window id "_s, 0, 0) + u" window id 3"_s,
                   answer(R"(["https://a.example/", null, 4, []])"));
    EXPECT_EQ(browser_->urls(3), (QStringList{u"https://a.example/"_s, {}, u"4"_s, {}}));
    EXPECT_EQ(browser_->urls(4), QStringList());
}

INSTANTIATE_TEST_SUITE_P(Browsers, ScriptedBrowserTest, ::testing::Values("safari", "chromium"),
                         [](const auto& info) { return std::string(info.param); });

using ChromiumBrowserTest = ScriptingTest;

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
    for (const QString& id : {u"org.chromium.Chromium"_s, u"com.brave.Browser"_s, chrome})
        workspace_.install(id);
    QStringList ids;
    for (const auto& browser : ChromiumBrowser::installed(runner_, workspace_, snapshots_))
        ids.append(browser->bundleID());
    EXPECT_EQ(ids, (QStringList{chrome, u"com.brave.Browser"_s, u"org.chromium.Chromium"_s}));
}

TEST_F(ChromiumBrowserTest, EveryOperationSendsItsScriptTextExactly) {
    workspace_.run(chrome);
    const ChromiumBrowser browser_(chrome, u"Chrome"_s, u"Google Chrome"_s, u"Google/Chrome"_s,
                                   runner_, workspace_, snapshots_);
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
