#include "base/Identifiers.h"
#include "base/Notifications.h"
#include "platform/fake/FakeLoginItem.h"
#include "settings/Preferences.h"
#include "settings/Storage.h"
#include "support/KeyComboPrinter.h"
#include "support/TestSettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <atomic>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <thread>
#include <vector>

namespace kivaro {
namespace {

using testing::StoreKind;
using enum Modifier;

class PreferencesValuesTest : public ::testing::TestWithParam<StoreKind> {
protected:
    PreferencesValuesTest()
        : preferences(
              testing::settingsFile(GetParam(), folder.filePath(QStringLiteral("p.conf")))) {
        connection = QObject::connect(&Notifications::center(), &Notifications::posted,
                                      [this](const QString& name, const QVariant& object) {
                                          if (name == Notifications::preferencesChanged)
                                              changes.append(object.value<QObject*>());
                                      });
    }

    ~PreferencesValuesTest() override { QObject::disconnect(connection); }

    // A second reader of the same file, as a later start of the program would see it once
    // the event loop has saved the changes.
    Preferences reopened() const {
        QCoreApplication::processEvents();
        return Preferences(
            testing::settingsFile(GetParam(), folder.filePath(QStringLiteral("p.conf"))));
    }

    bool typed() const { return GetParam() == StoreKind::typed; }

