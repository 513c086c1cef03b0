#pragma once

#include <QStringList>
#include <QVariant>

#include <optional>

namespace kivaro {

// Typed reads of what the settings store gives back. A typed store (the Mac's user
// defaults, or any store that keeps types) hands values back as they were written; the
// INI files QSettings writes on Linux hand Booleans and numbers back as text. Each reader
// accepts both forms of a value of its type and nothing else: a list is never a Boolean,
// "yes" is not a Boolean, a Boolean is not a number.
namespace StoredValue {

// A stored Boolean, or the text "true" / "false".
std::optional<bool> boolean(const QVariant& value);

// A stored finite number, or text that is one. NaN and infinities are not numbers.
std::optional<double> number(const QVariant& value);

// A stored whole number, or text that is one.
std::optional<qint64> integer(const QVariant& value);

// Stored text only.
std::optional<QString> string(const QVariant& value);

// A list of texts (items that are not text are dropped); a text on its own is a list of
// one, since a one-item list comes back from an INI file as plain text.
QStringList strings(const QVariant& value);

// Stored binary data only.
std::optional<QByteArray> data(const QVariant& value);

} // namespace StoredValue

} // namespace kivaro
