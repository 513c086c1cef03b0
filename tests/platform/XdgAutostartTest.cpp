#include "platform/linux/XdgAutostart.h"

#include "support/Files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kivaro {
namespace {

using namespace Qt::StringLiterals;

// The Exec value of a desktop entry; nothing for no entry.
std::optional<QString> execLine(const std::optional<QString>& entry) {
    const auto lines = entry.value_or(QString()).split(u'\n');
    const auto exec = std::find_if(lines.begin(), lines.end(),
                                   [](const QString& line) { return line.startsWith(u"Exec="); });
    return entry && exec != lines.end() ? std::optional(exec->mid(5)) : std::nullopt;
}

TEST(XdgAutostartTest, EnablingWritesAnEntryAtomicallyAndDisablingRemovesIt) {
    QTemporaryDir home;
    const QString folder = home.filePath(u"config/autostart"_s);
    XdgAutostart item(folder, u"app.kivaro.Kivaro"_s, u"/opt/kivaro/kivaro"_s);
    EXPECT_FALSE(item.enabled());
    ASSERT_TRUE(item.setEnabled(true)); // creates the missing folder
    EXPECT_TRUE(item.enabled());
    const QString entry = QString::fromUtf8(testing::readFile(item.entryPath()));
    EXPECT_TRUE(entry.startsWith(u"[Desktop Entry]\n"_s));
    EXPECT_TRUE(entry.contains(u"\nType=Application\n"_s));
    EXPECT_EQ(execLine(entry), u"\"/opt/kivaro/kivaro\""_s);
    // Written through a temporary file: nothing else is left in the folder.
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden),
              QStringList{u"app.kivaro.Kivaro.desktop"_s});
    ASSERT_TRUE(item.setEnabled(true));
    ASSERT_TRUE(item.setEnabled(false));
    EXPECT_FALSE(item.enabled());
    EXPECT_FALSE(QFile::exists(item.entryPath()));
    EXPECT_TRUE(item.setEnabled(false));
}

TEST(XdgAutostartTest, ExecPathsAreQuotedAndEscapedAndLineBreaksRefused) {
    // "$", "`" and '"' take a backslash inside quotes; that backslash, like any other,
    // is doubled by the string escaping of the value; "%" is doubled.
    const std::pair<QString, std::optional<QString>> cases[] = {
        {u"/home/me/My Apps/kivaro"_s, u"\"/home/me/My Apps/kivaro\""_s},
        {u"/a$b`c\"d\\e%f"_s, u"\"/a\\\\$b\\\\`c\\\\\"d\\\\\\\\e%%f\""_s},
        {u"/bad\npath"_s, std::nullopt},
        {u"/bad\rpath"_s, std::nullopt},
        {QString(), std::nullopt}};
    for (const auto& [path, exec] : cases)
        EXPECT_EQ(execLine(XdgAutostart::entry(path)), exec) << path.toStdString();
}

TEST(XdgAutostartTest, HiddenEntriesUnwritablePlacesAndBadPaths) {
    QTemporaryDir home;
    XdgAutostart item(home.path(), u"k"_s, u"/bin/k"_s);
    testing::writeFile(item.entryPath(),
                       "[Desktop Entry]\nType=Application\nExec=k\nHidden=true\n");
    EXPECT_FALSE(item.enabled()) << "a desktop hides an entry the user switched off";
    ASSERT_TRUE(item.setEnabled(true));
    EXPECT_TRUE(item.enabled());
    testing::writeFile(home.filePath(u"blocked"_s), {}); // a file where the folder should be
    XdgAutostart blocked(home.filePath(u"blocked"_s), u"k"_s, u"/bin/k"_s);
    EXPECT_FALSE(blocked.setEnabled(true));
    EXPECT_FALSE(blocked.enabled());
    XdgAutostart badPath(home.filePath(u"other"_s), u"k"_s, u"/bin/k\n[Desktop Entry]"_s);
    EXPECT_FALSE(badPath.setEnabled(true));
    EXPECT_FALSE(QFile::exists(badPath.entryPath()));
}

} // namespace
} // namespace kivaro
