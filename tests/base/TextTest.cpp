#include "base/Text.h"

#include <gtest/gtest.h>

using namespace kivaro;
using namespace Qt::StringLiterals;

namespace {

TEST(TextTest, ByteSearchFindsWordsAtEveryPosition) {
    const std::string_view text = "release notes";
    for (std::string_view word : {"r", "re", "rel", "release notes", "s", "es", "notes", " n", ""})
        EXPECT_TRUE(Text::containsBytes(text, word)) << word;
    for (std::string_view word : {"x", "sx", "release notes!", "relx", "eles", "notes "})
        EXPECT_FALSE(Text::containsBytes(text, word)) << word;
    EXPECT_FALSE(Text::containsBytes("", "a"));
    EXPECT_TRUE(Text::containsBytes("aab", "ab")); // a false start right before the match
}

TEST(TextTest, PiecesAndWordsBeginWithPrefixesOnlyAtTheirStart) {
    EXPECT_TRUE(Text::anyPieceStartsWith(u"news.site.com", u'.', u"si"));
    EXPECT_TRUE(Text::anyPieceStartsWith(u"news.site.com", u'.', u"com"));
    EXPECT_FALSE(Text::anyPieceStartsWith(u"news.site.com", u'.', u"ite"));
    EXPECT_FALSE(Text::anyPieceStartsWith(u"news.site.com", u'.', u"site.c"));
    EXPECT_FALSE(Text::anyPieceStartsWith(u"news.site.com", u'.', u"comx"));
    EXPECT_TRUE(Text::anyWordStartsWith(u"a-b c", u"c"));
    EXPECT_FALSE(Text::anyWordStartsWith(u"a-b c", u"-b"));
    EXPECT_FALSE(Text::anyWordStartsWith(u"ab", u"abc"));
    EXPECT_TRUE(Text::anyWordStartsWith(u"x 𝒜lpha", u"𝒜l"));
    EXPECT_EQ(Text::wordSpans(u"--").size(), 0);
}

TEST(TextTest, TrimmingAndSplittingKeepOtherWhiteSpace) {
    EXPECT_EQ(Text::trimSpacesAndTabs(u" \t a b\n\t "), u"a b\n");
    EXPECT_EQ(Text::spaceSeparatedWords(u"  a  b\tc "), (QStringList{u"a"_s, u"b\tc"_s}));
    EXPECT_TRUE(Text::spaceSeparatedWords(u"   ").isEmpty());
}

} // namespace
