#pragma once

#include "browsers/SafariBrowser.h"
#include "browsers/SafariTab.h"

#include <QList>
#include <QSet>
#include <QString>

#include <optional>

namespace kivaro {

// What the store does with Safari alone, beyond the Browser interface: the tabs of tab groups
// that no window shows, bringing forward a tab that may sit in another tab group, and what
// auto-archive needs to close tabs safely. Everything blocks while Safari answers, so the
// store calls it on its queue only. Only a platform with Safari has one.
class SafariSide {
public:
    virtual ~SafariSide() = default;

    // Tabs stored in Safari's tab groups that are not among `live`.
    virtual QList<SafariTab> groupTabs(const QList<SafariTab>& live) const = 0;
    // Whether a tab with that address is now current in the front window.
    virtual bool reveal(const QString& url) const = 0;

    virtual bool isRunning() const = 0;
    virtual QList<SafariTab> tabs() const = 0;
    // Bare addresses of the pinned tabs; nothing when they cannot be read.
    virtual std::optional<QSet<QString>> pinnedURLs() const = 0;
    // Closes the tab of that window with that address; whether one was closed.
    virtual bool close(qint64 windowID, const QString& url) const = 0;
};

// The extras of the scripted Safari.
class ScriptedSafariSide final : public SafariSide {
public:
    explicit ScriptedSafariSide(const SafariBrowser& safari) : safari_(safari) {}

    QList<SafariTab> groupTabs(const QList<SafariTab>& live) const override {
        return safari_.groupTabs(live);
    }
    bool reveal(const QString& url) const override { return safari_.reveal(url); }
    bool isRunning() const override { return safari_.isRunning(); }
    QList<SafariTab> tabs() const override { return safari_.tabs(); }
    std::optional<QSet<QString>> pinnedURLs() const override { return safari_.pinnedURLs(); }
    bool close(qint64 windowID, const QString& url) const override {
        return safari_.close(windowID, url);
    }

private:
    const SafariBrowser& safari_;
};

} // namespace kivaro
