#include "settings/StoredValue.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <limits>

namespace kivaro {
namespace {

using StoredValue::Form;

TEST(StoredValueTest, Booleans) {
    for (Form form : {Form::typed, Form::text}) {
        EXPECT_EQ(StoredValue::boolean(true, form), true);
        EXPECT_EQ(StoredValue::boolean(false, form), false);
        EXPECT_EQ(StoredValue::boolean(QVariant(), form), std::nullopt);
        EXPECT_EQ(StoredValue::boolean(1, form), std::nullopt);
        EXPECT_EQ(StoredValue::boolean(QStringList{u"true"_qs, u"x"_qs}, form), std::nullopt);
        EXPECT_EQ(StoredValue::boolean(u"TRUE"_qs, form), std::nullopt);
        EXPECT_EQ(StoredValue::boolean(QByteArray("true"), form), std::nullopt);
    }
    EXPECT_EQ(StoredValue::boolean(u"true"_qs, Form::text), true);
    EXPECT_EQ(StoredValue::boolean(u"false"_qs, Form::text), false);
    EXPECT_EQ(StoredValue::boolean(u"true"_qs, Form::typed), std::nullopt);
}

TEST(StoredValueTest, Numbers) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (Form form : {Form::typed, Form::text}) {
        EXPECT_EQ(StoredValue::number(0.7, form), 0.7);
        EXPECT_EQ(StoredValue::number(3, form), 3.0);
        EXPECT_EQ(StoredValue::number(qulonglong(5), form), 5.0);
        EXPECT_EQ(StoredValue::number(nan, form), std::nullopt);
        EXPECT_EQ(StoredValue::number(true, form), std::nullopt);
        EXPECT_EQ(StoredValue::number(u"abc"_qs, form), std::nullopt);
        EXPECT_EQ(StoredValue::integer(24.5, form), std::nullopt);
        EXPECT_EQ(StoredValue::integer(1e300, form), std::nullopt);
        EXPECT_EQ(StoredValue::integer(qlonglong(-3), form), -3);
        EXPECT_EQ(StoredValue::integer(72.0, form), 72);
    }
    EXPECT_EQ(StoredValue::number(u" 0.9 "_qs, Form::text), 0.9);
    EXPECT_EQ(StoredValue::number(u"0.9"_qs, Form::typed), std::nullopt);
    EXPECT_EQ(StoredValue::number(u"1e999"_qs, Form::text), std::nullopt);
    EXPECT_EQ(StoredValue::integer(u"168"_qs, Form::text), 168);
    EXPECT_EQ(StoredValue::integer(u"168"_qs, Form::typed), std::nullopt);
}

TEST(StoredValueTest, TextsListsAndData) {
    EXPECT_EQ(StoredValue::string(u"x"_qs), u"x"_qs);
    EXPECT_EQ(StoredValue::string(5), std::nullopt);
    EXPECT_EQ(StoredValue::string(QByteArray("x")), std::nullopt);
    EXPECT_EQ(StoredValue::strings(QStringList{u"a"_qs, u"b"_qs}, Form::typed),
              (QStringList{u"a"_qs, u"b"_qs}));
    EXPECT_EQ(StoredValue::strings(QVariantList{u"a"_qs, 1, u"b"_qs}, Form::typed),
              (QStringList{u"a"_qs, u"b"_qs}));
    EXPECT_EQ(StoredValue::strings(u"a"_qs, Form::text), QStringList{u"a"_qs});
    EXPECT_TRUE(StoredValue::strings(u"a"_qs, Form::typed).isEmpty());
    EXPECT_TRUE(StoredValue::strings(QByteArray("a"), Form::text).isEmpty());
    EXPECT_EQ(StoredValue::data(QByteArray("{}")), QByteArray("{}"));
    EXPECT_EQ(StoredValue::data(u"{}"_qs), std::nullopt);
}

TEST(StoredValueTest, FormOfTheSettingsStore) {
    QTemporaryDir folder;
    EXPECT_EQ(StoredValue::formOf(QSettings(folder.filePath(u"a.ini"_qs), QSettings::IniFormat)),
              Form::text);
#ifndef Q_OS_DARWIN
    EXPECT_EQ(
        StoredValue::formOf(QSettings(QSettings::NativeFormat, QSettings::UserScope, u"x"_qs)),
        Form::text);
#endif
}

} // namespace
} // namespace kivaro
