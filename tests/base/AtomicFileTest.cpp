#include "base/AtomicFile.h"

#include "support/Files.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kivaro {
namespace {

using namespace Qt::StringLiterals;
using testing::readFile;
using testing::writeFile;

// Until the rename, the old bytes are all a reader can see; after it, all the new ones, with
// nothing left beside them. A name taken by a folder is refused and nothing is lost.
TEST(AtomicFileTest, ReadersSeeTheOldFileUntilTheRenameAndNeverAHalfWrittenOne) {
    const QTemporaryDir folder;
    const QString path = folder.filePath(u"deep/state.json"_s);
    writeFile(path, "old");
    QByteArray seenBeforeRename;
    EXPECT_TRUE(AtomicFile::write(path, QByteArray(1 << 20, 'n'),
                                  [&] { seenBeforeRename = readFile(path); }));
    EXPECT_EQ(seenBeforeRename, "old");
    EXPECT_EQ(readFile(path), QByteArray(1 << 20, 'n'));
    EXPECT_EQ(QDir(folder.filePath(u"deep"_s)).entryList(QDir::Files | QDir::Hidden),
              QStringList{u"state.json"_s});

    ASSERT_TRUE(QDir().mkpath(folder.filePath(u"taken/child"_s)));
    EXPECT_FALSE(AtomicFile::write(folder.filePath(u"taken"_s), "new"));
    EXPECT_TRUE(QFileInfo(folder.filePath(u"taken/child"_s)).isDir());
    EXPECT_EQ(AtomicFile::asideName(path), path + u".unreadable"_s);
}

} // namespace
} // namespace kivaro
