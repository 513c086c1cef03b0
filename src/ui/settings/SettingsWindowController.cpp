#include "ui/settings/SettingsWindowController.h"

#include "base/Notifications.h"
#include "keys/HotkeyRecording.h"
#include "panel/Access.h"
#include "settings/Preferences.h"
#include "ui/PanelPalette.h"
#include "ui/settings/SettingsForm.h"
#include "ui/settings/SettingsPanes.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace kivaro {

namespace {

constexpr int sidebarWidth = 210;
constexpr int sidebarIconSide = 22;
constexpr int pollMs = 1000;

// What a sidebar line stands for.
enum SidebarRole { paneRole = Qt::UserRole + 1, itemRole };

int windowHeight() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 600;
    return std::max(SettingsWindow::minimumHeight,
                    std::min(600, screen->availableGeometry().height() - 120));
}

QListWidgetItem* paneLine(SettingsPane pane, qreal ratio, bool header) {
    auto* line = new QListWidgetItem(pane.title());
    line->setData(paneRole, int(SettingsPaneValue(pane)));
    if (header) {
        QFont font = line->font();
        font.setBold(true);
        font.setPointSizeF(font.pointSizeF() * 0.85);
        line->setFont(font);
    } else {
        line->setIcon(QIcon(symbolTile(pane.symbol(), pane.tint(), sidebarIconSide, ratio)));
    }
    return line;
}

} // namespace

SettingsWindow::SettingsWindow(PaneContext& context, QWidget* parent)
    : QWidget(parent), context_(context), search_(new QLineEdit(this)),
      sidebar_(new QListWidget(this)), stack_(new QStackedWidget(this)), poll_(new QTimer(this)) {
    setWindowTitle(QStringLiteral("Kivaro Settings"));
    setMinimumSize(contentWidth, minimumHeight);
    setMaximumSize(contentWidth, maximumHeight);
    resize(contentWidth, windowHeight());
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    auto* side = new QWidget(this);
    side->setFixedWidth(sidebarWidth);
    side->setAutoFillBackground(true);
    QPalette sidePalette = side->palette();
    sidePalette.setColor(QPalette::Window, sidePalette.color(QPalette::Window).darker(104));
    side->setPalette(sidePalette);
    auto* column = new QVBoxLayout(side);
    column->setContentsMargins(10, 14, 10, 10);
    search_->setPlaceholderText(QStringLiteral("Search"));
    search_->setClearButtonEnabled(true);
    column->addWidget(search_);
    sidebar_->setFrameShape(QFrame::NoFrame);
    sidebar_->setIconSize(QSize(sidebarIconSide, sidebarIconSide));
    sidebar_->setSpacing(2);
    sidebar_->setWordWrap(true);
    sidebar_->viewport()->setAutoFillBackground(false);
    sidebar_->setStyleSheet(QStringLiteral(
        "QListWidget { background: transparent; }"
        "QListWidget::item { padding: 4px; border-radius: 6px; color: palette(text); }"
        "QListWidget::item:selected { background: palette(highlight);"
        " color: palette(highlighted-text); }"));
    column->addWidget(sidebar_, 1);
    row->addWidget(side);
    row->addWidget(stack_, 1);
    for (SettingsPane pane : SettingsPane::allCases()) {
        SettingsForm* form = buildPane(pane, context_);
        forms_.insert(pane, form);
        stack_->addWidget(form);
    }
    SettingsState& state = context_.state;
    connect(search_, &QLineEdit::textChanged, &state, &SettingsState::setQuery);
    connect(search_, &QLineEdit::returnPressed, &state, &SettingsState::jumpToBestMatch);
    connect(&state, &SettingsState::queryChanged, this, &SettingsWindow::rebuildSidebar);
    connect(&state, &SettingsState::paneChanged, this, &SettingsWindow::showPane);
    connect(&state, &SettingsState::focusChanged, this, &SettingsWindow::showPane);
    connect(&state, &SettingsState::refreshed, this, &SettingsWindow::reload);
    // A click, or the arrow keys in the list.
    connect(sidebar_, &QListWidget::itemClicked, this, &SettingsWindow::sidebarClicked);
    connect(sidebar_, &QListWidget::currentItemChanged, this, &SettingsWindow::sidebarClicked);
    connect(&Notifications::center(), &Notifications::posted, this, [this](const QString& name) {
        if (name == Notifications::preferencesChanged)
            reload();
    });
    poll_->setInterval(pollMs);
    connect(poll_, &QTimer::timeout, &state.access(), &AccessCheck::refresh);
    rebuildSidebar();
    showPane();
    reload();
}

SettingsWindow::~SettingsWindow() = default;

