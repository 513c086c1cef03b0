#pragma once

#include <QString>

namespace kivaro {

// One open tab as read from a browser; the record of every browser, not only Safari.
struct SafariTab {
    qint64 windowID = 0;    // the browser's own window id; negative when none is known
    qint64 windowOrder = 0; // zero-based front-to-back position of the window
    qint64 index = 0;       // one-based position of the tab in its window
    QString title;
    QString url;
    QString group; // the tab group the window shows, or empty
    bool isCurrent = false;

    bool operator==(const SafariTab&) const = default;
};

// A reference to one tab, to come back to it later.
struct TabRef {
    qint64 windowID = 0;
    qint64 index = 0; // one-based
    QString url;

    bool operator==(const TabRef&) const = default;
};

} // namespace kivaro
