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

void expectFreshDefaults(const Preferences& preferences) {
    EXPECT_TRUE(preferences.showMenuBarIcon());
    EXPECT_TRUE(preferences.newTabShortcut());
    EXPECT_TRUE(preferences.currentTabShortcut());
    EXPECT_TRUE(preferences.copyLinkShortcut());
    EXPECT_TRUE(preferences.pinShortcut());
    EXPECT_TRUE(preferences.lastTabShortcut());
    EXPECT_TRUE(preferences.searchSuggestions());
    EXPECT_FALSE(preferences.otherBrowsers());
    EXPECT_FALSE(preferences.welcomed());
    EXPECT_FALSE(preferences.launchAtLogin());
    EXPECT_EQ(preferences.archiveAfter(), ArchiveInterval::off);
    EXPECT_DOUBLE_EQ(preferences.panelOpacity(), 0.6);
    EXPECT_EQ(preferences.panelTheme(), PanelTheme::automatic);
    EXPECT_EQ(preferences.accent(), AccentChoice::brand);
    EXPECT_EQ(preferences.customAccent(), std::nullopt);
    EXPECT_EQ(preferences.resultLayout(), ResultLayout::grouped);
    EXPECT_EQ(preferences.searchEngine(), SearchEngine::google);
    EXPECT_EQ(preferences.sectionOrder(), ResultSection::allCases());
    EXPECT_TRUE(preferences.historySources().isEmpty());
    const ActionCombos combos = preferences.combos();
    EXPECT_EQ(combos.keys(), HotkeyAction::allCases());
    for (HotkeyAction action : HotkeyAction::allCases()) {
        EXPECT_EQ(combos.value(action), action.defaultCombo());
        EXPECT_EQ(preferences.combo(action), action.defaultCombo());
    }
}

TEST_P(PreferencesValuesTest, AFreshInstallationReadsEveryDefault) {
    expectFreshDefaults(preferences);
    EXPECT_TRUE(changes.isEmpty());
}

