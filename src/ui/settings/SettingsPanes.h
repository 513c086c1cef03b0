#pragma once

#include "panel/SettingsCatalog.h"

#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;

namespace kivaro {

class AccessCheck;
class HotkeyRecording;
class Preferences;
class SettingsForm;
class SettingsState;
class Toggle;

// What the panes are built from.
struct PaneContext {
    Preferences& preferences;
    SettingsState& state;
    HotkeyRecording& recording;
};

// The form of one pane, every control bound to the preferences.
SettingsForm* buildPane(SettingsPane pane, PaneContext& context);

SettingsForm* buildGeneral(PaneContext& context);
SettingsForm* buildBrowsers(PaneContext& context);
SettingsForm* buildAppearance(PaneContext& context);
SettingsForm* buildResults(PaneContext& context);
SettingsForm* buildHistory(PaneContext& context);
SettingsForm* buildShortcuts(PaneContext& context);
SettingsForm* buildPermissions(PaneContext& context);

// Commands to type, one a line, in a fixed-width field to select and copy from.
QWidget* commandLabel(const QStringList& commands, QWidget* parent = nullptr);
// Shows `commands` in a widget commandLabel made.
void setCommands(QWidget* label, const QStringList& commands);

// A switch that shows `read()` on every reload and calls `write` when flipped.
Toggle* boundToggle(SettingsForm& form, std::function<bool()> read,
                    std::function<void(bool)> write);

// One thing the program needs: its title and line, and either "Allowed" with a green check or
// the way to get it (an "Allow" button where the system can ask, else how to fix it).
class PermissionRow : public QWidget {
    Q_OBJECT

public:
    PermissionRow(AccessNeed need, AccessCheck& access, QWidget* parent = nullptr);
    void reload();
    bool showsAllowed() const;

private:
    AccessNeed need_;
    AccessCheck& access_;
    QLabel* check_;
    QLabel* allowed_;
    QLabel* missing_;
    QPushButton* allow_;
    QLabel* fix_;
    QWidget* commands_;
};

} // namespace kivaro
