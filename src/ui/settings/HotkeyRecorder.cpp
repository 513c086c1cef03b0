#include "ui/settings/HotkeyRecorder.h"

#include "keys/HotkeyRecording.h"
#include "keys/KeyCaps.h"
#include "panel/Access.h"
#include "panel/KeyPress.h"
#include "settings/Preferences.h"
#include "ui/CommandPanel.h"
#include "ui/Symbols.h"
#include "ui/settings/SettingsForm.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace kivaro {

HotkeyRecorder::HotkeyRecorder(HotkeyAction action, HotkeyRecording& recording,
                               Preferences& preferences, QWidget* parent)
    : QPushButton(parent), action_(action), recording_(recording), preferences_(preferences) {
    setToolTip(QStringLiteral("Click, then press the new shortcut"));
    setMinimumWidth(120);
    connect(this, &QPushButton::clicked, this, &HotkeyRecorder::startRecording);
    reload();
}

HotkeyRecorder::~HotkeyRecorder() {
    listen(false);
    if (recording())
        recording_.stop();
}

bool HotkeyRecorder::recording() const {
    return recording_.action() == action_;
}

void HotkeyRecorder::startRecording() {
    recording_.start(action_);
    listen(true);
    reload();
    if (onStateChanged)
        onStateChanged();
}

bool HotkeyRecorder::press(int key, Qt::KeyboardModifiers modifiers) {
    if (!recording()) {
        listen(false);
        return false;
    }
    if (isModifierKey(key))
        return true;
    const auto pressed = KeyPress::fromQt(key, modifiers);
    if (!pressed) {
        QApplication::beep();
        return true;
    }
    const auto outcome = recording_.keyDown(*pressed);
    if (onMessage)
        onMessage(KeyPress::nativeMessage(recording_.message()));
    if (outcome != HotkeyRecording::Outcome::rejected) {
        listen(false);
        reload();
        if (onStateChanged)
            onStateChanged();
    }
    return true;
}

void HotkeyRecorder::reload() {
    if (recording()) {
        setText(QStringLiteral("Type shortcut"));
        setAccessibleName(QStringLiteral("Press the new shortcut"));
        return;
    }
    listen(false);
    const QString keys = KeyCaps::text(preferences_.combo(action_), KeyCaps::nativeStyle());
    setText(keys);
    setAccessibleName(QStringLiteral("Change shortcut, now ") + keys);
}

bool HotkeyRecorder::eventFilter(QObject*, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    auto& key = static_cast<QKeyEvent&>(*event);
    return press(key.key(), key.modifiers());
}

void HotkeyRecorder::listen(bool on) {
    if (on == listening_)
        return;
    listening_ = on;
    if (on)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
}

ShortcutRow::ShortcutRow(HotkeyAction action, HotkeyRecording& recording, Preferences& preferences,
                         AccessCheck& access, QWidget* parent)
    : QWidget(parent), action_(action), preferences_(preferences), access_(access),
      toggle_(new Toggle(this)),
      recorder_(new HotkeyRecorder(action, recording, preferences, this)),
      reset_(new QToolButton(this)), message_(new QLabel(this)) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);
    auto* line = new QHBoxLayout;
    line->addWidget(toggle_);
    line->addSpacing(6);
    line->addWidget(new QLabel(action.title(), this), 1);
    line->addWidget(recorder_);
    reset_->setAutoRaise(true);
    reset_->setIcon(QIcon(QPixmap::fromImage(Symbols::image(
        QStringLiteral("arrow.counterclockwise"), 32, palette().color(QPalette::WindowText)))));
    reset_->setAccessibleName(QStringLiteral("Restore the default shortcut"));
    line->addWidget(reset_);
    column->addLayout(line);
    message_->setWordWrap(true);
    message_->hide();
    column->addWidget(message_);

    toggle_->setAccessibleName(action.title());
    connect(toggle_, &Toggle::toggled, this,
            [this](bool on) { preferences_.store(action_.enableFlag(), on); });
    connect(reset_, &QToolButton::clicked, this,
            [this] { preferences_.setCombo(std::nullopt, action_); });
    recorder_->onMessage = [this](const QString& text) {
        rejection_ = text;
        reload();
    };
    recorder_->onStateChanged = [this] {
        if (!recorder_->recording())
            rejection_.clear();
        reload();
    };
    reload();
}

void ShortcutRow::reload() {
    const QSignalBlocker blocker(toggle_);
    toggle_->setChecked(preferences_.shortcutEnabled(action_));
    recorder_->reload();
    const QString defaults = KeyCaps::text(action_.defaultCombo(), KeyCaps::nativeStyle());
    reset_->setToolTip(QStringLiteral("Restore ") + defaults);
    if (!rejection_.isEmpty() && recorder_->recording())
        return showMessage(rejection_, true);
    if (const auto held = access_.state().heldKeys(action_))
        return showMessage(
            QStringLiteral("Not available: another program holds %1. Click to record "
                           "other keys.")
                .arg(*held),
            true);
    showMessage({}, false);
}

QString ShortcutRow::shownMessage() const {
    return message_->isVisibleTo(this) ? message_->text() : QString();
}

void ShortcutRow::showMessage(const QString& text, bool problem) {
    message_->setText(text);
    message_->setVisible(!text.isEmpty());
    QPalette palette = message_->palette();
    palette.setColor(QPalette::WindowText,
                     problem ? QColor(215, 0, 21) : palette.color(QPalette::Text));
    message_->setPalette(palette);
}

} // namespace kivaro
