#include "platform/Descriptor.h"

#include <limits>

namespace kivaro {

namespace {

// A decimal integer with an optional sign and at least one digit, nothing else; within the
// signed 64-bit range.
std::optional<qint64> decimal(const QString& text) {
    const qsizetype digitsFrom = text.startsWith(u'+') || text.startsWith(u'-') ? 1 : 0;
    if (text.size() == digitsFrom)
        return std::nullopt;
    for (qsizetype i = digitsFrom; i < text.size(); ++i) {
        if (text[i] < u'0' || text[i] > u'9')
            return std::nullopt;
    }
    bool ok = false;
    const qint64 value = text.toLongLong(&ok, 10);
    return ok ? std::optional(value) : std::nullopt;
}

} // namespace

Descriptor Descriptor::list(QList<Descriptor> items) {
    return Descriptor(Value(std::move(items)));
}

Descriptor Descriptor::text(QString text) {
    return Descriptor(Value(std::move(text)));
}

Descriptor Descriptor::integer(qint32 value) {
    return Descriptor(Value(value));
}

bool Descriptor::isMissing() const {
    return std::holds_alternative<Missing>(value_);
}

bool Descriptor::isList() const {
    return std::holds_alternative<QList<Descriptor>>(value_);
}

qsizetype Descriptor::count() const {
    const auto* items = std::get_if<QList<Descriptor>>(&value_);
    return items ? items->size() : 0;
}

Descriptor Descriptor::item(qsizetype index) const {
    const auto* items = std::get_if<QList<Descriptor>>(&value_);
    if (!items || index < 1 || index > items->size())
        return missing();
    return items->at(index - 1);
}

std::optional<QString> Descriptor::stringValue() const {
    if (const auto* text = std::get_if<QString>(&value_))
        return *text;
    if (const auto* value = std::get_if<qint32>(&value_))
        return QString::number(*value);
    return std::nullopt;
}

std::optional<qint32> Descriptor::int32Value() const {
    if (const auto* value = std::get_if<qint32>(&value_))
        return *value;
    const auto* text = std::get_if<QString>(&value_);
    const auto parsed = text ? decimal(*text) : std::nullopt;
    if (!parsed || *parsed < std::numeric_limits<qint32>::min() ||
        *parsed > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(*parsed);
}

QString Descriptor::stringAt(qsizetype index) const {
    return item(index).stringValue().value_or(QString());
}

qint64 Descriptor::integerAt(qsizetype index) const {
    return item(index).int32Value().value_or(0);
}

QStringList Descriptor::texts() const {
    QStringList texts;
    for (qsizetype index = 1; index <= count(); ++index)
        texts.append(stringAt(index));
    return texts;
}

qint64 Descriptor::number() const {
    if (const auto text = stringValue()) {
        if (const auto parsed = decimal(*text))
            return *parsed;
    }
    return int32Value().value_or(0);
}

} // namespace kivaro
