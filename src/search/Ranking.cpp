#include "search/Ranking.h"

#include "base/EnumNames.h"

namespace kivaro {

namespace {

constexpr EnumNames<Row::Kind, 7> kindNames{{{
    {Row::Kind::tab, u"tab"},
    {Row::Kind::history, u"history"},
    {Row::Kind::open, u"open"},
    {Row::Kind::search, u"search"},
    {Row::Kind::command, u"command"},
    {Row::Kind::mode, u"mode"},
    {Row::Kind::archived, u"archived"},
}}};

constexpr EnumNames<ResultSection::Value, 4> sectionNames{{{
    {ResultSection::tabs, u"tabs"},
    {ResultSection::history, u"history"},
    {ResultSection::search, u"search"},
    {ResultSection::commands, u"commands"},
}}};

constexpr EnumNames<ResultSection::Value, 4> sectionTitles{{{
    {ResultSection::tabs, u"Tabs"},
    {ResultSection::history, u"History"},
    {ResultSection::search, u"Search"},
    {ResultSection::commands, u"Commands"},
}}};

constexpr EnumNames<ResultLayout, 2> layoutNames{{{
    {ResultLayout::grouped, u"grouped"},
    {ResultLayout::ranked, u"ranked"},
}}};

} // namespace

QString Row::rawValue(Kind kind) {
    return kindNames.raw(kind);
}

std::optional<Row::Kind> Row::kindFromRaw(QStringView raw) {
    return kindNames.parse(raw);
}

QList<ResultSection> ResultSection::allCases() {
    return {tabs, history, search, commands};
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

std::optional<ResultSection> ResultSection::fromRaw(QStringView raw) {
    if (auto value = sectionNames.parse(raw))
        return ResultSection(*value);
    return std::nullopt;
}

QString ResultSection::rawValue() const {
    return sectionNames.raw(value_);
}

QString ResultSection::title() const {
    return sectionTitles.raw(value_);
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
