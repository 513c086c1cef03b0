#include "platform/linux/LinuxScriptRunner.h"

#include <gtest/gtest.h>
#include <mutex>

namespace kivaro {
namespace {

using namespace Qt::StringLiterals;

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