    QTemporaryDir folder;
    Preferences preferences;
    QMetaObject::Connection connection;
    QList<QObject*> changes;
};

using Check = std::function<bool(const Preferences&)>;

// One preference: how it reads when nothing is stored, a write through its setter and how that
// reads after reopening, and values of the wrong type that must read as the default.
struct KeyCase {
    QString key;
    Check readsDefault;
    std::function<void(Preferences&)> write;
    Check readsWritten;
    QList<QVariant> wrong;
};

std::vector<KeyCase> keyCases() {
    const QVariant list = QStringList{u"dark"_qs, u"ranked"_qs};
    const QVariant bytes = QByteArray("\x01\x02", 2);
    const QVariant map = QVariantMap{{u"a"_qs, 1}};
    const auto stores = [](const QString& key, const QVariant& value) {
        return [key, value](Preferences& p) { p.store(key, value); };
    };
    std::vector<KeyCase> cases{
        {PreferenceKey::showMenuBarIcon,
         [](const Preferences& p) { return p.showMenuBarIcon(); },
         stores(PreferenceKey::showMenuBarIcon, false),
         [](const Preferences& p) { return !p.showMenuBarIcon(); },
         {u"no"_qs, 0, list, bytes}},
        {PreferenceKey::panelTheme,
         [](const Preferences& p) { return p.panelTheme() == PanelTheme::automatic; },
         stores(PreferenceKey::panelTheme, u"dark"_qs),
         [](const Preferences& p) { return p.panelTheme() == PanelTheme::dark; },
         {u"Dark"_qs, u"night"_qs, true, 2, list, bytes, map}},
        {PreferenceKey::accent,
         [](const Preferences& p) { return p.accent() == AccentChoice::brand; },
         stores(PreferenceKey::accent, u"custom"_qs),
         [](const Preferences& p) { return p.accent() == AccentChoice::custom; },
         {u"System"_qs, true, 1, list, bytes}},
        {PreferenceKey::customAccent,
         [](const Preferences& p) { return !p.customAccent(); },
         stores(PreferenceKey::customAccent, u"#1F35C7"_qs),
         [](const Preferences& p) { return p.customAccent() == u"#1F35C7"_qs; },
         {list, bytes, map}},
        {PreferenceKey::panelOpacity,
         [](const Preferences& p) { return p.panelOpacity() == 0.6; },
         [](Preferences& p) { p.setPanelOpacity(0.85); },
         [](const Preferences& p) { return p.panelOpacity() == 0.85; },
         {u"abc"_qs, u"0.8abc"_qs, u"nan"_qs, u"inf"_qs, true, list, bytes, map}},
        {PreferenceKey::resultLayout,
         [](const Preferences& p) { return p.resultLayout() == ResultLayout::grouped; },
         stores(PreferenceKey::resultLayout, u"ranked"_qs),
         [](const Preferences& p) { return p.resultLayout() == ResultLayout::ranked; },
         {u"Ranked"_qs, true, 1, list, bytes}},
        {PreferenceKey::searchEngine,
         [](const Preferences& p) { return p.searchEngine() == SearchEngine::google; },
         [](Preferences& p) { p.setSearchEngine(SearchEngine::kagi); },
         [](const Preferences& p) { return p.searchEngine() == SearchEngine::kagi; },
         {u"Kagi"_qs, u"yahoo"_qs, true, 3, list, bytes, map}},
        {PreferenceKey::searchSuggestions,
         [](const Preferences& p) { return p.searchSuggestions(); },
         [](Preferences& p) { p.setSearchSuggestions(false); },
         [](const Preferences& p) { return !p.searchSuggestions(); },
         {u"off"_qs, 0, 0.0, list, bytes, map}},
        {PreferenceKey::otherBrowsers,
         [](const Preferences& p) { return !p.otherBrowsers(); },
         stores(PreferenceKey::otherBrowsers, true),
         [](const Preferences& p) { return p.otherBrowsers(); },
         {u"yes"_qs, 1, 2.5, list, bytes, map}},
        {PreferenceKey::welcomed,
         [](const Preferences& p) { return !p.welcomed(); },
         stores(PreferenceKey::welcomed, true),
         [](const Preferences& p) { return p.welcomed(); },
         {u"yes"_qs, 1, list, bytes}},
        {PreferenceKey::archiveAfter,
         [](const Preferences& p) { return p.archiveAfter() == ArchiveInterval::off; },
         [](Preferences& p) { p.setArchiveAfter(ArchiveInterval::threeDays); },
         [](const Preferences& p) { return p.archiveAfter() == ArchiveInterval::threeDays; },
         {u"day"_qs, u"24 hours"_qs, true, list, bytes, map}},
        {PreferenceKey::sectionOrder,
         [](const Preferences& p) { return p.sectionOrder() == ResultSection::allCases(); },
         [](Preferences& p) {
             p.setSectionOrder({ResultSection::commands, ResultSection::tabs});
         },
         [](const Preferences& p) {
             return p.storedSectionOrder() == QStringList{u"commands"_qs, u"tabs"_qs} &&
                    p.sectionOrder() ==
                        QList<ResultSection>{ResultSection::commands, ResultSection::tabs,
                                             ResultSection::history, ResultSection::search};
         },
         {true, 3, bytes, map, QStringList{u"nonsense"_qs, u"tabz"_qs},
          QVariantList{1, true, QByteArray("tabs")}}},
        {PreferenceKey::historySources,
         [](const Preferences& p) { return p.historySources().isEmpty(); },
         [](Preferences& p) {
             p.setHistorySources({u"chrome"_qs, u"arc"_qs, u"brave"_qs});
         },
         [](const Preferences& p) {
             return p.value(PreferenceKey::historySources).toStringList() ==
                    QStringList{u"arc"_qs, u"brave"_qs, u"chrome"_qs};
         },
         {bytes, map, 7, QVariantList{1, false}}},
    };
    const KeyCombo written{45, control | command, u"N"_qs};
    for (HotkeyAction action : HotkeyAction::allCases()) {
        cases.push_back({action.enableFlag(),
                         [action](const Preferences& p) { return p.flag(action.enableFlag()); },
                         stores(action.enableFlag(), false),
                         [action](const Preferences& p) { return !p.flag(action.enableFlag()); },
                         {u"maybe"_qs, 0, 1.5, list, bytes, map, u"False"_qs, u""_qs}});
        cases.push_back(
            {action.comboKey(),
             [action](const Preferences& p) {
                 return p.combo(action) == action.defaultCombo() &&
                        p.combos().value(action) == action.defaultCombo();
             },
             [action, written](Preferences& p) { p.setCombo(written, action); },
             [action, written](const Preferences& p) { return p.combo(action) == written; },
             {u"{\"keyCode\":1,\"modifiers\":256,\"key\":\"S\"}"_qs, 17, true, list, map,
              QByteArray("{corrupt"), QByteArray(""), QByteArray("[17,256,\"T\"]"),
              QByteArray(R"({"keyCode":1,"modifiers":-256,"key":"S"})"),
              QByteArray(R"({"keyCode":1,"modifiers":256})")}});
    }
    return cases;
}

TEST_P(PreferencesValuesTest, EveryKeyReadsItsDefaultThenWhatWasWrittenAfterReopening) {
    EXPECT_FALSE(preferences.launchAtLogin());
    EXPECT_EQ(preferences.combos().keys(), HotkeyAction::allCases());
    const std::vector<KeyCase> cases = keyCases();
    for (const KeyCase& each : cases)
        EXPECT_TRUE(each.readsDefault(preferences)) << each.key.toStdString();
    EXPECT_TRUE(changes.isEmpty());
    for (const KeyCase& each : cases)
        each.write(preferences);
    EXPECT_EQ(changes.size(), qsizetype(cases.size()));
    const Preferences again = reopened();
    for (const KeyCase& each : cases)
        EXPECT_TRUE(each.readsWritten(again)) << each.key.toStdString();
}

TEST_P(PreferencesValuesTest, WrongTypesUnderEveryKeyReadAsTheDefault) {
    for (const KeyCase& each : keyCases()) {
        for (const QVariant& wrong : each.wrong) {
            preferences.store(each.key, wrong);
            EXPECT_TRUE(each.readsDefault(preferences))
                << each.key.toStdString() << " = " << wrong.typeName() << " "
                << wrong.toString().toStdString();
            EXPECT_TRUE(each.readsDefault(reopened())) << each.key.toStdString() << " reopened";
        }
        preferences.store(each.key, QVariant());
    }
}

TEST_P(PreferencesValuesTest, ListsOfOneAndNoneReadBack) {
    preferences.setHistorySources({u"arc"_qs});
    EXPECT_EQ(reopened().historySources(), QSet<QString>{u"arc"_qs});
    preferences.setSectionOrder({ResultSection::search});
    EXPECT_EQ(reopened().storedSectionOrder(), QStringList{u"search"_qs});
    preferences.setHistorySources({});
    EXPECT_TRUE(reopened().historySources().isEmpty());
    preferences.setSectionOrder({});
    EXPECT_EQ(reopened().sectionOrder(), ResultSection::allCases());
}

TEST_P(PreferencesValuesTest, OpacityIsClampedOnWriteAndRead) {
    preferences.setPanelOpacity(0.3);
    EXPECT_DOUBLE_EQ(preferences.panelOpacity(), 0.6);
    preferences.setPanelOpacity(1.4);
    EXPECT_DOUBLE_EQ(preferences.panelOpacity(), 1.0);
    preferences.setPanelOpacity(std::numeric_limits<double>::quiet_NaN());
    EXPECT_DOUBLE_EQ(preferences.panelOpacity(), 0.6);
    preferences.setPanelOpacity(std::numeric_limits<double>::infinity());
    EXPECT_DOUBLE_EQ(preferences.panelOpacity(), 0.6);
    // Values written around the writer are clamped when read.
    preferences.store(PreferenceKey::panelOpacity, 0.1);
    EXPECT_DOUBLE_EQ(preferences.panelOpacity(), 0.6);
    preferences.store(PreferenceKey::panelOpacity, 7);
    EXPECT_DOUBLE_EQ(preferences.panelOpacity(), 1.0);
    preferences.store(PreferenceKey::panelOpacity, 0.75f);
    EXPECT_DOUBLE_EQ(preferences.panelOpacity(), 0.75);
}

TEST_P(PreferencesValuesTest, ArchiveIntervalTakesOnlyItsHours) {
    for (const auto& [stored, expected] : std::vector<std::pair<QVariant, ArchiveInterval>>{
             {12, ArchiveInterval::twelveHours},
             {24, ArchiveInterval::day},
             {72, ArchiveInterval::threeDays},
             {168, ArchiveInterval::week},
             {0, ArchiveInterval::off},
             {48, ArchiveInterval::off},
             {-24, ArchiveInterval::off},
             {24.5, ArchiveInterval::off},
             {24.0, ArchiveInterval::day},
             {qint64(1) << 40, ArchiveInterval::off},
         }) {
        preferences.store(PreferenceKey::archiveAfter, stored);
        EXPECT_EQ(preferences.archiveAfter(), expected) << stored.toString().toStdString();
    }
    preferences.setArchiveAfter(ArchiveInterval::off);
    EXPECT_EQ(reopened().value(PreferenceKey::archiveAfter).toInt(), 0);
    EXPECT_EQ(ArchiveInterval(ArchiveInterval::off).seconds(), std::nullopt);
    EXPECT_EQ(ArchiveInterval(ArchiveInterval::twelveHours).seconds(), 43200);
    EXPECT_EQ(ArchiveInterval(ArchiveInterval::week).seconds(), 604800);
}

TEST_P(PreferencesValuesTest, TextIsABooleanOrANumberOnlyInATextStore) {
    // An INI file gives back Booleans and numbers as text; a typed store keeps them apart.
    preferences.store(HotkeyAction(HotkeyAction::pin).enableFlag(), u"false"_qs);
    EXPECT_EQ(preferences.pinShortcut(), typed());
    preferences.store(PreferenceKey::otherBrowsers, u"true"_qs);
    EXPECT_EQ(preferences.otherBrowsers(), !typed());
    preferences.store(PreferenceKey::panelOpacity, u"0.8"_qs);
    EXPECT_DOUBLE_EQ(preferences.panelOpacity(), typed() ? 0.6 : 0.8);
    preferences.store(PreferenceKey::archiveAfter, u"24"_qs);
    EXPECT_EQ(preferences.archiveAfter(), typed() ? ArchiveInterval::off : ArchiveInterval::day);
    preferences.store(PreferenceKey::historySources, u"arc"_qs);
    EXPECT_EQ(preferences.historySources().isEmpty(), typed());
}

TEST_P(PreferencesValuesTest, StoredBindingsReadAndWriteAsEarlierVersionsDid) {
    const HotkeyAction pin = HotkeyAction::pin;
    // The Mac's key code, the Carbon modifier masks and the key's name, keys in JSON order.
    const struct {
        const char* stored;
        KeyCombo combo;
    } bindings[] = {
        {R"({"key":"N","keyCode":45,"modifiers":4352})", {45, control | command, u"N"_qs}},
        {R"({"key":"↩","keyCode":36,"modifiers":2560})", {36, option | shift, u"↩"_qs}},
        {R"({"key":"F5","keyCode":96,"modifiers":6912})", {96, allModifiers, u"F5"_qs}},
        // An unknown key code is kept; it simply registers nowhere.
        {R"({"key":"?","keyCode":999,"modifiers":4096})", {999, control, u"?"_qs}},
    };
    for (const auto& [stored, combo] : bindings) {
        preferences.store(pin.comboKey(), QByteArray(stored));
        EXPECT_EQ(preferences.combo(pin), combo) << stored;
        preferences.setCombo(std::nullopt, pin);
        preferences.setCombo(combo, pin);
        EXPECT_EQ(reopened().value(pin.comboKey()).toByteArray(), QByteArray(stored));
    }
    preferences.store(pin.comboKey(), QByteArray("\x00\xff{{", 4));
    EXPECT_EQ(preferences.combo(pin), pin.defaultCombo());
}

TEST_P(PreferencesValuesTest, SettingABindingToItsDefaultRemovesTheKey) {
    const HotkeyAction action = HotkeyAction::copyLink;
    preferences.setCombo(KeyCombo{8, control | command, u"C"_qs}, action);
    EXPECT_TRUE(reopened().value(action.comboKey()).isValid());
    preferences.setCombo(action.defaultCombo(), action);
    EXPECT_FALSE(reopened().value(action.comboKey()).isValid());

    preferences.setCombo(KeyCombo{8, control | command, u"C"_qs}, action);
    preferences.setCombo(std::nullopt, action);
    EXPECT_FALSE(reopened().value(action.comboKey()).isValid());

    // Same keys, another name: not the default, so it is kept.
    preferences.setCombo(KeyCombo{8, shift | command, u"c"_qs}, action);
    EXPECT_EQ(reopened().combo(action).key, u"c"_qs);
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
    const QSet<QString> first{u"arc"_qs};
    const QSet<QString> second{u"brave"_qs, u"chrome"_qs};
    std::atomic<bool> done{false};
    std::atomic<int> reads{0};
    std::atomic<int> wrong{0};
    std::vector<std::thread> readers;
    for (int i = 0; i < 3; ++i) {
        readers.emplace_back([&] {
            while (!done.load()) {
                const QSet<QString> sources = preferences.historySources();
                if (sources != first && sources != second && !sources.isEmpty())
                    ++wrong;
                const SearchEngine engine = preferences.searchEngine();
                if (engine != SearchEngine::google && engine != SearchEngine::kagi)
                    ++wrong;
                if (preferences.combos().size() != 5)
                    ++wrong;
                ++reads;
            }
        });
    }
    for (int i = 0; i < 200; ++i) {
        preferences.setHistorySources(i % 2 ? first : second);
        preferences.setSearchEngine(i % 2 ? SearchEngine::kagi : SearchEngine::google);
    }
    while (reads.load() < 20) {
        preferences.setSearchEngine(SearchEngine::kagi);
    }
    done = true;
    for (std::thread& reader : readers)
        reader.join();
    EXPECT_EQ(wrong.load(), 0);
    EXPECT_EQ(preferences.historySources(), first);
}

INSTANTIATE_TEST_SUITE_P(Stores, PreferencesValuesTest,
                         ::testing::Values(StoreKind::ini, StoreKind::typed),
                         [](const auto& info) { return std::string(testing::name(info.param)); });

TEST(SharedPreferencesTest, LivesInTheRedirectedUserScopeUnderTheBundleIdentifier) {
    const auto settings = Storage::settings(Identifiers::bundle);
    const QString file = settings->fileName();
    const QString realConfig =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    EXPECT_TRUE(file.endsWith(u"/app.kivaro.Kivaro.conf"_qs)) << file.toStdString();
    EXPECT_FALSE(file.startsWith(realConfig)) << "tests must not touch the user's settings";

    Preferences::shared().setSearchEngine(SearchEngine::duckDuckGo);
    EXPECT_EQ(Preferences::shared().searchEngine(), SearchEngine::duckDuckGo);
    EXPECT_EQ(Preferences(Storage::settings(Identifiers::bundle)).searchEngine(),
              SearchEngine::duckDuckGo);
    Preferences::shared().store(PreferenceKey::searchEngine, QVariant());
}

} // namespace
} // namespace kivaro
