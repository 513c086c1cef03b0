#include "platform/linux/PosixPrivateFolder.h"
#include "support/Files.h"
#include "support/ScopedEnv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kivaro {
namespace {

using namespace Qt::StringLiterals;

constexpr QFileDevice::Permissions ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                               QFileDevice::ExeOwner | QFileDevice::ReadUser |
                                               QFileDevice::WriteUser | QFileDevice::ExeUser;

class PrivateFolderTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(parent_.isValid()); }

    QString path(const QString& relative) const { return parent_.path() + u'/' + relative; }
    void write(const QString& relative, const QByteArray& bytes) const {
        testing::writeFile(path(relative), bytes);
    }
    QByteArray read(const QString& relative) const { return testing::readFile(path(relative)); }

    QTemporaryDir parent_;
    PosixPrivateFolder folder_{parent_.path(), u"kivaro"_s};
};

TEST_F(PrivateFolderTest, CreatesOwnerOnlyFoldersAndEmptiesThemOnEveryUse) {
    const auto slot = folder_.freshFolder(u"kivaro-history-0"_s);
    ASSERT_EQ(slot, path(u"kivaro/kivaro-history-0"_s));
    EXPECT_EQ(QFile::permissions(path(u"kivaro"_s)), ownerOnly);
    EXPECT_EQ(QFile::permissions(*slot), ownerOnly);

    write(u"kivaro/kivaro-history-0/old/deeper/History.db"_s, "old copy");
    write(u"kivaro/kivaro-history-0/History.db-wal"_s, "old log");
    EXPECT_EQ(folder_.freshFolder(u"kivaro-history-0"_s), slot);
    EXPECT_TRUE(
        QDir(*slot).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot));
}

TEST_F(PrivateFolderTest, TightensItsOwnFolderWhenOthersCouldEnter) {
    ASSERT_TRUE(QDir().mkpath(path(u"kivaro"_s)));
    QFile::setPermissions(path(u"kivaro"_s), ownerOnly | QFileDevice::ReadOther |
                                                 QFileDevice::ExeOther | QFileDevice::WriteGroup);
    EXPECT_TRUE(folder_.freshFolder(u"slot"_s));
    EXPECT_EQ(QFile::permissions(path(u"kivaro"_s)), ownerOnly);
}

TEST_F(PrivateFolderTest, NeverFollowsAPlantedLink) {
    write(u"victim/keep.txt"_s, "precious");

    // The private folder itself replaced by a link: refused, nothing lands in the target.
    ASSERT_TRUE(QFile::link(path(u"victim"_s), path(u"kivaro"_s)));
    EXPECT_EQ(folder_.freshFolder(u"slot"_s), std::nullopt);
    EXPECT_EQ(QDir(path(u"victim"_s)).entryList(QDir::Files), QStringList{u"keep.txt"_s});
    QFile::remove(path(u"kivaro"_s));

    // A link at a slot's name, and one inside a slot: removed as links, targets untouched.
    ASSERT_TRUE(folder_.freshFolder(u"inner"_s));
    ASSERT_TRUE(QFile::link(path(u"victim"_s), path(u"kivaro/slot"_s)));
    ASSERT_TRUE(QFile::link(path(u"victim/keep.txt"_s), path(u"kivaro/inner/History.db"_s)));
    ASSERT_TRUE(QFile::link(path(u"victim"_s), path(u"kivaro/inner/folder"_s)));
    const auto slot = folder_.freshFolder(u"slot"_s);
    ASSERT_TRUE(slot);
    EXPECT_FALSE(QFileInfo(*slot).isSymLink());
    EXPECT_TRUE(folder_.freshFolder(u"inner"_s));
    EXPECT_EQ(read(u"victim/keep.txt"_s), "precious");

    // A link planted where the copy goes: the copy fails rather than write through it.
    write(u"source.db"_s, "copy me");
    ASSERT_TRUE(QFile::link(path(u"victim/keep.txt"_s), *slot + u"/History.db"_s));
    EXPECT_FALSE(folder_.copyInto(path(u"source.db"_s), *slot, u"History.db"_s));
    EXPECT_EQ(read(u"victim/keep.txt"_s), "precious");
}

