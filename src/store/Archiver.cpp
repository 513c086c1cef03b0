#include "store/Archiver.h"

#include "base/AtomicFile.h"
#include "base/Web.h"
#include "browsers/SafariSide.h"
#include "settings/Storage.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace kivaro {

namespace {

using namespace Qt::StringLiterals;

// 2001-01-01 00:00:00 UTC in milliseconds since 1970: the file's time origin.
constexpr qint64 referenceDate = 978307200000;
// Years 1 to 9999 in seconds from the origin; anything beyond is damage.
constexpr double earliest = -63113904000.0;
constexpr double latest = 252423993599.0;
// No archive grows near this; a larger file is not ours.
constexpr qint64 largestFile = 64 * 1024 * 1024;

double secondsSinceReference(const QDateTime& time) {
    return double(time.toMSecsSinceEpoch() - referenceDate) / 1000.0;
}

std::optional<QDateTime> timeOf(const QJsonValue& value) {
    if (!value.isDouble())
        return std::nullopt;
    const double seconds = value.toDouble();
    if (!std::isfinite(seconds) || seconds < earliest || seconds > latest)
        return std::nullopt;
    return QDateTime::fromMSecsSinceEpoch(std::llround(seconds * 1000.0) + referenceDate, Qt::UTC);
}

std::optional<QHash<QString, QDateTime>> lastSeenOf(const QJsonValue& value) {
    if (!value.isObject())
        return std::nullopt;
    QHash<QString, QDateTime> lastSeen;
    const QJsonObject object = value.toObject();
    for (auto entry = object.begin(); entry != object.end(); ++entry) {
        const auto time = timeOf(entry.value());
        if (!time)
            return std::nullopt;
        lastSeen.insert(entry.key(), *time);
    }
    return lastSeen;
}

std::optional<ArchivedTab> archivedTabOf(const QJsonValue& value) {
    const QJsonObject object = value.toObject();
    const QJsonValue title = object.value(u"title"_s);
    const QJsonValue url = object.value(u"url"_s);
    const auto closedAt = timeOf(object.value(u"closedAt"_s));
    if (!value.isObject() || !title.isString() || !url.isString() || !closedAt)
        return std::nullopt;
    return ArchivedTab{title.toString(), url.toString(), *closedAt};
}

std::optional<QList<ArchivedTab>> archivedOf(const QJsonValue& value) {
    if (!value.isArray())
        return std::nullopt;
    QList<ArchivedTab> archived;
    for (const QJsonValue& item : value.toArray()) {
        const auto tab = archivedTabOf(item);
        if (!tab)
            return std::nullopt;
        archived.append(*tab);
    }
    return archived;
}

} // namespace

Archiver::Archiver(QString file, const SafariSide& safari)
    : file_(std::move(file)), safari_(safari) {
    load();
}

QString Archiver::defaultFile() {
    return Storage::dataFolder() + u"/archive.json"_s;
}

void Archiver::load() {
    QFile file(file_);
    if (!file.exists())
        return;
    const bool readable = file.open(QIODevice::ReadOnly) && file.size() <= largestFile;
    const auto decoded = readable ? decode(file.read(largestFile)) : std::nullopt;
    if (decoded) {
        state_ = *decoded;
        return;
    }
    mustSetAside_ = true;
    setAside();
}

bool Archiver::setAside() {
    if (!mustSetAside_)
        return true;
    const QString aside = AtomicFile::asideName(file_);
    if (!QFile::rename(file_, aside)) {
        qWarning("Kivaro archive: cannot move the unreadable %s aside; not saving over it",
                 qUtf8Printable(file_));
        return false;
    }
    qWarning("Kivaro archive: %s did not decode; kept as %s", qUtf8Printable(file_),
             qUtf8Printable(aside));
    mustSetAside_ = false;
    return true;
}

void Archiver::see(const QList<SafariTab>& tabs, const QDateTime& now) {
    for (const SafariTab& tab : tabs) {
        const QString key = Web::bare(tab.url);
        if (tab.isCurrent || !state_.lastSeen.contains(key))
            state_.lastSeen.insert(key, now);
    }
}

