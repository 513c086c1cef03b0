#pragma once

#include "browsers/SafariTab.h"
#include "history/ArchivedTab.h"
#include "settings/ArchiveInterval.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <optional>

namespace kivaro {

class SafariSide;

// Auto-archive: remembers when each open Safari tab was last current, closes tabs left unseen
// longer than the chosen interval a few at a time, and keeps them in an archive file that the
// panel searches. Not thread-safe: the store calls it from its one serial queue only, and
// hands copies of `state().archived` to the main thread.
class Archiver {
public:
    struct State {
        // Bare address to the last time a tab with it was current (or first seen).
        QHash<QString, QDateTime> lastSeen;
        // Newest first, at most `capacity` entries.
        QList<ArchivedTab> archived;
        // False until the first pass after switching auto-archive on recorded every open tab.
        bool armed = false;

        bool operator==(const State&) const = default;
    };

    static constexpr qsizetype perPass = 5;
    static constexpr qsizetype capacity = 300;
    // lastSeen entries of tabs no longer open are forgotten after 30 days.
    static constexpr qint64 forgetAfter = 2592000;

    // Reads `file`; a missing one starts an empty, unarmed archive. A file that does not
    // decode is renamed aside (with a ".unreadable" suffix) so the next save cannot overwrite
    // it. `safari` must outlive the archiver.
    Archiver(QString file, const SafariSide& safari);
    Archiver(const Archiver&) = delete;
    Archiver& operator=(const Archiver&) = delete;

    // "archive.json" in the application's data folder.
    static QString defaultFile();

    const State& state() const { return state_; }
    const QString& file() const { return file_; }

    // Records the live tabs: a current tab is seen now, any other tab is first seen now.
    void see(const QList<SafariTab>& tabs, const QDateTime& now);

    // The tabs to archive, in tab order: addresses beginning with "http", not pinned, not the
    // current tab's address of any window, seen more than `limit` seconds before `now`.
    static QList<SafariTab> stale(const QList<SafariTab>& tabs,
                                  const QHash<QString, QDateTime>& lastSeen,
                                  const QSet<QString>& pinned, qint64 limit, const QDateTime& now);

    // One archive pass with `interval`: closes and archives at most `perPass` stale tabs,
    // prunes and saves. The number of tabs archived; none while the interval is off.
    int tick(const QDateTime& now, ArchiveInterval interval);

    // The store's once-a-minute step: a pass while an interval is set; otherwise disarms, so
    // that switching auto-archive on again starts from a fresh baseline. Tabs archived.
    int pass(const QDateTime& now, ArchiveInterval interval);

    // What the store tells the user after a pass archived `count` tabs (one or more).
    static QString announcement(int count);

    // Forgets the archived entries with that bare address, then saves.
    void restore(const QString& url);

    // Writes the state atomically. False when it could not be written (the state stays in
    // memory and the next save tries again).
    bool save();

    // The file's JSON: {"lastSeen": {bare: time}, "archived": [{"title", "url", "closedAt"}],
    // "armed": bool}, times in seconds since 2001-01-01 00:00:00 UTC.
    static QByteArray encode(const State& state);
    // Nothing unless the text is that JSON with every key and type in place and every time
    // within years 1 to 9999.
    static std::optional<State> decode(const QByteArray& json);

private:
    void load();
    // Moves an undecodable file out of the way; whether the path is now free.
    bool setAside();
    void prune(const QList<SafariTab>& tabs, const QDateTime& now);

    QString file_;
    const SafariSide& safari_;
    State state_;
    // An undecodable file still sits at file_ and must be moved before any save.
    bool mustSetAside_ = false;
};

} // namespace kivaro
