#include "HistoryFixtures.h"
#include "browsers/DevToolsBrowser.h"
#include "browsers/FakeDevTools.h"

#include <gtest/gtest.h>

namespace kivaro::test {
namespace {

using namespace Qt::StringLiterals;

using DevToolsHistoryTest = HistoryTest;

// A browser started on a profile of its own ("<folder>-kivaro") shows that profile's history,
// not the default folder's.
TEST_F(DevToolsHistoryTest, ReadsTheFolderWhoseEndpointTheBrowserAnswersOn) {
    const testing::FakeDevTools live;
    const QStringList folders{u"chromium"_s, u"chromium-kivaro"_s};
    for (const QString& folder : folders)
        addChromiumRow(chromiumProfile(folder, u"Default"_s), u"https://%1.example/"_s.arg(folder),
                       u"Page"_s, u"1"_s, u"13300000000000000"_s);
    for (const QString& used : folders) {
        for (const QString& folder : folders)
            QFile::remove(configFolder() + u'/' + folder + u"/DevToolsActivePort"_s);
        testing::writePortFile(configFolder() + u'/' + used, *live.endpoint());
        // A generous limit: a loaded machine must not make the endpoint look hung.
        const DevToolsBrowser browser(u"org.chromium.Chromium"_s, u"Chromium"_s, folders,
                                      *snapshots_, std::chrono::seconds(60));
        ASSERT_TRUE(browser.reachable());
        EXPECT_EQ(rendered(browser.history().entries),
                  u"https://%1.example/|Page|1|2022-06-18T04:26:40.000Z"_s.arg(used));
    }
}

} // namespace
} // namespace kivaro::test
