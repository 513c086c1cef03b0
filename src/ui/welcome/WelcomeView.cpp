#include "ui/welcome/WelcomeView.h"

#include "panel/DemoScript.h"
#include "panel/KeyPress.h"
#include "panel/WelcomeModel.h"
#include "settings/Preferences.h"
#include "ui/PanelPalette.h"
#include "ui/Symbols.h"
#include "ui/settings/SettingsForm.h"
#include "ui/settings/SettingsPanes.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace kivaro {

namespace {

constexpr int replayPauseMs = 1500;
constexpr int narrowMargin = 20;
constexpr int textMargin = 56;

QLabel* heading(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setPointSizeF(26);
    font.setBold(true);
    label->setFont(font);
    label->setAlignment(Qt::AlignHCenter);
    label->setWordWrap(true);
    return label;
}

QLabel* body(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 1.15);
    label->setFont(font);
    label->setAlignment(Qt::AlignHCenter);
    label->setWordWrap(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, PanelPalette::secondaryLabel(palette));
    label->setPalette(palette);
    return label;
}

QLabel* symbol(const QString& name, int side, const QColor& color, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setPixmap(QPixmap::fromImage(Symbols::image(name, side, color)));
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QVBoxLayout* pageColumn(QWidget* page) {
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(textMargin, 48, textMargin, 12);
    column->setSpacing(14);
    return column;
}

bool onMac() {
#ifdef Q_OS_MACOS
    return true;
#else
    return false;
#endif
}

} // namespace

WelcomeView::WelcomeView(WelcomeModel& model, Preferences& preferences, WelcomeHooks hooks,
                         QWidget* stage, DemoPlayer* player, QWidget* parent)
    : QWidget(parent), model_(model), preferences_(preferences), hooks_(std::move(hooks)),
      player_(player), pages_(new QStackedWidget(this)),
      back_(new QPushButton(QStringLiteral("Back"), this)), primary_(new QPushButton(this)) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    pages_->addWidget(helloPage(stage));
    pages_->addWidget(accessPage());
    pages_->addWidget(tryPage());
    column->addWidget(pages_, 1);
    auto* footer = new QHBoxLayout;
    footer->setContentsMargins(28, 12, 28, 24);
    footer->addWidget(back_);
    footer->addStretch(1);
    primary_->setDefault(true);
    primary_->setAutoDefault(true);
    primary_->setMinimumWidth(120);
    footer->addWidget(primary_);
    column->addLayout(footer);
    connect(back_, &QPushButton::clicked, this, [this] { model_.go(model_.step() - 1); });
    connect(primary_, &QPushButton::clicked, this, &WelcomeView::advance);
    connect(&model_, &WelcomeModel::stepChanged, this, &WelcomeView::showStep);
    connect(&model_, &WelcomeModel::triedChanged, this, &WelcomeView::showTried);
    if (player_) {
        connect(player_, &DemoPlayer::finished, this,
                [this] { QTimer::singleShot(replayPauseMs, this, &WelcomeView::updateDemo); });
    }
    showStep();
    showTried();
}

int WelcomeView::shownPage() const {
    return pages_->currentIndex();
}

QString WelcomeView::browser() const {
    const QString name = hooks_.browserName ? hooks_.browserName() : QString();
    return name.isEmpty() ? QStringLiteral("your browser") : name;
}

QWidget* WelcomeView::helloPage(QWidget* stage) {
    auto* page = new QWidget(this);
    QVBoxLayout* column = pageColumn(page);
    // The panel's shadow needs nearly the whole width; the texts keep the other pages' margins.
    column->setContentsMargins(narrowMargin, 40, narrowMargin, 0);
    QLabel* description =
        body(KeyPress::nativeText(QStringLiteral("Press ⌘T in %1 for one bar that finds your open "
                                                 "tabs, your history and the web as you type."))
                 .arg(browser()),
             page);
    description->setContentsMargins(textMargin - narrowMargin, 0, textMargin - narrowMargin, 0);
    column->addWidget(heading(QStringLiteral("Welcome to Kivaro"), page));
    column->addWidget(description);
    if (stage) {
        stage->setParent(page);
        stage->setAccessibleName(QStringLiteral("Kivaro panel showing results as you type"));
        column->addWidget(stage, 1);
    } else {
        column->addStretch(1);
    }
    return page;
}

