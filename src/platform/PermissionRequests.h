#pragma once

#include "platform/PermissionProbe.h"
#include "platform/Workspace.h"

#include <QObject>
#include <QString>

#include <chrono>
#include <functional>

namespace kivaro {

// How a permission is asked for where the system guards it (macOS): the decisions around
// the system's own calls, which the adapter hands in.
class PermissionRequests {
public:
    // Asks the system whether Safari may be scripted, letting it prompt; blocks while the
    // prompt is open and returns the system's status (0 granted, -1743 refused).
    using AskAutomation = std::function<int()>;
    // Lets the system show its Accessibility prompt.
    using PromptAccessibility = std::function<void()>;

    // The status of a refused Apple event.
    static constexpr int eventNotPermitted = -1743;
    // How long a Safari launched for the question gets before it is asked.
    static constexpr std::chrono::milliseconds launchGrace{1500};

    // The settings pane of a permission, and the general privacy pane.
    static QString paneAddress(Permission permission);
    static QString privacyPaneAddress();

    // `workspace` must outlive this object.
    PermissionRequests(Workspace& workspace, AskAutomation askAutomation,
                       PromptAccessibility promptAccessibility,
                       std::chrono::milliseconds grace = launchGrace);

    // Main thread; returns at once. Automation: Safari is started in the background when it
    // is not running, asked after the grace period on a worker thread, and a refusal opens
    // the Automation pane. Accessibility: the system prompt. Full disk access: its pane, as
    // the system has no prompt for it.
    void request(Permission permission);

private:
    void askAutomationLater(std::chrono::milliseconds delay);

    Workspace* workspace_;
    AskAutomation askAutomation_;
    PromptAccessibility promptAccessibility_;
    std::chrono::milliseconds grace_;
    // Lives on the main thread; a late answer finds it gone once this object is.
    QObject context_;
};

} // namespace kivaro
