#include "platform/fake/FakeScriptRunner.h"
#include "platform/linux/LinuxScriptRunner.h"

#include <gtest/gtest.h>
#include <mutex>

namespace kivaro {
namespace {

using namespace Qt::StringLiterals;
using D = Descriptor;

TEST(FakeScriptRunnerTest, RecordsEverySourceAndAnswersFromItsTable) {
    FakeScriptRunner runner;
    runner.answer(u"one"_s, D::text(u"1"_s));
    runner.answer(u"fails"_s, std::nullopt);
    EXPECT_EQ(runner.run(u"one"_s), D::text(u"1"_s));
    EXPECT_EQ(runner.run(u"one"_s), D::text(u"1"_s));
    EXPECT_EQ(runner.run(u"fails"_s), std::nullopt);
    EXPECT_EQ(runner.run(u"unknown"_s), std::nullopt);
    EXPECT_EQ(runner.sources(), (QStringList{u"one"_s, u"one"_s, u"fails"_s, u"unknown"_s}));
    EXPECT_EQ(runner.runs(u"one"_s), 2);
    runner.clearSources();
    EXPECT_TRUE(runner.sources().isEmpty());
}

TEST(FakeScriptRunnerTest, AnswersInTurnRepeatTheLastAndTheResponderTakesTheRest) {
    FakeScriptRunner runner;
    runner.answerInTurn(u"name"_s, {D::text(u"A"_s), std::nullopt, D::text(u"B"_s)});
    runner.setResponder([&](const QString& source) -> std::optional<D> {
        // The responder may look at the runner itself without deadlocking.
        return D::text(source + QString::number(runner.sources().size()));
    });
    EXPECT_EQ(runner.run(u"name"_s), D::text(u"A"_s));
    EXPECT_EQ(runner.run(u"name"_s), std::nullopt);
    EXPECT_EQ(runner.run(u"name"_s), D::text(u"B"_s));
    EXPECT_EQ(runner.run(u"name"_s), D::text(u"B"_s));
    EXPECT_EQ(runner.run(u"other"_s), D::text(u"other5"_s));
    // An empty list of answers takes the source out of the table.
    runner.answerInTurn(u"name"_s, {});
    EXPECT_EQ(runner.run(u"name"_s), D::text(u"name6"_s));
}

QStringList logged;
std::mutex loggedMutex;

void recordMessage(QtMsgType, const QMessageLogContext&, const QString& message) {
    std::lock_guard lock(loggedMutex);
    logged.append(message);
}

TEST(LinuxScriptRunnerTest, AnswersNothingAndLogsOnce) {
    logged.clear();
    const QtMessageHandler previous = qInstallMessageHandler(recordMessage);
    LinuxScriptRunner runner;
    EXPECT_EQ(runner.run(u"tell application \"Safari\" to return name of window 1"_s),
              std::nullopt);
    EXPECT_EQ(runner.run(u"anything"_s), std::nullopt);
    EXPECT_EQ(runner.run(QString()), std::nullopt);
    qInstallMessageHandler(previous);
    ASSERT_EQ(logged.size(), 1);
    EXPECT_TRUE(logged.first().startsWith(u"Kivaro AppleScript error: "_s));
}

} // namespace
} // namespace kivaro
