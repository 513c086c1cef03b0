#pragma once

#include "browsers/Action.h"
#include "search/Ranking.h"
#include "search/SearchEngine.h"
#include "search/SiteSearch.h"
#include "settings/Appearance.h"
#include "tools/query/StateFile.h"

#include <QImage>
#include <QString>

#include <optional>

namespace kivaro {

// What kivaro-query --render draws: the panel for one state and query, through the panel
// controller exactly as the program shows it (offscreen, without a browser).
struct PanelPicture {
    QString query;
    PanelTheme theme = PanelTheme::light;
    OpenMode mode = OpenMode::newTab;
    bool dev = false;
    std::optional<SiteSearch> site;
    // Open the ⌘K menu of the selected row.
    bool menu = false;
    // Rows to move the selection down by.
    int select = 0;
    SearchEngine engine = SearchEngine::google;
    ResultLayout layout = ResultLayout::grouped;
    QList<ResultSection> order = ResultSection::allCases();

    // The panel's window as an image; needs a QApplication.
    QImage draw(const QueryState& state) const;
};

} // namespace kivaro
