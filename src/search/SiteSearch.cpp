#include "search/SiteSearch.h"

#include "base/Text.h"
#include "base/Web.h"

#include <QByteArray>

namespace kivaro {

namespace {

const QString googleHost = QStringLiteral("google.com");

SiteSearch site(const char16_t* name, const char16_t* host, QStringList keywords,
                const char16_t* color, const char16_t* urlTemplate,
                SuggestSource suggest = SuggestSource::none(), bool regional = false) {
    return SiteSearch{.name = QString::fromUtf16(name),
                      .host = QString::fromUtf16(host),
                      .keywords = std::move(keywords),
                      .urlTemplate = QString::fromUtf16(urlTemplate),
                      .color = QString::fromUtf16(color),
                      .suggest = std::move(suggest),
                      .regional = regional};
}

QStringList words(std::initializer_list<const char16_t*> list) {
    QStringList keywords;
    for (const char16_t* word : list)
        keywords.append(QString::fromUtf16(word));
    return keywords;
}

QList<SiteSearch> catalog() {
    const SuggestSource web = SuggestSource::google();
    const SuggestSource video = SuggestSource::google(QStringLiteral("yt"));
    return {
        site(u"Google", u"google.com", words({u"google", u"g"}), u"#4285F4",
             u"https://www.google.com/search?q=%s", web, true),
        site(u"YouTube", u"youtube.com", words({u"youtube", u"yt"}), u"#FF0033",
             u"https://www.youtube.com/results?search_query=%s", video),
        site(u"Amazon", u"amazon.com", words({u"amazon", u"amz"}), u"#FF9900",
             u"https://www.amazon.com/s?k=%s", SuggestSource::amazon(), true),
        site(u"Wikipedia", u"wikipedia.org", words({u"wikipedia", u"wiki", u"w"}), u"#000000",
             u"https://en.wikipedia.org/w/index.php?search=%s", SuggestSource::wikipedia()),
        site(u"Reddit", u"reddit.com", words({u"reddit", u"r"}), u"#FF4500",
             u"https://www.reddit.com/search/?q=%s"),
        site(u"X", u"x.com", words({u"x", u"x.com", u"twitter", u"tw"}), u"#000000",
             u"https://x.com/search?q=%s"),
        site(u"ChatGPT", u"chatgpt.com", words({u"chatgpt", u"gpt"}), u"#10A37F",
             u"https://chatgpt.com/?q=%s"),
        site(u"Instagram", u"instagram.com", words({u"instagram", u"insta", u"ig"}), u"#E4405F",
             u"https://www.instagram.com/explore/search/keyword/?q=%s"),
        site(u"Facebook", u"facebook.com", words({u"facebook", u"fb"}), u"#0866FF",
             u"https://www.facebook.com/search/top/?q=%s"),
        site(u"Gmail", u"mail.google.com", words({u"gmail", u"mail"}), u"#EA4335",
             u"https://mail.google.com/mail/u/0/#search/%s"),
        site(u"Google Maps", u"maps.google.com", words({u"maps", u"gmaps"}), u"#34A853",
             u"https://www.google.com/maps/search/%s", web),
        site(u"Google Images", u"images.google.com", words({u"images", u"img"}), u"#4285F4",
             u"https://www.google.com/search?q=%s&udm=2", web),
        site(u"Bing", u"bing.com", words({u"bing"}), u"#258FFA",
             u"https://www.bing.com/search?q=%s"),
        site(u"Netflix", u"netflix.com", words({u"netflix", u"nf"}), u"#E50914",
             u"https://www.netflix.com/search?q=%s"),
        site(u"LinkedIn", u"linkedin.com", words({u"linkedin", u"li"}), u"#0A66C2",
             u"https://www.linkedin.com/search/results/all/?keywords=%s"),
        site(u"TikTok", u"tiktok.com", words({u"tiktok", u"tt"}), u"#000000",
             u"https://www.tiktok.com/search?q=%s"),
        site(u"eBay", u"ebay.com", words({u"ebay"}), u"#E53238",
             u"https://www.ebay.com/sch/i.html?_nkw=%s", SuggestSource::none(), true),
        site(u"Yahoo", u"yahoo.com", words({u"yahoo"}), u"#6001D2",
             u"https://search.yahoo.com/search?p=%s"),
        site(u"DuckDuckGo", u"duckduckgo.com", words({u"duckduckgo", u"ddg"}), u"#DE5833",
             u"https://duckduckgo.com/?q=%s", SuggestSource::duckDuckGo()),
        site(u"Google Translate", u"translate.google.com", words({u"translate", u"gt"}), u"#4285F4",
             u"https://translate.google.com/?sl=auto&tl=auto&text=%s&op=translate"),
        site(u"Google Drive", u"drive.google.com", words({u"drive", u"gdrive"}), u"#1FA463",
             u"https://drive.google.com/drive/search?q=%s"),
        site(u"GitHub", u"github.com", words({u"github", u"gh"}), u"#181717",
             u"https://github.com/search?q=%s"),
        site(u"Pinterest", u"pinterest.com", words({u"pinterest", u"pin"}), u"#E60023",
             u"https://www.pinterest.com/search/pins/?q=%s"),
        site(u"Spotify", u"spotify.com", words({u"spotify", u"sp"}), u"#1DB954",
             u"https://open.spotify.com/search/%s"),
        site(u"Twitch", u"twitch.tv", words({u"twitch"}), u"#9146FF",
             u"https://www.twitch.tv/search?term=%s"),
        site(u"IMDb", u"imdb.com", words({u"imdb"}), u"#F5C518",
             u"https://www.imdb.com/find/?q=%s"),
        site(u"Walmart", u"walmart.com", words({u"walmart"}), u"#0071DC",
             u"https://www.walmart.com/search?q=%s"),
        site(u"Perplexity", u"perplexity.ai", words({u"perplexity", u"pplx"}), u"#20808D",
             u"https://www.perplexity.ai/search?q=%s"),
        site(u"Claude", u"claude.ai", words({u"claude"}), u"#D97757",
             u"https://claude.ai/new?q=%s"),
        site(u"Stack Overflow", u"stackoverflow.com", words({u"stackoverflow", u"so"}), u"#F58025",
             u"https://stackoverflow.com/search?q=%s"),
        site(u"Google News", u"news.google.com", words({u"news", u"gnews"}), u"#4285F4",
             u"https://news.google.com/search?q=%s", web),
        site(u"Google Calendar", u"calendar.google.com", words({u"calendar", u"gcal"}), u"#4285F4",
             u"https://calendar.google.com/calendar/r/search?q=%s"),
        site(u"Google Docs", u"docs.google.com", words({u"gdocs", u"docs"}), u"#4285F4",
             u"https://docs.google.com/document/?q=%s"),
        site(u"Etsy", u"etsy.com", words({u"etsy"}), u"#F16521",
             u"https://www.etsy.com/search?q=%s"),
        site(u"Booking.com", u"booking.com", words({u"booking"}), u"#003580",
             u"https://www.booking.com/searchresults.html?ss=%s"),
        site(u"Airbnb", u"airbnb.com", words({u"airbnb"}), u"#FF5A5F",
             u"https://www.airbnb.com/s/%s/homes"),
        site(u"Baidu", u"baidu.com", words({u"baidu"}), u"#2932E1",
             u"https://www.baidu.com/s?wd=%s"),
        site(u"Yandex", u"yandex.com", words({u"yandex"}), u"#FC3F1D",
             u"https://yandex.com/search/?text=%s", SuggestSource::none(), true),
        site(u"Apple Music", u"music.apple.com", words({u"applemusic", u"am"}), u"#FA243C",
             u"https://music.apple.com/search?term=%s"),
        site(u"YouTube Music", u"music.youtube.com", words({u"ytmusic", u"ytm"}), u"#FF0000",
             u"https://music.youtube.com/search?q=%s", video),
        site(u"Threads", u"threads.com", words({u"threads"}), u"#000000",
             u"https://www.threads.com/search?q=%s"),
        site(u"Bluesky", u"bsky.app", words({u"bluesky", u"bsky"}), u"#1185FE",
             u"https://bsky.app/search?q=%s"),
        site(u"Medium", u"medium.com", words({u"medium"}), u"#000000",
             u"https://medium.com/search?q=%s"),
        site(u"Quora", u"quora.com", words({u"quora"}), u"#B92B27",
             u"https://www.quora.com/search?q=%s"),
        site(u"SoundCloud", u"soundcloud.com", words({u"soundcloud", u"sc"}), u"#FF5500",
             u"https://soundcloud.com/search?q=%s"),
        site(u"Figma", u"figma.com", words({u"figma"}), u"#F24E1E",
             u"https://www.figma.com/community/search?query=%s"),
        site(u"Dropbox", u"dropbox.com", words({u"dropbox"}), u"#0061FF",
             u"https://www.dropbox.com/search/personal?query=%s"),
        site(u"Asana", u"asana.com", words({u"asana"}), u"#F06A6A",
             u"https://app.asana.com/0/search?q=%s"),
        site(u"Brave Search", u"search.brave.com", words({u"brave"}), u"#FB542B",
             u"https://search.brave.com/search?q=%s"),
        site(u"Ecosia", u"ecosia.org", words({u"ecosia"}), u"#008009",
             u"https://www.ecosia.org/search?q=%s"),
        site(u"Kagi", u"kagi.com", words({u"kagi"}), u"#FFB319", u"https://kagi.com/search?q=%s"),
        site(u"MDN", u"developer.mozilla.org", words({u"mdn"}), u"#000000",
             u"https://developer.mozilla.org/en-US/search?q=%s"),
        site(u"npm", u"npmjs.com", words({u"npm"}), u"#CB3837",
             u"https://www.npmjs.com/search?q=%s"),
        site(u"PyPI", u"pypi.org", words({u"pypi", u"pip"}), u"#3775A9",
             u"https://pypi.org/search/?q=%s"),
        site(u"crates.io", u"crates.io", words({u"crates", u"cargo"}), u"#264323",
             u"https://crates.io/search?q=%s"),
        site(u"Hacker News", u"news.ycombinator.com", words({u"hackernews", u"hn"}), u"#FF6600",
             u"https://hn.algolia.com/?q=%s"),
        site(u"Product Hunt", u"producthunt.com", words({u"producthunt", u"ph"}), u"#DA552F",
             u"https://www.producthunt.com/search?q=%s"),
        site(u"Dribbble", u"dribbble.com", words({u"dribbble"}), u"#EA4C89",
             u"https://dribbble.com/search/%s"),
        site(u"Behance", u"behance.net", words({u"behance"}), u"#1769FF",
             u"https://www.behance.net/search/projects?search=%s"),
        site(u"Unsplash", u"unsplash.com", words({u"unsplash"}), u"#000000",
             u"https://unsplash.com/s/photos/%s"),
        site(u"Google Scholar", u"scholar.google.com", words({u"scholar"}), u"#4285F4",
             u"https://scholar.google.com/scholar?q=%s"),
        site(u"Hugging Face", u"huggingface.co", words({u"huggingface", u"hf"}), u"#FFD21E",
             u"https://huggingface.co/search/full-text?q=%s"),
        site(u"Wolfram Alpha", u"wolframalpha.com", words({u"wolframalpha", u"wolfram"}),
             u"#DD1100", u"https://www.wolframalpha.com/input?i=%s"),
        site(u"Steam", u"steampowered.com", words({u"steam"}), u"#1B2838",
             u"https://store.steampowered.com/search/?term=%s"),
        site(u"Apple Developer", u"developer.apple.com", words({u"appledev", u"adc"}), u"#000000",
             u"https://developer.apple.com/search/?q=%s"),
        site(u"React", u"react.dev", words({u"react"}), u"#58C4DC",
             u"https://www.google.com/search?q=site:react.dev+%s"),
        site(u"Tailwind CSS", u"tailwindcss.com", words({u"tailwind", u"tailwindcss"}), u"#06B6D4",
             u"https://www.google.com/search?q=site:tailwindcss.com+%s"),
        site(u"Vercel", u"vercel.com", words({u"vercel"}), u"#000000",
             u"https://www.google.com/search?q=site:vercel.com/docs+%s"),
        site(u"Linear", u"linear.app", words({u"linear"}), u"#5E6AD2",
             u"https://linear.app/search?q=%s"),
    };
}

bool isUnder(QStringView host, QStringView siteHost) {
    return host.size() > siteHost.size() && host.endsWith(siteHost) &&
           host[host.size() - siteHost.size() - 1] == u'.';
}

// A letter or digit of any script, or one of the four marks RFC 3986 leaves unreserved.
bool keptAsIs(char32_t c) {
    return QChar::isLetter(c) || QChar::isDigit(c) || c == U'-' || c == U'.' || c == U'_' ||
           c == U'~';
}

// `term` with every character outside the kept set written as its UTF-8 bytes in "%XX" form;
// nothing when the term is not valid text.
std::optional<QString> percentEncodedTerm(const QString& term) {
    if (!QStringView(term).isValidUtf16())
        return std::nullopt;
    QString encoded;
    for (char32_t c : term.toUcs4()) {
        const QString character = QString::fromUcs4(&c, 1);
        if (keptAsIs(c))
            encoded += character;
        else
            encoded += QString::fromLatin1(character.toUtf8().toPercentEncoding());
    }
    return encoded;
}

std::optional<SiteSearch> firstSite(auto test) {
    const QList<SiteSearch>& sites = SiteSearch::all();
    const auto found = std::find_if(sites.begin(), sites.end(), test);
    if (found == sites.end())
        return std::nullopt;
    return *found;
}

} // namespace

const QList<SiteSearch>& SiteSearch::all() {
    static const QList<SiteSearch> sites = catalog();
    return sites;
}

std::optional<SiteSearch> SiteSearch::known(const QString& host) {
    const SiteSearch* mostSpecific = nullptr;
    for (const SiteSearch& site : all()) {
        if ((site.host == host || isUnder(host, site.host)) &&
            (!mostSpecific || site.host.size() > mostSpecific->host.size()))
            mostSpecific = &site;
    }
    // The entry as it is, also under a subdomain of a regional site: such a subdomain (an
    // account or mobile host) is no country variant and has no search page of its own.
    if (mostSpecific)
        return *mostSpecific;
    const QStringView label = firstLabel(host);
    if (auto regional = firstSite([&](const SiteSearch& site) {
            return site.regional && firstLabel(site.host) == label;
        }))
        return regional->movedTo(host);
    return std::nullopt;
}

std::optional<SiteSearch> SiteSearch::match(const QString& query,
                                            const std::optional<QString>& completion) {
    const QString t = Text::trimSpacesAndTabs(query).toString().toLower();
    if (t.isEmpty() || t.contains(u' '))
        return std::nullopt;
    if (completion)
        return known(completion->section(u'/', 0, 0).toLower());
    if (t.contains(u'.')) {
        if (auto site = known(Web::host(Web::normalize(t))))
            return site;
    }
    if (auto exact = firstSite([&](const SiteSearch& site) { return site.keywords.contains(t); }))
        return exact;
    if (t.size() < 3)
        return std::nullopt;
    return firstSite([&](const SiteSearch& site) {
        return site.host.startsWith(t) ||
               std::any_of(site.keywords.begin(), site.keywords.end(),
                           [&](const QString& keyword) { return keyword.startsWith(t); });
    });
}

SiteSearch SiteSearch::forHost(const QString& host) {
    if (auto site = known(host))
        return *site;
    return SiteSearch{.name = host,
                      .host = host,
                      .urlTemplate = QStringLiteral("https://www.") + googleHost +
                                     QStringLiteral("/search?q=site%3A") + host +
                                     QStringLiteral("%20%s"),
                      .suggest = SuggestSource::google()};
}

SiteSearch SiteSearch::localized(const QHash<QString, qint64>& visits) const {
    if (!regional)
        return *this;
    const QStringView base = firstLabel(host);
    const QString* best = nullptr;
    qint64 bestCount = 0;
    for (auto it = visits.begin(); it != visits.end(); ++it) {
        if (firstLabel(it.key()) != base || it.key() == host)
            continue;
        // Of equally visited variants the alphabetically first wins, so the choice is stable.
        if (!best || it.value() > bestCount || (it.value() == bestCount && it.key() < *best)) {
            best = &it.key();
            bestCount = it.value();
        }
    }
    if (!best)
        return *this;
    const auto own = visits.find(host);
    const bool switches = own == visits.end() ? bestCount >= 1 : own.value() < bestCount;
    return switches ? movedTo(*best) : *this;
}

QString SiteSearch::searchURL(const QString& term) const {
    QString url = urlTemplate;
    return url.replace(QStringLiteral("%s"), percentEncodedTerm(term).value_or(term));
}

SiteSearch SiteSearch::movedTo(const QString& newHost) const {
    SiteSearch moved = *this;
    moved.urlTemplate.replace(host, newHost);
    moved.host = newHost;
    return moved;
}

} // namespace kivaro
