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

    // Makes the application run (and be installed); it comes to the front when asked.
    void run(const QString& bundleID, bool front = false);
    void quit(const QString& bundleID);
    void install(const QString& bundleID);

    int beeps() const;
    QStringList launched() const;
    QStringList opened() const;

private:
    mutable std::mutex mutex_;
    QList<Application> running_;
    QStringList installed_;
    std::optional<QString> front_;
    QStringList launched_;
    QStringList opened_;
    int beeps_ = 0;
};

} // namespace kivaro
