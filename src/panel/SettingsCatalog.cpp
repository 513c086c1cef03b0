#include "panel/SettingsCatalog.h"

#include "panel/Colors.h"

#include <QRegularExpression>

namespace kivaro {

QString SettingsPane::description() const {
    switch (value_) {
    case general:
        return QStringLiteral("Startup, the menu bar icon, your search engine and other browsers.");
    case browsers:
        return QStringLiteral(
            "Keep your own browser and its sidebar of tabs; Kivaro adds the ⌘T bar.");
    case appearance:
        return QStringLiteral("Panel opacity and the highlight color.");
    case results:
        return QStringLiteral("How results are ordered in the panel.");
    case history:
        return QStringLiteral("Browser history, hidden pages and closing inactive tabs.");
    case shortcuts:
        return QStringLiteral(
            "Shortcuts for your browser and the panel. Click a browser shortcut to change it.");
    case permissions:
#ifdef Q_OS_MACOS
        return QStringLiteral("Access Kivaro needs to read your history and control Safari.");
#else
        return QStringLiteral("What Kivaro needs to take its shortcuts and control your browser.");
#endif
    }
    return {};
}

QColor SettingsPane::tint() const {
    switch (value_) {
    case general:
        return QColor(142, 142, 147);
    case browsers:
        return QColor(48, 176, 199);
    case appearance:
        return Colors::brand();
    case results:
        return QColor(175, 82, 222);
    case history:
        return QColor(255, 149, 0);
    case shortcuts:
        return QColor(255, 255, 255, 64);
    case permissions:
        return QColor(0, 122, 255);
    }
    return {};
}

SettingsItem SettingsItem::panelKey(const QString& title, const QStringList& caps) {
    return {QStringLiteral("panel-") + title, title, SettingsPane::shortcuts,
            caps.join(QString()) + QStringLiteral(" panel")};
}

SettingsItem SettingsItem::accessItem(AccessNeed need) {
    return {QStringLiteral("permission-") + need.rawValue(), need.title(),
            SettingsPane::permissions, need.explanation() + QStringLiteral(" privacy allow")};
}

const QList<std::pair<QString, QStringList>>& SettingsItem::panelKeys() {
    static const QList<std::pair<QString, QStringList>> keys = {
        {QStringLiteral("Open"), {QStringLiteral("↩")}},
        {QStringLiteral("Open in Current Tab or New Tab"),
         {QStringLiteral("⌘"), QStringLiteral("↩")}},
        {QStringLiteral("Actions"), {QStringLiteral("⌘"), QStringLiteral("K")}},
        {QStringLiteral("Copy Link"),
         {QStringLiteral("⇧"), QStringLiteral("⌘"), QStringLiteral("C")}},
        {QStringLiteral("Copy Markdown Link"),
         {QStringLiteral("⌥"), QStringLiteral("⇧"), QStringLiteral("⌘"), QStringLiteral("C")}},
        {QStringLiteral("Pin or Unpin Tab"),
         {QStringLiteral("⇧"), QStringLiteral("⌘"), QStringLiteral("P")}},
        {QStringLiteral("Close Tab or Remove from History"),
         {QStringLiteral("⇧"), QStringLiteral("⌘"), QStringLiteral("⌫")}},
        {QStringLiteral("Clear Search"), {QStringLiteral("⇧"), QStringLiteral("⌫")}},
        {QStringLiteral("Open Result 1 to 9"), {QStringLiteral("⌘"), QStringLiteral("1–9")}},
        {QStringLiteral("Search This Site"), {QStringLiteral("%")}},
        {QStringLiteral("Developer Tools"), {QStringLiteral("$")}},
        {QStringLiteral("Developer Tools, after typing dev"), {QStringLiteral("Tab")}},
        {QStringLiteral("Search a Site, after typing its name"), {QStringLiteral("Tab")}},
    };
    return keys;
}

const QList<SettingsItem>& SettingsItem::all() {
    static const QList<SettingsItem> items = [] {
        using P = SettingsPane;
        QList<SettingsItem> list = {
            {u"launchAtLogin"_qs, u"Launch at login"_qs, P::general,
             u"startup start open login items"_qs},
            {u"menuBarIcon"_qs, u"Show menu bar icon"_qs, P::general, u"menubar hide"_qs},
            {u"searchEngine"_qs, u"Search engine"_qs, P::general,
             u"google duckduckgo bing ecosia default web"_qs},
            {u"suggestions"_qs, u"Show Google suggestions"_qs, P::general,
             u"autocomplete search suggestions"_qs},
            {u"otherBrowsers"_qs, u"Also use in Chrome, Brave, Edge and Vivaldi"_qs, P::general,
             u"browsers chromium"_qs},
            {u"browserGuide"_qs, u"Set up your browser"_qs, P::browsers,
             u"safari chrome brave edge vivaldi firefox arc alternative vertical tabs sidebar guide"_qs},
            {u"theme"_qs, u"Theme"_qs, P::appearance, u"dark light mode auto appearance"_qs},
            {u"opacity"_qs, u"Panel opacity"_qs, P::appearance,
             u"transparency transparent glass translucent"_qs},
            {u"highlight"_qs, u"Highlight color"_qs, P::appearance, u"accent colour selection"_qs},
            {u"layout"_qs, u"Layout"_qs, P::results, u"grouped mixed headings list"_qs},
            {u"order"_qs, u"Section order"_qs, P::results,
             u"sort arrange sections tabs history"_qs},
            {u"historyStatus"_qs, u"Status"_qs, P::history,
             u"history pages loaded browser safari chrome"_qs},
            {u"hiddenPages"_qs, u"Hidden pages"_qs, P::history, u"restore unhide removed"_qs},
            {u"reloadHistory"_qs, u"Reload history"_qs, P::history, u"refresh update"_qs},
            {u"historySources"_qs, u"Also search history from"_qs, P::history,
             u"import arc chrome brave edge vivaldi firefox safari browsers combine merge other"_qs},
            {u"archive"_qs, u"Close inactive tabs after"_qs, P::history,
             u"archive auto-archive"_qs},
            {u"newTab"_qs, u"Open in new tab"_qs, P::shortcuts, u"⌘t cmd-t hotkey"_qs},
            {u"currentTab"_qs, u"Open in current tab"_qs, P::shortcuts, u"⌘l cmd-l hotkey"_qs},
            {u"copyLink"_qs, u"Copy page link"_qs, P::shortcuts, u"⇧⌘c url markdown hotkey"_qs},
            {u"pin"_qs, u"Pin or unpin tab"_qs, P::shortcuts, u"⇧⌘p hotkey"_qs},
            {u"lastTab"_qs, u"Switch to last tab"_qs, P::shortcuts,
             u"⌃tab ctrl-tab control previous hotkey"_qs},
        };
        for (const auto& [title, caps] : panelKeys())
            list.append(panelKey(title, caps));
        for (AccessNeed need : AccessNeed::forPlatform())
            list.append(accessItem(need));
        return list;
    }();
    return items;
}

namespace SettingsSearch {

QStringList words(const QString& query) {
    return query.toLower().split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}

QStringList textWords(const QString& text) {
    static const QRegularExpression separators(QStringLiteral("[\\s,.()/›'“”]+"));
    return text.toLower().split(separators, Qt::SkipEmptyParts);
}

bool matches(const QStringList& words, const QString& text) {
    const QStringList candidates = textWords(text);
    return std::all_of(words.cbegin(), words.cend(), [&](const QString& word) {
        return std::any_of(candidates.cbegin(), candidates.cend(),
                           [&](const QString& candidate) { return candidate.startsWith(word); });
    });
}

bool matches(const QStringList& words, const SettingsItem& item) {
    return matches(words, item.title + u' ' + item.keywords);
}

QList<SettingsGroup> groups(const QString& query, const QList<SettingsItem>& items) {
    const QStringList queryWords = words(query);
    QList<SettingsGroup> found;
    for (SettingsPane pane : SettingsPane::allCases()) {
        SettingsGroup group{pane, {}};
        for (const SettingsItem& item : items) {
            if (item.pane == pane && matches(queryWords, item))
                group.items.append(item);
        }
        if (!group.items.isEmpty() || matches(queryWords, pane.title() + u' ' + pane.description()))
            found.append(group);
    }
    return found;
}

std::optional<SettingsItem> best(const QString& query, const QList<SettingsItem>& items) {
    const QStringList queryWords = words(query);
    QList<SettingsItem> hits;
    for (const SettingsGroup& group : groups(query, items))
        hits.append(group.items);
    for (const SettingsItem& hit : std::as_const(hits)) {
        if (matches(queryWords, hit.title))
            return hit;
    }
    if (hits.isEmpty())
        return std::nullopt;
    return hits.first();
}

QString noResults(const QString& query) {
    return QStringLiteral("No results for “") + query.trimmed() + QStringLiteral("”");
}

} // namespace SettingsSearch

} // namespace kivaro
