#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace kivaro {

// What a script returned, as far as the program reads it: a list of items, a text, a 32-bit
// integer, or missing (AppleScript's "missing value", and what an absent item reads as).
// Every reader is total: a descriptor of the wrong shape reads as empty text, 0 or no items,
// so a browser that answers oddly gives empty results, never a crash.
class Descriptor {
public:
    Descriptor() = default;

    static Descriptor list(QList<Descriptor> items);
    static Descriptor text(QString text);
    static Descriptor integer(qint32 value);
    static Descriptor missing() { return {}; }

    bool isMissing() const;
    bool isList() const;

    // The number of items; 0 for anything but a list.
    qsizetype count() const;
    // Item `index`, numbered from 1; missing when out of range or when this is not a list.
    Descriptor item(qsizetype index) const;

    // The text this descriptor coerces to: a text as it is, an integer in decimal; nothing
    // for a list or a missing value.
    std::optional<QString> stringValue() const;
    // The 32-bit integer this descriptor coerces to: an integer as it is, a text holding a
    // decimal integer within 32 bits; nothing otherwise.
    std::optional<qint32> int32Value() const;

    // Item `index` as text: the empty string when it is missing or has no string value.
    QString stringAt(qsizetype index) const;
    // Item `index` as a 32-bit integer, widened: 0 when it is missing or has no integer value.
    qint64 integerAt(qsizetype index) const;

    // The string value of every item in order, empty for items without one.
    QStringList texts() const;
    // The string value read as a signed 64-bit decimal integer (an optional sign, then digits);
    // failing that, the 32-bit integer value sign-extended; failing that, 0. Window ids that
    // some browsers give as text beyond 32 bits keep their full value this way.
    qint64 number() const;

    bool operator==(const Descriptor&) const = default;

private:
    enum class Kind { missing, list, text, integer };

    Kind kind_ = Kind::missing;
    QList<Descriptor> items_;
    QString text_;
    qint32 integer_ = 0;
};

} // namespace kivaro
