#include "keys/Binding.h"

#include "keys/KeyCaps.h"
#include "keys/Shortcut.h"
#include "support/FixtureRows.h"
#include "support/KeyComboPrinter.h"

#include <gtest/gtest.h>

namespace kivaro {
namespace {

using namespace Qt::StringLiterals;
using testing::fixtureRows;
using enum Modifier;

ActionCombos defaultCombos() {
    ActionCombos combos;
    for (HotkeyAction action : HotkeyAction::allCases())
        combos.insert(action, action.defaultCombo());
    return combos;
}

// A combination written "8 ⇧⌘ C": the key code, the modifiers as glyphs ("-" for none), the key.
KeyCombo combo(const QString& text) {
    const QStringList parts = text.split(u' ');
    Modifiers modifiers;
    for (const auto& [glyph, modifier] : {std::pair(u'⌃', control), std::pair(u'⌥', option),
                                          std::pair(u'⇧', shift), std::pair(u'⌘', command)}) {
        if (parts.value(1).contains(glyph))
            modifiers |= modifier;
    }
    return KeyCombo{parts[0].toUInt(), modifiers, parts.value(2)};
}

TEST(HotkeyActionTest, TableOfActionsTitlesDefaultsAndKeys) {
    const struct {
        QString raw;
        QString title;
        QString combo; // Mac virtual key codes, as settings store them
    } rows[] = {
        {u"newTab"_s, u"Open in new tab"_s, u"17 ⌘ T"_s},
        {u"currentTab"_s, u"Open in current tab"_s, u"37 ⌘ L"_s},
        {u"copyLink"_s, u"Copy page link"_s, u"8 ⇧⌘ C"_s},
        {u"pin"_s, u"Pin or unpin tab"_s, u"35 ⇧⌘ P"_s},
        {u"lastTab"_s, u"Switch to last tab"_s, u"48 ⌃ Tab"_s},
    };
    const QList<HotkeyAction> actions = HotkeyAction::allCases();
    ASSERT_EQ(actions.size(), std::size(rows));
    for (qsizetype i = 0; i < actions.size(); ++i) {
        EXPECT_EQ(actions[i].rawValue(), rows[i].raw);
        EXPECT_EQ(actions[i].title(), rows[i].title);
        EXPECT_EQ(actions[i].defaultCombo(), combo(rows[i].combo));
        EXPECT_EQ(actions[i].comboKey(), rows[i].raw + u"Combo"_s);
        EXPECT_EQ(actions[i].enableFlag(), rows[i].raw + u"Shortcut"_s);
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
        {{17, shift | command, u"t"_s}, u"T"_s},
        // Named keys take the table's name whatever their characters.
        {{36, command, u"\r"_s}, u"↩"_s},
        {{48, control, u"\t"_s}, u"Tab"_s},
        {{111, command, QString()}, u"F12"_s},
        {{49, control, u" "_s}, u"Space"_s},
        {{10, command, QString()}, u"?"_s},
        // Non-ASCII characters are upper-cased as text.
        {{41, option, u"ö"_s}, u"Ö"_s},
    };
    for (const auto& [pressed, key] : cases)
        EXPECT_EQ(Binding::fromPress(pressed), (KeyCombo{pressed.keyCode, pressed.modifiers, key}));
    // Bits that are no modifier key are dropped.
    const KeyCombo locked{17, allModifiers | Modifiers::fromInt(0x1 | 0x400), u"t"_s};
    EXPECT_EQ(Binding::fromPress(locked).modifiers, allModifiers);
}

TEST(BindingTest, ProblemsAgainstTheDefaultBindings) {
    const ActionCombos defaults = defaultCombos();
    for (const QStringList& row : fixtureRows(u"binding-problems.txt"_s, 3)) {
        const auto action = HotkeyAction::fromRaw(row[1]);
        ASSERT_TRUE(action) << row[1].toStdString();
        EXPECT_EQ(Binding::problem(combo(row[0]), *action, defaults).value_or(QString()), row[2])
            << row.join(u" | ").toStdString();
    }
}

TEST(BindingTest, ACandidatesMarkdownVariantMeetsOtherBindings) {
    ActionCombos combos = defaultCombos();
    combos.insert(HotkeyAction::lastTab, {0, option | command, u"A"_s});
    EXPECT_EQ(Binding::problem({0, command, u"A"_s}, HotkeyAction::copyLink, combos),
              u"Used by Switch to last tab"_s);
    EXPECT_EQ(Binding::problem({0, control | command, u"A"_s}, HotkeyAction::copyLink, combos),
              std::nullopt);
    // Actions without a binding in the map are not checked.
    EXPECT_EQ(Binding::problem({17, command, u"T"_s}, HotkeyAction::pin, {}), std::nullopt);
}

TEST(BindingTest, RegistrationsAddTheMarkdownVariantForCopyLinkOnly) {
    const KeyCombo shiftCommandC{8, shift | command, u"C"_s};
    EXPECT_EQ(Binding::registrations(shiftCommandC, HotkeyAction::copyLink),
              (QList<KeyCombo>{shiftCommandC, {8, option | shift | command, u"C"_s}}));
    EXPECT_EQ(Binding::registrations(shiftCommandC, HotkeyAction::pin),
              QList<KeyCombo>{shiftCommandC});
    const KeyCombo withOption{8, option | command, u"C"_s};
    EXPECT_EQ(Binding::registrations(withOption, HotkeyAction::copyLink),
              QList<KeyCombo>{withOption});
}

TEST(BindingTest, JsonRoundTripAndStrictDecoding) {
    for (const KeyCombo& combo : {KeyCombo{8, shift | command, u"C"_s},
                                  KeyCombo{126, Modifiers::fromInt(0xFFFFFFFF), u"↑"_s}}) {
        EXPECT_EQ(Binding::fromJson(Binding::toJson(combo)), combo);
    }
    // Keys in any order, extra keys ignored; an unknown key code may simply register nowhere.
    EXPECT_EQ(Binding::fromJson(R"({"key":"T","extra":[1],"modifiers":256,"keyCode":17})"),
              (KeyCombo{17, command, u"T"_s}));
    EXPECT_EQ(Binding::fromJson(R"({"keyCode":999,"modifiers":256,"key":"?"})"),
              (KeyCombo{999, command, u"?"_s}));

    for (const QByteArray& bad : testing::fixtureLines(u"binding-bad-json.txt"_s))
        EXPECT_EQ(Binding::fromJson(bad), std::nullopt) << bad.toStdString();
    EXPECT_EQ(Binding::fromJson(QByteArray()), std::nullopt);
    EXPECT_EQ(Binding::fromJson(QByteArray("\xff\xfe\x00{", 4)), std::nullopt);
    const QByteArray trailing =
        QByteArrayLiteral("{\"keyCode\":17,\"modifiers\":256,\"key\":\"T\"}\0x");
    EXPECT_EQ(Binding::fromJson(trailing), std::nullopt);
    EXPECT_EQ(Binding::fromJson(trailing.chopped(2) + "}"), std::nullopt);
}

TEST(KeyCapsTest, GlyphsAndLinuxNamesComeFromTheSameBinding) {
    using KeyCaps::Style;
    for (const QStringList& row : fixtureRows(u"key-caps.txt"_s, 3)) {
        EXPECT_EQ(KeyCaps::text(combo(row[0]), Style::glyphs), row[1]);
        EXPECT_EQ(KeyCaps::text(combo(row[0]), Style::linuxNames), row[2]);
    }
    // Bits that are no modifier of ours show nothing.
    EXPECT_EQ(KeyCaps::text({0, Modifiers::fromInt(0x1 | 0x400), u"A"_s}, Style::glyphs), u"A"_s);
    EXPECT_EQ(KeyCaps::text({0, Modifiers::fromInt(0x1 | 0x400), u"A"_s}, Style::linuxNames),
              u"A"_s);
    EXPECT_EQ(KeyCaps::text(Shortcut::actions(), Style::glyphs), u"⌘K"_s);
    EXPECT_EQ(KeyCaps::text(Shortcut::actions(), Style::linuxNames), u"Ctrl+K"_s);
#ifdef Q_OS_MACOS
    EXPECT_EQ(KeyCaps::nativeStyle(), Style::glyphs);
#else
    EXPECT_EQ(KeyCaps::nativeStyle(), Style::linuxNames);
    EXPECT_EQ(KeyCaps::of({17, command, u"T"_s}), (QStringList{u"Ctrl"_s, u"T"_s}));
    // A menu item's glyph caps read as Linux names; anything else is left alone.
    EXPECT_EQ(KeyCaps::native({u"⌥"_s, u"⌘"_s, u"⌫"_s}),
              (QStringList{u"Ctrl"_s, u"Alt"_s, u"Backspace"_s}));
    EXPECT_EQ(KeyCaps::native({u"Tab"_s}), (QStringList{u"Tab"_s}));
    EXPECT_EQ(KeyCaps::native({u"fn"_s, u"F"_s}), (QStringList{u"fn"_s, u"F"_s}));
#endif
}

} // namespace
} // namespace kivaro
