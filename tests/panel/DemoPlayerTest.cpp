#include "panel/DemoScript.h"
#include "support/WaitUntil.h"

#include <gtest/gtest.h>

namespace kivaro {
namespace {

// Writes down what the player does to the panel.
class RecordingTarget : public DemoTarget {
public:
    void open() override { moves.append(u"open"_qs); }
    void setText(const QString& text) override { moves.append(u"text:"_qs + text); }
    void pressTab() override { moves.append(u"tab"_qs); }

    QStringList moves;
};

const DemoScript script{{DemoStep::type(u"yt"_qs), DemoStep::tab(), DemoStep::type(u"ab"_qs),
                         DemoStep::pause(0.01), DemoStep::reset(), DemoStep::type(u"g"_qs)},
                        {u"youtube.com"_qs}};

const QStringList scriptMoves = {u"open"_qs,   u"text:y"_qs,  u"text:yt"_qs, u"tab"_qs,
                                 u"text:a"_qs, u"text:ab"_qs, u"text:"_qs,   u"text:g"_qs};

TEST(DemoPlayerTest, PlaysTheScriptToTheEndAfterTheIcons) {
    RecordingTarget target;
    QStringList loaded;
    std::function<void()> iconsDone;
    DemoPlayer player(target, [&](const QStringList& sites, std::function<void()> done) {
        loaded = sites;
        iconsDone = std::move(done);
    });
    int finished = 0;
    QObject::connect(&player, &DemoPlayer::finished, [&finished] { ++finished; });
    player.play(false, script);
    EXPECT_TRUE(player.playing());
    EXPECT_TRUE(target.moves.isEmpty()); // nothing before the icons are in
    EXPECT_EQ(loaded, script.sites);
    iconsDone();
    ASSERT_TRUE(testing::waitUntil([&] { return finished > 0; }));
    EXPECT_EQ(target.moves, scriptMoves);
    EXPECT_EQ(player.position(), script.steps.size());
    EXPECT_FALSE(player.playing());
    EXPECT_EQ(finished, 1);
}

TEST(DemoPlayerTest, StillPlaysEveryStepAtOnce) {
    RecordingTarget target;
    DemoPlayer player(target);
    int finished = 0;
    QObject::connect(&player, &DemoPlayer::finished, [&finished] { ++finished; });
    player.play(true, script);
    EXPECT_EQ(target.moves, (QStringList{u"open"_qs, u"text:yt"_qs, u"tab"_qs, u"text:ab"_qs,
                                         u"text:"_qs, u"text:g"_qs}));
    EXPECT_EQ(finished, 1);
}

TEST(DemoPlayerTest, ASecondPlayCancelsTheFirst) {
    RecordingTarget target;
    QList<std::function<void()>> pending;
    DemoPlayer player(target, [&](const QStringList&, std::function<void()> done) {
        pending.append(std::move(done));
    });
    int finished = 0;
    QObject::connect(&player, &DemoPlayer::finished, [&finished] { ++finished; });
    const DemoScript slow{
        {DemoStep::type(u"x"_qs), DemoStep::pause(600), DemoStep::type(u"never"_qs)}, {}};
    player.play(false, slow);
    const std::function<void()> firstIcons = pending.takeFirst();
    firstIcons();
    ASSERT_TRUE(testing::waitUntil([&] { return target.moves.size() == 2; })); // open, "x"
    player.play(false, script);
    // The first play's icons arriving again start nothing.
    firstIcons();
    pending.takeFirst()();
    ASSERT_TRUE(testing::waitUntil([&] { return finished > 0; }));
    EXPECT_EQ(target.moves, QStringList({u"open"_qs, u"text:x"_qs}) + scriptMoves);
    EXPECT_EQ(finished, 1);
}

TEST(DemoPlayerTest, TheStandardScriptTypesOnlyWhatItsDataAnswers) {
    const DemoScript standard = DemoScript::standard();
    const DemoData data = DemoScript::data();
    for (const DemoStep& step : standard.steps) {
        if (step.kind == DemoStep::Kind::type && step.text != u"youtube") {
            EXPECT_FALSE(data.suggestionsFor(step.text).isEmpty()) << step.text.toStdString();
        }
    }
    EXPECT_FALSE(standard.sites.isEmpty());
}

} // namespace
} // namespace kivaro
