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

AppleEventValue::Reading AppleEventValue::readingOf(quint32 type, int depth) {
    if (type == listType)
        return depth < maximumDepth ? Reading::items : Reading::nothing;
    if (isOneOf(type, textTypes))
        return Reading::text;
    if (isOneOf(type, int32Types))
        return Reading::int32;
    return type == int64Type ? Reading::int64 : Reading::nothing;
}

Descriptor AppleEventValue::toDescriptor() const {
    switch (readingOf(type, 0)) {
    case Reading::items: {
        QList<Descriptor> converted;
        converted.reserve(items.size());
        for (const AppleEventValue& item : items)
            converted.append(item.toDescriptor());
        return Descriptor::list(std::move(converted));
    }
    case Reading::text:
        return Descriptor::text(string.value_or(QString()));
    case Reading::int32:
        return Descriptor::integer(int32);
    case Reading::int64:
        return int64Text(data);
    case Reading::nothing:
        break;
    }
    return Descriptor::missing();
}

} // namespace kivaro
