#include "ui/PanelController.h"

#include "base/Notifications.h"
#include "base/Text.h"
#include "base/Web.h"
#include "favicons/Favicons.h"
#include "panel/Colors.h"
#include "panel/FieldIcon.h"
#include "panel/PanelRules.h"
#include "panel/PanelStyle.h"
#include "panel/RowRules.h"
#include "platform/Workspace.h"
#include "search/Ranker.h"
#include "settings/Preferences.h"
#include "store/Clipboard.h"
#include "store/Store.h"
#include "ui/Accessible.h"
#include "ui/ActionMenu.h"
#include "ui/CommandPanel.h"
#include "ui/Desktop.h"
#include "ui/Ink.h"
#include "ui/InkViews.h"
#include "ui/Keycap.h"
#include "ui/PanelChrome.h"
#include "ui/PanelPalette.h"
#include "ui/RowView.h"

#include <QAccessible>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

namespace kivaro {

namespace {

using enum Modifier;

constexpr int listTop = PanelRules::header + 1 + PanelRules::inset;
constexpr int lineInset = 16;
constexpr int tabHintTrailing = 18;
constexpr int menuTrailing = 10;
constexpr int menuAboveFooter = 8;

const QString resultsName = QStringLiteral("Results");
const QString defaultPlaceholder = QStringLiteral("Search or enter URL");

QString trimmed(const QString& text) {
    return Text::trimSpacesAndTabs(text).toString();
}

// A hairline in the label colour, as the separator under the field and above the footer.
QWidget* hairline(QWidget* parent) {
    auto* line = new QWidget(parent);
    line->setAttribute(Qt::WA_TransparentForMouseEvents);
    line->setFixedHeight(1);
    return line;
}

void colourLine(QWidget& line, const QPalette& palette) {
    line.setStyleSheet(
        QStringLiteral("background: %1;")
            .arg(
                Colors::withAlpha(palette.color(QPalette::WindowText), 0.1).name(QColor::HexArgb)));
}

} // namespace

PanelController::PanelController(Services services, bool embedded, QObject* parent)
    : QObject(parent), services_(std::move(services)), embedded_(embedded),
      window_(std::make_unique<CommandPanel>()), chrome_(new PanelChrome(*window_)),
      suggestionWork_(new QTimer(this)), hintWork_(new QTimer(this)) {
    if (!services_.fetchSuggestions)
        services_.fetchSuggestions = Suggestions::fetch;
    suggestionWork_->setSingleShot(true);
    hintWork_->setSingleShot(true);
    connect(hintWork_, &QTimer::timeout, this, [this] {
        removeHint_ = pendingHint_ == PanelKeys::HintPlan::Kind::remove;
        numberHint_ = pendingHint_ == PanelKeys::HintPlan::Kind::numbers;
        highlight();
    });
    layout();
    window_->onKey = [this](QKeyEvent& event) { return handle(event); };
    window_->onModifiers = [this](Qt::KeyboardModifiers flags) { modifiersChanged(flags); };
    window_->installEventFilter(this);
    connect(&field(), &QLineEdit::textEdited, this, [this] { edited(); });
    if (embedded_) {
        embeddedView_ = new QWidget();
        embeddedView_->setAttribute(Qt::WA_TranslucentBackground);
        chrome_->setParent(embeddedView_);
        chrome_->show();
    }
    reset(OpenMode::newTab);
    render();
}

PanelController::~PanelController() {
    cancelSuggestions();
    // The views go first, while nothing of theirs can call back into this controller.
    window_->removeEventFilter(this);
    chrome_->removeEventFilter(this);
    window_->onKey = nullptr;
    window_->onModifiers = nullptr;
    field().disconnect(this);
    actionMenu_->onDismiss = nullptr;
    delete embeddedView_.data();
    window_.reset();
}

QLineEdit& PanelController::field() const {
    return chrome_->field();
}

QWidget& PanelController::surface() const {
    return embeddedView_ ? *embeddedView_ : static_cast<QWidget&>(*window_);
}

// MARK: View tree

void PanelController::layout() {
    separator_ = hairline(chrome_);
    list_ = new QWidget(chrome_);
    Accessible::describe(*list_, QAccessible::List);
    list_->setAccessibleName(resultsName);
    footerLine_ = hairline(chrome_);
    actionBar_ = new ActionBar(chrome_);
    tabHint_ = new QWidget(chrome_);
    auto* hintRow = new QHBoxLayout(tabHint_);
    hintRow->setContentsMargins(0, 0, 0, 0);
    hintRow->setSpacing(8);
    actionMenu_ = new ActionMenu(chrome_);
    actionMenu_->hide();
    actionMenu_->onDismiss = [this] { closeMenu(); };
    window_->routeKeysOf(actionMenu_);
    chrome_->installEventFilter(this);
}

void PanelController::layoutChildren() {
    const QRect inside = chrome_->rect().adjusted(PanelRules::margin, PanelRules::margin,
                                                  -PanelRules::margin, -PanelRules::margin);
    const int lineWidth = inside.width() - 2 * lineInset;
    separator_->setGeometry(inside.left() + lineInset, inside.top() + PanelRules::header, lineWidth,
                            1);
    const int barTop = inside.bottom() + 1 - PanelRules::footer;
    footerLine_->setGeometry(inside.left() + lineInset, barTop - 1, lineWidth, 1);
    actionBar_->setGeometry(inside.left(), barTop, inside.width(), PanelRules::footer);
    list_->setGeometry(inside.left() + PanelRules::inset, inside.top() + listTop,
                       inside.width() - 2 * PanelRules::inset,
                       std::max(0, barTop - 1 - (inside.top() + listTop)));
    tabHint_->adjustSize();
    tabHint_->move(inside.right() + 1 - tabHintTrailing - tabHint_->width(),
                   inside.top() + (PanelRules::header - tabHint_->height()) / 2);
    const int menuBottom = barTop - 1 - menuAboveFooter;
    const int menuWidth = actionMenu_->preferredWidth();
    actionMenu_->setGeometry(inside.right() + 1 - menuTrailing - menuWidth,
                             menuBottom - menuHeight_, menuWidth, menuHeight_);
}

bool PanelController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == chrome_ && event->type() == QEvent::Resize)
        layoutChildren();
    if (watched == window_.get() && event->type() == QEvent::WindowDeactivate && !embedded_)
        close();
    return QObject::eventFilter(watched, event);
}

