#include "settings/Storage.h"

#include "base/Identifiers.h"
#include "support/Files.h"
#include "support/TestSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kivaro {
namespace {

using namespace Qt::StringLiterals;

using testing::StoreKind;

class StorageTest : public ::testing::TestWithParam<StoreKind> {
protected:
    StorageTest()
        : current(testing::settingsFile(GetParam(), folder.filePath(u"current"_s))),
          legacy(testing::settingsFile(GetParam(), folder.filePath(u"legacy"_s))) {
        for (const QString& name : {u"data"_s, u"cache"_s}) {
            QDir(folder.path()).mkpath(name);
            bases.append(folder.filePath(name));
        }
    }

    static void makeFolderWithFile(const QString& path, const QByteArray& content) {
        testing::writeFile(path + u"/state.json"_s, content);
    }

    static QByteArray fileIn(const QString& path) {
        return testing::readFile(path + u"/state.json"_s);
    }

    QString in(int base, const QString& name) const { return QDir(bases[base]).filePath(name); }

    QTemporaryDir folder;
    std::unique_ptr<QSettings> current;
    std::unique_ptr<QSettings> legacy;
    QStringList bases;
};

TEST_P(StorageTest, CopiesLegacySettingsWithoutOverwritingOnce) {
    current->setValue(u"searchEngine"_s, u"kagi"_s);
    legacy->setValue(u"searchEngine"_s, u"bing"_s);
    legacy->setValue(u"panelOpacity"_s, 0.8);
    legacy->setValue(u"newTabCombo"_s, QByteArray(R"({"keyCode":1})"));
    legacy->setValue(u"historySources"_s, QStringList{u"arc"_qs, u"chrome"_qs});

    Storage::migrate(bases, *current, *legacy);
    EXPECT_EQ(current->value(u"searchEngine"_s).toString(), u"kagi"_qs);
    EXPECT_DOUBLE_EQ(current->value(u"panelOpacity"_s).toDouble(), 0.8);
    EXPECT_EQ(current->value(u"newTabCombo"_s).toByteArray(), QByteArray(R"({"keyCode":1})"));
    EXPECT_EQ(current->value(u"historySources"_s).toStringList(),
              (QStringList{u"arc"_qs, u"chrome"_qs}));
    EXPECT_EQ(current->value(u"migratedSettings"_s).toString(), u"true"_qs);

    // Once done, later legacy keys stay behind, even after a restart.
    legacy->setValue(u"welcomed"_s, true);
    auto reopened = testing::settingsFile(GetParam(), folder.filePath(u"current"_s));
    Storage::migrate(bases, *reopened, *legacy);
    EXPECT_FALSE(reopened->contains(u"welcomed"_s));
}

TEST_P(StorageTest, NoLegacySettingsStillMarkTheMigrationAndAFlagNotTrueLetsItRun) {
    Storage::migrate(bases, *current, *legacy);
    EXPECT_EQ(current->allKeys(), QStringList{u"migratedSettings"_qs});
    current->setValue(u"migratedSettings"_s, u"yes"_s);
    legacy->setValue(u"welcomed"_s, true);
    Storage::migrate(bases, *current, *legacy);
    EXPECT_TRUE(current->contains(u"welcomed"_s));
}

TEST_P(StorageTest, MovesALegacyFolderOnlyWhenTheNewOneIsMissing) {
    const QString legacyName = Identifiers::legacy;
    const QString currentName = Identifiers::bundle;
    makeFolderWithFile(in(0, legacyName), "old data");
    makeFolderWithFile(in(1, legacyName), "old cache");
    makeFolderWithFile(in(1, currentName), "new cache");

    Storage::migrate(bases, *current, *legacy);
    EXPECT_EQ(fileIn(in(0, currentName)), QByteArray("old data"));
    EXPECT_FALSE(QFileInfo::exists(in(0, legacyName)));
    // Both exist in the cache folder: neither is touched.
    EXPECT_EQ(fileIn(in(1, currentName)), QByteArray("new cache"));
    EXPECT_EQ(fileIn(in(1, legacyName)), QByteArray("old cache"));

    // Every start tries again; nothing left to move changes nothing.
    Storage::migrate(bases, *current, *legacy);
    EXPECT_EQ(fileIn(in(0, currentName)), QByteArray("old data"));
}

TEST_P(StorageTest, OddThingsInTheFoldersAreLeftAlone) {
    // A file where the legacy folder would be.
    QFile file(in(0, Identifiers::legacy));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    // A dangling link where the new folder would be.
    makeFolderWithFile(in(1, Identifiers::legacy), "old cache");
    ASSERT_TRUE(QFile::link(folder.filePath(u"nowhere"_s), in(1, Identifiers::bundle)));

    Storage::migrate(QStringList{bases[0], QString(), bases[1], folder.filePath(u"missing"_qs)},
                     *current, *legacy);
    EXPECT_TRUE(QFileInfo(in(0, Identifiers::legacy)).isFile());
    EXPECT_FALSE(QFileInfo::exists(in(0, Identifiers::bundle)));
    EXPECT_EQ(fileIn(in(1, Identifiers::legacy)), QByteArray("old cache"));
    EXPECT_TRUE(QFileInfo(in(1, Identifiers::bundle)).isSymLink());
}

INSTANTIATE_TEST_SUITE_P(Stores, StorageTest, ::testing::Values(StoreKind::ini, StoreKind::typed),
                         [](const auto& info) { return std::string(testing::name(info.param)); });

// Qt would read a damaged serialised value by the length it declares (gigabytes), at every
// start: such a file is kept aside unread.
TEST(StorageFileTest, SerialisedValuesSetTheFileAsideUnread) {
    const QString file = Storage::settings(QStringLiteral("damaged"))->fileName();
    const QByteArray plain = "[General]\nkept=1\n";
    const QByteArray damaged = plain + "list=a, \\x40Variant(\\0\\0\\0\\n(\\0\\0\\0\\x2)\n";
    for (const QByteArray& contents : {plain, damaged}) {
        testing::writeFile(file, contents);
        const bool setAside = contents == damaged;
        EXPECT_EQ(Storage::settings(QStringLiteral("damaged"))->allKeys(),
                  setAside ? QStringList{} : QStringList{QStringLiteral("kept")});
        EXPECT_EQ(QFileInfo::exists(file + QStringLiteral(".unreadable")), setAside);
    }
    EXPECT_EQ(testing::readFile(file + QStringLiteral(".unreadable")), damaged);
}

TEST(StorageFoldersTest, DataAndCacheFoldersCarryTheBundleIdentifier) {
    const QStringList bases = Storage::baseFolders();
    ASSERT_EQ(bases.size(), 2);
    EXPECT_FALSE(bases[0].isEmpty());
    EXPECT_FALSE(bases[1].isEmpty());
    EXPECT_NE(bases[0], bases[1]);
    EXPECT_EQ(Storage::dataFolder(), bases[0] + u"/app.kivaro.Kivaro"_qs);
}

} // namespace
} // namespace kivaro
