#pragma once

#include "panel/Access.h"

#include <QMetaObject>
#include <QObject>
#include <QSet>

class QTimer;

namespace kivaro {

// The welcome window's model: the page shown, what the program has been granted, and whether
// the panel has been opened since the window opened. While started it looks at the access
// every second and listens for "PanelShown". Main thread only.
class WelcomeModel : public QObject {
    Q_OBJECT

public:
    static constexpr int pollMs = 1000;
    static constexpr int lastStep = 2;

    explicit WelcomeModel(AccessCheck& access, QObject* parent = nullptr);
    ~WelcomeModel() override;

    int step() const { return step_; }
    const QSet<AccessNeed>& granted() const { return granted_; }
    bool tried() const { return tried_; }
    bool running() const { return timer_ != nullptr; }
    AccessCheck& access() const { return access_; }

    // Looks once, then every second; starts listening for the panel.
    void start();
    // Stops the looks and the listening.
    void stop();
    // Asks the access check to look again; the granted set follows when it has changed.
    void refresh();
    // Shows page `step`, kept within the pages.
    void go(int step);

signals:
    void stepChanged();
    // The granted set changed; an equal set is not announced.
    void grantedChanged();
    void triedChanged();

private:
    void takeGranted();

    AccessCheck& access_;
    int step_ = 0;
    QSet<AccessNeed> granted_;
    bool tried_ = false;
    QTimer* timer_ = nullptr;
    QMetaObject::Connection observer_;
};

} // namespace kivaro
