#pragma once

#include "platform/Descriptor.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace kivaro {

// An Apple event descriptor copied out of the system as plain values, so that reading it
// into a Descriptor needs no system call. The adapter fills every field it can read and
// the items of a list only while readsItems() says so.
struct AppleEventValue {
    quint32 type = 0;              // the descriptor type ('list', 'utxt', 'long', 'null' ...)
    std::optional<QString> string; // the text the system coerces it to, if any
    qint32 int32 = 0;              // the 32-bit integer the system coerces it to
    QByteArray data;               // the raw bytes, native (little-endian) byte order
    QList<AppleEventValue> items;

    // Nesting deeper than this is not read: no script of ours returns it.
    static constexpr int maximumDepth = 8;

    // Whether the adapter reads the items of a descriptor of `type` found at `depth`
    // (the result itself is at depth 0).
    static bool readsItems(quint32 type, int depth);

    // The program's view: lists stay lists, texts and integers keep their value, a 64-bit
    // integer becomes its decimal text, "missing value" and anything else unknown reads as
    // missing.
    Descriptor toDescriptor() const;
};

} // namespace kivaro
