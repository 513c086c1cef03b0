#pragma once

#include "base/EnumNames.h"
#include "panel/Access.h"

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace kivaro {

enum class SettingsPaneValue {
    general,
    browsers,
    appearance,
    results,
    history,
    shortcuts,
    permissions
};

// The panes of the settings window, in sidebar order.
class SettingsPane : public EnumCase<SettingsPane, SettingsPaneValue> {
public:
    using EnumCase::EnumCase;
    using enum SettingsPaneValue;

    QString title() const { return QString::fromUtf16(row().title); }
    QString symbol() const { return QString::fromUtf16(row().symbol); }
    QString description() const;
    QColor tint() const;

    struct Case {
        Value value;
        const char16_t* raw;
        const char16_t* title;
        const char16_t* symbol;
    };
    static constexpr auto table = enumTable<Case>({
        {general, u"general", u"General", u"gearshape.fill"},
        {browsers, u"browsers", u"Browsers", u"macwindow"},
        {appearance, u"appearance", u"Appearance", u"paintpalette.fill"},
        {results, u"results", u"Results", u"list.bullet"},
        {history, u"history", u"History & Archive", u"clock.arrow.circlepath"},
        {shortcuts, u"shortcuts", u"Shortcuts", u"command"},
        {permissions, u"permissions", u"Permissions", u"hand.raised.fill"},
    });
};

inline size_t qHash(SettingsPane pane, size_t seed = 0) {
    return ::qHash(int(SettingsPaneValue(pane)), seed);
}

// One setting the search finds: its form row is anchored by `id`.
struct SettingsItem {
    QString id;
    QString title;
    SettingsPane pane = SettingsPane::general;
    QString keywords;

    bool operator==(const SettingsItem&) const = default;

    // A key of the panel: its caps are its keywords.
    static SettingsItem panelKey(const QString& title, const QStringList& caps);
    // Every setting in form order: the preferences, the panel keys, then the access needs of
    // this platform.
    static const QList<SettingsItem>& all();
    // The thirteen keys of the panel with their caps (Mac glyphs, as stored).
    static const QList<std::pair<QString, QStringList>>& panelKeys();
    static SettingsItem accessItem(AccessNeed need);
};

// What the sidebar lists while a search runs: a pane and its hits.
struct SettingsGroup {
    SettingsPane pane;
    QList<SettingsItem> items;

    bool operator==(const SettingsGroup&) const = default;
};

// Finding settings by words: every query word must begin some word of the item's text.
namespace SettingsSearch {

// The query's words: lower-cased, split on white space.
QStringList words(const QString& query);
// The words of a searched text: lower-cased, split on white space and , . ( ) / › ' “ ”.
QStringList textWords(const QString& text);
// Whether every query word prefixes some word of `text`; no words match everything.
bool matches(const QStringList& words, const QString& text);
bool matches(const QStringList& words, const SettingsItem& item);

// The panes, in order, that hold matching items or whose own title and description match.
QList<SettingsGroup> groups(const QString& query,
                            const QList<SettingsItem>& items = SettingsItem::all());
// The first hit whose title alone matches, else the first hit; nothing without hits.
std::optional<SettingsItem> best(const QString& query,
                                 const QList<SettingsItem>& items = SettingsItem::all());

// The sidebar's line when nothing matches.
QString noResults(const QString& query);

} // namespace SettingsSearch

} // namespace kivaro
