#pragma once

#include "platform/Workspace.h"

namespace kivaro {

// The desktop through NSWorkspace and NSRunningApplication. Construct it on the main thread:
// it observes application activation there from the start.
class MacWorkspace final : public Workspace {
public:
    MacWorkspace();
    ~MacWorkspace() override;
    MacWorkspace(const MacWorkspace&) = delete;
    MacWorkspace& operator=(const MacWorkspace&) = delete;

    std::optional<Application> frontApplication() const override;
    QList<Application> runningApplications() const override;
    bool isInstalled(const QString& bundleID) const override;
    bool launch(const QString& bundleID, bool activate) override;
    bool openURL(const QString& url) override;
    void beep() override;
    void setActivationHandler(ActivationHandler handler) override;

private:
    void activated(const std::optional<Application>& front) const;

    ActivationHandler handler_;
    // The notification centre's observer token, retained for the object's life.
    const void* observer_ = nullptr;
};

} // namespace kivaro
