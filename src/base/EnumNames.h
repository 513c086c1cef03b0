#pragma once

#include <QList>
#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <array>
#include <cstddef>
#include <optional>
#include <type_traits>

namespace kivaro {

// The row of an enumeration whose cases carry nothing but their raw value.
template <typename E, typename Raw = const char16_t*>
struct EnumName {
    E value;
    Raw raw;
};

// The row of an enumeration whose cases also have a title to show.
template <typename E>
struct TitledEnumName {
    E value;
    const char16_t* raw;
    const char16_t* title;
};

namespace EnumRaw {

// Raw text is kept as UTF-16 literals and handed out as QString; a raw number as it is.
inline QString out(const char16_t* text) {
    return QString::fromUtf16(text);
}
constexpr int out(int number) {
    return number;
}

constexpr bool same(int a, int b) {
    return a == b;
}
constexpr bool same(const char16_t* a, const char16_t* b) {
    while (*a && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

} // namespace EnumRaw

// An enumeration's table: one row per case, in declaration order, each row the case (`value`),
// the raw value it is stored as (`raw`, text or a number) and any other per-case text. The
// cases, their raw values and the lookups all come from here, so each case is listed once.
template <typename Row, std::size_t N>
struct EnumTable {
    using Value = decltype(Row::value);
    // What stored raw values are looked up by.
    using RawKey = std::conditional_t<std::is_integral_v<decltype(Row::raw)>, qint64, QStringView>;

    std::array<Row, N> rows;

    constexpr const Row& row(Value value) const { return rows[std::size_t(value)]; }

    constexpr auto raw(Value value) const { return EnumRaw::out(row(value).raw); }

    std::optional<Value> parse(RawKey raw) const {
        for (const Row& candidate : rows) {
            if (RawKey(candidate.raw) == raw)
                return candidate.value;
        }
        return std::nullopt;
    }

    template <typename Case = Value>
    QList<Case> cases() const {
        QList<Case> list;
        list.reserve(qsizetype(N));
        for (const Row& candidate : rows)
            list.append(Case(candidate.value));
        return list;
    }
};

// A table whose rows are checked as it is compiled: `row()` finds a case by its position, and
// `parse()` needs each raw value once.
template <typename Row, std::size_t N>
consteval EnumTable<Row, N> enumTable(const Row (&rows)[N]) {
    EnumTable<Row, N> table{};
    for (std::size_t i = 0; i < N; ++i) {
        if (std::size_t(rows[i].value) != i)
            throw "the rows must list the cases in declaration order, starting at zero";
        for (std::size_t j = 0; j < i; ++j) {
            if (EnumRaw::same(rows[i].raw, rows[j].raw))
                throw "two cases have the same raw value";
        }
        table.rows[i] = rows[i];
    }
    return table;
}

// What every enumeration wrapped in a class shares: construction from a case, conversion back
// for switches and comparisons, every case, and the raw value both ways. The class inherits the
// constructor (`using EnumCase::EnumCase;`), brings the cases into its scope (`using enum`, so
// that `X::someCase` names a case) and declares its `table`. The enumeration itself is declared
// before the class, as a base cannot name a type nested in the class deriving from it.
template <typename Derived, typename V>
class EnumCase {
public:
    using Value = V;

    constexpr EnumCase(Value value) : value_(value) {}
    constexpr operator Value() const { return value_; }

    // In declaration order.
    static QList<Derived> allCases() { return Derived::table.template cases<Derived>(); }

    // Nothing for a raw value that is none of the cases.
    template <typename Raw>
    static std::optional<Derived> fromRaw(const Raw& raw) {
        if (const auto value = Derived::table.parse(raw))
            return Derived(*value);
        return std::nullopt;
    }

    constexpr auto rawValue() const { return Derived::table.raw(value_); }

protected:
    // This case's row of the table.
    constexpr const auto& row() const { return Derived::table.row(value_); }

    Value value_;
};

} // namespace kivaro
