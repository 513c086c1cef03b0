#pragma once

#include "panel/Access.h"

#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;
class QStackedWidget;

namespace kivaro {

class DemoPlayer;
class Preferences;
class Toggle;
class WelcomeModel;

// What the welcome pages ask of the rest of the program.
struct WelcomeHooks {
    // The driven browser's name; Safari's on the Mac.
    std::function<QString()> browserName;
    // Brings the driven browser up.
    std::function<void()> openBrowser;
};

// The welcome window's three pages and their footer: a greeting over the live demonstration,
// what the program needs, and an invitation to try it.
class WelcomeView : public QWidget {
    Q_OBJECT

public:
    // `stage` shows the demonstration that `player` (optional) plays; the view owns the stage.
    WelcomeView(WelcomeModel& model, Preferences& preferences, WelcomeHooks hooks, QWidget* stage,
                DemoPlayer* player, QWidget* parent = nullptr);

    // Closes the window: the last page's "Done".
    std::function<void()> finish;
    // Reduced motion: the demonstration shows its end at once.
    bool still = false;

    QPushButton& primary() const { return *primary_; }
    QPushButton& back() const { return *back_; }
    QLabel& tryLine() const { return *tryLine_; }
    int shownPage() const;

    // Plays the demonstration while the first page shows, and stops it otherwise.
    void updateDemo();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QWidget* helloPage(QWidget* stage);
    QWidget* accessPage();
    QWidget* tryPage();
    QString browser() const;
    void showStep();
    void showTried();
    void advance();

    WelcomeModel& model_;
    Preferences& preferences_;
    WelcomeHooks hooks_;
    DemoPlayer* player_;
    QStackedWidget* pages_;
    QPushButton* back_;
    QPushButton* primary_;
    QLabel* tryLine_ = nullptr;
    Toggle* loginToggle_ = nullptr;
};

} // namespace kivaro
