#include "keys/HotkeyCombo.h"

#include "keys/KeyCaps.h"
#include "keys/Shortcut.h"
#include "platform/KeyCombo.h"

#include <gtest/gtest.h>

namespace kivaro {
namespace {

using namespace HotkeyModifier;

HotkeyCombos defaultCombos() {
    HotkeyCombos combos;
    for (HotkeyAction action : HotkeyAction::allCases())
        combos.insert(action, action.defaultCombo());
    return combos;
}

QStringList list(std::initializer_list<const char16_t*> items) {
    QStringList strings;
    for (const char16_t* item : items)
        strings.append(QString::fromUtf16(item));
    return strings;
}

TEST(HotkeyActionTest, TableOfActionsTitlesDefaultsAndKeys) {
    const QList<HotkeyAction> actions = HotkeyAction::allCases();
    ASSERT_EQ(actions.size(), 5);
    const QStringList raws{u"newTab"_qs, u"currentTab"_qs, u"copyLink"_qs, u"pin"_qs,
                           u"lastTab"_qs};
    const QStringList titles{u"Open in new tab"_qs, u"Open in current tab"_qs, u"Copy page link"_qs,
                             u"Pin or unpin tab"_qs, u"Switch to last tab"_qs};
    const QList<HotkeyCombo> defaults{{17, command, u"T"_qs},
                                      {37, command, u"L"_qs},
                                      {8, 0x300, u"C"_qs},
                                      {35, 0x300, u"P"_qs},
                                      {48, control, u"Tab"_qs}};
    for (int i = 0; i < actions.size(); ++i) {
        EXPECT_EQ(actions[i].rawValue(), raws[i]);
        EXPECT_EQ(actions[i].title(), titles[i]);
        EXPECT_EQ(actions[i].defaultCombo(), defaults[i]);
        EXPECT_EQ(actions[i].comboKey(), raws[i] + u"Combo"_qs);
        EXPECT_EQ(actions[i].enableFlag(), raws[i] + u"Shortcut"_qs);
        EXPECT_EQ(HotkeyAction::fromRaw(raws[i]), actions[i]);
    }
    EXPECT_EQ(HotkeyAction::fromRaw(u"NewTab"), std::nullopt);
    EXPECT_EQ(HotkeyAction::fromRaw(u""), std::nullopt);
}

TEST(HotkeyComboTest, GlyphsInControlOptionShiftCommandOrder) {
    EXPECT_EQ((HotkeyCombo{8, shift | command, u"C"_qs}.glyphs()), list({u"⇧", u"⌘", u"C"}));
    EXPECT_EQ((HotkeyCombo{48, control, u"Tab"_qs}.glyphs()), list({u"⌃", u"Tab"}));
    EXPECT_EQ((HotkeyCombo{0, command | shift | option | control, u"A"_qs}.glyphs()),
              list({u"⌃", u"⌥", u"⇧", u"⌘", u"A"}));
    // Bits that are no modifier of ours show nothing.
    EXPECT_EQ((HotkeyCombo{0, 0x1 | 0x400, u"A"_qs}.glyphs()), list({u"A"}));
}

TEST(HotkeyComboTest, FromEventMapsModifiersCharactersAndKeyNames) {
    const quint64 capsLock = 0x10000;
    const quint64 function = 0x800000;
    const KeyEvent event{17, u"t"_qs,
                         EventModifier::command | EventModifier::shift | capsLock | function};
    EXPECT_EQ(HotkeyCombo::fromEvent(event), (HotkeyCombo{17, command | shift, u"T"_qs}));

    const KeyEvent all{0, u"a"_qs,
                       EventModifier::control | EventModifier::option | EventModifier::shift |
                           EventModifier::command};
    EXPECT_EQ(HotkeyCombo::fromEvent(all).modifiers, control | option | shift | command);

    // Named keys take the table's name whatever their characters.
    EXPECT_EQ(HotkeyCombo::fromEvent({36, u"\r"_qs, EventModifier::command}).key, u"↩"_qs);
    EXPECT_EQ(HotkeyCombo::fromEvent({48, u"\t"_qs, EventModifier::control}).key, u"Tab"_qs);
    EXPECT_EQ(HotkeyCombo::fromEvent({111, QString(), EventModifier::command}).key, u"F12"_qs);
    EXPECT_EQ(HotkeyCombo::fromEvent({49, u" "_qs, 0}).key, u"Space"_qs);
    // No characters at all.
    EXPECT_EQ(HotkeyCombo::fromEvent({10, QString(), EventModifier::command}).key, u"?"_qs);
    // Non-ASCII characters are upper-cased as text.
    EXPECT_EQ(HotkeyCombo::fromEvent({41, u"ö"_qs, EventModifier::option}).key, u"Ö"_qs);
}

TEST(HotkeyComboTest, ProblemNeedsCommandControlOrOption) {
    const HotkeyCombos combos = defaultCombos();
    EXPECT_EQ((HotkeyCombo{8, shift, u"C"_qs}.problem(HotkeyAction::pin, combos)),
              u"Use ⌘, ⌃ or ⌥"_qs);
    EXPECT_EQ((HotkeyCombo{8, 0, u"C"_qs}.problem(HotkeyAction::pin, combos)), u"Use ⌘, ⌃ or ⌥"_qs);
    EXPECT_EQ((HotkeyCombo{8, control, u"C"_qs}.problem(HotkeyAction::pin, combos)), std::nullopt);
    EXPECT_EQ((HotkeyCombo{8, option, u"C"_qs}.problem(HotkeyAction::pin, combos)), std::nullopt);
}

TEST(HotkeyComboTest, ProblemWithBindingsTheSystemKeeps) {
    const HotkeyCombos combos = defaultCombos();
    for (quint32 keyCode : {12u, 13u, 4u, 46u, 48u, 49u}) {
        EXPECT_EQ((HotkeyCombo{keyCode, command, u"x"_qs}.problem(HotkeyAction::newTab, combos)),
                  u"Used by macOS"_qs)
            << keyCode;
    }
    // The same keys with another modifier are free.
    EXPECT_EQ((HotkeyCombo{49, control, u"Space"_qs}.problem(HotkeyAction::newTab, combos)),
              std::nullopt);
    // The first rule wins: shift alone says so even on a reserved key.
    EXPECT_EQ((HotkeyCombo{49, shift, u"Space"_qs}.problem(HotkeyAction::newTab, combos)),
              u"Use ⌘, ⌃ or ⌥"_qs);
}

TEST(HotkeyComboTest, ProblemWithOtherActionsIncludingTheMarkdownVariant) {
    HotkeyCombos combos = defaultCombos();
    // ⌥⇧⌘C is copy-link's Markdown key.
    EXPECT_EQ(
        (HotkeyCombo{8, option | shift | command, u"C"_qs}.problem(HotkeyAction::pin, combos)),
        u"Used by Copy page link"_qs);
    // Copy link on ⌘P: its variant ⌥⌘P does not meet pin's ⇧⌘P.
    EXPECT_EQ((HotkeyCombo{35, command, u"P"_qs}.problem(HotkeyAction::copyLink, combos)),
              std::nullopt);
    EXPECT_EQ((HotkeyCombo{35, shift | command, u"P"_qs}.problem(HotkeyAction::copyLink, combos)),
              u"Used by Pin or unpin tab"_qs);
    // Copy link on ⌥⌘T: its own variant rule does not apply, but ⌘T itself is not taken.
    EXPECT_EQ((HotkeyCombo{17, option | command, u"T"_qs}.problem(HotkeyAction::copyLink, combos)),
              std::nullopt);
    // Copy link without option on ⌘T would also take ⌥⌘T; ⌘T clashes with new tab first.
    EXPECT_EQ((HotkeyCombo{17, command, u"T"_qs}.problem(HotkeyAction::copyLink, combos)),
              u"Used by Open in new tab"_qs);
    // A candidate's own Markdown variant meeting another action's binding.
    combos.insert(HotkeyAction::lastTab, {17, option | command, u"T"_qs});
    EXPECT_EQ((HotkeyCombo{17, control | command, u"T"_qs}.problem(HotkeyAction::copyLink, combos)),
              std::nullopt);
    EXPECT_EQ((HotkeyCombo{0, command, u"A"_qs}.problem(HotkeyAction::copyLink, combos)),
              std::nullopt);
    combos.insert(HotkeyAction::lastTab, {0, option | command, u"A"_qs});
    EXPECT_EQ((HotkeyCombo{0, command, u"A"_qs}.problem(HotkeyAction::copyLink, combos)),
              u"Used by Switch to last tab"_qs);
}

TEST(HotkeyComboTest, ProblemComparesKeysNotNamesAndSkipsTheActionItself) {
    const HotkeyCombos combos = defaultCombos();
    EXPECT_EQ((HotkeyCombo{17, command, u"whatever"_qs}.problem(HotkeyAction::pin, combos)),
              u"Used by Open in new tab"_qs);
    // The action's own current binding is no clash.
    EXPECT_EQ((HotkeyCombo{17, command, u"T"_qs}.problem(HotkeyAction::newTab, combos)),
              std::nullopt);
    // Actions without a binding in the map are not checked.
    EXPECT_EQ((HotkeyCombo{17, command, u"T"_qs}.problem(HotkeyAction::pin, HotkeyCombos{})),
              std::nullopt);
}

TEST(HotkeyComboTest, JsonRoundTripAndStrictDecoding) {
    const HotkeyCombo combo{8, shift | command, u"C"_qs};
    EXPECT_EQ(HotkeyCombo::fromJson(combo.toJson()), combo);
    const HotkeyCombo named{126, 0xFFFFFFFF, u"↑"_qs};
    EXPECT_EQ(HotkeyCombo::fromJson(named.toJson()), named);
    // Keys in any order, extra keys ignored.
    EXPECT_EQ(HotkeyCombo::fromJson(R"({"key":"T","extra":[1],"modifiers":256,"keyCode":17})"),
              (HotkeyCombo{17, command, u"T"_qs}));
    // An unknown key code is still a binding; it simply may not register anywhere.
    EXPECT_EQ(HotkeyCombo::fromJson(R"({"keyCode":999,"modifiers":256,"key":"?"})"),
              (HotkeyCombo{999, command, u"?"_qs}));

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
        EXPECT_EQ(HotkeyCombo::fromJson(QByteArray(bad)), std::nullopt) << bad;
    }
    EXPECT_EQ(HotkeyCombo::fromJson(QByteArray("\xff\xfe\x00{", 4)), std::nullopt);
    const QByteArray trailing =
        QByteArrayLiteral("{\"keyCode\":17,\"modifiers\":256,\"key\":\"T\"}\0x");
    EXPECT_EQ(HotkeyCombo::fromJson(trailing), std::nullopt);
    EXPECT_EQ(HotkeyCombo::fromJson(trailing.chopped(2) + "}"), std::nullopt);
}

TEST(HotkeyComboTest, RegistrationsAddTheMarkdownVariantForCopyLinkOnly) {
    const HotkeyCombo shiftCommandC{8, shift | command, u"C"_qs};
    EXPECT_EQ(shiftCommandC.registrations(HotkeyAction::copyLink),
              (QList<HotkeyCombo>{shiftCommandC, {8, option | shift | command, u"C"_qs}}));
    EXPECT_EQ(shiftCommandC.registrations(HotkeyAction::pin), QList<HotkeyCombo>{shiftCommandC});
    const HotkeyCombo withOption{8, option | command, u"C"_qs};
    EXPECT_EQ(withOption.registrations(HotkeyAction::copyLink), QList<HotkeyCombo>{withOption});
}

TEST(ShortcutTest, ActionsIsCommandK) {
    const Shortcut actions = Shortcut::actions();
    EXPECT_EQ(actions.key, 40);
    EXPECT_EQ(actions.modifiers, EventModifier::command);
    EXPECT_EQ(actions.glyphs, list({u"⌘", u"K"}));
}

TEST(KeyCapsTest, LinuxNamesAndGlyphsComeFromTheSameBinding) {
    using KeyCaps::Style;
    const HotkeyCombo all{123, control | option | shift | command, u"←"_qs};
    EXPECT_EQ(KeyCaps::caps(all.modifiers, all.key, Style::glyphs), all.glyphs());
    EXPECT_EQ(KeyCaps::caps(all.modifiers, all.key, Style::linuxNames),
              list({u"Ctrl", u"Super", u"Alt", u"Shift", u"Left"}));
    EXPECT_EQ(KeyCaps::text({8, shift | command, u"C"_qs}, Style::linuxNames), u"Ctrl+Shift+C"_qs);
    EXPECT_EQ(KeyCaps::text({8, shift | command, u"C"_qs}, Style::glyphs), u"⇧⌘C"_qs);
    EXPECT_EQ(KeyCaps::text({48, control, u"Tab"_qs}, Style::linuxNames), u"Super+Tab"_qs);
    EXPECT_EQ(KeyCaps::text({116, option, u"⇞"_qs}, Style::linuxNames), u"Alt+Page Up"_qs);
    // Keys without a Mac glyph keep their name.
    EXPECT_EQ(KeyCaps::text({122, command, u"F1"_qs}, Style::linuxNames), u"Ctrl+F1"_qs);
#ifdef Q_OS_MACOS
    EXPECT_EQ(KeyCaps::nativeStyle(), Style::glyphs);
#else
    EXPECT_EQ(KeyCaps::nativeStyle(), Style::linuxNames);
    EXPECT_EQ(KeyCaps::of({17, command, u"T"_qs}), list({u"Ctrl", u"T"}));
#endif
}

} // namespace
} // namespace kivaro
