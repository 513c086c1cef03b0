#include "platform/linux/XdgAutostart.h"

#include "platform/fake/FakeLoginItem.h"
#include "settings/Preferences.h"
#include "support/Files.h"
#include "support/TestSettings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kivaro {
namespace {

using namespace Qt::StringLiterals;

QString readAll(const QString& path) {
    return QString::fromUtf8(testing::readFile(path));
}

QString execLine(const QString& entry) {
    for (const QString& line : entry.split(u'\n')) {
        if (line.startsWith(u"Exec="))
            return line.mid(5);
    }
    return {};
}

TEST(XdgAutostartTest, EnablingWritesAnEntryAndDisablingRemovesIt) {
    QTemporaryDir home;
    const QString folder = home.filePath(u"config/autostart"_s);
    XdgAutostart item(folder, u"app.kivaro.Kivaro"_s, u"/opt/kivaro/kivaro"_s);
    EXPECT_FALSE(item.enabled());
    EXPECT_EQ(item.entryPath(), folder + u"/app.kivaro.Kivaro.desktop"_qs);

    ASSERT_TRUE(item.setEnabled(true)); // creates the missing folder
    EXPECT_TRUE(item.enabled());
    const QString entry = readAll(item.entryPath());
    EXPECT_TRUE(entry.startsWith(u"[Desktop Entry]\n"_qs));
    EXPECT_TRUE(entry.contains(u"\nType=Application\n"_qs));
    EXPECT_EQ(execLine(entry), u"\"/opt/kivaro/kivaro\""_qs);
    // Written through a temporary file: nothing else is left in the folder.
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden),
              QStringList{u"app.kivaro.Kivaro.desktop"_qs});

    ASSERT_TRUE(item.setEnabled(true));
    ASSERT_TRUE(item.setEnabled(false));
    EXPECT_FALSE(item.enabled());
    EXPECT_FALSE(QFile::exists(item.entryPath()));
    EXPECT_TRUE(item.setEnabled(false));
}

TEST(XdgAutostartTest, ExecPathsAreQuotedAndEscaped) {
    EXPECT_EQ(execLine(*XdgAutostart::entry(u"/home/me/My Apps/kivaro"_qs)),
              u"\"/home/me/My Apps/kivaro\""_qs);
    // "$", "`" and '"' take a backslash inside quotes; that backslash, like any other,
    // is doubled by the string escaping of the value; "%" is doubled.
    EXPECT_EQ(execLine(*XdgAutostart::entry(u"/a$b`c\"d\\e%f"_qs)),
              u"\"/a\\\\$b\\\\`c\\\\\"d\\\\\\\\e%%f\""_qs);
    EXPECT_EQ(XdgAutostart::entry(u"/bad\npath"_qs), std::nullopt);
    EXPECT_EQ(XdgAutostart::entry(u"/bad\rpath"_qs), std::nullopt);
    EXPECT_EQ(XdgAutostart::entry(QString()), std::nullopt);
}

TEST(XdgAutostartTest, HiddenEntriesUnwritablePlacesAndBadPaths) {
    QTemporaryDir home;
    XdgAutostart item(home.path(), u"k"_s, u"/bin/k"_s);
    testing::writeFile(item.entryPath(),
                       "[Desktop Entry]\nType=Application\nExec=k\nHidden=true\n");
    EXPECT_FALSE(item.enabled()) << "a desktop hides an entry the user switched off";
    ASSERT_TRUE(item.setEnabled(true));
    EXPECT_TRUE(item.enabled());

    // A file where the folder should be.
    testing::writeFile(home.filePath(u"blocked"_s), {});
    XdgAutostart blocked(home.filePath(u"blocked"_s), u"k"_s, u"/bin/k"_s);
    EXPECT_FALSE(blocked.setEnabled(true));
    EXPECT_FALSE(blocked.enabled());

    XdgAutostart badPath(home.filePath(u"other"_s), u"k"_s, u"/bin/k\n[Desktop Entry]"_s);
    EXPECT_FALSE(badPath.setEnabled(true));
    EXPECT_FALSE(QFile::exists(badPath.entryPath()));
}

TEST(XdgAutostartTest, PreferencesSwitchLaunchAtLoginThroughIt) {
    QTemporaryDir home;
    XdgAutostart item(home.path(), u"app.kivaro.Kivaro"_s, u"/bin/kivaro"_s);
    Preferences preferences(
        testing::settingsFile(testing::StoreKind::ini, home.filePath(u"p.conf"_s)));
    preferences.setLoginItem(&item);
    preferences.setLaunchAtLogin(true);
    EXPECT_TRUE(preferences.launchAtLogin());
    EXPECT_TRUE(QFile::exists(item.entryPath()));
    preferences.setLaunchAtLogin(false);
    EXPECT_FALSE(preferences.launchAtLogin());
    // Not a stored setting.
    EXPECT_TRUE(preferences.value(u"launchAtLogin"_s).isNull());
}

} // namespace
} // namespace kivaro
