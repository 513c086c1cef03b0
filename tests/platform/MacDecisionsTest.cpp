// The portable decisions of the macOS adapters.
#include "platform/AppleEventValue.h"
#include "platform/FourCharCode.h"
#include "platform/HotkeyTable.h"
#include "platform/PermissionRequests.h"
#include "platform/WindowInfo.h"
#include "platform/fake/FakeWorkspace.h"
#include "support/WaitUntil.h"

#include <QThreadPool>

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

TEST(AppleEventValueTest, ReadsTextsIntegersAndListsAndEverythingElseAsMissing) {
    const struct {
        AppleEventValue given;
        D expected;
    } cases[] = {
        {value("utxt", u"Tab \u2014"_s), D::text(u"Tab \u2014"_s)},
        {value("long", u"7"_s, 7), D::integer(7)},
        // Window ids beyond 32 bits keep their value as text.
        {value("comp", {}, 0, QByteArray("\x00\xF2\x05\x2A\x01\0\0\0", 8)),
         D::text(u"5000000000"_s)},
        {value("comp", {}, 0, "1234"), D::missing()},
        {value("null"), D::missing()},
        {value("type", u"missing value"_s), D::missing()},
        {{.type = fourCharCode("list"), .items = {value("long", {}, 1), value("null")}},
         D::list({D::integer(1), D::missing()})},
    };
    for (const auto& each : cases)
        EXPECT_EQ(each.given.toDescriptor(), each.expected) << each.given.type;
    // Only what is read, and lists only to a bounded depth.
    using R = AppleEventValue::Reading;
    EXPECT_EQ(AppleEventValue::readingOf(0x6C697374 /* list */, 0), R::items);
    EXPECT_EQ(AppleEventValue::readingOf(fourCharCode("list"), AppleEventValue::maximumDepth),
              R::nothing);
    EXPECT_EQ(AppleEventValue::readingOf(fourCharCode("reco"), 0), R::nothing);
}

TEST(HotkeyTableTest, SameKeysShareOneSystemRegistrationUntilTheLastLetsGo) {
    HotkeyTable table;
    const KeyCombo commandT{.keyCode = 17, .modifiers = Modifier::command | Modifiers(0x4000)};
    const auto keys = HotkeyTable::keysOf(commandT);
    ASSERT_EQ(keys, std::optional(HotkeyTable::Keys{17, 0x100})); // no modifier bits: dropped
    EXPECT_EQ(table.claim(HotkeyTable::keysOf({.modifiers = Modifier::command}), false),
              HotkeyTable::Claim::refused);
    ASSERT_EQ(table.claim(keys, true), HotkeyTable::Claim::needsSystem);
    const quint32 slot = table.nextSlot();
    const auto first = table.add(*keys, 1, 0xA1);
    EXPECT_EQ(table.claim(keys, true), HotkeyTable::Claim::refused);
    ASSERT_EQ(table.claim(keys, false), HotkeyTable::Claim::shared);
    const auto second = table.add(*keys, 4, 0);
    EXPECT_EQ(table.idsFor(0x4B56524F /* KVRO */, slot), (QList<quint32>{1, 4}));
    EXPECT_TRUE(table.idsFor(fourCharCode("ABCD"), slot).isEmpty());
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
        {{.pid = 0, .layer = 0, .bounds = frame}, false},
        {{.pid = 42, .bounds = frame}, false},
        {{.pid = 42, .layer = qint64(1) << 40, .bounds = frame}, false},
        {{.pid = 42, .layer = 0, .bounds = QRectF(0, 0, -5, 300)}, false},
        {{.pid = 42, .layer = 0, .bounds = QRectF(nan, 0, 800, 600)}, false},
    };
    for (const auto& each : cases) {
        const WindowList::Window kept{42, int(each.info.layer.value_or(0)), frame};
        EXPECT_EQ(each.info.window(), each.kept ? std::optional(kept) : std::nullopt);
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
    PermissionRequests requests_{workspace_, [this] { return ++asked_, answer_.load(); },
                                 [this] { ++prompts_; }, std::chrono::milliseconds(1)};
};

// A running Safari is asked at once, without being started again, and its consent opens no pane.
TEST_F(PermissionRequestsTest, EachPermissionIsAskedForItsOwnWay) {
    workspace_.run(safari);
    for (Permission permission : PermissionProbe::allCases())
        requests_.request(permission);
    ASSERT_TRUE(testing::waitUntil([&] { return asked_ == 1; }));
    testing::drainEvents();
    EXPECT_EQ(prompts_, 1);
    EXPECT_TRUE(workspace_.launched().isEmpty());
    EXPECT_EQ(workspace_.opened(),
              QStringList{u"x-apple.systempreferences:com.apple.preference.security?"
                          u"Privacy_AllFiles"_s});
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

} // namespace
} // namespace kivaro
