#pragma once

#include "LiveBrowser.h"
#include "PageServer.h"
#include "browsers/DevToolsBrowser.h"
#include "platform/PrivateFolder.h"
#include "platform/linux/PosixPrivateFolder.h"
#include "support/RequireTool.h"
#include "support/ScopedEnv.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <memory>

namespace kivaro::testing {

inline const QString bundleID = QStringLiteral("org.chromium.Chromium");
inline const QString dataFolder = QStringLiteral("chromium");

// A headless Chromium whose user data lives in the configuration folder of a private home,
// driven by a DevToolsBrowser that finds it the way it finds the user's own browser.
class ChromiumTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home_.isValid());
        ASSERT_TRUE(server_.listening());
        KIVARO_REQUIRE_TOOL(
            startChromium(chromium_, folder(), url("a")),
            "Chromium cannot start here: " << chromium_.errorString().toStdString());
        ASSERT_TRUE(waitForTitles({title("a")}));
    }

    QString folder() const { return home_.path() + u'/' + dataFolder; }
    static QString title(const char* name) { return PageServer::title(QString::fromUtf8(name)); }
    QString url(const char* name) const { return server_.url(QString::fromUtf8(name)); }

    std::shared_ptr<DevToolsBrowser> makeBrowser() const {
        return std::make_shared<DevToolsBrowser>(bundleID, QStringLiteral("Chromium"),
                                                 QStringList{dataFolder}, *snapshots_);
    }

    QStringList titles() const { return testing::titles(*browser_); }
    bool waitForTitles(const QStringList& wanted) const {
        return testing::waitForTitles(*browser_, wanted);
    }
    std::optional<SafariTab> tabTitled(const char* name) const {
        return testing::tabTitled(*browser_, title(name));
    }
    bool currentIs(const char* name) const {
        return testing::currentTitleIs(*browser_, title(name));
    }

    QTemporaryDir home_;
    ScopedEnv config_{"XDG_CONFIG_HOME", QFile::encodeName(home_.path())};
    PageServer server_;
    LiveProcess chromium_;
    std::unique_ptr<PrivateFolder> snapshots_ = PosixPrivateFolder::forSnapshots();
    std::shared_ptr<DevToolsBrowser> browser_ = makeBrowser();
};

} // namespace kivaro::testing
