#include "settings/StoredValue.h"

#include <gtest/gtest.h>
#include <limits>

namespace kivaro {
namespace {

using StoredValue::Form;

// What the preference tests cannot reach through a store: values no store gives back as written.
TEST(StoredValueTest, NumbersOutOfRangeOrNotANumberReadAsNothing) {
    for (Form form : {Form::typed, Form::text}) {
        EXPECT_EQ(StoredValue::number(std::numeric_limits<double>::quiet_NaN(), form),
                  std::nullopt);
        EXPECT_EQ(StoredValue::integer(1e300, form), std::nullopt);
        EXPECT_EQ(StoredValue::number(qulonglong(5), form), 5.0);
        EXPECT_EQ(StoredValue::boolean(QByteArray("true"), form), std::nullopt);
    }
    EXPECT_EQ(StoredValue::number(u"1e999"_qs, Form::text), std::nullopt);
    EXPECT_EQ(StoredValue::number(u" 0.9 "_qs, Form::text), 0.9);
    EXPECT_EQ(StoredValue::boolean(u"TRUE"_qs, Form::text), std::nullopt);
    EXPECT_EQ(StoredValue::strings(QVariantList{u"a"_qs, 1, u"b"_qs}, Form::typed),
              (QStringList{u"a"_qs, u"b"_qs}));
}

} // namespace
} // namespace kivaro
