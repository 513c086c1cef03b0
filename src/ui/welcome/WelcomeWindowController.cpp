#include "ui/welcome/WelcomeWindowController.h"

#include "panel/WelcomeModel.h"
#include "settings/Preferences.h"
#include "ui/PanelPalette.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

namespace kivaro {

void WelcomeWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (event->isAccepted() && onClose)
        onClose();
}

WelcomeWindowController::WelcomeWindowController(Preferences& preferences, AccessCheck& access,
                                                 WelcomeHooks hooks, DemoFactory demo,
                                                 QObject* parent)
    : QObject(parent), preferences_(preferences), hooks_(std::move(hooks)), demo_(std::move(demo)),
      model_(std::make_unique<WelcomeModel>(access)) {}

WelcomeWindowController::~WelcomeWindowController() {
    window_.reset();
}

void WelcomeWindowController::show() {
    if (!window_) {
        window_ = std::make_unique<WelcomeWindow>();
        window_->setWindowTitle(QStringLiteral("Welcome to Kivaro"));
        window_->setFixedSize(WelcomeWindow::contentWidth, WelcomeWindow::contentHeight);
        window_->onClose = [this] { windowWillClose(); };
        const WelcomeDemo demo = demo_ ? demo_(window_.get()) : WelcomeDemo{};
        view_ =
            new WelcomeView(*model_, preferences_, hooks_, demo.stage, demo.player, window_.get());
        view_->still = PanelPalette::displayOptions().reduceMotion;
        view_->finish = [this] { window_->close(); };
        auto* column = new QVBoxLayout(window_.get());
        column->setContentsMargins(0, 0, 0, 0);
        column->addWidget(view_);
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            window_->move(screen->availableGeometry().center() - window_->rect().center());
    }
    model_->start();
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void WelcomeWindowController::windowWillClose() {
    model_->stop();
    preferences_.store(PreferenceKey::welcomed, true);
}

} // namespace kivaro
