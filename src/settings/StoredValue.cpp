#include "settings/StoredValue.h"

#include <cmath>

namespace kivaro::StoredValue {

namespace {

bool isText(const QVariant& value) {
    return value.typeId() == QMetaType::QString;
}

bool isWholeNumberType(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return true;
    default:
        return false;
    }
}

bool isNumberType(const QVariant& value) {
    const int type = value.typeId();
    return isWholeNumberType(value) || type == QMetaType::Double || type == QMetaType::Float;
}

std::optional<double> finite(double number) {
    if (!std::isfinite(number))
        return std::nullopt;
    return number;
}

std::optional<double> parsedNumber(const QString& text) {
    bool ok = false;
    const double number = text.trimmed().toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return finite(number);
}

} // namespace

Form formOf(const QSettings& settings) {
#ifdef Q_OS_DARWIN
    constexpr bool nativeIsText = false;
#else
    constexpr bool nativeIsText = true;
#endif
    const QSettings::Format format = settings.format();
    if (format == QSettings::IniFormat || (format == QSettings::NativeFormat && nativeIsText))
        return Form::text;
    return Form::typed;
}

std::optional<bool> boolean(const QVariant& value, Form form) {
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (form != Form::text || !isText(value))
        return std::nullopt;
    const QString text = value.toString();
    if (text == u"true")
        return true;
    if (text == u"false")
        return false;
    return std::nullopt;
}

std::optional<double> number(const QVariant& value, Form form) {
    if (isNumberType(value))
        return finite(value.toDouble());
    if (form == Form::text && isText(value))
        return parsedNumber(value.toString());
    return std::nullopt;
}

std::optional<qint64> integer(const QVariant& value, Form form) {
    if (isWholeNumberType(value)) {
        bool ok = false;
        const qint64 whole = value.toLongLong(&ok);
        return ok ? std::optional<qint64>(whole) : std::nullopt;
    }
    const auto real = number(value, form);
    if (!real || *real != std::floor(*real) || std::abs(*real) > 9.0e15)
        return std::nullopt;
    return qint64(*real);
}

std::optional<QString> string(const QVariant& value) {
    if (!isText(value))
        return std::nullopt;
    return value.toString();
}

QStringList strings(const QVariant& value, Form form) {
    const int type = value.typeId();
    if (type == QMetaType::QStringList || (type == QMetaType::QString && form == Form::text))
        return value.toStringList();
    QStringList texts;
    if (type == QMetaType::QVariantList) {
        for (const QVariant& item : value.toList()) {
            if (isText(item))
                texts.append(item.toString());
        }
    }
    return texts;
}

std::optional<QByteArray> data(const QVariant& value) {
    if (value.typeId() != QMetaType::QByteArray)
        return std::nullopt;
    return value.toByteArray();
}

} // namespace kivaro::StoredValue
