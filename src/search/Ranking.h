#pragma once

#include "base/EnumNames.h"
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

enum class ResultSectionValue { tabs, history, search, commands };

// The groups of the grouped layout. Declaration order is the default order.
class ResultSection : public EnumCase<ResultSection, ResultSectionValue> {
public:
    using EnumCase::EnumCase;
    using enum ResultSectionValue;

    // Every section exactly once: the stored order first (unknown names and repeats
    // dropped), then the missing ones in declaration order.
    static QList<ResultSection> ordered(const QStringList& raw);

    QString title() const;

    static ResultSection of(Row::Kind kind);

    static constexpr auto table = enumTable<TitledEnumName<Value>>({
        {tabs, u"tabs", u"Tabs"},
        {history, u"history", u"History"},
        {search, u"search", u"Search"},
        {commands, u"commands", u"Commands"},
    });
};

// How the sections are combined.
enum class ResultLayout { grouped, ranked };

QString rawValue(ResultLayout layout);
std::optional<ResultLayout> resultLayoutFromRaw(QStringView raw);

} // namespace kivaro
