#include "ScriptingFixture.h"
#include "browsers/SafariBrowser.h"

#include <gtest/gtest.h>
#include <vector>

namespace kivaro {
namespace {

using namespace Qt::StringLiterals;
using namespace test;
using F = FakeMenuBarAccess;
using std::chrono::milliseconds;

const QString frontURLsScript = operationScript("safari", 6);
const QString windowNameScript = u"tell application \"Safari\" to return name of window 1"_s;
const QStringList nextGroup{u"Window"_s, u"Go To Next Tab Group"_s};

QString selectScript(int position) {
    return u"tell application \"Safari\" to set current tab of window 1 to tab "_s +
           QString::number(position) + u" of window 1"_s;
}

struct TabGroup {
    QString windowName;
    QStringList urls;
};

// Safari's front window stepping through tab groups: each press of Window > Go To Next Tab
// Group shows the next group, whose window name appears after `lag` polls.
class SafariRevealTest : public ScriptingTest {
protected:
    void SetUp() override {
        ScriptingTest::SetUp();
        workspace_.install(safari);
        workspace_.run(safari);
        menus_.setMenuBar(safari, F::bar({F::menu(u"Window"_s, {F::item(nextGroup[1])})}));
        runner_.answer(selectScript(1), Descriptor::missing());
        runner_.answer(selectScript(2), Descriptor::missing());
        runner_.setResponder([this](const QString& source) { return answer(source); });
    }

    std::optional<Descriptor> answer(const QString& source) {
        const qsizetype presses = menus_.presses().size();
        if (presses != pressesSeen_) {
            pressesSeen_ = presses;
            namePollsLeft_ = lag_;
        }
        const TabGroup& shown = groups_[presses % groups_.size()];
        if (source == frontURLsScript)
            return fromJson(QJsonArray::fromStringList(shown.urls));
        if (source != windowNameScript)
            return std::nullopt;
        if (namePollsLeft_ > 0) {
            --namePollsLeft_;
            return Descriptor::text(
                groups_[(presses + groups_.size() - 1) % groups_.size()].windowName);
        }
        return Descriptor::text(shown.windowName);
    }

    bool reveal(const QString& url) {
        SafariBrowser browser(runner_, workspace_, menus_, snapshots_,
                              {.pause = [this](milliseconds pause) { pauses_.append(pause); }});
        return browser.reveal(url);
    }

    std::vector<TabGroup> groups_;
    int lag_ = 0;
    qsizetype pressesSeen_ = 0;
    int namePollsLeft_ = 0;
};

TEST_F(SafariRevealTest, SelectsATabOfTheFrontWindowWithoutSwitchingGroups) {
    groups_ = {{u"Work \u2014 Mail"_s, {u"https://mail.example/"_s, u"https://docs.example/a"_s}}};
    EXPECT_TRUE(reveal(u"http://www.DOCS.example/a/"_s));
    EXPECT_TRUE(menus_.presses().isEmpty());
    EXPECT_EQ(runner_.sources(), (QStringList{frontURLsScript, selectScript(2)}));
    // Safari is brought forward first.
    EXPECT_EQ(workspace_.launched(), QStringList{safari});
    // An empty address matches no tab, not even one without an address.
    groups_[0].urls.append(QString());
    EXPECT_FALSE(reveal(QString()));
    EXPECT_FALSE(reveal(u"https://www./"_s));
    EXPECT_EQ(runner_.sources().size(), 2);
}

// Each switch waits 50 ms per poll that still shows the old name; a window name seen before
// means every group was shown.
TEST_F(SafariRevealTest, StepsThroughGroupsUntilTheAddressShowsOrANameRepeats) {
    groups_ = {{u"A \u2014 a"_s, {u"https://a.example/"_s}},
               {u"B \u2014 b"_s, {u"https://b.example/"_s}},
               {u"C \u2014 c"_s, {u"https://x.example/"_s, u"https://c.example/"_s}}};
    lag_ = 3;
    EXPECT_TRUE(reveal(u"https://c.example/"_s));
    EXPECT_EQ(menus_.presses(), (QList<QStringList>{nextGroup, nextGroup}));
    EXPECT_EQ(runner_.sources().last(), selectScript(2));
    EXPECT_EQ(pauses_, QList<milliseconds>(6, milliseconds(50)));

    lag_ = 0;
    runner_.clearSources();
    EXPECT_FALSE(reveal(u"https://nowhere.example/"_s));
    EXPECT_EQ(menus_.presses().size(), 2 + 3);
    for (const int tab : {1, 2})
        EXPECT_FALSE(runner_.sources().contains(selectScript(tab)));
    // Nor does it go on when the menu item cannot be pressed.
    menus_.setPressSucceeds(false);
    EXPECT_FALSE(reveal(u"https://b.example/"_s));
    menus_.setPressSucceeds(true);
    menus_.removeMenuBar(safari);
    EXPECT_FALSE(reveal(u"https://b.example/"_s));
    EXPECT_EQ(pauses_.size(), 6);
}

// The 16th group from the start is still reached; from there the 17th holds the address, but
// the loop stops after the 16th switch.
TEST_F(SafariRevealTest, GivesUpAfterSixteenSwitches) {
    for (int i = 0; i < 40; ++i)
        groups_.push_back({u"G%1"_s.arg(i), {u"https://g.example/%1"_s.arg(i)}});
    EXPECT_TRUE(reveal(u"https://g.example/15"_s));
    EXPECT_EQ(menus_.presses().size(), 15);
    EXPECT_FALSE(reveal(u"https://g.example/31"_s));
    EXPECT_EQ(menus_.presses().size(), 15 + 16);
}

TEST_F(SafariRevealTest, AGroupSwitchThatChangesNothingPollsTwentyTimesThenStops) {
    groups_ = {{u"Only"_s, {u"https://a.example/"_s}}};
    EXPECT_FALSE(reveal(u"https://b.example/"_s));
    EXPECT_EQ(menus_.presses().size(), 1);
    EXPECT_EQ(pauses_, QList<milliseconds>(20, milliseconds(50)));
    EXPECT_EQ(runner_.runs(windowNameScript), 22);
}

TEST_F(SafariRevealTest, LaunchesSafariWhenItIsNotRunning) {
    workspace_.quit(safari);
    groups_ = {{u"A"_s, {u"https://a.example/"_s}}};
    EXPECT_TRUE(reveal(u"https://a.example/"_s));
    EXPECT_EQ(workspace_.launched(), QStringList{safari});
    EXPECT_TRUE(workspace_.isRunning(safari));
    // A failed selection is not reported as success.
    runner_.answer(selectScript(1), std::nullopt);
    EXPECT_FALSE(reveal(u"https://a.example/"_s));
    EXPECT_EQ(runner_.sources().last(), selectScript(1));
}

} // namespace
} // namespace kivaro