TEST_P(PreferencesValuesTest, EveryWriterReadsBackAfterReopening) {
    preferences.setPanelOpacity(0.85);
    preferences.setSearchEngine(SearchEngine::kagi);
    preferences.setArchiveAfter(ArchiveInterval::threeDays);
    preferences.setSearchSuggestions(false);
    preferences.setHistorySources({u"chrome"_qs, u"arc"_qs, u"brave"_qs});
    preferences.setSectionOrder({ResultSection::commands, ResultSection::tabs});
    preferences.setCombo(KeyCombo{45, control | command, u"N"_qs}, HotkeyAction::newTab);
    preferences.store(PreferenceKey::panelTheme, u"dark"_qs);
    preferences.store(PreferenceKey::accent, u"custom"_qs);
    preferences.store(PreferenceKey::customAccent, u"#1F35C7"_qs);
    preferences.store(PreferenceKey::resultLayout, u"ranked"_qs);
    preferences.store(PreferenceKey::otherBrowsers, true);
    preferences.store(PreferenceKey::welcomed, true);
    preferences.store(PreferenceKey::showMenuBarIcon, false);
    preferences.store(HotkeyAction(HotkeyAction::lastTab).enableFlag(), false);
    EXPECT_EQ(changes.size(), 15);

    const Preferences again = reopened();
    EXPECT_DOUBLE_EQ(again.panelOpacity(), 0.85);
    EXPECT_EQ(again.searchEngine(), SearchEngine::kagi);
    EXPECT_EQ(again.archiveAfter(), ArchiveInterval::threeDays);
    EXPECT_FALSE(again.searchSuggestions());
    EXPECT_EQ(again.historySources(), (QSet<QString>{u"arc"_qs, u"brave"_qs, u"chrome"_qs}));
    EXPECT_EQ(again.value(PreferenceKey::historySources).toStringList(),
              (QStringList{u"arc"_qs, u"brave"_qs, u"chrome"_qs}));
    EXPECT_EQ(again.storedSectionOrder(), (QStringList{u"commands"_qs, u"tabs"_qs}));
    EXPECT_EQ(again.sectionOrder(),
              (QList<ResultSection>{ResultSection::commands, ResultSection::tabs,
                                    ResultSection::history, ResultSection::search}));
    EXPECT_EQ(again.combo(HotkeyAction::newTab), (KeyCombo{45, control | command, u"N"_qs}));
    EXPECT_EQ(again.panelTheme(), PanelTheme::dark);
    EXPECT_EQ(again.accent(), AccentChoice::custom);
    EXPECT_EQ(again.customAccent(), u"#1F35C7"_qs);
    EXPECT_EQ(again.resultLayout(), ResultLayout::ranked);
    EXPECT_TRUE(again.otherBrowsers());
    EXPECT_TRUE(again.welcomed());
    EXPECT_FALSE(again.showMenuBarIcon());
    EXPECT_FALSE(again.lastTabShortcut());
    EXPECT_TRUE(again.pinShortcut());
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

// A wrong value under a key, and what the key must read as then.
struct WrongValue {
    QString key;
    QVariant value;
    std::function<bool(const Preferences&)> readsDefault;
};

std::vector<WrongValue> wrongValues() {
    const QVariant list = QStringList{u"dark"_qs, u"ranked"_qs};
    const QVariant bytes = QByteArray("\x01\x02", 2);
    const QVariant map = QVariantMap{{u"a"_qs, 1}};
    std::vector<WrongValue> cases;
    const auto add = [&](const QString& key, std::function<bool(const Preferences&)> check,
                         std::initializer_list<QVariant> values) {
        for (const QVariant& value : values)
            cases.push_back({key, value, check});
    };
    for (HotkeyAction action : HotkeyAction::allCases()) {
        add(action.enableFlag(),
            [action](const Preferences& p) { return p.flag(action.enableFlag()); },
            {u"maybe"_qs, 0, 1.5, list, bytes, map, u"False"_qs, u""_qs});
        add(action.comboKey(),
            [action](const Preferences& p) { return p.combo(action) == action.defaultCombo(); },
            {u"{\"keyCode\":1,\"modifiers\":256,\"key\":\"S\"}"_qs, 17, true, list, map,
             QByteArray("{corrupt"), QByteArray(""), QByteArray("[17,256,\"T\"]"),
             QByteArray(R"({"keyCode":1,"modifiers":-256,"key":"S"})"),
             QByteArray(R"({"keyCode":1,"modifiers":256})")});
    }
    add(PreferenceKey::showMenuBarIcon, [](const Preferences& p) { return p.showMenuBarIcon(); },
        {u"no"_qs, 0, list, bytes});
    add(PreferenceKey::panelTheme,
        [](const Preferences& p) { return p.panelTheme() == PanelTheme::automatic; },
        {u"Dark"_qs, u"night"_qs, true, 2, list, bytes, map});
    add(PreferenceKey::accent,
        [](const Preferences& p) { return p.accent() == AccentChoice::brand; },
        {u"System"_qs, true, 1, list, bytes});
    add(PreferenceKey::customAccent, [](const Preferences& p) { return !p.customAccent(); },
        {list, bytes, map});
    add(PreferenceKey::panelOpacity, [](const Preferences& p) { return p.panelOpacity() == 0.6; },
        {u"abc"_qs, u"0.8abc"_qs, u"nan"_qs, u"inf"_qs, true, list, bytes, map});
    add(PreferenceKey::resultLayout,
        [](const Preferences& p) { return p.resultLayout() == ResultLayout::grouped; },
        {u"Ranked"_qs, true, 1, list, bytes});
    add(PreferenceKey::searchEngine,
        [](const Preferences& p) { return p.searchEngine() == SearchEngine::google; },
        {u"Kagi"_qs, u"yahoo"_qs, true, 3, list, bytes, map});
    add(PreferenceKey::searchSuggestions,
        [](const Preferences& p) { return p.searchSuggestions(); },
        {u"off"_qs, 0, 0.0, list, bytes, map});
    add(PreferenceKey::otherBrowsers, [](const Preferences& p) { return !p.otherBrowsers(); },
        {u"yes"_qs, 1, 2.5, list, bytes, map});
    add(PreferenceKey::welcomed, [](const Preferences& p) { return !p.welcomed(); },
        {u"yes"_qs, 1, list, bytes});
    add(PreferenceKey::archiveAfter,
        [](const Preferences& p) { return p.archiveAfter() == ArchiveInterval::off; },
        {u"day"_qs, u"24 hours"_qs, true, list, bytes, map});
    add(PreferenceKey::sectionOrder,
        [](const Preferences& p) { return p.sectionOrder() == ResultSection::allCases(); },
        {true, 3, bytes, map, QStringList{u"nonsense"_qs, u"tabz"_qs},
         QVariantList{1, true, QByteArray("tabs")}});
    add(PreferenceKey::historySources,
        [](const Preferences& p) { return p.historySources().isEmpty(); },
        {bytes, map, 7, QVariantList{1, false}});
    return cases;
}

TEST_P(PreferencesValuesTest, WrongTypesUnderEveryKeyReadAsTheDefault) {
    for (const WrongValue& wrong : wrongValues()) {
        preferences.store(wrong.key, wrong.value);
        EXPECT_TRUE(wrong.readsDefault(preferences))
            << wrong.key.toStdString() << " = " << wrong.value.typeName() << " "
            << wrong.value.toString().toStdString();
        EXPECT_TRUE(wrong.readsDefault(reopened()))
            << wrong.key.toStdString() << " after reopening";
        preferences.store(wrong.key, QVariant());
    }
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
