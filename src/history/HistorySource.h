#pragma once

#include "history/HistoryEntry.h"
#include "platform/PrivateFolder.h"

#include <QList>
#include <QSet>
#include <QString>

#include <functional>
#include <optional>

namespace kivaro {

// A browser whose history can be read: the front browser's own, or an extra one the user chose.
struct HistorySource {
    // How the source's history is read.
    enum class Reader { safari, chromium, firefox };

    QString id;   // the browser's bundle identifier
    QString name; // shown to the user
    // The Chromium-style data folder under the support folder; none for Safari and Firefox.
    std::optional<QString> dataFolder;
    Reader reader = Reader::safari;

    static inline const QString firefoxID = QStringLiteral("org.mozilla.firefox");

    bool operator==(const HistorySource&) const = default;

    // Answers whether an application with that bundle identifier is installed.
    using InstalledCheck = std::function<bool(const QString& bundleID)>;

    // Safari, the Chromium family in the store's order, Arc where it runs, then Firefox.
    static const QList<HistorySource>& all();
    // The sources of `all` present here: Safari where it runs; another browser when it is
    // installed or its data folder (for Firefox, a "profiles.ini") exists.
    static QList<HistorySource> available(const InstalledCheck& installed = {});
    static std::optional<HistorySource> source(const QString& id);
    // One list keyed by exact address: visits added, the later visit and its title kept, and
    // an empty title replaced by the other one.
    static QList<HistoryEntry> merge(const QList<QList<HistoryEntry>>& lists);
    // The driven browser's own history, as that browser read it: from the folder it really
    // uses, which need not be the default one of its source.
    struct Front {
        QString id;
        QString name;
        HistoryResult history;
    };

    // The front browser's history plus that of the chosen extra sources, with one status line.
    static HistoryResult load(const Front& front, const QSet<QString>& extra,
                              const PrivateFolder& snapshots, const InstalledCheck& installed = {});

    // This source's history, read with the reader that fits it.
    HistoryResult history(const PrivateFolder& snapshots) const;
};

} // namespace kivaro
