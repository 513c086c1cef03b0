#include "platform/linux/LinuxScriptRunner.h"

#include <gtest/gtest.h>

namespace kivaro {
namespace {

using namespace Qt::StringLiterals;

QStringList logged;

TEST(LinuxScriptRunnerTest, AnswersNothingAndLogsOnce) {
    logged.clear();
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& text) { logged.append(text); });
    LinuxScriptRunner runner;
    for (const QString& script :
         {u"tell application \"Safari\" to return name of window 1"_s, u"anything"_s, QString()})
        EXPECT_EQ(runner.run(script), std::nullopt);
    qInstallMessageHandler(previous);
    ASSERT_EQ(logged.size(), 1);
    EXPECT_TRUE(logged.first().startsWith(u"Kivaro AppleScript error: "_s));
}

} // namespace
} // namespace kivaro
