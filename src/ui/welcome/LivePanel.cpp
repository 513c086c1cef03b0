#include "ui/welcome/LivePanel.h"

#include "favicons/Favicons.h"
#include "panel/PanelRules.h"
#include "store/Store.h"
#include "ui/PanelController.h"

#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QPointer>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

namespace kivaro {

LivePanel::LivePanel(Preferences& preferences, Favicons* favicons, QObject* parent)
    : QObject(parent), favicons_(favicons),
      // The demonstration store reads no hidden or archive file, so it is given none.
      store_(
          std::make_unique<Store>(desktop_.adapters(preferences, QString()), DemoScript::data())),
      panel_(std::make_unique<PanelController>(
          PanelController::Services{
              *store_, preferences, desktop_, desktop_, desktop_, nullptr, favicons, {}},
          true)),
      stage_(new QWidget), player_(new DemoPlayer(
                               *this,
                               [this](const QStringList& sites, std::function<void()> done) {
                                   loadIcons(sites, std::move(done));
                               },
                               this)) {
    // The panel drawn smaller, so that a long list of results fits the page; it stays live.
    auto* scene = new QGraphicsScene(stage_);
    QGraphicsProxyWidget* proxy = scene->addWidget(panel_->embeddedView());
    proxy->setScale(stageScale);
    auto* view = new QGraphicsView(scene, stage_);
    view->setFrameShape(QFrame::NoFrame);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    view->setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                         QPainter::SmoothPixmapTransform);
    view->setStyleSheet(QStringLiteral("QGraphicsView { background: transparent; }"));
    // The scene is as tall as the panel can grow; the view shows it from the top.
    scene->setSceneRect(0, 0, PanelRules::windowWidth * stageScale, sceneHeight);
    // The proxy keeps the size limits the panel had when it was embedded; it follows each resize.
    panel_->onResize = [proxy](QSize size) {
        proxy->setMinimumSize(size);
        proxy->setMaximumSize(size);
        proxy->resize(size);
    };
    auto* column = new QVBoxLayout(stage_);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(view);
    stage_->setMinimumSize(qRound(PanelRules::windowWidth * stageScale), stageHeight);
    stage_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

LivePanel::~LivePanel() {
    player_->cancel();
    // A page that took the stage owns it; otherwise it is still ours.
    if (!stage_->parent())
        delete stage_;
}

WelcomeWindowController::DemoFactory LivePanel::factory(Preferences& preferences,
                                                        Favicons* favicons) {
    return [&preferences, favicons](QObject* owner) {
        auto* live = new LivePanel(preferences, favicons, owner);
        return WelcomeDemo{live->takeStage(), &live->player()};
    };
}

QWidget* LivePanel::takeStage() {
    return stage_;
}

void LivePanel::open() {
    panel_->exitMode();
    panel_->type(QString());
}

void LivePanel::setText(const QString& text) {
    panel_->type(text);
}

void LivePanel::pressTab() {
    panel_->pressTab();
}

void LivePanel::loadIcons(const QStringList& sites, std::function<void()> done) {
    // Called once: when every icon is in, or when the wait runs out (a failed icon never reports).
    auto finish = std::make_shared<std::function<void()>>(std::move(done));
    auto left = std::make_shared<qsizetype>(0);
    // An icon may arrive after this panel (and its player) are gone.
    const auto once = [finish, self = QPointer<LivePanel>(this)] {
        if (self && *finish)
            std::exchange(*finish, {})();
    };
    QTimer::singleShot(iconWaitMs, this, once);
    if (favicons_) {
        for (const QString& site : sites) {
            if (favicons_->image(site, [left, once](const QImage&) {
                    if (--*left == 0)
                        once();
                }))
                continue;
            ++*left;
        }
    }
    if (*left == 0)
        once();
}

} // namespace kivaro
