// The portable decisions the macOS adapters rely on: reading Apple event descriptors, the
// hot-key table, window-server entries and the permission requests.
#include "platform/AppleEventValue.h"
#include "platform/FourCharCode.h"
#include "platform/HotkeyTable.h"
#include "platform/PermissionRequests.h"
#include "platform/WindowInfo.h"
#include "platform/fake/FakeWorkspace.h"
#include "support/WaitUntil.h"

#include <QThreadPool>
#include <QtEndian>

#include <atomic>
#include <cmath>
#include <gtest/gtest.h>

namespace kivaro {
namespace {

using namespace Qt::StringLiterals;
using D = Descriptor;

AppleEventValue value(const char (&type)[5], std::optional<QString> string = {}, qint32 int32 = 0,
                      QByteArray data = {}) {
    return {.type = fourCharCode(type),
            .string = std::move(string),
            .int32 = int32,
            .data = std::move(data)};
}

QByteArray int64Bytes(qint64 number) {
    QByteArray bytes(sizeof number, '\0');
    qToLittleEndian(number, bytes.data());
    return bytes;
}

TEST(AppleEventValueTest, ReadsTextsIntegersAndListsAndEverythingElseAsMissing) {
    const struct {
        AppleEventValue given;
        D expected;
    } cases[] = {
        {value("utxt", u"Tab \u2014"_s), D::text(u"Tab \u2014"_s)},
        {value("utxt"), D::text({})},
        {value("long", u"7"_s, 7), D::integer(7)},
        {value("shor", {}, -2), D::integer(-2)},
        // Window ids beyond 32 bits keep their value as text.
        {value("comp", {}, 0, int64Bytes(5000000000)), D::text(u"5000000000"_s)},
        {value("comp", {}, 0, "1234"), D::missing()},
        {value("null"), D::missing()},
        {value("type", u"missing value"_s), D::missing()},
        {value("reco", u"{}"_s), D::missing()},
        {{.type = fourCharCode("list"), .items = {value("long", {}, 1), value("null")}},
         D::list({D::integer(1), D::missing()})},
    };
    for (const auto& each : cases)
        EXPECT_EQ(each.given.toDescriptor(), each.expected) << each.given.type;
}

TEST(AppleEventValueTest, OnlyListsAreOpenedAndOnlyToABoundedDepth) {
    EXPECT_EQ(fourCharCode("list"), 0x6C697374u);
    EXPECT_TRUE(AppleEventValue::readsItems(fourCharCode("list"), 0));
    EXPECT_FALSE(AppleEventValue::readsItems(fourCharCode("list"), AppleEventValue::maximumDepth));
    EXPECT_FALSE(AppleEventValue::readsItems(fourCharCode("reco"), 0));
}

TEST(HotkeyTableTest, SameKeysShareOneSystemRegistrationUntilTheLastLetsGo) {
    HotkeyTable table;
    const KeyCombo commandT{.keyCode = 17, .modifiers = Modifier::command | Modifiers(0x4000)};
    const auto keys = HotkeyTable::keysOf(commandT);
    ASSERT_TRUE(keys);
    EXPECT_EQ(keys->modifiers, 0x100u); // bits that are no modifier are dropped
    EXPECT_EQ(table.claim(HotkeyTable::keysOf({.modifiers = Modifier::command}), false),
              HotkeyTable::Claim::refused);

    ASSERT_EQ(table.claim(keys, true), HotkeyTable::Claim::needsSystem);
    const quint32 slot = table.nextSlot();
    const auto first = table.add(*keys, 1, 0xA1);
    EXPECT_EQ(table.claim(keys, true), HotkeyTable::Claim::refused);
    ASSERT_EQ(table.claim(keys, false), HotkeyTable::Claim::shared);
    const auto second = table.add(*keys, 4, 0);
    EXPECT_EQ(table.idsFor(HotkeyTable::signature, slot), (QList<quint32>{1, 4}));
    EXPECT_TRUE(table.idsFor(fourCharCode("ABCD"), slot).isEmpty());
    EXPECT_EQ(HotkeyTable::signature, 0x4B56524Fu);

    EXPECT_EQ(table.remove(first), std::nullopt);
    EXPECT_EQ(table.remove(first), std::nullopt);
    EXPECT_EQ(table.systemHandles(), QList<quintptr>{0xA1});
    EXPECT_EQ(table.remove(second), std::optional<quintptr>(0xA1));
    EXPECT_TRUE(table.idsFor(HotkeyTable::signature, slot).isEmpty());
    // A new system registration never reuses the number of a released one.
    EXPECT_NE(table.nextSlot(), slot);
}

TEST(WindowInfoTest, EntriesWithoutOwnerLayerOrSoundBoundsAreNoWindows) {
    const QRectF frame(10, 20, 800, 600);
    const double nan = std::nan("");
    const struct {
        WindowInfo info;
        bool kept;
    } cases[] = {
        {{.pid = 42, .layer = 0, .bounds = frame}, true},
        {{.pid = 42, .layer = 25, .bounds = frame}, true},
        {{.layer = 0, .bounds = frame}, false},
        {{.pid = 0, .layer = 0, .bounds = frame}, false},
        {{.pid = 42, .bounds = frame}, false},
        {{.pid = 42, .layer = qint64(1) << 40, .bounds = frame}, false},
        {{.pid = 42, .layer = 0}, false},
        {{.pid = 42, .layer = 0, .bounds = QRectF(0, 0, -5, 300)}, false},
        {{.pid = 42, .layer = 0, .bounds = QRectF(nan, 0, 800, 600)}, false},
    };
    for (const auto& each : cases) {
        const auto window = each.info.window();
        EXPECT_EQ(window.has_value(), each.kept) << each.info.pid.value_or(-1);
        if (window && each.kept) {
            EXPECT_EQ(*window, (WindowList::Window{42, int(*each.info.layer), frame}));
        }
    }
}

class PermissionRequestsTest : public ::testing::Test {
protected:
    // No question may still run on a worker when the fixture goes.
    ~PermissionRequestsTest() override { QThreadPool::globalInstance()->waitForDone(); }

