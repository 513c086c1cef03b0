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
const QString scriptMoves = u"open,text:y,text:yt,tab,text:a,text:ab,text:,text:g"_qs;

// A player whose icon loads wait for the test to finish them.
class DemoPlayerTest : public ::testing::Test {
protected:
    DemoPlayerTest() {
        QObject::connect(&player, &DemoPlayer::finished, [this] { ++finished; });
    }
    QString moves() const { return target.moves.join(u','); }

    RecordingTarget target;
    QList<QStringList> loaded;
    QList<std::function<void()>> pending;
    DemoPlayer player{target, [this](const QStringList& sites, std::function<void()> done) {
                          loaded.append(sites);
                          pending.append(std::move(done));
                      }};
    int finished = 0;
};

TEST_F(DemoPlayerTest, PlaysTheScriptToTheEndAfterTheIcons) {
    player.play(false, script);
    EXPECT_TRUE(player.playing());
    EXPECT_TRUE(target.moves.isEmpty()); // nothing before the icons are in
    EXPECT_EQ(loaded, QList<QStringList>{script.sites});
    pending.takeFirst()();
    ASSERT_TRUE(testing::waitUntil([&] { return finished > 0; }));
    EXPECT_EQ(moves(), scriptMoves);
    EXPECT_EQ(player.position(), script.steps.size());
    EXPECT_FALSE(player.playing());
    EXPECT_EQ(finished, 1);
}

TEST_F(DemoPlayerTest, ASecondPlayCancelsTheFirst) {
    const DemoScript slow{
        {DemoStep::type(u"x"_qs), DemoStep::pause(600), DemoStep::type(u"never"_qs)}, {}};
    player.play(false, slow);
    const std::function<void()> firstIcons = pending.takeFirst();
    firstIcons();
    ASSERT_TRUE(testing::waitUntil([&] { return target.moves.size() == 2; })); // open, "x"
    player.play(false, script);
    firstIcons(); // the first play's icons arriving again start nothing
    pending.takeFirst()();
    ASSERT_TRUE(testing::waitUntil([&] { return finished > 0; }));
    EXPECT_EQ(moves(), u"open,text:x,"_qs + scriptMoves);
    EXPECT_EQ(finished, 1);
}

TEST(DemoScriptTest, TheStandardScriptTypesOnlyWhatItsDataAnswers) {
    const DemoData data = DemoScript::data();
    for (const DemoStep& step : DemoScript::standard().steps) {
        const bool typed = step.kind == DemoStep::Kind::type && step.text != u"youtube";
        EXPECT_TRUE(!typed || !data.suggestionsFor(step.text).isEmpty()) << step.text.toStdString();
    }
    EXPECT_FALSE(DemoScript::standard().sites.isEmpty());
}

} // namespace
} // namespace kivaro
