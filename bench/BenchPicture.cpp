#include "BenchPicture.h"

#include <QRandomGenerator>
#include <QStringList>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace kivaro::bench {

const QDateTime benchNow = QDateTime(QDate(2026, 12, 6), QTime(12, 0), Qt::UTC);

namespace {

const QStringList sites{
    u"github.com"_s,
    u"www.google.com"_s,
    u"mail.google.com"_s,
    u"docs.google.com"_s,
    u"www.youtube.com"_s,
    u"en.wikipedia.org"_s,
    u"stackoverflow.com"_s,
    u"news.ycombinator.com"_s,
    u"www.reddit.com"_s,
    u"www.amazon.com"_s,
    u"www.bbc.co.uk"_s,
    u"www.nytimes.com"_s,
    u"developer.apple.com"_s,
    u"doc.qt.io"_s,
    u"doc.rust-lang.org"_s,
    u"www.figma.com"_s,
    u"app.slack.com"_s,
    u"www.notion.so"_s,
    u"twitter.com"_s,
    u"www.linkedin.com"_s,
    u"medium.com"_s,
    u"gitlab.com"_s,
    u"www.theguardian.com"_s,
    u"maps.google.com"_s,
    u"calendar.google.com"_s,
    u"www.imdb.com"_s,
    u"www.spotify.com"_s,
    u"www.netflix.com"_s,
    u"cppreference.com"_s,
    u"www.kernel.org"_s,
    u"lwn.net"_s,
    u"arxiv.org"_s,
};

const QStringList words{
    u"release"_s, u"notes"_s,     u"pull"_s,     u"request"_s,   u"issue"_s,   u"design"_s,
    u"review"_s,  u"weather"_s,   u"lisbon"_s,   u"recipe"_s,    u"pasta"_s,   u"budget"_s,
    u"report"_s,  u"quarterly"_s, u"kernel"_s,   u"scheduler"_s, u"memory"_s,  u"allocator"_s,
    u"string"_s,  u"class"_s,     u"tutorial"_s, u"video"_s,     u"music"_s,   u"playlist"_s,
    u"news"_s,    u"election"_s,  u"football"_s, u"travel"_s,    u"hotel"_s,   u"flight"_s,
    u"Zürich"_s,  u"café"_s,      u"東京"_s,     u"settings"_s,  u"profile"_s,
};

QString pick(QRandomGenerator& random, const QStringList& list) {
    return list[random.bounded(qsizetype(list.size()))];
}

QString title(QRandomGenerator& random) {
    QStringList parts;
    for (int i = random.bounded(2, 7); i > 0; --i)
        parts.append(pick(random, words));
    parts[0][0] = parts[0][0].toUpper();
    return parts.join(u' ') + u" - "_s + pick(random, sites).section(u'.', -2, -2);
}

QString address(QRandomGenerator& random) {
    QString path;
    for (int i = random.bounded(0, 4); i > 0; --i)
        path += u'/' + pick(random, words).toLower();
    if (random.bounded(4) == 0)
        path += u"?id="_s + QString::number(random.bounded(100000));
    if (random.bounded(10) == 0)
        path += u"&utm_source=newsletter"_s;
    if (random.bounded(12) == 0)
        path += u"#section-"_s + QString::number(random.bounded(9));
    return u"https://"_s + pick(random, sites) + (path.isEmpty() ? u"/"_s : path);
}

} // namespace

Picture picture(qsizetype historySize) {
    QRandomGenerator random(42);
    Picture picture;
    for (int i = 0; i < 300; ++i) {
        const int window = i % 6;
        picture.tabs.append(SafariTab{.windowID = 1000 + window,
                                      .windowOrder = window,
                                      .index = i / 6 + 1,
                                      .title = title(random),
                                      .url = address(random)});
    }
    for (qsizetype i = 0; i < historySize; ++i) {
        const qint64 secondsAgo = random.bounded(0, 90 * 86400);
        picture.history.append(HistoryEntry{.url = address(random),
                                            .title = title(random),
                                            .visits = random.bounded(1, 400),
                                            .lastVisit = benchNow.addSecs(-secondsAgo)});
    }
    for (int i = 0; i < 200; ++i) {
        picture.archived.append(ArchivedTab{
            .title = title(random), .url = address(random), .closedAt = benchNow.addDays(-i)});
    }
    for (int i = 0; i < 60; ++i) {
        const QString name = pick(random, words);
        picture.commands.append(Command{.title = u"Show "_s + name + u' ' + QString::number(i),
                                        .symbol = u"gearshape"_s,
                                        .keywords = pick(random, words).toLower(),
                                        .menu = u"View"_s,
                                        .action = Action::menu({u"View"_s, name})});
    }
    return picture;
}

double percentile95(std::vector<double> samples) {
    if (samples.empty())
        return 0;
    const auto at = samples.begin() + qsizetype(double(samples.size() - 1) * 0.95);
    std::nth_element(samples.begin(), at, samples.end());
    return *at;
}

} // namespace kivaro::bench
