#pragma once

#include <QSettings>
#include <QStringList>
#include <QVariant>

#include <optional>

namespace kivaro {

// Typed reads of what the settings store gives back. A typed store (the Mac's user
// defaults, or any format that keeps types) hands values back as they were written; an
// INI file (QSettings' native format on Linux) hands Booleans and numbers back as text,
// and a one-item list as that item. Each reader accepts what the store gives back for a
// value of its type and nothing else: a list is never a Boolean, "yes" is not a Boolean,
// a Boolean is not a number, and in a typed store text is neither.
namespace StoredValue {

enum class Form { typed, text };

// How `settings` gives values back.
Form formOf(const QSettings& settings);

// A stored Boolean; in a text store also the text "true" or "false".
std::optional<bool> boolean(const QVariant& value, Form form);

// A stored finite number; in a text store also text that is one. NaN and infinities are
// not numbers.
std::optional<double> number(const QVariant& value, Form form);

// A stored whole number (a number without a fraction).
std::optional<qint64> integer(const QVariant& value, Form form);

// Stored text only.
std::optional<QString> string(const QVariant& value);

// A list of texts (items that are not text are dropped); in a text store a text on its own
// is a list of one.
QStringList strings(const QVariant& value, Form form);

// Stored binary data only.
std::optional<QByteArray> data(const QVariant& value);

} // namespace StoredValue

} // namespace kivaro
