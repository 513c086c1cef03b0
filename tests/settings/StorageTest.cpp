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
    std::unique_ptr<QSettings> settings(const QString& name) const {
        return testing::settingsFile(GetParam(), folder.filePath(name));
    }

    // A state file in the base folder "data" or "cache", under `name`.
    void writeState(const QString& base, const QString& name, const QByteArray& contents) const {
        testing::writeFile(folder.filePath(base + u'/' + name + u"/state.json"_s), contents);
    }

    // Both base folders as "base/name=what": a state file's text, "file" or "link".
    QString folders() const {
        QStringList list;
        for (const QString& base : {u"cache"_s, u"data"_s}) {
            const QDir dir(folder.filePath(base));
            for (const QFileInfo& entry : dir.entryInfoList(
                     QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name)) {
                const QString what =
                    entry.isSymLink() ? u"link"_s
                    : entry.isFile()
                        ? u"file"_s
                        : QString::fromUtf8(testing::readFile(entry.filePath() + u"/state.json"_s));
                list.append(base + u'/' + entry.fileName() + u'=' + what);
            }
        }
        return list.join(u' ');
    }

    QTemporaryDir folder;
    QStringList bases{folder.filePath(u"data"_s), folder.filePath(u"cache"_s)};
    std::unique_ptr<QSettings> current = settings(u"current"_s);
    std::unique_ptr<QSettings> legacy = settings(u"legacy"_s);
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
    auto reopened = settings(u"current"_s);
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

// A legacy folder moves only when the new one is missing; every start tries again.
TEST_P(StorageTest, MovesALegacyFolderOnlyWhenTheNewOneIsMissing) {
    writeState(u"data"_s, Identifiers::legacy, "old data");
    writeState(u"cache"_s, Identifiers::legacy, "old cache");
    writeState(u"cache"_s, Identifiers::bundle, "new cache");
    const QString moved = u"cache/app.kivaro.Kivaro=new cache cache/app.kivaro.shared=old cache "
                          u"data/app.kivaro.Kivaro=old data"_s;
    Storage::migrate(bases, *current, *legacy);
    EXPECT_EQ(folders(), moved);
    Storage::migrate(bases, *current, *legacy);
    EXPECT_EQ(folders(), moved);
}

// A file where the legacy folder would be, a dangling link where the new one would be, an
// empty and a missing base folder.
TEST_P(StorageTest, OddThingsInTheFoldersAreLeftAlone) {
    testing::writeFile(folder.filePath(u"data/"_s + Identifiers::legacy), {});
    writeState(u"cache"_s, Identifiers::legacy, "old cache");
    ASSERT_TRUE(QFile::link(folder.filePath(u"nowhere"_s), bases[1] + u'/' + Identifiers::bundle));
    Storage::migrate(QStringList{bases[0], QString(), bases[1], folder.filePath(u"missing"_qs)},
                     *current, *legacy);
    EXPECT_EQ(folders(), u"cache/app.kivaro.Kivaro=link cache/app.kivaro.shared=old cache "
                         u"data/app.kivaro.shared=file"_s);
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

} // namespace
} // namespace kivaro
