#pragma once

#include "ui/welcome/WelcomeView.h"

#include <QObject>
#include <QWidget>

#include <functional>
#include <memory>

namespace kivaro {

class AccessCheck;
class DemoPlayer;
class Preferences;
class WelcomeModel;

// The demonstration the first page shows: the widget and the player that drives it.
struct WelcomeDemo {
    QWidget* stage = nullptr;
    DemoPlayer* player = nullptr;
};

// The welcome window: closing it by any means stops the model and marks the welcome as seen.
class WelcomeWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr int contentWidth = 820;
    static constexpr int contentHeight = 680;

    std::function<void()> onClose;

protected:
    void closeEvent(QCloseEvent* event) override;
};

// Owns the welcome window (created on the first show, kept when closed) and its model.
class WelcomeWindowController : public QObject {
    Q_OBJECT

public:
    // Makes the demonstration for a new window; the window's view owns the stage.
    using DemoFactory = std::function<WelcomeDemo(QObject* owner)>;

    WelcomeWindowController(Preferences& preferences, AccessCheck& access, WelcomeHooks hooks,
                            DemoFactory demo = {}, QObject* parent = nullptr);
    ~WelcomeWindowController() override;

    // Creates the window if needed, starts the model and brings the window to the front.
    void show();
    // The window is closing: stop watching and remember that the welcome was seen.
    void windowWillClose();

    WelcomeModel& model() const { return *model_; }
    // Nothing before the first show.
    WelcomeWindow* window() const { return window_.get(); }
    WelcomeView* view() const { return view_; }

private:
    Preferences& preferences_;
    WelcomeHooks hooks_;
    DemoFactory demo_;
    std::unique_ptr<WelcomeModel> model_;
    std::unique_ptr<WelcomeWindow> window_;
    WelcomeView* view_ = nullptr;
};

} // namespace kivaro
