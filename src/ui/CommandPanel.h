#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

#include <functional>

class QKeyEvent;

namespace kivaro {

// The panel's window: frameless, translucent, above other windows, never in the task bar.
// It takes the keyboard but is a tool window, never the application's main window. Key
// presses reach `onKey` before the focused field; a change of modifier keys reaches
// `onModifiers`.
class CommandPanel : public QWidget {
    Q_OBJECT

public:
    // The content rectangle: the visible panel (680 × 60) and its 48-point margin.
    static constexpr int initialWidth = 776;
    static constexpr int initialHeight = 156;

    // Gets a key press; true when it was handled, so the field does not see it.
    std::function<bool(QKeyEvent&)> onKey;
    // Gets the held modifiers, masked to Shift, Control, Alt and Meta.
    std::function<void(Qt::KeyboardModifiers)> onModifiers;

    explicit CommandPanel(QWidget* parent = nullptr);

    // Key presses inside `widget` (the field) go through onKey first as well.
    void routeKeysOf(QWidget* widget);

    bool canBecomeKey() const { return true; }
    bool canBecomeMain() const { return false; }

    // Shows the window and gives it the keyboard.
    void present();

    // Runs the routing for one key event: what the window does with every key event it or a
    // routed widget receives. True when the event is consumed.
    bool route(QKeyEvent& event);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool alreadyRouted() const;

    QList<QPointer<QWidget>> routed_;
};

// The modifier flags the panel compares, without keypad and other bits.
Qt::KeyboardModifiers maskedModifiers(Qt::KeyboardModifiers modifiers);

// Whether the key is one of the modifier keys themselves.
bool isModifierKey(int key);

} // namespace kivaro
