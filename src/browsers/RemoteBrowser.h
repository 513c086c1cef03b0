#pragma once

#include "browsers/Browser.h"

namespace kivaro {

// A browser driven over a remote-control protocol (Chromium's DevTools, Firefox's WebDriver
// BiDi) where no scripting exists (Linux). Such a browser has no menu bar to walk, so the
// commands its protocol can carry out stand in for its menu commands.
class RemoteBrowser : public Browser {
public:
    // The browser commands a protocol may carry out, on the front window's current tab.
    enum class Operation {
        reload,
        reloadIgnoringCache,
        stop,
        back,
        forward,
        newTab,
        newWindow,
        duplicateTab,
        closeTab,
        closeOtherTabs,
        closeWindow,
        nextTab,
        previousTab,
        toggleFullScreen,
        viewSource,
        developerTools,
    };

    // Whether the browser answers now.
    virtual bool reachable() const = 0;
    // Whether this browser's protocol can carry the command out at all.
    virtual bool supports(Operation) const { return true; }
    // Carries the command out; false when the browser cannot be reached or refuses.
    virtual bool perform(Operation operation) const = 0;
};

} // namespace kivaro
