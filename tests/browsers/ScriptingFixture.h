#pragma once

#include "browsers/Safari.h"
#include "browsers/SafariTab.h"
#include "platform/Descriptor.h"
#include "platform/fake/FakeMenuBarAccess.h"
#include "platform/fake/FakeScriptRunner.h"
#include "platform/fake/FakeWorkspace.h"
#include "platform/linux/PosixPrivateFolder.h"
#include "support/Files.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QStringList>
#include <QTemporaryDir>

#include <chrono>
#include <gtest/gtest.h>

namespace kivaro::test {

inline const QString& safari = Safari::bundleID;

inline Descriptor fromJson(const QJsonValue& value) {
    if (value.isString())
        return Descriptor::text(value.toString());
    if (value.isDouble())
        return Descriptor::integer(value.toInt());
    QList<Descriptor> items;
    for (const QJsonValue item : value.toArray())
        items.append(fromJson(item));
    return value.isArray() ? Descriptor::list(items) : Descriptor::missing();
}

// A script answer written as JSON: arrays are lists, strings texts, numbers integers and null
// a missing value.
inline Descriptor answer(const QByteArray& json) {
    return fromJson(QJsonDocument::fromJson('[' + json + ']').array().at(0));
}

// The blocks of tests/fixtures/scripts/<name>, parted by blank lines, without "#" comments: an
// answer written as JSON on the first line, what is read from it on the others.
inline QList<QStringList> answerBlocks(const QString& name) {
    QList<QStringList> blocks;
    for (const QString& block :
         testing::fixtureText(QStringLiteral("scripts/") + name).split(QStringLiteral("\n\n"))) {
        QStringList lines = block.split(u'\n', Qt::SkipEmptyParts);
        lines.removeIf([](const QString& line) { return line.startsWith(u'#'); });
        if (!lines.isEmpty())
            blocks.append(lines);
    }
    return blocks;
}

// One line per tab: "window|order|index|title|url|group", with "|*" for a window's current tab.
inline QStringList tabLines(const QList<SafariTab>& tabs) {
    QStringList lines;
    for (const SafariTab& tab : tabs)
        lines.append(QStringList{QString::number(tab.windowID), QString::number(tab.windowOrder),
                                 QString::number(tab.index), tab.title, tab.url, tab.group}
                         .join(u'|') +
                     (tab.isCurrent ? QStringLiteral("|*") : QString()));
    return lines;
}

// Script `n` of tests/fixtures/scripts/<browser>-operations.applescript, the texts the
// operations tests expect one after another.
inline QString operationScript(const char* browser, int n) {
    return testing::fixtureText(
               QStringLiteral("scripts/%1-operations.applescript").arg(QLatin1StringView(browser)))
        .section(QStringLiteral("\n----\n"), n, n);
}

// A browser's surroundings made of fakes: the script runner, the desktop, the menu bar, a
// private snapshot folder, and a pause that only records how long it was asked to wait.
class ScriptingTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(home_.isValid()); }

    QTemporaryDir home_;
    FakeScriptRunner runner_;
    FakeWorkspace workspace_;
    FakeMenuBarAccess menus_;
    PosixPrivateFolder snapshots_{home_.path(), QStringLiteral("snapshots")};
    QList<std::chrono::milliseconds> pauses_;
};

} // namespace kivaro::test
