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
    Descriptor made;
    made.kind_ = Kind::list;
    made.items_ = std::move(items);
    return made;
}

Descriptor Descriptor::text(QString text) {
    Descriptor made;
    made.kind_ = Kind::text;
    made.text_ = std::move(text);
    return made;
}

Descriptor Descriptor::integer(qint32 value) {
    Descriptor made;
    made.kind_ = Kind::integer;
    made.integer_ = value;
    return made;
}

bool Descriptor::isMissing() const {
    return kind_ == Kind::missing;
}

bool Descriptor::isList() const {
    return kind_ == Kind::list;
}

qsizetype Descriptor::count() const {
    return items_.size();
}

Descriptor Descriptor::item(qsizetype index) const {
    if (index < 1 || index > items_.size())
        return missing();
    return items_.at(index - 1);
}

std::optional<QString> Descriptor::stringValue() const {
    if (kind_ == Kind::text)
        return text_;
    if (kind_ == Kind::integer)
        return QString::number(integer_);
    return std::nullopt;
}

std::optional<qint32> Descriptor::int32Value() const {
    if (kind_ == Kind::integer)
        return integer_;
    const auto parsed = kind_ == Kind::text ? decimal(text_) : std::nullopt;
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
