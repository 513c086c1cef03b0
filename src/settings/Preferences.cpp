#include "settings/Preferences.h"

#include "base/Identifiers.h"
#include "base/Notifications.h"
#include "platform/LoginItem.h"
#include "settings/Storage.h"
#include "settings/StoredValue.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>

#include <algorithm>

namespace kivaro {

Preferences::Preferences(std::unique_ptr<QSettings> defaults)
    : defaults_(std::move(defaults)), form_(StoredValue::formOf(*defaults_)) {
    defaults_->installEventFilter(this);
}

Preferences::~Preferences() {
    sync();
}

// QSettings saves a change later, from an event on its own thread. That save runs here,
// under the lock, so that it never overlaps a read from another thread.
bool Preferences::eventFilter(QObject* watched, QEvent* event) {
    if (watched != defaults_.get() || event->type() != QEvent::UpdateRequest)
        return QObject::eventFilter(watched, event);
    sync();
    return true;
}

void Preferences::sync() {
    const std::lock_guard lock(mutex_);
    defaults_->sync();
}

Preferences& Preferences::shared() {
    static Preferences preferences(Storage::settings(Identifiers::bundle));
    [[maybe_unused]] static const bool moved = preferences.moveToMainThread();
    return preferences;
}

// The first use may come from the store's queue; the settings object's deferred saving
// belongs with the main thread's event loop all the same.
bool Preferences::moveToMainThread() {
    QCoreApplication* application = QCoreApplication::instance();
    if (!application || application->thread() == thread())
        return false;
    moveToThread(application->thread());
    defaults_->moveToThread(application->thread());
    return true;
}

void Preferences::setLoginItem(LoginItem* item) {
    loginItem_ = item;
}

QVariant Preferences::value(const QString& key) const {
    const std::lock_guard lock(mutex_);
    return defaults_->value(key);
}

void Preferences::setValueLocked(const QString& key, const QVariant& value) {
    const std::lock_guard lock(mutex_);
    defaults_->setValue(key, value);
}

void Preferences::removeLocked(const QString& key) {
    const std::lock_guard lock(mutex_);
    defaults_->remove(key);
}

template <typename Change>
void Preferences::write(Change&& change) {
    emit willChange();
    change();
    Notifications::center().post(Notifications::preferencesChanged,
                                 QVariant::fromValue(static_cast<QObject*>(this)));
}

void Preferences::store(const QString& key, const QVariant& value) {
    write([&] { setValueLocked(key, value); });
}

std::optional<QString> Preferences::storedString(const QString& key) const {
    return StoredValue::string(value(key));
}

bool Preferences::plainBoolean(const QString& key, bool absent) const {
    return StoredValue::boolean(value(key), form_).value_or(absent);
}

bool Preferences::flag(const QString& key) const {
    return plainBoolean(key, true);
}

bool Preferences::shortcutEnabled(HotkeyAction action) const {
    return flag(action.enableFlag());
}

bool Preferences::showMenuBarIcon() const {
    return flag(PreferenceKey::showMenuBarIcon);
}

bool Preferences::newTabShortcut() const {
    return shortcutEnabled(HotkeyAction::newTab);
}

bool Preferences::currentTabShortcut() const {
    return shortcutEnabled(HotkeyAction::currentTab);
}

bool Preferences::copyLinkShortcut() const {
    return shortcutEnabled(HotkeyAction::copyLink);
}

bool Preferences::pinShortcut() const {
    return shortcutEnabled(HotkeyAction::pin);
}

bool Preferences::lastTabShortcut() const {
    return shortcutEnabled(HotkeyAction::lastTab);
}

PanelTheme Preferences::panelTheme() const {
    const auto raw = storedString(PreferenceKey::panelTheme);
    return panelThemeFromRaw(raw.value_or(QString())).value_or(PanelTheme::automatic);
}

AccentChoice Preferences::accent() const {
    const auto raw = storedString(PreferenceKey::accent);
    return accentChoiceFromRaw(raw.value_or(QString())).value_or(AccentChoice::brand);
}

std::optional<QString> Preferences::customAccent() const {
    return storedString(PreferenceKey::customAccent);
}

namespace {

double clampedOpacity(std::optional<double> opacity) {
    if (!opacity)
        return Preferences::minimumOpacity;
    return std::clamp(*opacity, Preferences::minimumOpacity, Preferences::maximumOpacity);
}

} // namespace

double Preferences::panelOpacity() const {
    return clampedOpacity(StoredValue::number(value(PreferenceKey::panelOpacity), form_));
}

void Preferences::setPanelOpacity(double opacity) {
    store(PreferenceKey::panelOpacity,
          clampedOpacity(StoredValue::number(opacity, StoredValue::Form::typed)));
}

ResultLayout Preferences::resultLayout() const {
    const auto raw = storedString(PreferenceKey::resultLayout);
    return resultLayoutFromRaw(raw.value_or(QString())).value_or(ResultLayout::grouped);
}

QStringList Preferences::storedSectionOrder() const {
    return StoredValue::strings(value(PreferenceKey::sectionOrder), form_);
}

QList<ResultSection> Preferences::sectionOrder() const {
    return ResultSection::ordered(storedSectionOrder());
}

void Preferences::setSectionOrder(const QList<ResultSection>& order) {
    QStringList names;
    for (ResultSection section : order)
        names.append(section.rawValue());
    store(PreferenceKey::sectionOrder, names);
}

SearchEngine Preferences::searchEngine() const {
    const auto raw = storedString(PreferenceKey::searchEngine);
    return SearchEngine::fromRaw(raw.value_or(QString())).value_or(SearchEngine::google);
}

void Preferences::setSearchEngine(SearchEngine engine) {
    store(PreferenceKey::searchEngine, engine.rawValue());
}

bool Preferences::searchSuggestions() const {
    return plainBoolean(PreferenceKey::searchSuggestions, true);
}

void Preferences::setSearchSuggestions(bool on) {
    store(PreferenceKey::searchSuggestions, on);
}

bool Preferences::otherBrowsers() const {
    return plainBoolean(PreferenceKey::otherBrowsers, false);
}

QSet<QString> Preferences::historySources() const {
    const QStringList sources = StoredValue::strings(value(PreferenceKey::historySources), form_);
    return QSet<QString>(sources.begin(), sources.end());
}

void Preferences::setHistorySources(const QSet<QString>& sources) {
    QStringList sorted(sources.begin(), sources.end());
    sorted.sort();
    store(PreferenceKey::historySources, sorted);
}

ArchiveInterval Preferences::archiveAfter() const {
    const auto hours = StoredValue::integer(value(PreferenceKey::archiveAfter), form_);
    if (!hours)
        return ArchiveInterval::off;
    return ArchiveInterval::fromRaw(*hours).value_or(ArchiveInterval::off);
}

void Preferences::setArchiveAfter(ArchiveInterval interval) {
    store(PreferenceKey::archiveAfter, interval.rawValue());
}

bool Preferences::welcomed() const {
    return plainBoolean(PreferenceKey::welcomed, false);
}

bool Preferences::launchAtLogin() const {
    return loginItem_ && loginItem_->enabled();
}

void Preferences::setLaunchAtLogin(bool on) {
    write([&] {
        if (loginItem_)
            loginItem_->setEnabled(on);
    });
}

KeyCombo Preferences::combo(HotkeyAction action) const {
    const auto data = StoredValue::data(value(action.comboKey()));
    const auto stored = data ? Binding::fromJson(*data) : std::nullopt;
    return stored.value_or(action.defaultCombo());
}

void Preferences::setCombo(const std::optional<KeyCombo>& combo, HotkeyAction action) {
    write([&] {
        if (combo && *combo != action.defaultCombo())
            setValueLocked(action.comboKey(), Binding::toJson(*combo));
        else
            removeLocked(action.comboKey());
    });
}

} // namespace kivaro
