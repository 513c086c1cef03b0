#pragma once

#include "platform/Descriptor.h"
#include "platform/fake/FakeMenuBarAccess.h"
#include "platform/fake/FakeScriptRunner.h"
#include "platform/fake/FakeWorkspace.h"
#include "platform/linux/PosixPrivateFolder.h"

#include <QStringList>
#include <QTemporaryDir>

#include <chrono>
#include <gtest/gtest.h>

namespace kivaro::test {

// Builders for script answers.
inline Descriptor text(const QString& value) {
    return Descriptor::text(value);
}
inline Descriptor integer(qint32 value) {
    return Descriptor::integer(value);
}
inline Descriptor list(QList<Descriptor> items) {
    return Descriptor::list(std::move(items));
}
// A list of texts.
inline Descriptor texts(const QStringList& values) {
    QList<Descriptor> items;
    for (const QString& value : values)
        items.append(Descriptor::text(value));
    return Descriptor::list(items);
}

// Chrome's script reading every window's tabs.
inline const QString chromeTabsScript = QStringLiteral(
    "tell application id \"com.google.Chrome\"\n  set out to {}\n  repeat with w in windows\n    "
    "try\n      set end of out to {id of w, active tab index of w, title of every tab of w, URL of "
    "every tab of w}\n    end try\n  end repeat\n  return out\nend tell");

// A browser's surroundings made of fakes: the script runner, the desktop, the menu bar, a
// private snapshot folder, and a pause that only records how long it was asked to wait.
class ScriptingTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(home_.isValid()); }

    QString path(const QString& relative) const { return home_.path() + u'/' + relative; }

    QTemporaryDir home_;
    FakeScriptRunner runner_;
    FakeWorkspace workspace_;
    FakeMenuBarAccess menus_;
    PosixPrivateFolder snapshots_{home_.path(), QStringLiteral("snapshots")};
    QList<std::chrono::milliseconds> pauses_;
};

} // namespace kivaro::test