TEST_F(PrivateFolderTest, RefusesAFolderOfAnotherUser) {
    ASSERT_TRUE(QDir().mkpath(path(u"kivaro"_s)));
    if (QProcess::execute(u"chown"_s, {u"65534"_s, path(u"kivaro"_s)}) != 0)
        GTEST_SKIP() << "only a privileged user can give a folder away";
    EXPECT_EQ(folder_.freshFolder(u"slot"_s), std::nullopt);
}

TEST_F(PrivateFolderTest, RefusesNamesThatLeaveTheFolder) {
    for (const QString& name : {u""_s, u"."_s, u".."_s, u"../escape"_s, u"a/b"_s})
        EXPECT_EQ(folder_.freshFolder(name), std::nullopt) << name.toStdString();
    EXPECT_EQ(PosixPrivateFolder(parent_.path(), u".."_s).freshFolder(u"slot"_s), std::nullopt);
    EXPECT_EQ(PosixPrivateFolder(path(u"missing"_s), u"kivaro"_s).freshFolder(u"slot"_s),
              std::nullopt);
    EXPECT_FALSE(QFileInfo::exists(path(u"escape"_s)));
}

TEST_F(PrivateFolderTest, CopiesOnlyRegularFilesIntoNewFiles) {
    const auto slot = folder_.freshFolder(u"slot"_s);
    ASSERT_TRUE(slot);
    QByteArray large(300 * 1024, 'x');
    large[12345] = 'y';
    write(u"source.db"_s, large);
    ASSERT_TRUE(folder_.copyInto(path(u"source.db"_s), *slot, u"History.db"_s));
    EXPECT_EQ(read(u"kivaro/slot/History.db"_s), large);
    EXPECT_EQ(QFile::permissions(*slot + u"/History.db"_s),
              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
                  QFileDevice::WriteUser);

    EXPECT_FALSE(folder_.copyInto(path(u"source.db"_s), *slot, u"History.db"_s)) << "exists";
    EXPECT_FALSE(folder_.copyInto(path(u"missing.db"_s), *slot, u"Other"_s));
    EXPECT_FALSE(folder_.copyInto(parent_.path(), *slot, u"Other"_s)) << "a folder";
    ASSERT_EQ(QProcess::execute(u"mkfifo"_s, {path(u"pipe"_s)}), 0);
    EXPECT_FALSE(folder_.copyInto(path(u"pipe"_s), *slot, u"Other"_s)) << "a pipe, no wait";
    EXPECT_FALSE(folder_.copyInto(path(u"source.db"_s), *slot, u"../Other"_s));
    EXPECT_FALSE(QFileInfo::exists(*slot + u"/Other"_s));
}

TEST_F(PrivateFolderTest, LivesInTheRuntimeFolderOrElseTheCacheFolder) {
    ASSERT_TRUE(QDir().mkpath(path(u"run"_s)));
    const testing::ScopedEnv runtime("XDG_RUNTIME_DIR", QFile::encodeName(path(u"run"_s)));
    const testing::ScopedEnv cache("XDG_CACHE_HOME", QFile::encodeName(path(u"cache"_s)));
    const auto inRuntime = PosixPrivateFolder::forSnapshots()->freshFolder(u"slot"_s);
    runtime.set(std::nullopt);
    const auto inCache = PosixPrivateFolder::forSnapshots()->freshFolder(u"slot"_s);
    EXPECT_EQ(inRuntime, path(u"run/kivaro/slot"_s));
    EXPECT_EQ(inCache, path(u"cache/kivaro/slot"_s));
}

} // namespace
} // namespace kivaro