SettingsForm* SettingsWindow::currentForm() const {
    return forms_.value(context_.state.pane());
}

void SettingsWindow::reload() {
    for (SettingsForm* form : std::as_const(forms_))
        form->reload();
}

bool SettingsWindow::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    switch (event->type()) {
    case QEvent::WindowActivate:
        context_.state.refresh();
        break;
    case QEvent::Hide:
        // A recording left running would keep every hot key released after the window is gone.
        if (context_.recording.isRecording()) {
            context_.recording.stop();
            reload();
        }
        updatePoll();
        break;
    case QEvent::Show:
        updatePoll();
        break;
    default:
        break;
    }
    return handled;
}

void SettingsWindow::rebuildSidebar() {
    const QSignalBlocker blocker(sidebar_);
    sidebar_->clear();
    const SettingsState& state = context_.state;
    const qreal ratio = devicePixelRatioF();
    if (!state.searching()) {
        for (SettingsPane pane : SettingsPane::allCases())
            sidebar_->addItem(paneLine(pane, ratio, false));
        showPane();
        return;
    }
    const QList<SettingsGroup> groups = SettingsSearch::groups(state.query());
    if (groups.isEmpty()) {
        auto* none = new QListWidgetItem(SettingsSearch::noResults(state.query()));
        none->setFlags(Qt::NoItemFlags);
        sidebar_->addItem(none);
        return;
    }
    for (const SettingsGroup& group : groups) {
        sidebar_->addItem(paneLine(group.pane, ratio, true));
        for (const SettingsItem& item : group.items) {
            auto* hit = new QListWidgetItem(QStringLiteral("   ") + item.title);
            hit->setData(itemRole, item.id);
            hit->setData(paneRole, int(SettingsPaneValue(item.pane)));
            sidebar_->addItem(hit);
        }
    }
}

void SettingsWindow::sidebarClicked() {
    const QListWidgetItem* line = sidebar_->currentItem();
    if (!line)
        return;
    const QString id = line->data(itemRole).toString();
    for (const SettingsItem& item : SettingsItem::all()) {
        if (item.id == id && !id.isEmpty())
            return context_.state.selectHit(item);
    }
    context_.state.selectPane(SettingsPane(SettingsPaneValue(line->data(paneRole).toInt())));
}

void SettingsWindow::showPane() {
    const SettingsState& state = context_.state;
    SettingsForm* form = currentForm();
    stack_->setCurrentWidget(form);
    const QSignalBlocker blocker(sidebar_);
    if (!state.searching())
        sidebar_->setCurrentRow(int(SettingsPane::allCases().indexOf(state.pane())));
    else
        selectHitLine();
    if (state.focus())
        form->reveal(state.focus()->id);
    updatePoll();
}

void SettingsWindow::selectHitLine() {
    const auto& focus = context_.state.focus();
    for (int row = 0; row < sidebar_->count(); ++row) {
        const QListWidgetItem* line = sidebar_->item(row);
        const bool isFocus = focus && line->data(itemRole).toString() == focus->id;
        const bool isPane =
            !focus && line->data(itemRole).isNull() && line->data(paneRole).isValid() &&
            line->data(paneRole).toInt() == int(SettingsPaneValue(context_.state.pane()));
        if (isFocus || isPane)
            return sidebar_->setCurrentRow(row);
    }
    sidebar_->clearSelection();
}

void SettingsWindow::updatePoll() {
    const bool watch = isVisible() && context_.state.pane() == SettingsPane::permissions;
    if (watch && !poll_->isActive())
        poll_->start();
    else if (!watch)
        poll_->stop();
}

SettingsWindowController::SettingsWindowController(Preferences& preferences, SettingsHooks hooks,
                                                   AccessCheck& access, HotkeyRegistrar& registrar,
                                                   QObject* parent)
    : QObject(parent), preferences_(preferences),
      state_(std::make_unique<SettingsState>(std::move(hooks), access)),
      recording_(std::make_unique<HotkeyRecording>(registrar, preferences)),
      context_(std::make_unique<PaneContext>(PaneContext{preferences, *state_, *recording_})) {
    recording_->onReject = [] { QApplication::beep(); };
}

SettingsWindowController::~SettingsWindowController() {
    window_.reset();
}

void SettingsWindowController::show(std::optional<SettingsPane> pane) {
    if (!window_) {
        window_ = std::make_unique<SettingsWindow>(*context_);
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            window_->move(screen->availableGeometry().center() - window_->rect().center());
    }
    if (pane)
        state_->selectPane(*pane);
    state_->refresh();
    window_->show();
    window_->raise();
    window_->activateWindow();
}

} // namespace kivaro
