#pragma once

#include "search/Row.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace kivaro {

// The answer of one ranking pass.
struct Ranking {
    QList<Row> rows;
    std::optional<QString> completion;

    bool operator==(const Ranking&) const = default;
};

// The groups of the grouped layout. Declaration order is the default order.
class ResultSection {
public:
    enum Value { tabs, history, search, commands };

    constexpr ResultSection(Value value) : value_(value) {}
    constexpr operator Value() const { return value_; }

    // Every section exactly once: the stored order first (unknown names and repeats
    // dropped), then the missing ones in declaration order.
    static QList<ResultSection> ordered(const QStringList& raw);
    static QList<ResultSection> allCases();

    static std::optional<ResultSection> fromRaw(QStringView raw);
    QString rawValue() const;
    QString title() const;

    static ResultSection of(Row::Kind kind);

private:
    Value value_;
};

// How the sections are combined.
enum class ResultLayout { grouped, ranked };

QString rawValue(ResultLayout layout);
std::optional<ResultLayout> resultLayoutFromRaw(QStringView raw);

} // namespace kivaro
