#include "keys/Binding.h"

#include "keys/KeyCaps.h"
#include "keys/Shortcut.h"
#include "support/KeyComboPrinter.h"

#include <gtest/gtest.h>

namespace kivaro {
namespace {

using enum Modifier;

ActionCombos defaultCombos() {
    ActionCombos combos;
    for (HotkeyAction action : HotkeyAction::allCases())
        combos.insert(action, action.defaultCombo());
    return combos;
}

TEST(HotkeyActionTest, TableOfActionsTitlesDefaultsAndKeys) {
    const struct {
        QString raw;
        QString title;
        KeyCombo combo; // Mac virtual key codes, as settings store them
    } rows[] = {
        {u"newTab"_qs, u"Open in new tab"_qs, {17, command, u"T"_qs}},
        {u"currentTab"_qs, u"Open in current tab"_qs, {37, command, u"L"_qs}},
        {u"copyLink"_qs, u"Copy page link"_qs, {8, shift | command, u"C"_qs}},
        {u"pin"_qs, u"Pin or unpin tab"_qs, {35, shift | command, u"P"_qs}},
        {u"lastTab"_qs, u"Switch to last tab"_qs, {48, control, u"Tab"_qs}},
    };
    const QList<HotkeyAction> actions = HotkeyAction::allCases();
    ASSERT_EQ(actions.size(), std::size(rows));
    for (qsizetype i = 0; i < actions.size(); ++i) {
        EXPECT_EQ(actions[i].rawValue(), rows[i].raw);
        EXPECT_EQ(actions[i].title(), rows[i].title);
        EXPECT_EQ(actions[i].defaultCombo(), rows[i].combo);
        EXPECT_EQ(actions[i].comboKey(), rows[i].raw + u"Combo"_qs);
        EXPECT_EQ(actions[i].enableFlag(), rows[i].raw + u"Shortcut"_qs);
        EXPECT_EQ(HotkeyAction::fromRaw(rows[i].raw), actions[i]);
    }
    EXPECT_EQ(HotkeyAction::fromRaw(u"NewTab"), std::nullopt);
    EXPECT_EQ(HotkeyAction::fromRaw(u""), std::nullopt);
}

TEST(BindingTest, AKeyPressBecomesABindingWithTheKeysName) {
    const struct {
        KeyCombo pressed;
        QString key;
    } cases[] = {
        {{17, shift | command, u"t"_qs}, u"T"_qs},
        // Named keys take the table's name whatever their characters.
        {{36, command, u"\r"_qs}, u"↩"_qs},
        {{48, control, u"\t"_qs}, u"Tab"_qs},
        {{111, command, QString()}, u"F12"_qs},
        {{49, control, u" "_qs}, u"Space"_qs},
        {{10, command, QString()}, u"?"_qs},
        // Non-ASCII characters are upper-cased as text.
        {{41, option, u"ö"_qs}, u"Ö"_qs},
    };
    for (const auto& [pressed, key] : cases) {
        EXPECT_EQ(Binding::fromPress(pressed), (KeyCombo{pressed.keyCode, pressed.modifiers, key}));
    }
    // Bits that are no modifier key are dropped.
    const KeyCombo locked{17, allModifiers | Modifiers::fromInt(0x1 | 0x400), u"t"_qs};
    EXPECT_EQ(Binding::fromPress(locked).modifiers, allModifiers);
}

TEST(BindingTest, ProblemsAgainstTheDefaultBindings) {
    const QString needsModifier = u"Use ⌘, ⌃ or ⌥"_qs;
    const QString system = u"Used by macOS"_qs;
    const struct {
        KeyCombo combo;
        HotkeyAction action;
        std::optional<QString> problem;
    } cases[] = {
        {{8, shift, u"C"_qs}, HotkeyAction::pin, needsModifier},
        {{8, {}, u"C"_qs}, HotkeyAction::pin, needsModifier},
        {{8, control, u"C"_qs}, HotkeyAction::pin, std::nullopt},
        {{8, option, u"C"_qs}, HotkeyAction::pin, std::nullopt},
        // ⌘Q, ⌘W, ⌘H, ⌘M, ⌘Tab and ⌘Space stay the system's; other modifiers are free.
        {{12, command, u"Q"_qs}, HotkeyAction::newTab, system},
        {{13, command, u"W"_qs}, HotkeyAction::newTab, system},
        {{4, command, u"H"_qs}, HotkeyAction::newTab, system},
        {{46, command, u"M"_qs}, HotkeyAction::newTab, system},
        {{48, command, u"Tab"_qs}, HotkeyAction::newTab, system},
        {{49, command, u"x"_qs}, HotkeyAction::newTab, system},
        {{49, control, u"Space"_qs}, HotkeyAction::newTab, std::nullopt},
        // The first rule wins.
        {{49, shift, u"Space"_qs}, HotkeyAction::newTab, needsModifier},
        // ⌥⇧⌘C is copy-link's Markdown key.
        {{8, option | shift | command, u"C"_qs}, HotkeyAction::pin, u"Used by Copy page link"_qs},
        // Copy link on ⌘P: its variant ⌥⌘P does not meet pin's ⇧⌘P.
        {{35, command, u"P"_qs}, HotkeyAction::copyLink, std::nullopt},
        {{35, shift | command, u"P"_qs}, HotkeyAction::copyLink, u"Used by Pin or unpin tab"_qs},
        {{17, option | command, u"T"_qs}, HotkeyAction::copyLink, std::nullopt},
        {{17, command, u"T"_qs}, HotkeyAction::copyLink, u"Used by Open in new tab"_qs},
        // Keys are compared, not names; the action's own binding is no clash.
        {{17, command, u"whatever"_qs}, HotkeyAction::pin, u"Used by Open in new tab"_qs},
        {{17, command, u"T"_qs}, HotkeyAction::newTab, std::nullopt},
    };
    const ActionCombos defaults = defaultCombos();
    for (const auto& [combo, action, problem] : cases) {
        EXPECT_EQ(Binding::problem(combo, action, defaults), problem)
            << ::testing::PrintToString(combo) << " for " << action.rawValue().toStdString();
    }
}

TEST(BindingTest, ACandidatesMarkdownVariantMeetsOtherBindings) {
    ActionCombos combos = defaultCombos();
    combos.insert(HotkeyAction::lastTab, {0, option | command, u"A"_qs});
    EXPECT_EQ(Binding::problem({0, command, u"A"_qs}, HotkeyAction::copyLink, combos),
              u"Used by Switch to last tab"_qs);
    EXPECT_EQ(Binding::problem({0, control | command, u"A"_qs}, HotkeyAction::copyLink, combos),
              std::nullopt);
    // Actions without a binding in the map are not checked.
    EXPECT_EQ(Binding::problem({17, command, u"T"_qs}, HotkeyAction::pin, {}), std::nullopt);
}

TEST(BindingTest, RegistrationsAddTheMarkdownVariantForCopyLinkOnly) {
    const KeyCombo shiftCommandC{8, shift | command, u"C"_qs};
    EXPECT_EQ(Binding::registrations(shiftCommandC, HotkeyAction::copyLink),
              (QList<KeyCombo>{shiftCommandC, {8, option | shift | command, u"C"_qs}}));
    EXPECT_EQ(Binding::registrations(shiftCommandC, HotkeyAction::pin),
              QList<KeyCombo>{shiftCommandC});
    const KeyCombo withOption{8, option | command, u"C"_qs};
    EXPECT_EQ(Binding::registrations(withOption, HotkeyAction::copyLink),
              QList<KeyCombo>{withOption});
}

TEST(BindingTest, JsonRoundTripAndStrictDecoding) {
    for (const KeyCombo& combo : {KeyCombo{8, shift | command, u"C"_qs},
                                  KeyCombo{126, Modifiers::fromInt(0xFFFFFFFF), u"↑"_qs}}) {
        EXPECT_EQ(Binding::fromJson(Binding::toJson(combo)), combo);
    }
    // Keys in any order, extra keys ignored.
    EXPECT_EQ(Binding::fromJson(R"({"key":"T","extra":[1],"modifiers":256,"keyCode":17})"),
              (KeyCombo{17, command, u"T"_qs}));
    // An unknown key code is still a binding; it simply may not register anywhere.
    EXPECT_EQ(Binding::fromJson(R"({"keyCode":999,"modifiers":256,"key":"?"})"),
              (KeyCombo{999, command, u"?"_qs}));

    for (const char* bad : {
             "",
             "{",
             "not json",
             "[]",
             "null",
             "17",
             R"("text")",
             R"({"keyCode":17,"modifiers":256})",                   // key missing
             R"({"modifiers":256,"key":"T"})",                      // keyCode missing
             R"({"keyCode":17,"key":"T"})",                         // modifiers missing
             R"({"keyCode":"17","modifiers":256,"key":"T"})",       // text, not a number
             R"({"keyCode":17,"modifiers":256,"key":5})",           // key not text
             R"({"keyCode":-1,"modifiers":256,"key":"T"})",         // negative
             R"({"keyCode":1.5,"modifiers":256,"key":"T"})",        // fraction
             R"({"keyCode":4294967296,"modifiers":256,"key":"T"})", // past 32 bits
             R"({"keyCode":17,"modifiers":null,"key":"T"})",
             R"({"keyCode":17,"modifiers":true,"key":"T"})",
         }) {
        EXPECT_EQ(Binding::fromJson(QByteArray(bad)), std::nullopt) << bad;
    }
    EXPECT_EQ(Binding::fromJson(QByteArray("\xff\xfe\x00{", 4)), std::nullopt);
    const QByteArray trailing =
        QByteArrayLiteral("{\"keyCode\":17,\"modifiers\":256,\"key\":\"T\"}\0x");
    EXPECT_EQ(Binding::fromJson(trailing), std::nullopt);
    EXPECT_EQ(Binding::fromJson(trailing.chopped(2) + "}"), std::nullopt);
}

TEST(KeyCapsTest, GlyphsAndLinuxNamesComeFromTheSameBinding) {
    using KeyCaps::Style;
    const struct {
        KeyCombo combo;
        QString glyphs;
        QString linuxNames;
    } cases[] = {
        {{8, shift | command, u"C"_qs}, u"⇧⌘C"_qs, u"Ctrl+Shift+C"_qs},
        {{48, control, u"Tab"_qs}, u"⌃Tab"_qs, u"Super+Tab"_qs},
        {{123, allModifiers, u"←"_qs}, u"⌃⌥⇧⌘←"_qs, u"Ctrl+Super+Alt+Shift+Left"_qs},
        {{116, option, u"⇞"_qs}, u"⌥⇞"_qs, u"Alt+Page Up"_qs},
        // Keys without a Mac glyph keep their name.
        {{122, command, u"F1"_qs}, u"⌘F1"_qs, u"Ctrl+F1"_qs},
        // Bits that are no modifier of ours show nothing.
        {{0, Modifiers::fromInt(0x1 | 0x400), u"A"_qs}, u"A"_qs, u"A"_qs},
        {Shortcut::actions(), u"⌘K"_qs, u"Ctrl+K"_qs},
    };
    for (const auto& [combo, glyphs, linuxNames] : cases) {
        EXPECT_EQ(KeyCaps::text(combo, Style::glyphs), glyphs);
        EXPECT_EQ(KeyCaps::text(combo, Style::linuxNames), linuxNames);
    }
#ifdef Q_OS_MACOS
    EXPECT_EQ(KeyCaps::nativeStyle(), Style::glyphs);
#else
    EXPECT_EQ(KeyCaps::nativeStyle(), Style::linuxNames);
    EXPECT_EQ(KeyCaps::of({17, command, u"T"_qs}), (QStringList{u"Ctrl"_qs, u"T"_qs}));
    // A menu item's glyph caps read as Linux names; anything else is left alone.
    EXPECT_EQ(KeyCaps::native({u"⌥"_qs, u"⌘"_qs, u"⌫"_qs}),
              (QStringList{u"Ctrl"_qs, u"Alt"_qs, u"Backspace"_qs}));
    EXPECT_EQ(KeyCaps::native({u"Tab"_qs}), (QStringList{u"Tab"_qs}));
    EXPECT_EQ(KeyCaps::native({u"fn"_qs, u"F"_qs}), (QStringList{u"fn"_qs, u"F"_qs}));
#endif
}

} // namespace
} // namespace kivaro
