#include "../history/HistoryFixtures.h"
#include "browsers/ChromiumBrowser.h"
#include "browsers/SafariBrowser.h"
#include "platform/fake/FakeMenuBarAccess.h"
#include "platform/fake/FakeScriptRunner.h"
#include "platform/fake/FakeWorkspace.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kivaro {
namespace {

using namespace Qt::StringLiterals;
using ::testing::ElementsAre;

// Both browsers hand history loading to the readers, with the folders and snapshot folder
// they were built with, and never script for it.
class BrowserHistoryTest : public test::HistoryTest {
protected:
    FakeScriptRunner runner_;
    FakeWorkspace workspace_;
    FakeMenuBarAccess menus_;
};

TEST_F(BrowserHistoryTest, SafariAndChromiumReadTheirOwnFolders) {
    const QDateTime visited = QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC);
    addSafariItem(safariDatabase(u"Safari/History.db"_s), u"https://a.example/"_s, 2,
                  {{test::safariTime(visited), u"A"_s}});
    addChromiumRow(chromiumProfile(u"chromium"_s, u"Default"_s), u"https://b.example/"_s, u"B"_s,
                   u"3"_s, QString::number(test::chromiumTime(visited)));
    const SafariBrowser safari(runner_, workspace_, menus_, *snapshots_,
                               {.historyFolder = path(u"Safari"_s)});
    EXPECT_THAT(safari.history().entries,
                ElementsAre(HistoryEntry{u"https://a.example/"_s, u"A"_s, 2, visited}));
    const ChromiumBrowser chromium(u"org.chromium.Chromium"_s, u"Chromium"_s, u"Chromium"_s,
                                   u"chromium"_s, runner_, workspace_, *snapshots_);
    EXPECT_THAT(chromium.history().entries,
                ElementsAre(HistoryEntry{u"https://b.example/"_s, u"B"_s, 3, visited}));
    const HistoryResult none{{}, u"no history found"_s};
    EXPECT_EQ(SafariBrowser(runner_, workspace_, menus_, *snapshots_, {}).history(), none);
    EXPECT_EQ(ChromiumBrowser(u"x"_s, u"X"_s, u"X"_s, u"not-installed"_s, runner_, workspace_,
                              *snapshots_)
                  .history(),
              none);
    EXPECT_TRUE(runner_.sources().isEmpty());
}

} // namespace
} // namespace kivaro