QWidget* WelcomeView::accessPage() {
    auto* page = new QWidget(this);
    QVBoxLayout* column = pageColumn(page);
    column->addWidget(heading(QStringLiteral("Give Kivaro access"), page));
    column->addWidget(body(
        onMac() ? QStringLiteral("Kivaro works with Safari through three macOS permissions. Allow "
                                 "each one; the list updates as soon as macOS confirms it.")
                : QStringLiteral("Kivaro needs two things from your desktop and your browser. Fix "
                                 "each one; the list updates as soon as it works."),
        page));
    column->addSpacing(8);
    for (AccessNeed need : AccessNeed::forPlatform()) {
        auto* card = new QFrame(page);
        card->setObjectName(QStringLiteral("card"));
        card->setStyleSheet(
            QStringLiteral("QFrame#card { background: palette(base); border-radius: 12px;"
                           " border: 1px solid rgba(128,128,128,50); }"));
        auto* inner = new QVBoxLayout(card);
        inner->setContentsMargins(18, 14, 18, 14);
        inner->addWidget(new PermissionRow(need, model_.access(), card));
        column->addWidget(card);
    }
    column->addStretch(1);
    auto* closing = new QHBoxLayout;
    closing->addStretch(1);
    closing->addWidget(symbol(QStringLiteral("lock.fill"), 14,
                              PanelPalette::secondaryLabel(page->palette()), page));
    QLabel* stays = body(onMac() ? QStringLiteral("Your tabs and history stay on your Mac.")
                                 : QStringLiteral("Your tabs and history stay on this computer."),
                         page);
    stays->setWordWrap(false);
    closing->addWidget(stays);
    closing->addStretch(1);
    column->addLayout(closing);
    return page;
}

QWidget* WelcomeView::tryPage() {
    auto* page = new QWidget(this);
    QVBoxLayout* column = pageColumn(page);
    column->addStretch(1);
    column->addWidget(symbol(QStringLiteral("checkmark.seal.fill"), 64, QColor(52, 199, 89), page));
    column->addWidget(heading(QStringLiteral("You're all set"), page));
    column->addSpacing(10);
    auto* tryTitle = body(QStringLiteral("Try it in ") + browser(), page);
    QFont font = tryTitle->font();
    font.setBold(true);
    tryTitle->setFont(font);
    QPalette palette = tryTitle->palette();
    palette.setColor(QPalette::WindowText, page->palette().color(QPalette::WindowText));
    tryTitle->setPalette(palette);
    column->addWidget(tryTitle);
    tryLine_ = body({}, page);
    column->addWidget(tryLine_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* open = new QPushButton(QStringLiteral("Open ") + browser(), page);
    connect(open, &QPushButton::clicked, this, [this] {
        if (hooks_.openBrowser)
            hooks_.openBrowser();
    });
    buttons->addWidget(open);
    buttons->addStretch(1);
    column->addLayout(buttons);
    column->addSpacing(10);
    auto* login = new QHBoxLayout;
    login->addStretch(1);
    loginToggle_ = new Toggle(page);
    loginToggle_->setChecked(preferences_.launchAtLogin());
    connect(loginToggle_, &Toggle::toggled, this, [this](bool on) {
        preferences_.setLaunchAtLogin(on);
        const QSignalBlocker blocker(loginToggle_);
        loginToggle_->setChecked(preferences_.launchAtLogin());
    });
    login->addWidget(loginToggle_);
    login->addWidget(new QLabel(QStringLiteral("Open Kivaro at login"), page));
    login->addStretch(1);
    column->addLayout(login);
    column->addStretch(2);
    return page;
}

void WelcomeView::showStep() {
    const int step = model_.step();
    pages_->setCurrentIndex(step);
    back_->setVisible(step > 0);
    static const QStringList titles = {QStringLiteral("Get Started"), QStringLiteral("Continue"),
                                       QStringLiteral("Done")};
    primary_->setText(titles.value(step));
    primary_->setFocus();
    if (loginToggle_) {
        const QSignalBlocker blocker(loginToggle_);
        loginToggle_->setChecked(preferences_.launchAtLogin());
    }
    updateDemo();
}

void WelcomeView::showTried() {
    const QString line =
        model_.tried()
            ? QStringLiteral(
                  "Press ⌘T in %1 any time. ⌘K shows actions for the selected result, and "
                  "Tab after a site name searches that site.")
            : QStringLiteral("Switch to %1 and press ⌘T. Type a few letters of an open tab or a "
                             "site, then press Return.");
    tryLine_->setText(KeyPress::nativeText(line.arg(browser())));
}

void WelcomeView::advance() {
    if (model_.step() >= WelcomeModel::lastStep) {
        if (finish)
            finish();
        return;
    }
    model_.go(model_.step() + 1);
}

void WelcomeView::updateDemo() {
    if (!player_)
        return;
    const bool wanted = isVisible() && model_.step() == 0;
    if (wanted && !player_->playing())
        player_->play(still, DemoScript::standard());
    else if (!wanted)
        player_->cancel();
}

void WelcomeView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    updateDemo();
}

void WelcomeView::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    updateDemo();
}

} // namespace kivaro
