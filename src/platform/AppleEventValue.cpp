#include "platform/AppleEventValue.h"

#include "platform/FourCharCode.h"

#include <QtEndian>

namespace kivaro {

namespace {

constexpr quint32 listType = fourCharCode("list");
constexpr quint32 int32Types[] = {fourCharCode("long"), fourCharCode("shor")};
constexpr quint32 int64Type = fourCharCode("comp");
constexpr quint32 textTypes[] = {fourCharCode("utxt"), fourCharCode("utf8"), fourCharCode("TEXT")};

bool isOneOf(quint32 type, const auto& types) {
    for (quint32 candidate : types) {
        if (candidate == type)
            return true;
    }
    return false;
}

// A 64-bit integer as its decimal text: the program reads large window ids that way.
Descriptor int64Text(const QByteArray& data) {
    if (data.size() != sizeof(qint64))
        return Descriptor::missing();
    return Descriptor::text(QString::number(qFromLittleEndian<qint64>(data.constData())));
}

} // namespace

bool AppleEventValue::readsItems(quint32 type, int depth) {
    return type == listType && depth < maximumDepth;
}

Descriptor AppleEventValue::toDescriptor() const {
    if (type == listType) {
        QList<Descriptor> converted;
        converted.reserve(items.size());
        for (const AppleEventValue& item : items)
            converted.append(item.toDescriptor());
        return Descriptor::list(std::move(converted));
    }
    if (isOneOf(type, textTypes))
        return Descriptor::text(string.value_or(QString()));
    if (isOneOf(type, int32Types))
        return Descriptor::integer(int32);
    if (type == int64Type)
        return int64Text(data);
    return Descriptor::missing();
}

} // namespace kivaro
