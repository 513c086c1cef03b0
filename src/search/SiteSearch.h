#pragma once

#include "search/SuggestSource.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace kivaro {

// One site the panel can search directly (site mode).
struct SiteSearch {
    QString name;                 // display name, shown in the mode chip and in "Open " + name
    QString host;                 // without "www."; may be a regional variant
    QStringList keywords;         // lower-case words that select the site when typed exactly
    QString urlTemplate;          // the site's search address, "%s" where the encoded query goes
    std::optional<QString> color; // "#RRGGBB" for the mode chip
    SuggestSource suggest;
    bool regional = false; // country variants live under hosts with the same first label

    bool operator==(const SiteSearch&) const = default;

    // The built-in catalog, built once.
    static const QList<SiteSearch>& all();

    // The catalog entry for a lower-case host without "www.": the most specific entry whose
    // host it is or lies under, else a country variant of a regional entry.
    static std::optional<SiteSearch> known(const QString& host);

    // The site that typed text selects for Tab: by the panel's inline completion when there is
    // one, else by a typed host, an exact keyword, or (three characters or more) the start of a
    // keyword or host.
    static std::optional<SiteSearch> match(const QString& query,
                                           const std::optional<QString>& completion = {});

    // The site of the front page's host; a host outside the catalog is searched through Google.
    static SiteSearch forHost(const QString& host);

    // This site moved to the regional variant the user visits most (`visits`: host to count).
    SiteSearch localized(const QHash<QString, qint64>& visits) const;

    // The template with every "%s" replaced by `term`, percent-encoded except for letters and
    // digits of any script and "-", ".", "_", "~".
    QString searchURL(const QString& term) const;

    // The text of a host before its first dot.
    static QStringView firstLabel(QStringView host) { return host.left(host.indexOf(u'.')); }

    // This site with its host replaced by `newHost`, in the template too.
    SiteSearch movedTo(const QString& newHost) const;
};

} // namespace kivaro
