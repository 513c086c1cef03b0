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

// The key codes of the defaults are checked where they register (HotkeysTest) and where they
// are stored (PreferencesValuesTest); the names of the stored keys must never change.
TEST(HotkeyActionTest, TableOfActionsTitlesDefaultsAndKeys) {
    QStringList rows;
    for (HotkeyAction action : HotkeyAction::allCases()) {
        EXPECT_EQ(HotkeyAction::fromRaw(action.rawValue()), action);
        rows.append(action.title() + u'|' +
                    KeyCaps::text(action.defaultCombo(), KeyCaps::Style::glyphs) + u'|' +
                    action.comboKey() + u'|' + action.enableFlag());
    }
    EXPECT_EQ(rows.join(u'\n'), u"Open in new tab|⌘T|newTabCombo|newTabShortcut\n"
                                u"Open in current tab|⌘L|currentTabCombo|currentTabShortcut\n"
                                u"Copy page link|⇧⌘C|copyLinkCombo|copyLinkShortcut\n"
                                u"Pin or unpin tab|⇧⌘P|pinCombo|pinShortcut\n"
                                u"Switch to last tab|⌃Tab|lastTabCombo|lastTabShortcut"_s);
    EXPECT_EQ(HotkeyAction::fromRaw(u"NewTab"), std::nullopt);
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

TEST(BindingTest, JsonRoundTripAndStrictDecoding) {
    for (const KeyCombo& combo : {KeyCombo{8, shift | command, u"C"_s},
                                  KeyCombo{126, Modifiers::fromInt(0xFFFFFFFF), u"↑"_s}}) {
        EXPECT_EQ(Binding::fromJson(Binding::toJson(combo)), combo);
    }
    // Keys in any order, extra keys ignored; an unknown key code may simply register nowhere.
    EXPECT_EQ(Binding::fromJson(R"({"key":"T","extra":[1],"modifiers":256,"keyCode":17})"),
              (KeyCombo{17, command, u"T"_s}));

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
