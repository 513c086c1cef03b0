#include "keys/Hotkeys.h"

#include "keys/HotkeyRecording.h"
#include "keys/KeyCaps.h"
#include "platform/fake/FakeHotkeyRegistrar.h"
#include "support/KeyComboPrinter.h"
#include "support/ScratchPreferences.h"

#include <QCoreApplication>
#include <QSet>
#include <QThread>

#include <gtest/gtest.h>
#include <memory>
#include <thread>

namespace kivaro {
namespace {

using namespace Qt::StringLiterals;
using enum Modifier;
using Press = Hotkeys::Press;

QString named(const Press& press) {
    return press.action.rawValue() + (press.markdown ? u"+markdown"_s : QString());
}

class HotkeysTest : public ::testing::Test {
protected:
    HotkeysTest() : hotkeys(std::make_unique<Hotkeys>(registrar, preferences)) {
        hotkeys->onPress = [this](Press press) {
            EXPECT_EQ(QThread::currentThread(), QCoreApplication::instance()->thread());
            pressed.append(named(press));
        };
    }

    void enable(HotkeyAction action, bool on) { preferences.store(action.enableFlag(), on); }

    // The keys registered now, in registration order, as key code and glyphs, and the press
    // each reports: "17 ⌘T newTab|8 ⌥⇧⌘C copyLink+markdown".
    QString registered() const {
        QStringList list;
        for (const FakeHotkeyRegistrar::Held& held : registrar.active()) {
            const auto press = Hotkeys::pressOf(held.id);
            list.append(QString::number(held.keys.keyCode.value_or(-1)) + u' ' +
                        KeyCaps::text(held.keys, KeyCaps::Style::glyphs) + u' ' +
                        (press ? named(*press) : u"?"_s));
        }
        return list.join(u'|');
    }

    testing::ScratchPreferences scratch;
    Preferences& preferences = scratch.preferences;
    FakeHotkeyRegistrar registrar;
    std::unique_ptr<Hotkeys> hotkeys;
    QStringList pressed;
};

const QString defaults = u"17 ⌘T newTab|37 ⌘L currentTab|8 ⇧⌘C copyLink|8 ⌥⇧⌘C copyLink+markdown|"
                         u"35 ⇧⌘P pin|48 ⌃Tab lastTab"_s;

TEST_F(HotkeysTest, FlagsDecideWhatRegistersAndALaterRegisterReadsThemAgain) {
    for (HotkeyAction action : HotkeyAction::allCases())
        enable(action, false);
    hotkeys->registerKeys();
    EXPECT_TRUE(registrar.calls().isEmpty());
    EXPECT_TRUE(hotkeys->refs().isEmpty());

    enable(HotkeyAction::pin, true);
    hotkeys->registerKeys();
    EXPECT_EQ(registered(), u"35 ⇧⌘P pin"_s);
    hotkeys->unregisterKeys();

    // The copy-link flag controls both copy keys; a binding with ⌥ gets no Markdown variant.
    for (HotkeyAction action : HotkeyAction::allCases())
        enable(action, action != HotkeyAction::copyLink);
    hotkeys->registerKeys();
    EXPECT_EQ(registered(), u"17 ⌘T newTab|37 ⌘L currentTab|35 ⇧⌘P pin|48 ⌃Tab lastTab"_s);
    hotkeys->unregisterKeys();
    enable(HotkeyAction::copyLink, true);
    preferences.setCombo(KeyCombo{8, option | command, u"C"_s}, HotkeyAction::copyLink);
    hotkeys->registerKeys();
    EXPECT_EQ(registered(), u"17 ⌘T newTab|37 ⌘L currentTab|8 ⌥⌘C copyLink|35 ⇧⌘P pin|"
                            u"48 ⌃Tab lastTab"_s);
}

TEST_F(HotkeysTest, ARefusedBindingIsSkippedAndTheOthersStillRegister) {
    registrar.takeElsewhere({17, command, u"T"_s});
    hotkeys->registerKeys();
    EXPECT_EQ(registrar.calls().size(), 6);
    EXPECT_EQ(hotkeys->refs().size(), 5);
    EXPECT_FALSE(registrar.press({17, command, u"T"_s}));
}

TEST_F(HotkeysTest, RegistersTheDefaultsOnceReleasesInOrderAndReRegisterReadsNewBindings) {
    hotkeys->registerKeys();
    hotkeys->registerKeys();
    EXPECT_EQ(registered(), defaults);
    EXPECT_EQ(registrar.calls().size(), 6);
    for (const auto& call : registrar.calls())
        EXPECT_FALSE(call.exclusive);
    const QList<HotkeyRegistrar::Ref> refs = hotkeys->refs();
    EXPECT_EQ(refs.size(), 6);
    hotkeys->unregisterKeys();
    hotkeys->unregisterKeys();
    EXPECT_EQ(registrar.released(), refs);
    EXPECT_TRUE(registrar.active().isEmpty());
    EXPECT_TRUE(hotkeys->refs().isEmpty());
    EXPECT_TRUE(registrar.hasPressHandler());

    preferences.setCombo(KeyCombo{45, control | command, u"N"_s}, HotkeyAction::newTab);
    hotkeys->registerKeys();
    EXPECT_TRUE(registered().startsWith(u"45 ⌃⌘N newTab|37 ⌘L currentTab"_s))
        << registered().toStdString();
}

TEST_F(HotkeysTest, PressesArriveOnTheMainThreadAfterTheCallback) {
    hotkeys->registerKeys();
    ASSERT_TRUE(registrar.press({8, option | shift | command, u"C"_s}));
    EXPECT_TRUE(pressed.isEmpty()) << "delivered inside the platform callback";
    QCoreApplication::processEvents();
    EXPECT_EQ(pressed, QStringList{u"copyLink+markdown"_s});

    std::thread other([this] { registrar.press({48, control, u"Tab"_s}); });
    other.join();
    QCoreApplication::processEvents();
    EXPECT_EQ(pressed, (QStringList{u"copyLink+markdown"_s, u"lastTab"_s}));
}

// Every press has an id of its own (the registered list names each); no other id, nor the
// recorder's trial one, means anything.
TEST_F(HotkeysTest, UnknownIdsAndMissingCallbackDoNothing) {
    hotkeys->registerKeys();
    QSet<quint32> ids;
    for (const FakeHotkeyRegistrar::Held& held : registrar.active())
        ids.insert(held.id);
    for (quint32 id = 0; id <= HotkeyRecording::trialId; ++id) {
        if (!ids.contains(id))
            registrar.deliver(id);
    }
    registrar.deliver(0xFFFFFFFF);
    QCoreApplication::processEvents();
    EXPECT_TRUE(pressed.isEmpty());

    hotkeys->onPress = nullptr;
    registrar.deliver(Hotkeys::idOf({HotkeyAction::newTab}));
    QCoreApplication::processEvents();
    EXPECT_TRUE(pressed.isEmpty());
}

TEST_F(HotkeysTest, DestructionReleasesKeysAndDropsQueuedPresses) {
    hotkeys->registerKeys();
    registrar.deliver(Hotkeys::idOf({HotkeyAction::newTab}));
    hotkeys.reset();
    QCoreApplication::processEvents();
    EXPECT_TRUE(pressed.isEmpty());
    EXPECT_TRUE(registrar.active().isEmpty());
    EXPECT_FALSE(registrar.hasPressHandler());
}

} // namespace
} // namespace kivaro