// MARK: Opening and closing

void PanelController::show(OpenMode mode) {
    if (isVisible() && mode == mode_) {
        close();
        return;
    }
    Notifications::center().post(Notifications::panelShown);
    reset(mode);
    render();
    place();
    if (!embedded_)
        window_->present();
    field().setFocus();
    chrome_->styleEditor();
    field().selectAll();
    QPointer<PanelController> self(this);
    services_.store.refresh([self] {
        if (self)
            self->refreshed();
    });
}

void PanelController::refreshed() {
    if (!isVisible() && !embedded_)
        return;
    if (mode_ == OpenMode::currentTab && prefill_ && field().text() == *prefill_) {
        const std::optional<QString> current = currentTabURL();
        if (current && *current != *prefill_) {
            prefill_ = current;
            field().setText(*current);
            field().selectAll();
        }
    }
    render();
}

void PanelController::close() {
    menuOpen_ = false;
    actionMenu_->hide();
    cancelSuggestions();
    hintWork_->stop();
    if (!embedded_)
        window_->hide();
}

bool PanelController::isVisible() const {
    return !embedded_ && window_->isVisible();
}

void PanelController::reset(OpenMode mode) {
    mode_ = mode;
    applyAppearance();
    removeHint_ = numberHint_ = false;
    devMode_ = false;
    site_.reset();
    modeColor_.reset();
    chrome_->setModeColor(std::nullopt);
    lastCompletion_.reset();
    setTabHint(std::nullopt);
    chrome_->showChip(QString());
    field().setPlaceholderText(defaultPlaceholder);
    menuOpen_ = false;
    actionMenu_->hide();
    typed_.clear();
    lastLength_ = 0;
    selected_ = 0;
    suggestions_.clear();
    prefill_ = mode == OpenMode::currentTab ? currentTabURL() : std::nullopt;
    field().clearFocus();
    field().setText(prefill_.value_or(QString()));
}

