#pragma once

#include <QtGlobal>

// The numbers that decide how results score against each other and how many of each kind a
// query is offered, together so that their balance can be read and tuned in one place. A
// history entry also earns points for its visits and for how recently it was seen; those are
// worked out once, when history is prepared (search/PreparedHistory.h).
namespace kivaro::RankingWeights {

// How a page (open tab, history entry, archived tab) meets the query: host points and title
// points add up, so a page scores at most hostBegins + titleBegins. Host and title each earn the
// larger amount when it begins with the whole query, the smaller when one of its labels (host) or
// words (title) begins with the query's first word.
inline constexpr double hostBegins = 40;
inline constexpr double hostLabelBegins = 20;
inline constexpr double titleBegins = 25;
inline constexpr double titleWordBegins = 10;

// Added to a page's match: an open tab is worth switching to before reopening its page, and an
// archived tab only just edges out history that matches as well.
inline constexpr double openTabBonus = 25;
inline constexpr double archivedTabBonus = 5;

// Searches: the typed text first, each suggestion one step below the one before it.
inline constexpr double firstSearch = 40;
inline constexpr double searchStep = 4;

// Menu commands, looked for once the query is long enough to say which one is meant.
inline constexpr qsizetype commandQueryLength = 3;
inline constexpr double commandTitleBegins = 60; // the title begins with the query
inline constexpr double commandWordBegins = 30;  // some word of the command begins with it
// "dev" with developer tools at hand: the way into them goes above everything else.
inline constexpr double developerTools = 100;

// Developer-tools mode orders its tools and shows no scores: the title beginning with the
// query first, then the core tools with a word beginning with it, then the other tools.
inline constexpr double toolTitleBegins = 3;
inline constexpr double coreToolWordBegins = 2;
inline constexpr double toolWordBegins = 1;
inline constexpr double toolContains = 0;

// How many rows of each kind one query is offered at the most.
inline constexpr qsizetype tabRows = 5;
inline constexpr qsizetype historyRows = 4;
inline constexpr qsizetype archivedRows = 3;
inline constexpr qsizetype searchRows = 4; // the typed text and three suggestions
inline constexpr qsizetype commandRows = 3;
// Site mode: a site's pages from history, more of them while nothing is typed yet.
inline constexpr qsizetype sitePages = 4;
inline constexpr qsizetype sitePagesBeforeTyping = 6;

} // namespace kivaro::RankingWeights
