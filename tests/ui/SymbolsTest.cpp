#include "ui/Symbols.h"

#include "browsers/Commands.h"
#include "support/Files.h"

#include <QFile>

#include <gtest/gtest.h>

namespace kivaro {
namespace {

// Every system-symbol name the program draws: those listed in the fixture (panel, rows,
// toasts, windows) plus the command catalogs' own symbols.
QStringList programSymbols() {
    QStringList names;
    for (const QByteArray& line : testing::fixtureLines(u"program-symbols.txt"_qs))
        names.append(QString::fromUtf8(line));
    for (const Commands::Entry& entry : Commands::entries())
        names.append(entry.symbol);
    for (const Commands::Tool& tool : Commands::tools())
        names.append(tool.symbol);
    for (const Commands::ViewExtra& extra : Commands::viewExtras())
        names.append(extra.symbol);
    for (const Commands::Group& group : Commands::groups())
        names.append(group.symbol);
    for (const Commands::ChromiumTool& tool : Commands::chromium())
        names.append(tool.symbol);
    for (const Command& command : Commands::own())
        names.append(command.symbol);
    names.removeDuplicates();
    return names;
}

TEST(SymbolsTest, EveryNameTheProgramUsesHasACompiledInIcon) {
    const QStringList names = programSymbols();
    EXPECT_GT(names.size(), 60);
    // Listed by name, so that a forgotten one is plain to see.
    EXPECT_EQ(Symbols::unmapped(names), QStringList());
    for (const QString& name : names)
        EXPECT_TRUE(QFile::exists(Symbols::iconFile(name))) << name.toStdString();
    // And every icon of the table is compiled in.
    const Symbols::Table& table = Symbols::table();
    ASSERT_FALSE(table.neutral.isEmpty());
    for (auto it = table.icons.constBegin(); it != table.icons.constEnd(); ++it)
        EXPECT_TRUE(QFile::exists(Symbols::iconFile(it.key()))) << it.key().toStdString();
}

TEST(SymbolsTest, UnknownNamesFallBackToTheNeutralIcon) {
    const QString neutral = Symbols::iconFile(u"no.such.symbol"_qs);
    EXPECT_TRUE(neutral.endsWith(Symbols::table().neutral + u".svg"_qs));
    EXPECT_TRUE(QFile::exists(neutral));
    EXPECT_FALSE(Symbols::isMapped(u"no.such.symbol"_qs));
    EXPECT_FALSE(Symbols::isMapped(u"no.such.circle.fill"_qs));
    EXPECT_FALSE(Symbols::isMapped(QString()));
    EXPECT_EQ(Symbols::unmapped({u"globe"_qs, u"made.up"_qs, u"pin"_qs, u"also.made.up"_qs}),
              QStringList({u"made.up"_qs, u"also.made.up"_qs}));
    // Drawing an unknown name still gives a picture, never a crash.
    const QImage image = Symbols::image(u"../../etc/passwd"_qs, 16, Qt::black);
    EXPECT_EQ(image.size(), QSize(16, 16));
}

TEST(SymbolsTest, ParsesTheTableLeniently) {
    const Symbols::Table table = Symbols::parse(
        u"# comment\nneutral\tcircle\nglobe\tglobe\n\nbroken line\nthree\tfields\there\n"
        "pin\tpin\r\n"_qs);
    EXPECT_EQ(table.neutral, u"circle"_qs);
    EXPECT_EQ(table.icons.size(), 2);
    EXPECT_EQ(table.icons.value(u"pin"_qs), u"pin"_qs);
}

int opaquePixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 128;
    return count;
}

TEST(SymbolsTest, DrawsGlyphsInTheirColourAndDiscsFilled) {
    const QImage glyph = Symbols::image(u"magnifyingglass"_qs, 32, QColor(Qt::red));
    EXPECT_GT(opaquePixels(glyph), 20);
    // A stroke icon leaves most of its square clear.
    EXPECT_LT(opaquePixels(glyph), 32 * 32 / 2);
    bool red = false;
    for (int y = 0; y < 32 && !red; ++y)
        for (int x = 0; x < 32 && !red; ++x)
            red = qAlpha(glyph.pixel(x, y)) == 255 && qRed(glyph.pixel(x, y)) == 255 &&
                  qGreen(glyph.pixel(x, y)) == 0;
    EXPECT_TRUE(red);

    // The disc form fills most of its circle, with the glyph in the first colour.
    const QImage disc =
        Symbols::image(u"checkmark.circle.fill"_qs, 32, QColor(Qt::white), QColor(Qt::blue));
    EXPECT_GT(opaquePixels(disc), int(0.7 * 3.14159 * 16 * 16));
    EXPECT_EQ(QColor(disc.pixel(16, 3)).rgb(), QColor(Qt::blue).rgb());
    EXPECT_TRUE(Symbols::isMapped(u"checkmark.circle.fill"_qs));
}

} // namespace
} // namespace kivaro
