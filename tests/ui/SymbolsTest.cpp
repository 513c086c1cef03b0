#include "ui/Symbols.h"

#include "browsers/Commands.h"
#include "support/Files.h"

#include <QFile>

#include <gtest/gtest.h>

namespace kivaro {
namespace {

template <typename Entries>
void appendSymbols(QStringList& names, const Entries& entries) {
    for (const auto& entry : entries)
        names.append(entry.symbol);
}

// Every system-symbol name the program draws: those listed in the fixture (panel, rows,
// toasts, windows) plus the command catalogs' own symbols.
QStringList programSymbols() {
    QStringList names;
    for (const QByteArray& line : testing::fixtureLines(u"program-symbols.txt"_qs))
        names.append(QString::fromUtf8(line));
    appendSymbols(names, Commands::entries());
    appendSymbols(names, Commands::tools());
    appendSymbols(names, Commands::viewExtras());
    appendSymbols(names, Commands::groups());
    appendSymbols(names, Commands::chromium());
    appendSymbols(names, Commands::own());
    names.removeDuplicates();
    return names;
}

TEST(SymbolsTest, EveryNameTheProgramUsesHasACompiledInIcon) {
    const QStringList names = programSymbols();
    EXPECT_GT(names.size(), 60);
    EXPECT_EQ(Symbols::unmapped(names), QStringList()); // by name: a forgotten one is plain
    for (const QString& name : names)
        EXPECT_TRUE(QFile::exists(Symbols::iconFile(name))) << name.toStdString();
    const Symbols::Table& table = Symbols::table();
    for (auto it = table.icons.constBegin(); it != table.icons.constEnd(); ++it)
        EXPECT_TRUE(QFile::exists(Symbols::iconFile(it.key()))) << it.key().toStdString();
}

TEST(SymbolsTest, UnknownNamesFallBackToTheNeutralIcon) {
    const QString neutral = Symbols::iconFile(u"no.such.symbol"_qs);
    EXPECT_TRUE(neutral.endsWith(Symbols::table().neutral + u".svg"_qs));
    EXPECT_TRUE(QFile::exists(neutral));
    EXPECT_EQ(Symbols::unmapped({u"globe"_qs, u"made.up"_qs, u"no.such.circle.fill"_qs, u""_qs}),
              QStringList({u"made.up"_qs, u"no.such.circle.fill"_qs, u""_qs}));
    // Drawing an unknown name still gives a picture, never a crash or a file outside.
    EXPECT_EQ(Symbols::image(u"../../etc/passwd"_qs, 16, Qt::black).size(), QSize(16, 16));
}

} // namespace
} // namespace kivaro
