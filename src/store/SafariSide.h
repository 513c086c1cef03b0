#pragma once

#include "browsers/SafariBrowser.h"
#include "browsers/SafariTab.h"

#include <QList>
#include <QString>

namespace kivaro {

// What the store does with Safari alone, beyond the Browser interface: the tabs of tab groups
// that no window shows, and bringing forward a tab that may sit in another tab group. Both
// block while Safari answers, so the store calls them on its queue only.
class SafariSide {
public:
    virtual ~SafariSide() = default;

    // Tabs stored in Safari's tab groups that are not among `live`.
    virtual QList<SafariTab> groupTabs(const QList<SafariTab>& live) const = 0;
    // Whether a tab with that address is now current in the front window.
    virtual bool reveal(const QString& url) const = 0;
};

// The extras of the scripted Safari.
class ScriptedSafariSide final : public SafariSide {
public:
    explicit ScriptedSafariSide(const SafariBrowser& safari) : safari_(safari) {}

    QList<SafariTab> groupTabs(const QList<SafariTab>& live) const override {
        return safari_.groupTabs(live);
    }
    bool reveal(const QString& url) const override { return safari_.reveal(url); }

private:
    const SafariBrowser& safari_;
};

} // namespace kivaro
