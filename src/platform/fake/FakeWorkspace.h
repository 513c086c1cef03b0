#pragma once

#include "platform/Workspace.h"

#include <QStringList>

#include <mutex>

namespace kivaro {

// An in-memory desktop for tests and the demonstration: the running and installed
// applications are whatever the test puts there, and every request is recorded.
class FakeWorkspace : public Workspace {
public:
    std::optional<Application> frontApplication() const override;
    QList<Application> runningApplications() const override;
    bool isInstalled(const QString& bundleID) const override;
    bool launch(const QString& bundleID, bool activate) override;
    bool openURL(const QString& url) override;
    void beep() override;
    void setActivationHandler(ActivationHandler handler) override;
    bool compositing() const override;

    // Makes the application run (and be installed); it comes to the front when asked, and
    // the activation handler hears of it.
    void run(const QString& bundleID, bool front = false);
    // Brings this application (running or not, any process) to the front, as a window of it
    // being activated would, and tells the activation handler.
    void bringForward(const Application& app);
    // No window is active any more.
    void clearFront();
    void quit(const QString& bundleID);
    void install(const QString& bundleID);
    // A compositing manager starts (true, as at first) or stops.
    void setCompositing(bool compositing);

    int beeps() const;
    QStringList launched() const;
    QStringList opened() const;

private:
    void announceFront();

    mutable std::mutex mutex_;
    QList<Application> running_;
    QStringList installed_;
    std::optional<QString> front_;
    ActivationHandler activated_;
    QStringList launched_;
    QStringList opened_;
    int beeps_ = 0;
    bool compositing_ = true;
};

} // namespace kivaro
