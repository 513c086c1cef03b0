#pragma once

#include "panel/SettingsCatalog.h"
#include "panel/SettingsState.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <optional>

class QLineEdit;
class QListWidget;
class QStackedWidget;
class QTimer;

namespace kivaro {

class AccessCheck;
class HotkeyRecording;
class HotkeyRegistrar;
class Preferences;
class SettingsForm;
struct PaneContext;

// The settings window: a sidebar with the search field and the panes (or, while searching,
// the hits under their panes), and the selected pane's form.
class SettingsWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr int contentWidth = 740;
    static constexpr int minimumHeight = 420;
    static constexpr int maximumHeight = 2000;

    SettingsWindow(PaneContext& context, QWidget* parent = nullptr);
    ~SettingsWindow() override;

    SettingsForm* form(SettingsPane pane) const { return forms_.value(pane); }
    SettingsForm* currentForm() const;
    QLineEdit& searchField() const { return *search_; }
    QListWidget& sidebar() const { return *sidebar_; }
    // Every form re-reads its controls.
    void reload();

protected:
    bool event(QEvent* event) override;

private:
    void rebuildSidebar();
    void showPane();
    void sidebarClicked();
    // While searching: the line of the focused hit, or of the selected pane's heading.
    void selectHitLine();
    void updatePoll();

    PaneContext& context_;
    QLineEdit* search_;
    QListWidget* sidebar_;
    QStackedWidget* stack_;
    QHash<SettingsPane, SettingsForm*> forms_;
    // While the window is up on the permissions pane, the access is looked at every second.
    QTimer* poll_;
};

// Owns the settings window, created on the first show and kept when closed, and its state.
class SettingsWindowController : public QObject {
    Q_OBJECT

public:
    SettingsWindowController(Preferences& preferences, SettingsHooks hooks, AccessCheck& access,
                             HotkeyRegistrar& registrar, QObject* parent = nullptr);
    ~SettingsWindowController() override;

    // Creates the window if needed, selects `pane` when given, refreshes and brings it to
    // the front as the key window.
    void show(std::optional<SettingsPane> pane = std::nullopt);

    SettingsState& state() const { return *state_; }
    HotkeyRecording& recording() const { return *recording_; }
    // Nothing before the first show.
    SettingsWindow* window() const { return window_.get(); }

private:
    Preferences& preferences_;
    std::unique_ptr<SettingsState> state_;
    std::unique_ptr<HotkeyRecording> recording_;
    std::unique_ptr<PaneContext> context_;
    std::unique_ptr<SettingsWindow> window_;
};

} // namespace kivaro
