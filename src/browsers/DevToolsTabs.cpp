#include "browsers/DevToolsTabs.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>

#include <algorithm>
#include <limits>

namespace kivaro {

namespace DevToolsTabs {

std::optional<QList<Page>> pages(const QByteArray& json) {
    const QJsonDocument document = QJsonDocument::fromJson(json);
    if (!document.isArray())
        return std::nullopt;
    QList<Page> found;
    for (const QJsonValue& value : document.array()) {
        const QJsonObject target = value.toObject();
        const QString id = target.value(QStringLiteral("id")).toString();
        if (target.value(QStringLiteral("type")).toString() != u"page" || id.isEmpty())
            continue;
        found.append(Page{id, target.value(QStringLiteral("title")).toString(),
                          target.value(QStringLiteral("url")).toString()});
    }
    return found;
}

QList<Listed> arrange(const QList<Page>& pages, const QHash<QString, qint64>& windows,
                      const DevToolsTabOrder& order) {
    // Windows in the order their most recently shown page appears; that page is current.
    QList<qint64> windowOrder;
    QMap<qint64, QList<Listed>> byWindow;
    for (const Page& page : pages) {
        const auto window = windows.constFind(page.targetId);
        if (window == windows.constEnd())
            continue;
        const bool first = !byWindow.contains(*window);
        if (first)
            windowOrder.append(*window);
        SafariTab tab{.windowID = *window,
                      .windowOrder = windowOrder.indexOf(*window),
                      .title = page.title,
                      .url = page.url,
                      .isCurrent = first};
        byWindow[*window].append(Listed{tab, page.targetId});
    }
    QList<Listed> listed;
    for (const qint64 window : windowOrder) {
        QList<Listed> tabs = byWindow.value(window);
        std::stable_sort(tabs.begin(), tabs.end(), [&](const Listed& a, const Listed& b) {
            return order.rank(a.targetId) < order.rank(b.targetId);
        });
        for (qsizetype position = 0; position < tabs.size(); ++position) {
            tabs[position].tab.index = position + 1;
            listed.append(tabs[position]);
        }
    }
    return listed;
}

std::optional<FrontWindow> frontWindow(const QList<Listed>& listed) {
    FrontWindow front;
    for (const Listed& tab : listed) {
        if (tab.tab.windowOrder != 0)
            continue;
        if (tab.tab.isCurrent)
            front.current = front.tabs.size();
        front.tabs.append(tab);
    }
    if (front.tabs.isEmpty())
        return std::nullopt;
    return front;
}

QList<SafariTab> tabsOf(const QList<Listed>& listed) {
    QList<SafariTab> tabs;
    for (const Listed& each : listed)
        tabs.append(each.tab);
    return tabs;
}

QStringList urlsIn(const QList<Listed>& listed, qint64 windowID) {
    QStringList urls;
    for (const Listed& each : listed) {
        if (each.tab.windowID == windowID)
            urls.append(each.tab.url);
    }
    return urls;
}

void ListedTargets::remember(const QList<Listed>& listed) {
    QHash<QPair<qint64, qint64>, QString> targets;
    for (const Listed& each : listed)
        targets.insert({each.tab.windowID, each.tab.index}, each.targetId);
    const std::lock_guard lock(mutex_);
    targets_ = std::move(targets);
}

std::optional<QString> ListedTargets::at(qint64 windowID, qint64 index) const {
    const std::lock_guard lock(mutex_);
    const auto found = targets_.constFind({windowID, index});
    if (found == targets_.constEnd())
        return std::nullopt;
    return *found;
}

} // namespace DevToolsTabs

void DevToolsTabOrder::update(const QList<DevToolsTabs::Page>& pages) {
    QHash<QString, qint64> kept;
    for (const auto& page : pages) {
        if (const auto known = ranks_.constFind(page.targetId); known != ranks_.constEnd())
            kept.insert(page.targetId, *known);
    }
    // The listing runs most recently shown first; new tabs are ranked oldest first.
    for (auto page = pages.crbegin(); page != pages.crend(); ++page) {
        if (!kept.contains(page->targetId))
            kept.insert(page->targetId, next_++);
    }
    ranks_ = std::move(kept);
}

qint64 DevToolsTabOrder::rank(const QString& targetId) const {
    return ranks_.value(targetId, std::numeric_limits<qint64>::max());
}

} // namespace kivaro
