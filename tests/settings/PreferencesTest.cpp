#include "settings/Preferences.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kivaro;
using namespace Qt::StringLiterals;

namespace {

// Preferences over a settings file of their own, written in the text form Linux uses.
class PreferencesTest : public ::testing::Test {
protected:
    std::unique_ptr<QSettings> settingsFile() const {
        return std::make_unique<QSettings>(folder.filePath(u"settings.ini"_s),
                                           QSettings::IniFormat);
    }

    QTemporaryDir folder;
};

TEST_F(PreferencesTest, FreshSettingsReadTheDefaults) {
    Preferences preferences(settingsFile());
    EXPECT_EQ(preferences.searchEngine(), SearchEngine::google);
    EXPECT_EQ(preferences.resultLayout(), ResultLayout::grouped);
    EXPECT_EQ(preferences.sectionOrder(), ResultSection::allCases());
}

TEST_F(PreferencesTest, WrittenValuesReadBackThroughAFreshStore) {
    {
        Preferences preferences(settingsFile());
        preferences.setSearchEngine(SearchEngine::kagi);
        preferences.store(u"resultLayout"_s, u"ranked"_s);
        preferences.setSectionOrder({ResultSection::search});
    }
    Preferences reopened(settingsFile());
    EXPECT_EQ(reopened.searchEngine(), SearchEngine::kagi);
    EXPECT_EQ(reopened.resultLayout(), ResultLayout::ranked);
    // A one-element list comes back from the text file as plain text.
    EXPECT_EQ(reopened.storedSectionOrder(), QStringList{u"search"_s});
    EXPECT_EQ(reopened.sectionOrder().first(), ResultSection::search);
    EXPECT_EQ(reopened.sectionOrder().size(), 4);
}

TEST_F(PreferencesTest, UnknownOrWronglyTypedValuesMeanTheDefault) {
    Preferences preferences(settingsFile());
    preferences.store(u"searchEngine"_s, u"altavista"_s);
    preferences.store(u"resultLayout"_s, 42);
    preferences.store(u"sectionOrder"_s, QVariantList{7, u"commands"_s, true});
    EXPECT_EQ(preferences.searchEngine(), SearchEngine::google);
    EXPECT_EQ(preferences.resultLayout(), ResultLayout::grouped);
    EXPECT_EQ(preferences.storedSectionOrder(), QStringList{u"commands"_s});

    preferences.store(u"searchEngine"_s, QStringList{u"bing"_s, u"kagi"_s});
    EXPECT_EQ(preferences.searchEngine(), SearchEngine::google);
    preferences.store(u"sectionOrder"_s, 3.5);
    EXPECT_EQ(preferences.sectionOrder(), ResultSection::allCases());
}

TEST_F(PreferencesTest, SharedPreferencesAreOneObject) {
    EXPECT_EQ(&Preferences::shared(), &Preferences::shared());
}

} // namespace
