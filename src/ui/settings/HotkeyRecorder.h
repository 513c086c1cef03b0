#pragma once

#include "keys/HotkeyAction.h"

#include <QPushButton>
#include <QWidget>

#include <functional>

class QKeyEvent;
class QLabel;
class QToolButton;

namespace kivaro {

class AccessCheck;
class HotkeyRecording;
class Preferences;
class Toggle;

// The button that shows a shortcut's keys and, once clicked, records new ones: while it
// records, every key press of the application comes here first (a local key monitor).
class HotkeyRecorder : public QPushButton {
    Q_OBJECT

public:
    HotkeyRecorder(HotkeyAction action, HotkeyRecording& recording, Preferences& preferences,
                   QWidget* parent = nullptr);
    ~HotkeyRecorder() override;

    HotkeyAction action() const { return action_; }
    bool recording() const;
    // Starts recording, as a click does.
    void startRecording();
    // One key press while recording; true when it was taken.
    bool press(int key, Qt::KeyboardModifiers modifiers);
    // Shows the current binding, or the recording prompt.
    void reload();

    // Called after each press with the message to show (empty for none).
    std::function<void(const QString& message)> onMessage;
    // Called whenever recording starts or stops.
    std::function<void()> onStateChanged;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void listen(bool on);

    HotkeyAction action_;
    HotkeyRecording& recording_;
    Preferences& preferences_;
    bool listening_ = false;
};

// One browser shortcut: its switch and title, its recorder, the reset button, and below them
// the recorder's rejection or the note that another program holds the keys.
class ShortcutRow : public QWidget {
    Q_OBJECT

public:
    ShortcutRow(HotkeyAction action, HotkeyRecording& recording, Preferences& preferences,
                AccessCheck& access, QWidget* parent = nullptr);

    void reload();
    HotkeyRecorder& recorder() const { return *recorder_; }
    QLabel& message() const { return *message_; }
    QString shownMessage() const;

private:
    void showMessage(const QString& text, bool problem);

    HotkeyAction action_;
    Preferences& preferences_;
    AccessCheck& access_;
    Toggle* toggle_;
    HotkeyRecorder* recorder_;
    QToolButton* reset_;
    QLabel* message_;
    QString rejection_;
};

} // namespace kivaro
