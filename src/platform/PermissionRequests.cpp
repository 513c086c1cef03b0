#include "platform/PermissionRequests.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThreadPool>
#include <QTimer>

namespace kivaro {

namespace {

const QString safariID = QStringLiteral("com.apple.Safari");
const QString securityPane =
    QStringLiteral("x-apple.systempreferences:com.apple.preference.security?");

} // namespace

QString PermissionRequests::paneAddress(Permission permission) {
    switch (permission) {
    case Permission::automation:
        return securityPane + QStringLiteral("Privacy_Automation");
    case Permission::accessibility:
        return securityPane + QStringLiteral("Privacy_Accessibility");
    case Permission::fullDisk:
        return securityPane + QStringLiteral("Privacy_AllFiles");
    }
    return privacyPaneAddress();
}

QString PermissionRequests::privacyPaneAddress() {
    return securityPane + QStringLiteral("Privacy");
}

PermissionRequests::PermissionRequests(Workspace& workspace, AskAutomation askAutomation,
                                       PromptAccessibility promptAccessibility,
                                       std::chrono::milliseconds grace)
    : workspace_(&workspace), askAutomation_(std::move(askAutomation)),
      promptAccessibility_(std::move(promptAccessibility)), grace_(grace) {}

void PermissionRequests::request(Permission permission) {
    switch (permission) {
    case Permission::automation:
        if (workspace_->isRunning(safariID)) {
            askAutomationLater(std::chrono::milliseconds(0));
        } else {
            workspace_->launch(safariID, false);
            askAutomationLater(grace_);
        }
        return;
    case Permission::accessibility:
        promptAccessibility_();
        return;
    case Permission::fullDisk:
        workspace_->openURL(paneAddress(Permission::fullDisk));
        return;
    }
}

// The question may wait on the user's answer, so it runs on a worker thread that touches
// nothing of this object; a refusal comes back to the main thread, where the guard tells
// whether this object still exists.
void PermissionRequests::askAutomationLater(std::chrono::milliseconds delay) {
    QTimer::singleShot(delay, &context_, [this] {
        const QPointer<QObject> guard(&context_);
        QThreadPool::globalInstance()->start([this, guard, ask = askAutomation_] {
            if (ask() != eventNotPermitted)
                return;
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [this, guard] {
                    if (guard)
                        workspace_->openURL(paneAddress(Permission::automation));
                },
                Qt::QueuedConnection);
        });
    });
}

} // namespace kivaro
