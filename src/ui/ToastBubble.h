#pragma once

#include "panel/PanelStyle.h"
#include "panel/ScreenArea.h"
#include "platform/Toast.h"
#include "ui/TintView.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

class QLabel;
class QAbstractAnimation;

namespace kivaro {

class ShadowView;
class Transform;
class Workspace;
class WindowList;

// The toast on screen: a small bubble near the top of the browser's front window that
// shows a symbol and one line of text for a moment. It never takes the keyboard and lets
// the mouse through. A new message replaces the one on screen. Main thread only.
class ToastBubble : public QWidget, public Toast {
    Q_OBJECT

public:
    explicit ToastBubble(QWidget* parent = nullptr);

    // The application's one bubble, created on first use.
    static ToastBubble& shared();

    // Where the front window comes from; without adapters the bubble sits near the top of
    // the screen under the mouse.
    void setDesktop(const Workspace* workspace, const WindowList* windows);
    // The appearance settings, set by the program whenever they change; the defaults until then.
    void setStyle(const PanelStyle& style);
    // Where the accessibility display settings come from; each message reads them afresh.
    // By default the desktop's (PanelPalette::displayOptions).
    void setDisplaySource(std::function<DisplayOptions()> source);
    // Fixed settings, for pictures and tests.
    void setDisplay(const DisplayOptions& display);
    // The screens messages are placed on; Qt's by default.
    void setScreens(std::function<QList<ScreenArea>()> screens);

    void show(const QString& text, const QString& symbol,
              const std::optional<QString>& done = std::nullopt) override;

    // The two timed steps, run by their timers.
    void confirm();
    void leave();

    QLabel& label() const { return *label_; }
    QLabel& icon() const { return *icon_; }
    QLabel& check() const { return *check_; }
    QWidget& bubble() const { return *bubble_; }
    const QTimer& hideTimer() const { return hideTimer_; }
    const QTimer& confirmTimer() const { return confirmTimer_; }
    bool isLeaving() const;
    // The bubble's opacity while it fades in and out.
    double opacity() const;

private:
    PanelStyle currentStyle() const;
    std::optional<QRectF> placement(int textWidth) const;
    void layoutBubble(int textWidth);
    void setIcon(const QString& symbol, const std::optional<QString>& done, const QColor& accent);
    bool setDoneImage(const std::optional<QString>& done, const QColor& accent);
    // Whether the bubble pops in and fades out, or just appears and goes.
    bool movesWindow() const;
    void stopAnimations();
    void appear();
    void bounceIcon();
    void announce(const QString& text);

    const Workspace* workspace_ = nullptr;
    const WindowList* windows_ = nullptr;
    std::optional<PanelStyle> style_;
    std::function<DisplayOptions()> display_;
    std::function<QList<ScreenArea>()> screens_;
    // Read at each show; the confirm and hide steps of that message use it.
    bool reduceMotion_ = false;
    // Whether the desktop blended the clear margin when the message was shown.
    bool composited_ = true;
    QWidget* content_;
    Transform* motion_;
    ShadowView* shadow_;
    SurfaceView* bubble_;
    QLabel* icon_;
    QLabel* check_;
    QLabel* label_;
    QTimer hideTimer_;
    QTimer confirmTimer_;
    QPointer<QAbstractAnimation> leaveAnimation_;
};

} // namespace kivaro
