#include "browsers/Safari.h"

#include "ScriptingFixture.h"
#include "browsers/ChromiumBrowser.h"
#include "browsers/SafariBrowser.h"
#include "support/Files.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <limits>

namespace kivaro {

void PrintTo(const SafariTab& tab, std::ostream* out) {
    *out << "{" << tab.windowID << ", " << tab.windowOrder << ", " << tab.index << ", \""
         << tab.title.toStdString() << "\", \"" << tab.url.toStdString() << "\", \""
         << tab.group.toStdString() << "\", " << tab.isCurrent << "}";
}

namespace {

using namespace Qt::StringLiterals;
using namespace test;
using ::testing::ElementsAre;
using D = Descriptor;

const QString safari = u"com.apple.Safari"_s;

// The script texts, written out whole.
const QString tabsScript =
    u"tell application \"Safari\"\n  set out to {}\n  repeat with w in windows\n    try\n      set "
    u"end of out to {id of w, index of current tab of w, name of w, name of every tab of w, URL "
    u"of every tab of w}\n    end try\n  end repeat\n  return out\nend tell"_s;
const QString currentPageScript = u"tell application \"Safari\" to return {name of current tab of "
                                  u"window 1, URL of current tab of window 1}"_s;
const QString currentTabScript = u"tell application \"Safari\" to return {id of window 1, index "
                                 u"of current tab of window 1, URL of current tab of window 1}"_s;

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
    // The expected texts, one script after another with "----" between them.
    EXPECT_EQ(runner_.sources().join(u"\n----\n"_s) + u'\n',
              testing::fixtureText(u"scripts/safari-operations.applescript"_s));
    EXPECT_EQ(browser_.bundleID(), safari);
    EXPECT_EQ(browser_.name(), u"Safari"_s);
}

TEST_F(SafariTest, TabsReadEveryWindowWithItsGroupAndCurrentTab) {
    runner_.answer(tabsScript,
                   list({
                       list({integer(11), integer(2), text(u"Work \u2014 Inbox"_s),
                             texts({u"Inbox"_s, u"Docs"_s}),
                             texts({u"https://mail.example/"_s, u"https://docs.example/"_s})}),
                       list({integer(12), integer(1), text(u"Plain title"_s), texts({u"Home"_s}),
                             texts({u"https://home.example/"_s})}),
                       list({integer(13), integer(1), text(u"A \u2014 B \u2014 C"_s),
                             texts({u"T"_s}), texts({u"u"_s})}),
                   }));
    EXPECT_THAT(
        browser_.tabs(),
        ElementsAre(SafariTab{11, 0, 1, u"Inbox"_s, u"https://mail.example/"_s, u"Work"_s, false},
                    SafariTab{11, 0, 2, u"Docs"_s, u"https://docs.example/"_s, u"Work"_s, true},
                    SafariTab{12, 1, 1, u"Home"_s, u"https://home.example/"_s, {}, true},
                    SafariTab{13, 2, 1, u"T"_s, u"u"_s, u"A"_s, true}));
}

TEST_F(SafariTest, GroupIsTheTextBeforeTheFirstSeparatorOnly) {
    EXPECT_EQ(Safari::groupOf(u"Trip \u2014 Flights"_s), u"Trip"_s);
    EXPECT_EQ(Safari::groupOf(u"Trip \u2014 a \u2014 b"_s), u"Trip"_s);
    EXPECT_EQ(Safari::groupOf(u"Trip - Flights"_s), QString());
    EXPECT_EQ(Safari::groupOf(u"Trip\u2014Flights"_s), QString());
    EXPECT_EQ(Safari::groupOf(u" \u2014 untitled group"_s), QString());
    EXPECT_EQ(Safari::groupOf(QString()), QString());
}

TEST_F(SafariTest, WindowsOfTheWrongShapeAreSkippedAndTheOthersKept) {
    const D good = list({integer(5), integer(1), text(u"n"_s), texts({u"Kept"_s}),
                         texts({u"https://kept.example/"_s})});
    runner_.answer(
        tabsScript,
        list({
            D::missing(),                                                       // no window
            text(u"not a window"_s),                                            // text
            list({integer(1), integer(1), text(u"n"_s), texts({}), texts({})}), // no tabs
            list({integer(2), integer(1), text(u"n"_s), D::missing(), texts({u"u"_s})}),
            list({integer(3), integer(1), text(u"n"_s), texts({u"t"_s})}), // no addresses
            list({integer(4), integer(1), text(u"n"_s), text(u"title"_s), texts({u"u"_s})}),
            good,
        }));
    // The window keeps its position in the answer even when earlier ones were dropped.
    EXPECT_THAT(browser_.tabs(),
                ElementsAre(SafariTab{5, 6, 1, u"Kept"_s, u"https://kept.example/"_s, {}, true}));
}

TEST_F(SafariTest, ItemsOfTheWrongShapeReadAsEmptyOrZero) {
    runner_.answer(
        tabsScript,
        list({
            // Fewer addresses than titles, ids and names that are not what they should be.
            list({text(u"77"_s), list({integer(1)}), list({text(u"G \u2014 x"_s)}),
                  list({text(u"One"_s), integer(2), D::missing(), list({})}),
                  list({text(u"https://one.example/"_s)})}),
            // Addresses given as a text instead of a list.
            list({text(u"5000000000"_s), integer(-1), D::missing(), texts({u"T"_s}),
                  text(u"https://x.example/"_s)}),
        }));
    EXPECT_THAT(browser_.tabs(),
                ElementsAre(SafariTab{77, 0, 1, u"One"_s, u"https://one.example/"_s, {}, false},
                            SafariTab{77, 0, 2, u"2"_s, {}, {}, false},
                            SafariTab{77, 0, 3, {}, {}, {}, false},
                            SafariTab{77, 0, 4, {}, {}, {}, false},
                            SafariTab{0, 1, 1, u"T"_s, {}, {}, false}));
}

TEST_F(SafariTest, WithoutSafariRunningNothingIsReadButCommandsAreSent) {
    workspace_.quit(safari);
    runner_.answer(currentPageScript, texts({u"t"_s, u"https://a.example/"_s}));
    EXPECT_TRUE(browser_.tabs().isEmpty());
    EXPECT_EQ(browser_.currentPage(), std::nullopt);
    EXPECT_EQ(browser_.currentTab(), std::nullopt);
    EXPECT_FALSE(browser_.isRunning());
    EXPECT_TRUE(runner_.sources().isEmpty());
    // These send their scripts without looking; Safari answers or the script fails.
    browser_.switchTo(1, 1);
    browser_.open(u"https://a.example/"_s, true);
    browser_.close(1, 1);
    browser_.urls(1);
    browser_.frontURLs();
    EXPECT_EQ(runner_.sources().size(), 5);
    EXPECT_TRUE(workspace_.launched().isEmpty());
}

TEST_F(SafariTest, CurrentTabReadsWindowIndexAndAddress) {
    runner_.answerInTurn(currentTabScript,
                         {list({integer(42), integer(3), text(u"https://a.example/"_s)}),
                          list({D::missing(), D::missing(), text(u"https://b.example/"_s)}),
                          list({integer(42), integer(3), D::missing()}),
                          list({integer(42), integer(3)}), std::nullopt});
    EXPECT_EQ(browser_.currentTab(), (TabRef{42, 3, u"https://a.example/"_s}));
    EXPECT_EQ(browser_.currentTab(), (TabRef{0, 0, u"https://b.example/"_s}));
    EXPECT_EQ(browser_.currentTab(), std::nullopt);
    EXPECT_EQ(browser_.currentTab(), std::nullopt);
    EXPECT_EQ(browser_.currentTab(), std::nullopt);
}

// Closing by address in window 9: the first tab with the same bare address goes, never the last
// tab of a window, and nothing when no address matches or a script fails.
TEST_F(SafariTest, ClosesTheFirstTabWithTheSameBareAddressAndNothingElse) {
    const struct {
        D urls;           // the answer listing the window's addresses
        QString closable; // the index whose close script succeeds, if any
        QString wanted;
        QString closedIndex; // the index a close script was sent for, if any
        bool closed;
    } cases[] = {
        {texts({u"https://other.example/"_s, u"http://www.Example.com/page/"_s,
                u"https://example.com/page"_s}),
         u"2"_s, u"https://example.com/page"_s, u"2"_s, true},
        {texts({u"https://example.com/"_s}), u"1"_s, u"https://example.com/"_s, QString(), false},
        {text(u"https://example.com/"_s), u"1"_s, u"https://example.com/"_s, QString(), false},
        {texts({u"https://a.example/"_s, u"https://b.example/"_s}), QString(),
         u"https://c.example/"_s, QString(), false},
        // The close script itself fails: not reported as closed.
        {texts({u"https://a.example/"_s, u"https://b.example/"_s}), QString(),
         u"https://b.example/"_s, u"2"_s, false},
        // Tabs without an address read as empty; an empty wanted address must not match them.
        {list({D::missing(), D::missing()}), u"1"_s, QString(), QString(), false},
        {list({D::missing(), D::missing()}), u"1"_s, u"https://"_s, QString(), false},
    };
    for (const auto& [urls, closable, wanted, closedIndex, closed] : cases) {
        FakeScriptRunner runner;
        const SafariBrowser browser(runner, workspace_, menus_, snapshots_, {});
        runner.answer(urlsScript(u"9"_s), urls);
        if (!closable.isEmpty())
            runner.answer(closeScript(closable, u"9"_s), D::missing());
        EXPECT_EQ(browser.close(9, wanted), closed) << wanted.toStdString();
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
    menus_.setMenuBar(safari,
                      FakeMenuBarAccess::bar({FakeMenuBarAccess::menu(
                          u"Window"_s, {FakeMenuBarAccess::item(u"Go To Next Tab Group"_s)})}));
    EXPECT_TRUE(browser_.frontURLs().isEmpty());
    EXPECT_FALSE(browser_.close(1, u"https://a.example/"_s));
    EXPECT_FALSE(browser_.reveal(u"https://a.example/"_s));
}

// The same readings through either kind of scripted browser.
struct Scripted {
    const char* name;
    QString bundleID;
    QString tell; // how a one-line script addresses the browser
    QString tabsScript;
    QString currentPageScript;
};

void PrintTo(const Scripted& scripted, std::ostream* out) {
    *out << scripted.name;
}

class ScriptedBrowserTest : public ScriptingTest, public ::testing::WithParamInterface<Scripted> {
protected:
    void SetUp() override {
        ScriptingTest::SetUp();
        workspace_.run(GetParam().bundleID);
        if (GetParam().bundleID == safari)
            browser_ = std::make_unique<SafariBrowser>(
                runner_, workspace_, menus_, snapshots_,
                SafariPlaces{.pause = [](std::chrono::milliseconds) {}});
        else
            browser_ = std::make_unique<ChromiumBrowser>(GetParam().bundleID, u"Chrome"_s,
                                                         u"Google Chrome"_s, u"Google/Chrome"_s,
                                                         runner_, workspace_, snapshots_);
    }

    std::unique_ptr<Browser> browser_;
};

TEST_P(ScriptedBrowserTest, AnswersOfTheWrongShapeOrNoneGiveNothing) {
    for (const std::optional<D>& answer :
         {std::optional<D>(), std::optional(D::missing()), std::optional(text(u"x"_s)),
          std::optional(integer(3)), std::optional(list({}))}) {
        runner_.answer(GetParam().tabsScript, answer);
        EXPECT_TRUE(browser_->tabs().isEmpty());
    }
    EXPECT_EQ(browser_->currentPage(), std::nullopt);
    EXPECT_EQ(browser_->currentTab(), std::nullopt);
    EXPECT_TRUE(browser_->urls(1).isEmpty());
    browser_->switchTo(1, 1);
    browser_->open(u"https://a.example/"_s, true);
    browser_->close(1, 1);
    EXPECT_EQ(runner_.sources().size(), 11);
}

TEST_P(ScriptedBrowserTest, CurrentPageFallsBackToTheAddressForATitle) {
    runner_.answerInTurn(
        GetParam().currentPageScript,
        {texts({u"Title"_s, u"https://a.example/"_s}),
         list({D::missing(), text(u"https://b.example/"_s)}), texts({{}, u"https://c.example/"_s}),
         list({list({text(u"x"_s)}), text(u"https://d.example/"_s)}), texts({u"No address"_s, {}}),
         list({text(u"Only title"_s)}), text(u"https://e.example/"_s), std::nullopt});
    using Page = std::optional<std::pair<QString, QString>>;
    EXPECT_EQ(browser_->currentPage(), Page({u"Title"_s, u"https://a.example/"_s}));
    for (const char* address : {"https://b.example/", "https://c.example/", "https://d.example/"})
        EXPECT_EQ(browser_->currentPage(),
                  Page({QString::fromUtf8(address), QString::fromUtf8(address)}));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(browser_->currentPage(), std::nullopt) << i;
}

TEST_P(ScriptedBrowserTest, AddressListsReadEveryItemAsText) {
    runner_.answer(GetParam().tell + u" to return URL of every tab of window id 3"_s,
                   list({text(u"https://a.example/"_s), D::missing(), integer(4), list({})}));
    EXPECT_EQ(browser_->urls(3), (QStringList{u"https://a.example/"_s, {}, u"4"_s, {}}));
    EXPECT_EQ(browser_->urls(4), QStringList());
}

INSTANTIATE_TEST_SUITE_P(
    Browsers, ScriptedBrowserTest,
    ::testing::Values(
        Scripted{"Safari", safari, u"tell application \"Safari\""_s, tabsScript, currentPageScript},
        Scripted{"Chrome", u"com.google.Chrome"_s, u"tell application id \"com.google.Chrome\""_s,
                 chromeTabsScript,
                 u"tell application id \"com.google.Chrome\" to return {title of active tab of "
                 u"window 1, URL of active tab of window 1}"_s}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace kivaro