    const QString safari = u"com.apple.Safari"_s;
    FakeWorkspace workspace_;
    std::atomic<int> asked_ = 0;
    std::atomic<int> answer_ = 0;
    int prompts_ = 0;
    PermissionRequests requests_{workspace_,
                                 [this] {
                                     ++asked_;
                                     return answer_.load();
                                 },
                                 [this] { ++prompts_; }, std::chrono::milliseconds(1)};
};

TEST_F(PermissionRequestsTest, EachPermissionHasItsPane) {
    const QString prefix = u"x-apple.systempreferences:com.apple.preference.security?"_s;
    EXPECT_EQ(PermissionRequests::paneAddress(Permission::automation),
              prefix + u"Privacy_Automation"_s);
    EXPECT_EQ(PermissionRequests::paneAddress(Permission::accessibility),
              prefix + u"Privacy_Accessibility"_s);
    EXPECT_EQ(PermissionRequests::paneAddress(Permission::fullDisk),
              prefix + u"Privacy_AllFiles"_s);
    EXPECT_EQ(PermissionRequests::privacyPaneAddress(), prefix + u"Privacy"_s);
}

TEST_F(PermissionRequestsTest, AccessibilityPromptsAndFullDiskOpensItsPane) {
    requests_.request(Permission::accessibility);
    requests_.request(Permission::fullDisk);
    EXPECT_EQ(prompts_, 1);
    EXPECT_EQ(workspace_.opened(),
              QStringList{PermissionRequests::paneAddress(Permission::fullDisk)});
}

TEST_F(PermissionRequestsTest, AClosedSafariStartsBehindAndARefusalOpensTheAutomationPane) {
    workspace_.install(safari);
    answer_ = PermissionRequests::eventNotPermitted;
    requests_.request(Permission::automation);
    EXPECT_EQ(workspace_.launched(), QStringList{safari});
    EXPECT_NE(workspace_.frontApplication().value_or(Workspace::Application{}).bundleID, safari);
    EXPECT_EQ(asked_, 0); // not before the grace period
    ASSERT_TRUE(testing::waitUntil([&] { return !workspace_.opened().isEmpty(); }));
    EXPECT_EQ(workspace_.opened(),
              QStringList{PermissionRequests::paneAddress(Permission::automation)});
}

TEST_F(PermissionRequestsTest, ARunningSafariIsAskedAtOnceAndConsentOpensNothing) {
    workspace_.run(safari);
    requests_.request(Permission::automation);
    ASSERT_TRUE(testing::waitUntil([&] { return asked_ == 1; }));
    testing::drainEvents();
    EXPECT_TRUE(workspace_.launched().isEmpty());
    EXPECT_TRUE(workspace_.opened().isEmpty());
}

} // namespace
} // namespace kivaro
