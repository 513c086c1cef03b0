#include "panel/SettingsState.h"

#include "panel/Access.h"

#include <QTimer>

namespace kivaro {

SettingsState::SettingsState(SettingsHooks hooks, AccessCheck& access, QObject* parent)
    : QObject(parent), hooks_(std::move(hooks)), access_(access) {}

QString SettingsState::browserName() const {
    const QString name = hooks_.browserName ? hooks_.browserName() : QString();
    return name.isEmpty() ? QStringLiteral("your browser") : name;
}

void SettingsState::setQuery(const QString& query) {
    if (query == query_)
        return;
    query_ = query;
    emit queryChanged();
}

void SettingsState::selectPane(SettingsPane pane) {
    setPane(pane);
    setFocus(std::nullopt);
}

void SettingsState::selectHit(const SettingsItem& item) {
    setPane(item.pane);
    setFocus(item);
}

void SettingsState::jumpToBestMatch() {
    if (const auto best = SettingsSearch::best(query_)) {
        selectHit(*best);
        return;
    }
    const QList<SettingsGroup> groups = SettingsSearch::groups(query_);
    if (!groups.isEmpty())
        setPane(groups.first().pane);
    setFocus(std::nullopt);
}

void SettingsState::refresh() {
    hiddenCount_ = hooks_.hiddenCount ? hooks_.hiddenCount() : 0;
    historyStatus_ = hooks_.historyStatus ? hooks_.historyStatus() : QString();
    access_.refresh();
    emit refreshed();
}

void SettingsState::restoreHidden() {
    if (hooks_.restoreHidden)
        hooks_.restoreHidden();
    refresh();
}

void SettingsState::reloadHistory() {
    if (hooks_.reloadHistory)
        hooks_.reloadHistory();
    refresh();
    // History loads on the store's queue; look again once it has had time to arrive.
    QTimer::singleShot(secondReloadLookMs, this, &SettingsState::refresh);
}

void SettingsState::setPane(SettingsPane pane) {
    if (pane == pane_)
        return;
    pane_ = pane;
    emit paneChanged();
}

void SettingsState::setFocus(const std::optional<SettingsItem>& item) {
    focus_ = item;
    emit focusChanged();
}

} // namespace kivaro