void PanelController::place() {
    if (embedded_)
        return;
    if (const auto top = chrome_->place(&services_.workspace, services_.windows))
        top_ = top;
}

void PanelController::applyAppearance() {
    const PanelStyle style =
        PanelStyle::current(services_.preferences, PanelPalette::systemAccent());
    chrome_->applyAppearance(style, PanelPalette::displayOptions());
    // A compositing manager may start or stop while the program runs. The host of an embedded
    // panel is an opaque window.
    chrome_->setComposited(embedded_ || services_.workspace.compositing());
    const QPalette palette = window_->palette();
    if (embeddedView_)
        embeddedView_->setPalette(palette);
    colourLine(*separator_, palette);
    colourLine(*footerLine_, palette);
}

void PanelController::applyTone() {
    chrome_->setModeColor(modeColor_);
    chrome_->applyTone();
    for (RowView* view : std::as_const(rowViews_))
        view->setAccent(modeColor_);
}

// MARK: Scripted input

void PanelController::type(const QString& text) {
    scripting_ = true;
    field().setFocus();
    field().setText(text);
    edited();
    scripting_ = false;
}

void PanelController::pressTab() {
    scripting_ = true;
    field().setFocus();
    runCommand(PanelKeys::FieldCommand::insertTab);
    scripting_ = false;
}

// MARK: Edits

void PanelController::edited() {
    const QString text = field().text();
    if (!inMode() && enterByPrefix(text))
        return;
    const qsizetype newLength = text.size();
    typed_ = text;
    prefill_.reset();
    selected_ = 0;
    const std::optional<QString> completion = render();
    lastCompletion_.reset();
    // Only a growing text completes; deleting never does.
    if (const auto completed = PanelRules::complete(typed_, lastLength_, completion)) {
        field().setText(completed->text);
        field().setSelection(int(completed->selectionStart), int(completed->selectionLength));
        lastCompletion_ = completion;
    }
    lastLength_ = newLength;
    updateTabHint();
    fetchSuggestions();
}

bool PanelController::enterByPrefix(const QString& fieldText) {
    const std::optional<PanelRules::ModePrefix> prefix = PanelRules::modePrefix(fieldText);
    if (!prefix)
        return false;
    if (prefix->kind == PanelRules::ModePrefix::Kind::currentSite) {
        const std::optional<SiteSearch> site = currentSite();
        if (!site)
            return false;
        enterSite(*site, false);
    } else {
        if (services_.store.devTools.isEmpty())
            return false;
        enterDevMode();
    }
    if (!prefix->rest.isEmpty()) {
        setQuery(prefix->rest);
        render();
        if (!devMode_)
            fetchSuggestions();
    }
    return true;
}

void PanelController::setQuery(const QString& text) {
    field().setText(text);
    field().end(false);
    typed_ = text;
    lastLength_ = text.size();
}

void PanelController::clearInput() {
    typed_.clear();
    prefill_.reset();
    lastLength_ = 0;
    selected_ = 0;
    suggestions_.clear();
    field().setText(QString());
    field().setFocus();
    render();
}

std::optional<QString> PanelController::currentTabURL() const {
    for (const SafariTab& tab : services_.store.tabs) {
        if (tab.windowOrder == 0 && tab.isCurrent)
            return tab.url;
    }
    return std::nullopt;
}

std::optional<SiteSearch> PanelController::currentSite() const {
    const std::optional<QString> url = currentTabURL();
    if (!url || !url->startsWith(u"http"))
        return std::nullopt;
    const QString host = Web::host(*url);
    if (host.isEmpty())
        return std::nullopt;
    return SiteSearch::forHost(host);
}

// MARK: Modes

