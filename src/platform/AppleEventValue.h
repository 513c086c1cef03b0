#pragma once

#include "platform/Descriptor.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace kivaro {

// An Apple event descriptor copied out of the system as plain values, so that reading it
// into a Descriptor needs no system call. The adapter reads only what readingOf() names.
struct AppleEventValue {
    // What the adapter reads of a descriptor.
    enum class Reading {
        nothing,
        items, // a list's items, each read the same way one level deeper
        text,  // its text
        int32, // its 32-bit integer
        int64, // its raw bytes: a 64-bit integer
    };

    quint32 type = 0;              // the descriptor type ('list', 'utxt', 'long', 'null' ...)
    std::optional<QString> string; // the text, when read
    qint32 int32 = 0;              // the 32-bit integer, when read
    QByteArray data;               // the raw bytes in native (little-endian) order, when read
    QList<AppleEventValue> items;

    // Nesting deeper than this is not read: no script of ours returns it.
    static constexpr int maximumDepth = 8;

    // What to read of a descriptor of `type` found at `depth` (the result itself is at 0).
    static Reading readingOf(quint32 type, int depth);

    // The program's view: lists stay lists, texts and integers keep their value, a 64-bit
    // integer becomes its decimal text, "missing value" and anything else unknown reads as
    // missing.
    Descriptor toDescriptor() const;
};

} // namespace kivaro
