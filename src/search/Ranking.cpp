#include "search/Ranking.h"

namespace kivaro {

namespace {

constexpr auto kindNames = enumTable<EnumName<Row::Kind>>({
    {Row::Kind::tab, u"tab"},
    {Row::Kind::history, u"history"},
    {Row::Kind::open, u"open"},
    {Row::Kind::search, u"search"},
    {Row::Kind::command, u"command"},
    {Row::Kind::mode, u"mode"},
    {Row::Kind::archived, u"archived"},
});

constexpr auto layoutNames = enumTable<EnumName<ResultLayout>>({
    {ResultLayout::grouped, u"grouped"},
    {ResultLayout::ranked, u"ranked"},
});

} // namespace

QString Row::rawValue(Kind kind) {
    return kindNames.raw(kind);
}

QList<ResultSection> ResultSection::ordered(const QStringList& raw) {
    QList<ResultSection> sections;
    auto addOnce = [&sections](ResultSection section) {
        if (!sections.contains(section))
            sections.append(section);
    };
    for (const QString& name : raw) {
        if (auto section = fromRaw(name))
            addOnce(*section);
    }
    for (ResultSection section : allCases())
        addOnce(section);
    return sections;
}

QString ResultSection::title() const {
    return QString::fromUtf16(row().title);
}

ResultSection ResultSection::of(Row::Kind kind) {
    switch (kind) {
    case Row::Kind::tab:
        return tabs;
    case Row::Kind::history:
    case Row::Kind::open:
    case Row::Kind::archived:
        return history;
    case Row::Kind::search:
        return search;
    case Row::Kind::command:
    case Row::Kind::mode:
        return commands;
    }
    return history;
}

QString rawValue(ResultLayout layout) {
    return layoutNames.raw(layout);
}

std::optional<ResultLayout> resultLayoutFromRaw(QStringView raw) {
    return layoutNames.parse(raw);
}

} // namespace kivaro
