#include "panel/WelcomeModel.h"

#include "base/Notifications.h"

#include <QTimer>

namespace kivaro {

WelcomeModel::WelcomeModel(AccessCheck& access, QObject* parent)
    : QObject(parent), access_(access) {
    connect(&access_, &AccessCheck::changed, this, &WelcomeModel::takeGranted);
}

WelcomeModel::~WelcomeModel() {
    stop();
}

void WelcomeModel::start() {
    refresh();
    delete timer_;
    timer_ = new QTimer(this);
    timer_->setInterval(pollMs);
    connect(timer_, &QTimer::timeout, this, &WelcomeModel::refresh);
    timer_->start();
    if (observer_)
        return;
    observer_ = connect(&Notifications::center(), &Notifications::posted, this,
                        [this](const QString& name) {
                            if (name != Notifications::panelShown || tried_)
                                return;
                            tried_ = true;
                            emit triedChanged();
                        });
}

void WelcomeModel::stop() {
    delete timer_;
    timer_ = nullptr;
    disconnect(observer_);
    observer_ = {};
}

void WelcomeModel::refresh() {
    access_.refresh();
    takeGranted();
}

void WelcomeModel::go(int step) {
    const int bounded = std::clamp(step, 0, lastStep);
    if (bounded == step_)
        return;
    step_ = bounded;
    emit stepChanged();
}

void WelcomeModel::takeGranted() {
    if (access_.state().granted == granted_)
        return;
    granted_ = access_.state().granted;
    emit grantedChanged();
}

} // namespace kivaro
