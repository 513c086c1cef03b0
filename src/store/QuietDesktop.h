#pragma once

#include "platform/MenuBarAccess.h"
#include "platform/PermissionProbe.h"
#include "platform/PrivateFolder.h"
#include "platform/ScriptRunner.h"
#include "platform/Toast.h"
#include "platform/Workspace.h"
#include "store/Clipboard.h"
#include "store/Store.h"

#include <QDir>

namespace kivaro {

// The desktop as the query tool sees it: nothing runs, no menu bar or script answers, and
// nothing is shown. A browser reached through its DevTools endpoint answers for itself.
class QuietDesktop final : public Workspace,
                           public MenuBarAccess,
                           public PermissionProbe,
                           public ScriptRunner,
                           public Toast,
                           public Pasteboard,
                           public PrivateFolder {
public:
    std::optional<Application> frontApplication() const override { return std::nullopt; }
    QList<Application> runningApplications() const override { return {}; }
    bool isInstalled(const QString&) const override { return false; }
    bool launch(const QString&, bool) override { return false; }
    bool openURL(const QString&) override { return false; }
    void beep() override {}
    void setActivationHandler(ActivationHandler) override {}
    bool compositing() const override { return true; }

    bool trusted() const override { return true; }
    std::optional<MenuElement> menuBar(const QString&) const override { return std::nullopt; }
    QList<MenuElement> children(const MenuElement&) const override { return {}; }
    QString title(const MenuElement&) const override { return {}; }
    bool enabled(const MenuElement&) const override { return false; }
    std::optional<QString> keyCharacter(const MenuElement&) const override { return std::nullopt; }
    std::optional<qint64> keyModifiers(const MenuElement&) const override { return std::nullopt; }
    bool press(const MenuElement&) override { return false; }

    bool granted(Permission) const override { return true; }
    void request(Permission) override {}

    std::optional<Descriptor> run(const QString&) override { return std::nullopt; }

    void show(const QString&, const QString&, const std::optional<QString>&) override {}

    void write(const QString&, const std::optional<QString>&) override {}

    std::optional<QString> freshFolder(const QString&) const override { return std::nullopt; }
    bool copyInto(const QString&, const QString&, const QString&) const override { return false; }
    std::optional<QString> ownFolder() const override { return std::nullopt; }

    // A store over this desktop alone, its hidden-address and archive files in `folder`.
    Store::Adapters adapters(Preferences& preferences, const QString& folder,
                             QList<Store::BrowserRef> browsers = {}) {
        const QDir files(folder);
        return {.workspace = *this,
                .menuBar = *this,
                .permissions = *this,
                .toast = *this,
                .pasteboard = *this,
                .snapshots = *this,
                .preferences = preferences,
                .browsers = std::move(browsers),
                .hiddenFile = files.filePath(QStringLiteral("hidden-history.json")),
                .archiveFile = files.filePath(QStringLiteral("archive.json"))};
    }
};

} // namespace kivaro