QList<SafariTab> Archiver::stale(const QList<SafariTab>& tabs,
                                 const QHash<QString, QDateTime>& lastSeen,
                                 const QSet<QString>& pinned, qint64 limit, const QDateTime& now) {
    QSet<QString> protectedPages;
    for (const SafariTab& tab : tabs) {
        if (tab.isCurrent)
            protectedPages.insert(Web::bare(tab.url));
    }
    QList<SafariTab> found;
    for (const SafariTab& tab : tabs) {
        const QString key = Web::bare(tab.url);
        const auto seen = lastSeen.constFind(key);
        if (!tab.url.startsWith(u"http") || pinned.contains(key) || protectedPages.contains(key) ||
            seen == lastSeen.constEnd())
            continue;
        if (now.toMSecsSinceEpoch() - seen->toMSecsSinceEpoch() > limit * 1000)
            found.append(tab);
    }
    return found;
}

int Archiver::tick(const QDateTime& now, ArchiveInterval interval) {
    const auto limit = interval.seconds();
    if (!limit || !safari_.isRunning())
        return 0;
    const QList<SafariTab> tabs = safari_.tabs();
    if (!state_.armed) {
        // Switching auto-archive on never closes tabs at once: every open tab starts afresh.
        for (const SafariTab& tab : tabs)
            state_.lastSeen.insert(Web::bare(tab.url), now);
        state_.armed = true;
        save();
        return 0;
    }
    see(tabs, now);
    // Without the pinned list nothing is known to be safe to close.
    const auto pinned = safari_.pinnedURLs();
    if (!pinned)
        return 0;
    QList<SafariTab> due = stale(tabs, state_.lastSeen, *pinned, *limit, now);
    if (due.size() > perPass)
        due.resize(perPass);
    int count = 0;
    for (const SafariTab& tab : due) {
        if (!safari_.close(tab.windowID, tab.url))
            continue;
        state_.archived.prepend({tab.title, tab.url, now});
        state_.lastSeen.remove(Web::bare(tab.url));
        ++count;
    }
    prune(tabs, now);
    save();
    return count;
}

void Archiver::prune(const QList<SafariTab>& tabs, const QDateTime& now) {
    QSet<QString> open;
    for (const SafariTab& tab : tabs)
        open.insert(Web::bare(tab.url));
    state_.lastSeen.removeIf([&](const QHash<QString, QDateTime>::iterator& entry) {
        return !open.contains(entry.key()) &&
               now.toMSecsSinceEpoch() - entry.value().toMSecsSinceEpoch() >= forgetAfter * 1000;
    });
    if (state_.archived.size() > capacity)
        state_.archived.resize(capacity);
}

int Archiver::pass(const QDateTime& now, ArchiveInterval interval) {
    if (interval.seconds())
        return tick(now, interval);
    if (state_.armed) {
        state_.armed = false;
        save();
    }
    return 0;
}

QString Archiver::announcement(int count) {
    if (count == 1)
        return u"Archived 1 inactive tab"_s;
    return u"Archived "_s + QString::number(count) + u" inactive tabs"_s;
}

void Archiver::restore(const QString& url) {
    const QString key = Web::bare(url);
    state_.archived.removeIf([&](const ArchivedTab& tab) { return Web::bare(tab.url) == key; });
    save();
}

bool Archiver::save() {
    return setAside() && AtomicFile::write(file_, encode(state_));
}

QByteArray Archiver::encode(const State& state) {
    QJsonObject lastSeen;
    for (auto entry = state.lastSeen.begin(); entry != state.lastSeen.end(); ++entry)
        lastSeen.insert(entry.key(), secondsSinceReference(entry.value()));
    QJsonArray archived;
    for (const ArchivedTab& tab : state.archived) {
        archived.append(QJsonObject{{u"title"_s, tab.title},
                                    {u"url"_s, tab.url},
                                    {u"closedAt"_s, secondsSinceReference(tab.closedAt)}});
    }
    const QJsonObject root{
        {u"lastSeen"_s, lastSeen}, {u"archived"_s, archived}, {u"armed"_s, state.armed}};
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

std::optional<Archiver::State> Archiver::decode(const QByteArray& json) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject root = document.object();
    const auto lastSeen = lastSeenOf(root.value(u"lastSeen"_s));
    const auto archived = archivedOf(root.value(u"archived"_s));
    const QJsonValue armed = root.value(u"armed"_s);
    if (!lastSeen || !archived || !armed.isBool())
        return std::nullopt;
    return State{*lastSeen, *archived, armed.toBool()};
}

} // namespace kivaro
