#pragma once

#include "search/Row.h"
#include "search/SiteSearch.h"

#include <QList>
#include <QString>

#include <optional>
#include <variant>

namespace kivaro {

// The panel's decisions that need no widgets: section titles, its height, the inline
// completion, the Tab key and the prefixes that enter a mode.
namespace PanelRules {

// Geometry of the visible panel.
inline constexpr int width = 680;
inline constexpr int header = 60;
inline constexpr int rowHeight = 46;
inline constexpr int spacing = 2;
inline constexpr int inset = 8;
inline constexpr int footer = 38;
inline constexpr int sectionHeight = 24;
inline constexpr int margin = 48;
// The window's width: the panel and its shadow margin on both sides.
inline constexpr int windowWidth = width + 2 * margin;
// The height of the window with the field only.
inline constexpr int emptyHeight = 156;
inline constexpr int minimumContent = 332;

// What the section titles depend on.
struct TitleInput {
    QList<Row> rows;
    QString query;
    std::optional<QString> completion;
    bool devMode = false;
    // The site's name in site mode.
    std::optional<QString> site;
    bool grouped = true;
};

// One entry per row: the title drawn above it, or nothing.
QList<std::optional<QString>> sectionTitles(const TitleInput& input);

// The window height for `rows` rows under `titles` section titles, tall enough for an open
// action menu of `menu` height to sit between the field's separator and the footer.
int panelHeight(qsizetype rows, qsizetype titles, int menu = 0);

// The field after an edit that grew the text: the typed text followed by the rest of the
// completion, with that rest selected.
struct Completed {
    QString text;
    qsizetype selectionStart = 0;
    qsizetype selectionLength = 0;

    bool operator==(const Completed&) const = default;
};

// The completed field for `typed` (newLength UTF-16 units, lastLength before the edit), or
// nothing: deleting never completes, and the completion must extend what was typed.
std::optional<Completed> complete(const QString& typed, qsizetype lastLength,
                                  const std::optional<QString>& completion);

// What Tab does outside a mode.
struct EnterDevTools {};
struct AcceptCompletion {};
using TabTarget = std::variant<AcceptCompletion, EnterDevTools, SiteSearch>;

TabTarget tabTarget(const QString& typed, bool devAvailable,
                    const std::optional<QString>& lastCompletion);

// The hint at the right of the field: what Tab would enter, or nothing.
std::optional<QString> tabHint(const QString& typed, bool devAvailable,
                               const std::optional<QString>& lastCompletion);

// A prefix typed first that enters a mode: "%" the current site's, "$" or "dev:" the
// developer tools'. `rest` is what follows it, trimmed.
struct ModePrefix {
    enum class Kind { currentSite, devTools };
    Kind kind;
    QString rest;

    bool operator==(const ModePrefix&) const = default;
};

std::optional<ModePrefix> modePrefix(const QString& fieldText);

} // namespace PanelRules

} // namespace kivaro
