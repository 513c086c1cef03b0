#pragma once

#include "panel/SettingsCatalog.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

namespace kivaro {

class AccessCheck;

// What the settings window asks of the rest of the program, so that it never holds the store.
struct SettingsHooks {
    std::function<int()> hiddenCount;
    std::function<QString()> historyStatus;
    std::function<void()> restoreHidden;
    std::function<void()> reloadHistory;
    // The driven browser's name, for texts that would name Safari where there is none.
    std::function<QString()> browserName;
    // Brings an application up by its bundle identifier.
    std::function<void(const QString& bundleID)> openApplication;
    std::function<void(const QString& url)> openUrl;
};

// The settings window's model: the selected pane, the search, the focused setting and what the
// hooks and the access check report. Main thread only.
class SettingsState : public QObject {
    Q_OBJECT

public:
    static constexpr int secondReloadLookMs = 2000;

    SettingsState(SettingsHooks hooks, AccessCheck& access, QObject* parent = nullptr);

    SettingsPane pane() const { return pane_; }
    QString query() const { return query_; }
    bool searching() const { return !query_.trimmed().isEmpty(); }
    const std::optional<SettingsItem>& focus() const { return focus_; }
    int hiddenCount() const { return hiddenCount_; }
    QString historyStatus() const { return historyStatus_; }
    QString browserName() const;
    AccessCheck& access() const { return access_; }
    const SettingsHooks& hooks() const { return hooks_; }

    void setQuery(const QString& query);
    void selectPane(SettingsPane pane);
    void selectHit(const SettingsItem& item);
    // The search field's Return: the best hit, else the first group's pane.
    void jumpToBestMatch();

    // Re-reads the hooks and the access check; every form re-reads its controls.
    void refresh();
    void restoreHidden();
    void reloadHistory();

signals:
    void paneChanged();
    void queryChanged();
    void focusChanged();
    void refreshed();

private:
    void setPane(SettingsPane pane);
    void setFocus(const std::optional<SettingsItem>& item);

    SettingsHooks hooks_;
    AccessCheck& access_;
    SettingsPane pane_ = SettingsPane::general;
    QString query_;
    std::optional<SettingsItem> focus_;
    int hiddenCount_ = 0;
    QString historyStatus_;
};

} // namespace kivaro
