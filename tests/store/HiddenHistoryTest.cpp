#include "store/HiddenHistory.h"

#include "support/Files.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kivaro {
namespace {

using namespace Qt::StringLiterals;
using testing::readFile;
using testing::writeFile;

class HiddenHistoryFile : public ::testing::Test {
protected:
    QTemporaryDir folder;
    QString file = folder.filePath(u"app/hidden-history.json"_s);
};

TEST_F(HiddenHistoryFile, SavesSortedCompactJsonAndReadsItBack) {
    EXPECT_TRUE(HiddenHistory::load(file).isEmpty());
    const QSet<QString> hidden{u"b.example/page"_s, u"a.example"_s, u"c.example/\"quoted\""_s};
    ASSERT_TRUE(HiddenHistory::save(file, hidden)); // creates the missing folder
    EXPECT_EQ(readFile(file), R"(["a.example","b.example/page","c.example/\"quoted\""])");
    EXPECT_EQ(HiddenHistory::load(file), hidden);
    ASSERT_TRUE(HiddenHistory::save(file, {}));
    EXPECT_EQ(readFile(file), "[]");
    EXPECT_EQ(HiddenHistory::decode(R"(["a.example","a.example"])"), QSet{u"a.example"_s});
    EXPECT_TRUE(HiddenHistory::defaultFile().endsWith(u"/app.kivaro.Kivaro/hidden-history.json"));
}

TEST_F(HiddenHistoryFile, UndecodableFilesStartEmptyAndAreKeptAside) {
    const QList<QByteArray> bad{R"({"a.example": true})", R"(["a.example", 3])", "[\"a.exam", "",
                                "\xff\xfe not json"};
    for (qsizetype n = 0; n < bad.size(); ++n) {
        writeFile(file, bad[n]);
        EXPECT_TRUE(HiddenHistory::load(file).isEmpty()) << bad[n].toStdString();
        EXPECT_FALSE(QFile::exists(file)) << "left where the next save would replace it";
        const QString aside = file + (n ? u".unreadable-%1"_s.arg(n + 1) : u".unreadable"_s);
        EXPECT_EQ(readFile(aside), bad[n]) << "every bad file is kept, none overwritten";
    }
    // The next deliberate save writes a fresh file; the kept copies stay.
    ASSERT_TRUE(HiddenHistory::save(file, {u"x.example"_s}));
    EXPECT_EQ(HiddenHistory::load(file), QSet{u"x.example"_s});
    EXPECT_EQ(readFile(file + u".unreadable"_s), bad.first());
}

TEST_F(HiddenHistoryFile, AnUnwritableFolderFailsQuietly) {
    writeFile(folder.filePath(u"app"_s), "a file where the folder should be");
    EXPECT_FALSE(HiddenHistory::save(file, {u"a.example"_s}));
    EXPECT_TRUE(HiddenHistory::load(file).isEmpty());
}

} // namespace
} // namespace kivaro
