#include "store/HiddenHistory.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kivaro {
namespace {

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class HiddenHistoryFile : public ::testing::Test {
protected:
    QTemporaryDir folder;
    QString file = folder.filePath(QStringLiteral("app/hidden-history.json"));
};

TEST_F(HiddenHistoryFile, SavesSortedCompactJsonAndReadsItBack) {
    const QSet<QString> hidden{QStringLiteral("b.example/page"), QStringLiteral("a.example"),
                               QStringLiteral("c.example/\"quoted\"")};
    ASSERT_TRUE(HiddenHistory::save(file, hidden)); // creates the missing folder
    EXPECT_EQ(contents(file),
              QByteArray(R"(["a.example","b.example/page","c.example/\"quoted\""])"));
    EXPECT_EQ(HiddenHistory::load(file), hidden);
}

TEST_F(HiddenHistoryFile, AMissingFileIsAnEmptySetAndClearingWritesAnEmptyArray) {
    EXPECT_TRUE(HiddenHistory::load(file).isEmpty());
    ASSERT_TRUE(HiddenHistory::save(file, {}));
    EXPECT_EQ(contents(file), QByteArray("[]"));
}

TEST_F(HiddenHistoryFile, DuplicatesCollapse) {
    EXPECT_EQ(HiddenHistory::decode(R"(["a.example","a.example"])"),
              QSet<QString>{QStringLiteral("a.example")});
}

TEST_F(HiddenHistoryFile, UndecodableFilesStartEmptyAndAreKeptAside) {
    const QList<QByteArray> bad{
        R"({"a.example": true})", // an object, not an array
        R"(["a.example", 3])",    // a member that is not text
        "[\"a.exam",              // cut short
        "",                       // empty
        "\xff\xfe not json",
    };
    QDir().mkpath(QFileInfo(file).absolutePath());
    int n = 0;
    for (const QByteArray& bytes : bad) {
        write(file, bytes);
        EXPECT_TRUE(HiddenHistory::load(file).isEmpty()) << bytes.toStdString();
        EXPECT_FALSE(QFile::exists(file)) << "left where the next save would replace it";
        const QString aside = n == 0 ? file + QStringLiteral(".unreadable")
                                     : file + QStringLiteral(".unreadable-%1").arg(n + 1);
        EXPECT_EQ(contents(aside), bytes) << "every bad file is kept, none overwritten";
        ++n;
    }
    // The next deliberate save writes a fresh file; the kept copies stay.
    ASSERT_TRUE(HiddenHistory::save(file, {QStringLiteral("x.example")}));
    EXPECT_EQ(HiddenHistory::load(file), QSet<QString>{QStringLiteral("x.example")});
    EXPECT_EQ(contents(file + QStringLiteral(".unreadable")), bad.first());
}

TEST_F(HiddenHistoryFile, AnUnwritableFolderFailsQuietly) {
    write(folder.filePath(QStringLiteral("app")), "a file where the folder should be");
    EXPECT_FALSE(HiddenHistory::save(file, {QStringLiteral("a.example")}));
    EXPECT_TRUE(HiddenHistory::load(file).isEmpty());
}

TEST_F(HiddenHistoryFile, TheDefaultFileLivesInTheApplicationsDataFolder) {
    EXPECT_TRUE(HiddenHistory::defaultFile().endsWith(
        QStringLiteral("/app.kivaro.Kivaro/hidden-history.json")));
}

} // namespace
} // namespace kivaro
