#include "platform/Descriptor.h"

#include <gtest/gtest.h>
#include <limits>

namespace kivaro {
namespace {

using namespace Qt::StringLiterals;
using D = Descriptor;

TEST(DescriptorTest, ItemsAreNumberedFromOneAndAbsentOnesReadAsMissing) {
    const D list = D::list({D::text(u"a"_s), D::integer(2), D::missing()});
    EXPECT_TRUE(list.isList());
    EXPECT_EQ(list.count(), 3);
    EXPECT_EQ(list.item(1), D::text(u"a"_s));
    EXPECT_EQ(list.item(2), D::integer(2));
    EXPECT_TRUE(list.item(3).isMissing());
    for (qsizetype outside :
         {qsizetype(0), qsizetype(-1), qsizetype(4), std::numeric_limits<qsizetype>::max()})
        EXPECT_TRUE(list.item(outside).isMissing()) << outside;
    // Only a list has items.
    for (const D& other : {D::text(u"abc"_s), D::integer(7), D::missing()}) {
        EXPECT_EQ(other.count(), 0);
        EXPECT_TRUE(other.item(1).isMissing());
    }
    EXPECT_EQ(D::list({}).count(), 0);
    EXPECT_FALSE(D::list({}).isMissing());
}

TEST(DescriptorTest, ItemsReadAsTextOrEmpty) {
    const D list = D::list({D::text(u"Tab \u2014 \u00e9"_s), D::integer(-12), D::missing(),
                            D::list({D::text(u"nested"_s)}), D::text({})});
    EXPECT_EQ(list.stringAt(1), u"Tab \u2014 \u00e9"_s);
    EXPECT_EQ(list.stringAt(2), u"-12"_s);
    EXPECT_EQ(list.stringAt(3), QString());
    // A list where text is expected has no string value.
    EXPECT_EQ(list.stringAt(4), QString());
    EXPECT_EQ(list.stringAt(5), QString());
    EXPECT_EQ(list.stringAt(9), QString());
    EXPECT_EQ(list.texts(), (QStringList{u"Tab \u2014 \u00e9"_s, u"-12"_s, {}, {}, {}}));
    EXPECT_EQ(D::text(u"x"_s).texts(), QStringList());
}

TEST(DescriptorTest, ItemsReadAsThirtyTwoBitIntegersWidenedOrZero) {
    const D list =
        D::list({D::integer(std::numeric_limits<qint32>::min()), D::integer(41), D::text(u"17"_s),
                 D::text(u"-3"_s), D::text(u"5000000000"_s), D::text(u"12abc"_s), D::text({}),
                 D::missing(), D::list({D::integer(1)})});
    EXPECT_EQ(list.integerAt(1), qint64(std::numeric_limits<qint32>::min()));
    EXPECT_EQ(list.integerAt(2), 41);
    EXPECT_EQ(list.integerAt(3), 17);
    EXPECT_EQ(list.integerAt(4), -3);
    // Beyond 32 bits a text has no integer value; read as an integer item it is 0.
    EXPECT_EQ(list.integerAt(5), 0);
    EXPECT_EQ(list.integerAt(6), 0);
    EXPECT_EQ(list.integerAt(7), 0);
    EXPECT_EQ(list.integerAt(8), 0);
    EXPECT_EQ(list.integerAt(9), 0);
    EXPECT_EQ(list.integerAt(10), 0);
}

TEST(DescriptorTest, NumberPrefersTheFullDecimalTextThenTheIntegerValue) {
    EXPECT_EQ(D::text(u"5000000000"_s).number(), 5000000000LL);
    EXPECT_EQ(D::text(u"+42"_s).number(), 42);
    EXPECT_EQ(D::text(u"-9223372036854775808"_s).number(), std::numeric_limits<qint64>::min());
    EXPECT_EQ(D::text(u"9223372036854775807"_s).number(), std::numeric_limits<qint64>::max());
    EXPECT_EQ(D::integer(-7).number(), -7);
    // Text that is not a decimal integer, or is beyond 64 bits, has no integer value either.
    for (const QString& junk : {u"9223372036854775808"_s, u"+"_s, u"-"_s, u""_s, u" 12"_s, u"12 "_s,
                                u"0x10"_s, u"1e3"_s, u"\u0661\u0662"_s, u"--1"_s})
        EXPECT_EQ(D::text(junk).number(), 0) << junk.toStdString();
    EXPECT_EQ(D::missing().number(), 0);
    EXPECT_EQ(D::list({D::text(u"12"_s)}).number(), 0);
}

TEST(DescriptorTest, ValuesCompareByShapeAndContent) {
    EXPECT_EQ(D::list({D::integer(1)}), D::list({D::integer(1)}));
    EXPECT_NE(D::integer(1), D::text(u"1"_s));
    EXPECT_NE(D::list({}), D::missing());
    EXPECT_EQ(D(), D::missing());
}

} // namespace
} // namespace kivaro
