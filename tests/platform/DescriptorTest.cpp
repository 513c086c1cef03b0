#include "platform/Descriptor.h"

#include <gtest/gtest.h>
#include <limits>

namespace kivaro {
namespace {

using namespace Qt::StringLiterals;
using D = Descriptor;

// Script answers come from another program: every reading of a wrong shape must give an empty or
// zero value, never a crash or a value from elsewhere.
TEST(DescriptorTest, ItemsAreNumberedFromOneAndReadAsTextOrIntegerOrNothing) {
    const struct {
        D item;
        QString text;
        qint64 integer;
    } cases[] = {
        {D::text(u"Tab \u2014 \u00e9"_s), u"Tab \u2014 \u00e9"_s, 0},
        {D::integer(std::numeric_limits<qint32>::min()), u"-2147483648"_s,
         std::numeric_limits<qint32>::min()},
        {D::text(u"-3"_s), u"-3"_s, -3},
        // Beyond 32 bits a text has no integer value as an item.
        {D::text(u"5000000000"_s), u"5000000000"_s, 0},
        {D::text(u"12abc"_s), u"12abc"_s, 0},
        {D::missing(), {}, 0},
        {D::list({D::text(u"nested"_s)}), {}, 0},
    };
    QList<D> items;
    for (const auto& each : cases)
        items.append(each.item);
    const D list = D::list(items);
    EXPECT_EQ(list.count(), qsizetype(std::size(cases)));
    for (qsizetype i = 0; i < list.count(); ++i) {
        EXPECT_EQ(list.item(i + 1), cases[i].item) << i;
        EXPECT_EQ(list.stringAt(i + 1), cases[i].text) << i;
        EXPECT_EQ(list.integerAt(i + 1), cases[i].integer) << i;
    }
    EXPECT_EQ(list.texts().size(), list.count());
    for (qsizetype outside :
         {qsizetype(0), qsizetype(-1), list.count() + 1, std::numeric_limits<qsizetype>::max()})
        EXPECT_TRUE(list.item(outside).isMissing()) << outside;
    // Only a list has items.
    for (const D& other : {D::text(u"abc"_s), D::integer(7), D::missing()}) {
        EXPECT_EQ(other.count(), 0);
        EXPECT_TRUE(other.item(1).isMissing());
        EXPECT_TRUE(other.texts().isEmpty());
    }
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

} // namespace
} // namespace kivaro
