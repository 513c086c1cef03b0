#include "base/Text.h"

#include "support/FixtureRows.h"

#include <gtest/gtest.h>

using namespace kivaro;
using namespace Qt::StringLiterals;

namespace {

TEST(TextTest, SearchesFindPrefixesAndWordsOnlyWhereTheyMayStart) {
    for (const QStringList& row : kivaro::testing::fixtureRows(u"text-searches.txt"_s, 4)) {
        const std::string text = row[1].toStdString();
        const std::string part = row[2].toStdString();
        const bool found = row[0] == u"bytes"_s   ? Text::containsBytes(text, part)
                           : row[0] == u"label"_s ? Text::anyPieceStartsWith(row[1], u'.', row[2])
                                                  : Text::anyWordStartsWith(row[1], row[2]);
        EXPECT_EQ(found ? u"yes"_s : u"no"_s, row[3]) << row.join(u" | ").toStdString();
    }
    EXPECT_EQ(Text::wordSpans(u"--").size(), 0);
}

TEST(TextTest, TrimmingAndSplittingKeepOtherWhiteSpace) {
    EXPECT_EQ(Text::trimSpacesAndTabs(u" \t a b\n\t "), u"a b\n");
    EXPECT_EQ(Text::spaceSeparatedWords(u"  a  b\tc "), (QStringList{u"a"_s, u"b\tc"_s}));
    EXPECT_TRUE(Text::spaceSeparatedWords(u"   ").isEmpty());
}

} // namespace