void PanelController::enterSite(const SiteSearch& chosen, bool localize) {
    const SiteSearch site = localize ? chosen.localized(services_.store.hostVisits) : chosen;
    devMode_ = false;
    site_ = site;
    modeColor_.reset();
    if (site.color)
        modeColor_ = Colors::fromHex(*site.color);
    if (!modeColor_ && services_.favicons) {
        QPointer<PanelController> self(this);
        const auto icon = services_.favicons->image(site.host, [self, site](const QImage& image) {
            if (!self || self->site_ != site || self->modeColor_)
                return;
            self->modeColor_ = Favicons::tone(image);
            self->applyTone();
        });
        if (icon)
            modeColor_ = Favicons::tone(*icon);
    }
    showChip(site.name);
    field().setPlaceholderText(QStringLiteral("Search ") + site.name);
    clearInput();
    applyTone();
    chrome_->pulse();
}

void PanelController::enterDevMode() {
    devMode_ = true;
    site_.reset();
    modeColor_.reset();
    applyTone();
    showChip(QStringLiteral("Dev"));
    field().setPlaceholderText(QStringLiteral("Search developer tools"));
    clearInput();
}

void PanelController::exitMode() {
    devMode_ = false;
    site_.reset();
    modeColor_.reset();
    applyTone();
    chrome_->showChip(QString());
    field().setPlaceholderText(defaultPlaceholder);
    clearInput();
}

void PanelController::showChip(const QString& text) {
    chrome_->showChip(text);
    setTabHint(std::nullopt);
}

std::optional<ActionBar::Special> PanelController::special() const {
    if (devMode_)
        return ActionBar::Special{QStringLiteral("Developer Tools"),
                                  QStringLiteral("chevron.left.forwardslash.chevron.right")};
    if (site_)
        return ActionBar::Special{QStringLiteral("Search ") + site_->name,
                                  QStringLiteral("magnifyingglass")};
    return std::nullopt;
}

// MARK: Tab

void PanelController::updateTabHint() {
    if (inMode()) {
        setTabHint(std::nullopt);
        return;
    }
    setTabHint(PanelRules::tabHint(typed_, !services_.store.devTools.isEmpty(), lastCompletion_));
}

