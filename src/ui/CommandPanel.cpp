#include "ui/CommandPanel.h"

#include <QKeyEvent>

#include <algorithm>

namespace kivaro {

Qt::KeyboardModifiers maskedModifiers(Qt::KeyboardModifiers modifiers) {
    return modifiers &
           (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
}

bool isModifierKey(int key) {
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
    case Qt::Key_AltGr:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
        return true;
    default:
        return false;
    }
}

CommandPanel::CommandPanel(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                          Qt::NoDropShadowWindowHint) {
    // The shadow is ShadowView's; the surface is translucent.
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_NoSystemBackground);
    // It stays when the application loses the front.
    setAttribute(Qt::WA_MacAlwaysShowToolWindow);
    setFocusPolicy(Qt::StrongFocus);
    resize(initialWidth, initialHeight);
}

void CommandPanel::routeKeysOf(QWidget* widget) {
    if (!widget)
        return;
    widget->installEventFilter(this);
    routed_.append(widget);
}

bool CommandPanel::alreadyRouted() const {
    // A key a routed widget did not take travels on to its parents, up to this window:
    // it went through onKey already.
    const QWidget* focused = focusWidget();
    if (!focused || focused == this)
        return !routed_.isEmpty() && !hasFocus();
    return std::any_of(routed_.begin(), routed_.end(),
                       [focused](const QPointer<QWidget>& widget) { return widget == focused; });
}

void CommandPanel::present() {
    show();
    raise();
    activateWindow();
}

bool CommandPanel::route(QKeyEvent& event) {
    if (isModifierKey(event.key())) {
        if (onModifiers)
            onModifiers(maskedModifiers(event.modifiers()));
        return false;
    }
    if (event.type() != QEvent::KeyPress)
        return false;
    return onKey && onKey(event);
}

bool CommandPanel::event(QEvent* event) {
    if ((event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) &&
        !alreadyRouted()) {
        if (route(static_cast<QKeyEvent&>(*event)))
            return true;
    }
    return QWidget::event(event);
}

bool CommandPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)
        return route(static_cast<QKeyEvent&>(*event));
    return QWidget::eventFilter(watched, event);
}

} // namespace kivaro
