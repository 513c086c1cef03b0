#include "panel/PanelRules.h"

#include "base/Text.h"
#include "search/Ranking.h"

namespace kivaro::PanelRules {

namespace {

bool isTopHit(const Row& row, const std::optional<QString>& completion) {
    return completion || row.kind == Row::Kind::open;
}

QString sectionOf(Row::Kind kind) {
    switch (kind) {
    case Row::Kind::history:
    case Row::Kind::open:
    case Row::Kind::archived:
        return QStringLiteral("History");
    case Row::Kind::command:
    case Row::Kind::mode:
        return QStringLiteral("Commands");
    case Row::Kind::search:
        return QStringLiteral("Search");
    default:
        return QStringLiteral("Tabs");
    }
}

bool wantsTitles(const TitleInput& input) {
    if (input.devMode || input.rows.isEmpty())
        return false;
    if (!input.site && !input.grouped)
        return false;
    return !Text::trimSpacesAndTabs(input.query).isEmpty();
}

QString lowerTrimmed(const QString& text) {
    return Text::trimSpacesAndTabs(text).toString().toLower();
}

} // namespace

QList<std::optional<QString>> sectionTitles(const TitleInput& input) {
    QList<std::optional<QString>> titles(input.rows.size());
    if (!wantsTitles(input))
        return titles;
    const bool topHit = isTopHit(input.rows.constFirst(), input.completion);
    const qsizetype first = topHit ? 1 : 0;
    QSet<QString> kinds;
    for (qsizetype i = first; i < input.rows.size(); ++i)
        kinds.insert(sectionOf(input.rows[i].kind));
    const bool drawn = topHit ? first < input.rows.size() : kinds.size() >= 2;
    if (!drawn)
        return titles;
    QString previous;
    for (qsizetype i = first; i < input.rows.size(); ++i) {
        const QString name =
            input.site ? QStringLiteral("On ") + *input.site : sectionOf(input.rows[i].kind);
        if (i == first || name != previous)
            titles[i] = name;
        previous = name;
    }
    return titles;
}

int panelHeight(qsizetype rows, qsizetype titles, int menu) {
    if (rows <= 0)
        return emptyHeight;
    const int n = int(rows);
    const int content = rowHeight * n + spacing * (n - 1) +
                        (sectionHeight + spacing) * int(titles) + 17 + 1 + footer + header;
    const int withMenu = menu > 0 ? header + 1 + 2 * inset + menu + 1 + footer : 0;
    return std::max({minimumContent, content, withMenu}) + 2 * margin;
}

std::optional<Completed> complete(const QString& typed, qsizetype lastLength,
                                  const std::optional<QString>& completion) {
    const qsizetype newLength = typed.size();
    if (newLength <= lastLength || !completion || completion->size() <= newLength)
        return std::nullopt;
    if (!completion->startsWith(typed, Qt::CaseInsensitive))
        return std::nullopt;
    const QString rest = completion->mid(newLength);
    return Completed{typed + rest, newLength, rest.size()};
}

TabTarget tabTarget(const QString& typed, bool devAvailable,
                    const std::optional<QString>& lastCompletion) {
    const QString q = lowerTrimmed(typed);
    if (q == u"dev" && devAvailable)
        return EnterDevTools{};
    if (auto site = SiteSearch::match(q, lastCompletion))
        return *site;
    return AcceptCompletion{};
}

std::optional<QString> tabHint(const QString& typed, bool devAvailable,
                               const std::optional<QString>& lastCompletion) {
    const TabTarget target = tabTarget(typed, devAvailable, lastCompletion);
    if (std::holds_alternative<EnterDevTools>(target))
        return QStringLiteral("Developer Tools");
    if (const auto* site = std::get_if<SiteSearch>(&target))
        return QStringLiteral("Search ") + site->name;
    return std::nullopt;
}

std::optional<ModePrefix> modePrefix(const QString& fieldText) {
    const QString lower = fieldText.toLower();
    const auto rest = [&](qsizetype length) {
        return Text::trimSpacesAndTabs(QStringView(fieldText).sliced(length)).toString();
    };
    if (lower.startsWith(u'%'))
        return ModePrefix{ModePrefix::Kind::currentSite, rest(1)};
    if (lower.startsWith(u'$'))
        return ModePrefix{ModePrefix::Kind::devTools, rest(1)};
    if (lower.startsWith(u"dev:"))
        return ModePrefix{ModePrefix::Kind::devTools, rest(4)};
    return std::nullopt;
}

} // namespace kivaro::PanelRules
