#include "platform/fake/FakeWorkspace.h"

namespace kivaro {

std::optional<Workspace::Application> FakeWorkspace::frontApplication() const {
    std::lock_guard lock(mutex_);
    for (const Application& app : running_)
        if (front_ && app.bundleID == *front_)
            return app;
    return std::nullopt;
}

QList<Workspace::Application> FakeWorkspace::runningApplications() const {
    std::lock_guard lock(mutex_);
    return running_;
}

bool FakeWorkspace::isInstalled(const QString& bundleID) const {
    std::lock_guard lock(mutex_);
    return installed_.contains(bundleID);
}

bool FakeWorkspace::launch(const QString& bundleID, bool activate) {
    {
        std::lock_guard lock(mutex_);
        launched_.append(bundleID);
        if (!installed_.contains(bundleID))
            return false;
    }
    run(bundleID, activate);
    return true;
}

bool FakeWorkspace::openURL(const QString& url) {
    std::lock_guard lock(mutex_);
    opened_.append(url);
    return true;
}

void FakeWorkspace::beep() {
    std::lock_guard lock(mutex_);
    ++beeps_;
}

bool FakeWorkspace::compositing() const {
    std::lock_guard lock(mutex_);
    return compositing_;
}

void FakeWorkspace::setCompositing(bool compositing) {
    std::lock_guard lock(mutex_);
    compositing_ = compositing;
}

void FakeWorkspace::setActivationHandler(ActivationHandler handler) {
    std::lock_guard lock(mutex_);
    activated_ = std::move(handler);
}

void FakeWorkspace::run(const QString& bundleID, bool front) {
    {
        std::lock_guard lock(mutex_);
        if (!installed_.contains(bundleID))
            installed_.append(bundleID);
        bool running = false;
        for (const Application& app : running_)
            running = running || app.bundleID == bundleID;
        if (!running)
            running_.append({bundleID, 1000 + running_.size(), bundleID.section(u'.', -1)});
        if (!front)
            return;
        front_ = bundleID;
    }
    announceFront();
}

void FakeWorkspace::bringForward(const Application& app) {
    {
        std::lock_guard lock(mutex_);
        running_.removeIf([&](const Application& other) { return other.bundleID == app.bundleID; });
        running_.append(app);
        front_ = app.bundleID;
    }
    announceFront();
}

void FakeWorkspace::clearFront() {
    {
        std::lock_guard lock(mutex_);
        front_.reset();
    }
    announceFront();
}

// The handler runs outside the lock: it asks this workspace again.
void FakeWorkspace::announceFront() {
    ActivationHandler handler;
    {
        std::lock_guard lock(mutex_);
        handler = activated_;
    }
    if (handler)
        handler(frontApplication());
}

void FakeWorkspace::quit(const QString& bundleID) {
    std::lock_guard lock(mutex_);
    running_.removeIf([&](const Application& app) { return app.bundleID == bundleID; });
    if (front_ == bundleID)
        front_.reset();
}

void FakeWorkspace::install(const QString& bundleID) {
    std::lock_guard lock(mutex_);
    if (!installed_.contains(bundleID))
        installed_.append(bundleID);
}

int FakeWorkspace::beeps() const {
    std::lock_guard lock(mutex_);
    return beeps_;
}

QStringList FakeWorkspace::launched() const {
    std::lock_guard lock(mutex_);
    return launched_;
}

QStringList FakeWorkspace::opened() const {
    std::lock_guard lock(mutex_);
    return opened_;
}

} // namespace kivaro
