#include "base/Identifiers.h"
#include "base/Notifications.h"
#include "platform/fake/FakeLoginItem.h"
#include "settings/Preferences.h"
#include "settings/Storage.h"
#include "support/KeyComboPrinter.h"
#include "support/TestSettings.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <atomic>
#include <gtest/gtest.h>
#include <limits>
#include <thread>
#include <vector>

namespace kivaro {
namespace {

using namespace Qt::StringLiterals;
using testing::StoreKind;
using enum Modifier;

class PreferencesValuesTest : public ::testing::TestWithParam<StoreKind> {
protected:
    PreferencesValuesTest() {
        QObject::connect(&Notifications::center(), &Notifications::posted, &listener,
                         [this](const QString& name, const QVariant& object) {
                             if (name == Notifications::preferencesChanged)
                                 changes.append(object.value<QObject*>());
                         });
    }

    // A second reader of the same file, as a later start of the program would see it once
    // the event loop has saved the changes.
    Preferences reopened() const {
        QCoreApplication::processEvents();
        return Preferences(testing::settingsFile(GetParam(), folder.filePath(u"p.conf"_s)));
    }

    bool typed() const { return GetParam() == StoreKind::typed; }

    QTemporaryDir folder;
    Preferences preferences{testing::settingsFile(GetParam(), folder.filePath(u"p.conf"_s))};
    QList<QObject*> changes;
    QObject listener; // gone first, and with it the connection
};

// Every preference as its typed getter reads it, in one line; a binding shows its key code,
// modifier bits and name, after its switch.
std::string described(const Preferences& p) {
    QStringList order;
    for (ResultSection section : p.sectionOrder())
        order.append(section.rawValue());
    QStringList sources = p.historySources().values();
    sources.sort();
    QStringList parts{u"icon=%1"_s.arg(int(p.showMenuBarIcon())),
                      u"theme="_s + rawValue(p.panelTheme()),
                      u"accent="_s + rawValue(p.accent()),
                      u"custom="_s + p.customAccent().value_or(u"-"_s),
                      u"opacity=%1"_s.arg(p.panelOpacity()),
                      u"layout="_s + rawValue(p.resultLayout()),
                      u"order="_s + order.join(u','),
                      u"engine="_s + p.searchEngine().rawValue(),
                      u"suggest=%1 others=%2 welcomed=%3"_s.arg(int(p.searchSuggestions()))
                          .arg(int(p.otherBrowsers()))
                          .arg(int(p.welcomed())),
                      u"archive=%1"_s.arg(p.archiveAfter().rawValue()),
                      u"sources="_s + sources.join(u',')};
    for (HotkeyAction action : HotkeyAction::allCases()) {
        const KeyCombo combo = p.combo(action);
        parts.append(u"%1=%2:%3/%4/%5%6"_s.arg(action.rawValue())
                         .arg(int(p.flag(action.enableFlag())))
                         .arg(combo.keyCode.value_or(-1))
                         .arg(combo.modifiers.toInt())
                         .arg(combo.key, p.combos().value(action) == combo ? u""_s : u"!"_s));
    }
    return parts.join(u' ').toStdString();
}

const std::string defaults =
    "icon=1 theme=auto accent=brand custom=- opacity=0.6 layout=grouped "
    "order=tabs,history,search,commands engine=google suggest=1 others=0 welcomed=0 archive=0 "
    "sources= newTab=1:17/256/T currentTab=1:37/256/L copyLink=1:8/768/C pin=1:35/768/P "
    "lastTab=1:48/4096/Tab";

TEST_P(PreferencesValuesTest, EveryKeyReadsItsDefaultThenWhatWasWrittenAfterReopening) {
    EXPECT_EQ(described(preferences), defaults);
    EXPECT_FALSE(preferences.launchAtLogin());
    EXPECT_EQ(preferences.combos().keys(), HotkeyAction::allCases());
    preferences.store(PreferenceKey::showMenuBarIcon, false);
    preferences.store(PreferenceKey::panelTheme, u"dark"_s);
    preferences.store(PreferenceKey::accent, u"custom"_s);
    preferences.store(PreferenceKey::customAccent, u"#1F35C7"_s);
    preferences.setPanelOpacity(0.85);
    preferences.store(PreferenceKey::resultLayout, u"ranked"_s);
    preferences.setSectionOrder({ResultSection::commands, ResultSection::tabs});
    preferences.setSearchEngine(SearchEngine::kagi);
    preferences.setSearchSuggestions(false);
    preferences.store(PreferenceKey::otherBrowsers, true);
    preferences.store(PreferenceKey::welcomed, true);
    preferences.setArchiveAfter(ArchiveInterval::threeDays);
    preferences.setHistorySources({u"chrome"_s, u"arc"_s, u"brave"_s});
    for (HotkeyAction action : HotkeyAction::allCases()) {
        preferences.store(action.enableFlag(), false);
        preferences.setCombo(KeyCombo{45, control | command, u"N"_s}, action);
    }
    EXPECT_EQ(changes.size(), 23);
    const Preferences again = reopened();
    EXPECT_EQ(described(again),
              "icon=0 theme=dark accent=custom custom=#1F35C7 opacity=0.85 layout=ranked "
              "order=commands,tabs,history,search engine=kagi suggest=0 others=1 welcomed=1 "
              "archive=72 sources=arc,brave,chrome newTab=0:45/4352/N currentTab=0:45/4352/N "
              "copyLink=0:45/4352/N pin=0:45/4352/N lastTab=0:45/4352/N");
    EXPECT_EQ(again.storedSectionOrder(), (QStringList{u"commands"_s, u"tabs"_s}));
    EXPECT_EQ(again.value(PreferenceKey::historySources).toStringList(),
              (QStringList{u"arc"_s, u"brave"_s, u"chrome"_s}));
}

TEST_P(PreferencesValuesTest, WrongTypesUnderEveryKeyReadAsTheDefault) {
    const QVariant list = QStringList{u"dark"_s, u"ranked"_s};
    const QVariant bytes = QByteArray("\x01\x02", 2);
    const QVariant map = QVariantMap{{u"a"_s, 1}};
    std::vector<std::pair<QString, QVariantList>> cases{
        {PreferenceKey::showMenuBarIcon, {u"no"_s, 0, list, bytes}},
        {PreferenceKey::panelTheme, {u"Dark"_s, u"night"_s, true, 2, list, bytes, map}},
        {PreferenceKey::accent, {u"System"_s, true, 1, list, bytes}},
        {PreferenceKey::customAccent, {list, bytes, map}},
        {PreferenceKey::panelOpacity,
         {u"abc"_s, u"0.8abc"_s, u"nan"_s, u"inf"_s, true, list, bytes, map}},
        {PreferenceKey::resultLayout, {u"Ranked"_s, true, 1, list, bytes}},
        {PreferenceKey::searchEngine, {u"Kagi"_s, u"yahoo"_s, true, 3, list, bytes, map}},
        {PreferenceKey::searchSuggestions, {u"off"_s, 0, 0.0, list, bytes, map}},
        {PreferenceKey::otherBrowsers, {u"yes"_s, 1, 2.5, list, bytes, map}},
        {PreferenceKey::welcomed, {u"yes"_s, 1, list, bytes}},
        {PreferenceKey::archiveAfter, {u"day"_s, u"24 hours"_s, true, list, bytes, map}},
        {PreferenceKey::sectionOrder,
         {true, 3, bytes, map, QStringList{u"nonsense"_s, u"tabz"_s},
          QVariantList{1, true, QByteArray("tabs")}}},
        {PreferenceKey::historySources, {bytes, map, 7, QVariantList{1, false}}}};
    for (HotkeyAction action : HotkeyAction::allCases()) {
        cases.push_back(
            {action.enableFlag(), {u"maybe"_s, 0, 1.5, list, bytes, map, u"False"_s, u""_s}});
        cases.push_back({action.comboKey(),
                         {u"{\"keyCode\":1,\"modifiers\":256,\"key\":\"S\"}"_s, 17, true, list, map,
                          QByteArray("{corrupt"), QByteArray(""), QByteArray("[17,256,\"T\"]"),
                          QByteArray(R"({"keyCode":1,"modifiers":-256,"key":"S"})"),
                          QByteArray(R"({"keyCode":1,"modifiers":256})")}});
    }
    for (const auto& [key, wrongs] : cases) {
        for (const QVariant& wrong : wrongs) {
            preferences.store(key, wrong);
            EXPECT_EQ(described(preferences), defaults)
                << key.toStdString() << " = " << wrong.typeName() << " "
                << wrong.toString().toStdString();
            EXPECT_EQ(described(reopened()), defaults) << key.toStdString() << " reopened";
        }
        preferences.store(key, QVariant());
    }
}

TEST_P(PreferencesValuesTest, ListsOfOneAndNoneReadBack) {
    preferences.setHistorySources({u"arc"_s});
    EXPECT_EQ(reopened().historySources(), QSet<QString>{u"arc"_s});
    preferences.setSectionOrder({ResultSection::search});
    EXPECT_EQ(reopened().storedSectionOrder(), QStringList{u"search"_s});
    preferences.setHistorySources({});
    EXPECT_TRUE(reopened().historySources().isEmpty());
    preferences.setSectionOrder({});
    EXPECT_EQ(reopened().sectionOrder(), ResultSection::allCases());
}

// Opacity is clamped on write and on read; the archive interval takes only its own hours.
TEST_P(PreferencesValuesTest, NumbersOutOfRangeReadAsABoundOrTheDefault) {
    QStringList read;
    for (double set : {0.3, 1.4, std::numeric_limits<double>::quiet_NaN(),
                       std::numeric_limits<double>::infinity()}) {
        preferences.setPanelOpacity(set);
        read.append(QString::number(preferences.panelOpacity()));
    }
    for (const QVariant& stored : {QVariant(0.1), QVariant(7), QVariant(0.75f)}) {
        preferences.store(PreferenceKey::panelOpacity, stored);
        read.append(QString::number(preferences.panelOpacity()));
    }
    for (const QVariant& stored :
         {QVariant(12), QVariant(24), QVariant(72), QVariant(168), QVariant(0), QVariant(48),
          QVariant(-24), QVariant(24.5), QVariant(24.0), QVariant(qint64(1) << 40)}) {
        preferences.store(PreferenceKey::archiveAfter, stored);
        read.append(QString::number(preferences.archiveAfter().rawValue()));
    }
    EXPECT_EQ(read.join(u' '), u"0.6 1 0.6 0.6 0.6 1 0.75 12 24 72 168 0 0 0 0 24 0"_s);
}

TEST_P(PreferencesValuesTest, TextIsABooleanOrANumberOnlyInATextStore) {
    // An INI file gives back Booleans and numbers as text; a typed store keeps them apart.
    preferences.store(HotkeyAction(HotkeyAction::pin).enableFlag(), u"false"_s);
    preferences.store(PreferenceKey::otherBrowsers, u"true"_s);
    preferences.store(PreferenceKey::panelOpacity, u"0.8"_s);
    preferences.store(PreferenceKey::archiveAfter, u"24"_s);
    preferences.store(PreferenceKey::historySources, u"arc"_s);
    EXPECT_EQ(preferences.pinShortcut(), typed());
    EXPECT_EQ(preferences.otherBrowsers(), !typed());
    EXPECT_DOUBLE_EQ(preferences.panelOpacity(), typed() ? 0.6 : 0.8);
    EXPECT_EQ(preferences.archiveAfter(), typed() ? ArchiveInterval::off : ArchiveInterval::day);
    EXPECT_EQ(preferences.historySources().isEmpty(), typed());
}

TEST_P(PreferencesValuesTest, StoredBindingsReadAndWriteAsEarlierVersionsDid) {
    const HotkeyAction pin = HotkeyAction::pin;
    // The Mac's key code, the Carbon modifier masks and the key's name, keys in JSON order.
    // An unknown key code is kept; it simply registers nowhere.
    for (const auto& [stored, combo] : std::vector<std::pair<const char*, KeyCombo>>{
             {R"({"key":"N","keyCode":45,"modifiers":4352})", {45, control | command, u"N"_s}},
             {R"({"key":"↩","keyCode":36,"modifiers":2560})", {36, option | shift, u"↩"_s}},
             {R"({"key":"F5","keyCode":96,"modifiers":6912})", {96, allModifiers, u"F5"_s}},
             {R"({"key":"?","keyCode":999,"modifiers":4096})", {999, control, u"?"_s}}}) {
        preferences.store(pin.comboKey(), QByteArray(stored));
        EXPECT_EQ(preferences.combo(pin), combo) << stored;
        preferences.setCombo(std::nullopt, pin);
        preferences.setCombo(combo, pin);
        EXPECT_EQ(reopened().value(pin.comboKey()).toByteArray(), QByteArray(stored));
    }
}

TEST_P(PreferencesValuesTest, SettingABindingToItsDefaultRemovesTheKey) {
    const HotkeyAction action = HotkeyAction::copyLink;
    const KeyCombo other{8, control | command, u"C"_s};
    preferences.setCombo(other, action);
    EXPECT_TRUE(reopened().value(action.comboKey()).isValid());
    preferences.setCombo(action.defaultCombo(), action);
    EXPECT_FALSE(reopened().value(action.comboKey()).isValid());
    preferences.setCombo(other, action);
    preferences.setCombo(std::nullopt, action);
    EXPECT_FALSE(reopened().value(action.comboKey()).isValid());
    // Same keys, another name: not the default, so it is kept.
    preferences.setCombo(KeyCombo{8, shift | command, u"c"_s}, action);
    EXPECT_EQ(reopened().combo(action).key, u"c"_s);
    EXPECT_EQ(changes.size(), 5);
}

TEST_P(PreferencesValuesTest, EveryWriteAnnouncesItselfAfterTheChange) {
    std::optional<SearchEngine> seenBefore;
    QObject::connect(&preferences, &Preferences::willChange,
                     [&] { seenBefore = preferences.searchEngine(); });
    preferences.setSearchEngine(SearchEngine::bing);
    EXPECT_EQ(seenBefore, SearchEngine::google);
    ASSERT_EQ(changes.size(), 1);
    EXPECT_EQ(changes.constFirst(), &preferences);

    FakeLoginItem item;
    preferences.setLaunchAtLogin(true); // no login item service: no change, still announced
    EXPECT_FALSE(preferences.launchAtLogin());
    preferences.setLoginItem(&item);
    preferences.setLaunchAtLogin(true);
    EXPECT_TRUE(preferences.launchAtLogin());
    item.refuse = true;
    preferences.setLaunchAtLogin(false);
    EXPECT_TRUE(preferences.launchAtLogin()) << "a refused change is ignored";
    EXPECT_EQ(item.changes, 2);
    EXPECT_EQ(changes.size(), 4);
    preferences.setLoginItem(nullptr);
}

TEST_P(PreferencesValuesTest, ReadsFromAnotherThreadWhileTheMainThreadWrites) {
    const QSet<QString> first{u"arc"_s};
    const QSet<QString> second{u"brave"_s, u"chrome"_s};
    std::atomic<bool> done{false};
    std::atomic<int> reads{0};
    std::atomic<int> wrong{0};
    std::vector<std::thread> readers;
    for (int i = 0; i < 3; ++i) {
        readers.emplace_back([&] {
            while (!done.load()) {
                const QSet<QString> sources = preferences.historySources();
                const SearchEngine engine = preferences.searchEngine();
                if ((sources != first && sources != second && !sources.isEmpty()) ||
                    (engine != SearchEngine::google && engine != SearchEngine::kagi) ||
                    preferences.combos().size() != 5)
                    ++wrong;
                ++reads;
            }
        });
    }
    for (int i = 0; i < 200 || reads.load() < 20; ++i) {
        preferences.setHistorySources(i % 2 ? first : second);
        preferences.setSearchEngine(i % 2 ? SearchEngine::kagi : SearchEngine::google);
    }
    done = true;
    for (std::thread& reader : readers)
        reader.join();
    EXPECT_EQ(wrong.load(), 0);
}

INSTANTIATE_TEST_SUITE_P(Stores, PreferencesValuesTest,
                         ::testing::Values(StoreKind::ini, StoreKind::typed),
                         [](const auto& info) { return std::string(testing::name(info.param)); });

TEST(SharedPreferencesTest, LivesInTheRedirectedUserScopeUnderTheBundleIdentifier) {
    const QString file = Storage::settings(Identifiers::bundle)->fileName();
    EXPECT_TRUE(file.endsWith(u"/app.kivaro.Kivaro.conf"_s)) << file.toStdString();
    EXPECT_FALSE(
        file.startsWith(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)))
        << "tests must not touch the user's settings";

    Preferences::shared().setSearchEngine(SearchEngine::duckDuckGo);
    EXPECT_EQ(Preferences::shared().searchEngine(), SearchEngine::duckDuckGo);
    EXPECT_EQ(Preferences(Storage::settings(Identifiers::bundle)).searchEngine(),
              SearchEngine::duckDuckGo);
    Preferences::shared().store(PreferenceKey::searchEngine, QVariant());
}

} // namespace
} // namespace kivaro