void PanelController::setTabHint(const std::optional<QString>& text) {
    tabHintText_ = text;
    auto* row = static_cast<QHBoxLayout*>(tabHint_->layout());
    while (QLayoutItem* item = row->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    tabHint_->setVisible(text.has_value());
    int room = 0;
    if (text) {
        auto* label = new TextLine(Fonts::system(13), Ink::secondary(), tabHint_);
        label->setText(*text);
        QWidget* cap = Keycap::make(QStringLiteral("Tab"), tabHint_);
        row->addWidget(label);
        row->addWidget(cap);
        // Shown now, not on the next turn of the event loop, so the hint has its size.
        label->show();
        cap->show();
        tabHint_->adjustSize();
        room = tabHint_->width() + tabHintTrailing + 10;
    }
    chrome_->setFieldTrailing(room);
    layoutChildren();
}

void PanelController::tab() {
    if (!inMode()) {
        const PanelRules::TabTarget target =
            PanelRules::tabTarget(typed_, !services_.store.devTools.isEmpty(), lastCompletion_);
        if (std::holds_alternative<PanelRules::EnterDevTools>(target)) {
            enterDevMode();
            return;
        }
        if (const auto* site = std::get_if<SiteSearch>(&target)) {
            enterSite(*site, true);
            return;
        }
    }
    acceptCompletion();
}

void PanelController::acceptCompletion() {
    field().end(false);
    typed_ = field().text();
    lastLength_ = typed_.size();
    render();
}

// MARK: Suggestions

void PanelController::cancelSuggestions() {
    ++suggestionGeneration_;
    suggestionWork_->stop();
    suggestionWork_->disconnect();
    if (auto task = std::exchange(suggestionTask_, std::nullopt))
        task->cancel();
}

void PanelController::fetchSuggestions() {
    cancelSuggestions();
    const QString q = trimmed(typed_);
    if (const auto& demo = services_.store.demo) {
        suggestions_ = devMode_ ? QStringList() : demo->suggestionsFor(q.toLower());
        render();
        return;
    }
    if (devMode_ || !services_.preferences.searchSuggestions() || q.isEmpty() ||
        Web::looksLikeURL(q)) {
        suggestions_.clear();
        return;
    }
    const quint64 generation = suggestionGeneration_;
    connect(suggestionWork_, &QTimer::timeout, this,
            [this, q, generation] { requestSuggestions(q, generation); });
    suggestionWork_->start(suggestionPauseMs);
}

void PanelController::requestSuggestions(const QString& query, quint64 generation) {
    const SuggestSource source = site_ ? site_->suggest : SuggestSource::google();
    const QString host = site_ ? site_->host : QString();
    QPointer<PanelController> self(this);
    auto task = services_.fetchSuggestions(
        query, source, host, [self, query, generation](const QStringList& list) {
            if (self)
                self->deliverSuggestions(query, generation, list);
        });
    if (task)
        suggestionTask_ = task;
    else
        deliverSuggestions(query, generation, {});
}

void PanelController::deliverSuggestions(const QString& query, quint64 generation,
                                         const QStringList& list) {
    if (generation != suggestionGeneration_)
        return;
    suggestionTask_.reset();
    if (!isVisible() && !embedded_)
        return;
    if (trimmed(typed_) != query)
        return;
    suggestions_ = list;
    render();
}

// MARK: Rendering

const Prepared<SafariTab>& PanelController::preparedTabs() {
    const Store& store = services_.store;
    if (!preparedFrom_.isSharedWith(store.tabs) || !preparedOther_.isSharedWith(store.otherTabs) ||
        tabs_.size() != store.tabs.size() + store.otherTabs.size()) {
        preparedFrom_ = store.tabs;
        preparedOther_ = store.otherTabs;
        tabs_ = Prepared<SafariTab>(store.tabs + store.otherTabs);
    }
    return tabs_;
}

const Prepared<ArchivedTab>& PanelController::preparedArchive() {
    const Store& store = services_.store;
    if (!archiveFrom_.isSharedWith(store.archived) || archive_.size() != store.archived.size()) {
        archiveFrom_ = store.archived;
        archive_ = Prepared<ArchivedTab>(store.archived);
    }
    return archive_;
}

std::optional<QString> PanelController::render() {
    const Store& store = services_.store;
    const Preferences& preferences = services_.preferences;
    const QString query = prefill_ ? QString() : typed_;
    Ranker ranker(preferences.searchEngine());
    ranker.tabs = preparedTabs();
    ranker.history = store.history;
    ranker.hidden = store.hidden;
    ranker.commands = store.commands;
    if (store.browser() && Store::isSafari(*store.browser()))
        ranker.archived = preparedArchive();
    ranker.devAvailable = !store.devTools.isEmpty();
    ranker.limit = 10;
    ranker.layout = preferences.resultLayout();
    ranker.order = ResultSection::ordered(preferences.storedSectionOrder());
    const Ranking ranking = devMode_ ? ranker.rankDev(query, store.devTools)
                            : site_  ? ranker.rankSite(query, suggestions_, *site_)
                                     : ranker.rank(query, suggestions_);
    rows_ = ranking.rows;
    selected_ = rows_.isEmpty() ? 0 : std::min(selected_, int(rows_.size()) - 1);
    const QList<std::optional<QString>> titles =
        PanelRules::sectionTitles({.rows = rows_,
                                   .query = query,
                                   .completion = ranking.completion,
                                   .devMode = devMode_,
                                   .site = site_ ? std::optional(site_->name) : std::nullopt,
                                   .grouped = ranker.layout == ResultLayout::grouped});
    rebuildRows(titles);
    updateFieldIcon();
    highlight();
    resize();
    return ranking.completion;
}

void PanelController::rebuildRows(const QList<std::optional<QString>>& titles) {
    // A row may be rebuilt from inside one of its own handlers: old views go once control
    // is back in the event loop.
    for (QWidget* view : std::as_const(listViews_)) {
        view->hide();
        view->deleteLater();
    }
    listViews_.clear();
    rowViews_.clear();
    titles_ = titles;
    headerCount_ = int(std::count_if(titles.begin(), titles.end(),
                                     [](const auto& title) { return title.has_value(); }));
    const QColor accent = chrome_->style().accent;
    const int width = list_->width();
    int y = 0;
    QPointer<PanelController> self(this);
    for (int i = 0; i < rows_.size(); ++i) {
        if (titles[i]) {
            QWidget* title = RowView::sectionTitle(*titles[i], list_);
            title->setGeometry(0, y, width, PanelRules::sectionHeight);
            title->show();
            listViews_.append(title);
            y += PanelRules::sectionHeight + PanelRules::spacing;
        }
        auto* view = new RowView(rows_[i], accent, services_.favicons, list_);
        view->setAccent(modeColor_);
        view->onClick = [self, i] {
            if (!self)
                return;
            self->selected_ = i;
            self->execute();
        };
        view->onHover = [self, i] {
            if (self && self->selected_ != i)
                self->setSelected(i);
        };
        const Row row = rows_[i];
        view->actions = [self, row] { return self ? self->actions(row) : QList<RowAction>(); };
        view->setGeometry(0, y, width, PanelRules::rowHeight);
        view->show();
        listViews_.append(view);
        rowViews_.append(view);
        y += PanelRules::rowHeight + PanelRules::spacing;
    }
}

void PanelController::updateFieldIcon() {
    using FieldIcon::Mode;
    FieldIcon::Input input{.mode = devMode_ ? Mode::developerTools
                                   : site_  ? Mode::site
                                            : Mode::none,
                           .siteHost = site_ ? site_->host : QString(),
                           .query = typed_};
    if (prefill_)
        input.prefillHost = Web::host(*prefill_);
    if (!rows_.isEmpty())
        input.firstRow = rows_.constFirst();
    chrome_->updateFieldIcon(input, services_.favicons);
}

void PanelController::setSelected(int index) {
    selected_ = index;
    highlight();
}

const Row* PanelController::selectedRow() const {
    if (selected_ < 0 || selected_ >= rows_.size())
        return nullptr;
    return &rows_[selected_];
}

void PanelController::highlight() {
    for (int i = 0; i < rowViews_.size(); ++i) {
        RowView* view = rowViews_[i];
        view->setSelected(i == selected_);
        view->setRemoveHint(removeHint_ && i == selected_);
        view->setNumber(numberHint_ && i < 9 ? std::optional(i + 1) : std::nullopt);
    }
    announceSelection();
    std::optional<RowAction> primary;
    if (const Row* row = selectedRow()) {
        const QList<RowAction> offered = actions(*row);
        if (removeHint_) {
            if (const RowAction* danger = RowActions::firstDanger(offered))
                primary = *danger;
        } else if (!offered.isEmpty()) {
            primary = offered.constFirst();
        }
    }
    actionBar_->update(mode_, special(), primary);
}

void PanelController::announceSelection() {
    if (!QAccessible::isActive() || selected_ >= rowViews_.size())
        return;
    RowView* view = rowViews_[selected_];
    QAccessibleEvent focus(view, QAccessible::Focus);
    QAccessible::updateAccessibility(&focus);
    QAccessibleEvent selection(view, QAccessible::Selection);
    QAccessible::updateAccessibility(&selection);
}

void PanelController::resize() {
    const bool hasRows = !rows_.isEmpty();
    height_ = PanelRules::panelHeight(rows_.size(), headerCount_, menuOpen_ ? menuHeight_ : 0);
    separator_->setVisible(hasRows);
    footerLine_->setVisible(hasRows);
    actionBar_->setVisible(hasRows);
    const QSize size(PanelRules::windowWidth, height_);
    if (embedded_) {
        embeddedView_->setFixedSize(size);
        chrome_->resize(size);
        if (onResize)
            onResize(size);
        return;
    }
    // The top edge stays where placement put it (or where the window is now).
    QRectF frame = Desktop::fromWindowGeometry(window_->geometry());
    if (!top_)
        top_ = frame.y() + frame.height();
    frame = QRectF(frame.x(), *top_ - height_, size.width(), size.height());
    window_->setGeometry(Desktop::toWindowGeometry(frame));
    chrome_->resize(size);
}

// MARK: Keys

bool PanelController::handle(QKeyEvent& event) {
    hintWork_->stop();
    return runKey(PanelKeys::press(event.key(), maskedModifiers(event.modifiers()), event.text()));
}

bool PanelController::runKey(const KeyCombo& key) {
    if (key.modifiers == command && (key.key == u"q" || key.key == u"w")) {
        close();
        return true;
    }
    if (!menuOpen_) {
        if (const auto edit = PanelKeys::editing(key)) {
            runEdit(*edit);
            return true;
        }
    }
    if (key.keyCode == PanelKeys::Code::k && key.modifiers == command) {
        if (menuOpen_)
            closeMenu();
        else
            openMenu();
        return true;
    }
    if (!menuOpen_) {
        if (devMode_ && runDevTool(key.modifiers, key.key))
            return true;
        if (inMode() && PanelKeys::isDelete(key) && !key.modifiers && field().text().isEmpty()) {
            exitMode();
            return true;
        }
        if (PanelKeys::isDelete(key) && key.modifiers == shift) {
            clearInput();
            return true;
        }
        if (const auto digit = PanelKeys::commandDigit(key)) {
            if (*digit > rows_.size()) {
                beep();
            } else {
                selected_ = *digit - 1;
                execute();
            }
            return true;
        }
    }
    if (runRowShortcut(key))
        return true;
    if (menuOpen_)
        return false;
    const auto fieldCommand = PanelKeys::fieldCommand(key);
    return fieldCommand && runCommand(*fieldCommand);
}

bool PanelController::runDevTool(Modifiers modifiers, const QString& character) {
    for (const Command& tool : std::as_const(services_.store.devTools)) {
        if (tool.combo && tool.combo->modifiers == modifiers &&
            tool.combo->key.toLower() == character) {
            const Action action = tool.action;
            close();
            services_.store.perform(action, mode_);
            return true;
        }
    }
    return false;
}

bool PanelController::runRowShortcut(const KeyCombo& key) {
    const Row* row = selectedRow();
    if (!row)
        return false;
    const QList<RowAction> offered = actions(*row);
    if (PanelKeys::isDelete(key) && (key.modifiers & command) &&
        (key.modifiers & (shift | option))) {
        if (const RowAction* danger = RowActions::firstDanger(offered))
            danger->run();
        else
            beep();
        return true;
    }
    if (const RowAction* action = RowActions::byShortcut(offered, key)) {
        action->run();
        return true;
    }
    return false;
}

void PanelController::runEdit(PanelKeys::Edit edit) {
    QLineEdit& editor = field();
    switch (edit) {
    case PanelKeys::Edit::paste:
        editor.paste();
        break;
    case PanelKeys::Edit::copy:
        editor.copy();
        break;
    case PanelKeys::Edit::cut:
        editor.cut();
        break;
    case PanelKeys::Edit::selectAll:
        editor.selectAll();
        break;
    case PanelKeys::Edit::undo:
        editor.undo();
        break;
    case PanelKeys::Edit::redo:
        editor.redo();
        break;
    }
}

bool PanelController::runCommand(PanelKeys::FieldCommand command) {
    using PanelKeys::FieldCommand;
    const int count = int(rows_.size());
    switch (command) {
    case FieldCommand::insertNewline:
        if (embedded_ && !scripting_) {
            if (onReturn)
                onReturn();
            return true;
        }
        execute();
        return true;
    case FieldCommand::moveDown:
        if (count > 0)
            setSelected((selected_ + 1) % count);
        return true;
    case FieldCommand::moveUp:
        if (count > 0)
            setSelected((selected_ - 1 + count) % count);
        return true;
    case FieldCommand::cancel:
        if (inMode())
            exitMode();
        else
            close();
        return true;
    case FieldCommand::insertTab:
        tab();
        return true;
    }
    return false;
}

void PanelController::modifiersChanged(Qt::KeyboardModifiers flags) {
    hintWork_->stop();
    const PanelKeys::HintPlan plan = PanelKeys::hintFor(PanelKeys::modifiers(flags));
    if (plan.kind == PanelKeys::HintPlan::Kind::none) {
        const bool wasOn = removeHint_ || numberHint_;
        removeHint_ = numberHint_ = false;
        if (wasOn)
            highlight();
        return;
    }
    pendingHint_ = plan.kind;
    hintWork_->start(plan.delayMs);
}

void PanelController::beep() {
    services_.workspace.beep();
}

// MARK: Row actions

QList<RowAction> PanelController::actions(const Row& row) {
    QPointer<PanelController> self(this);
    return RowActions::bind(RowActions::of(row, mode_), [self, row](const RowActions::Entry& e) {
        if (self)
            self->perform(e, row);
    });
}

void PanelController::perform(const RowActions::Entry& entry, const Row& row) {
    using RowActions::Effect;
    switch (entry.effect) {
    case Effect::execute:
        execute(entry.mode);
        break;
    case Effect::openInGroup:
        if (const auto* reveal = row.action.as<Action::RevealTab>()) {
            const QString url = reveal->url;
            close();
            services_.store.perform(Action::open(url), OpenMode::newTab);
        }
        break;
    case Effect::copyLink:
    case Effect::copyMarkdown:
        copySelected(entry.effect == Effect::copyMarkdown);
        break;
    case Effect::togglePin:
        if (const auto* tab = row.action.as<Action::SwitchTab>()) {
            const Action::SwitchTab target = *tab;
            close();
            services_.store.togglePin(target.windowID, target.index);
        }
        break;
    case Effect::remove:
        removeSelected();
        break;
    case Effect::enterDevTools:
        enterDevMode();
        break;
    }
}

void PanelController::execute(std::optional<OpenMode> mode) {
    const Row* row = selectedRow();
    if (!row)
        return;
    if (row->action.as<Action::DevMode>()) {
        enterDevMode();
        return;
    }
    const Action action = row->action;
    close();
    services_.store.perform(action, mode.value_or(mode_));
}

void PanelController::copySelected(bool markdown) {
    const Row* row = selectedRow();
    const std::optional<QString> link = row ? RowRules::link(*row) : std::nullopt;
    if (!link) {
        beep();
        return;
    }
    const QString title = row->title;
    close();
    Clipboard::copyLink(services_.pasteboard, services_.toast, *link, title, markdown);
}

void PanelController::copyHotkey(bool markdown) {
    const Modifiers copying = markdown ? command | shift | option : command | shift;
    if (devMode_ && !menuOpen_ && runDevTool(copying, QStringLiteral("c")))
        return;
    copySelected(markdown);
}

void PanelController::pinHotkey() {
    const Row* row = selectedRow();
    const QList<RowAction> offered = row ? actions(*row) : QList<RowAction>();
    if (const RowAction* pin = RowActions::byShortcut(offered, RowActions::pinKey()))
        pin->run();
    else
        beep();
}

void PanelController::removeSelected() {
    const Row* selected = selectedRow();
    if (!selected) {
        beep();
        return;
    }
    const Row row = *selected;
    Store& store = services_.store;
    const bool page = row.kind == Row::Kind::history || row.kind == Row::Kind::open;
    if (page && !row.url.isEmpty()) {
        if (!store.demo) {
            store.hidden.insert(Web::bare(row.url));
            store.saveHidden();
        }
        closeMenu();
        render();
        return;
    }
    const auto* tab = row.action.as<Action::SwitchTab>();
    if (row.kind != Row::Kind::tab || !tab) {
        beep();
        return;
    }
    closeMenu();
    QPointer<PanelController> self(this);
    store.closeTab(tab->windowID, tab->index, [self] {
        if (self && (self->isVisible() || self->embedded_))
            self->render();
    });
}

void PanelController::openMenu() {
    const Row* row = selectedRow();
    if (!row)
        return;
    menuOpen_ = true;
    actionMenu_->show();
    actionMenu_->raise();
    actionMenu_->present(row->title, actions(*row));
    menuHeight_ = actionMenu_->preferredHeight();
    layoutChildren();
    resize();
}

void PanelController::closeMenu() {
    if (!menuOpen_)
        return;
    menuOpen_ = false;
    actionMenu_->hide();
    field().setFocus();
    field().end(false);
    resize();
}

} // namespace kivaro
