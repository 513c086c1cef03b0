#pragma once

#include "panel/RowAccessory.h"
#include "panel/RowAction.h"
#include "search/Row.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QPixmap>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QContextMenuEvent;
class QMenu;
class QMouseEvent;
class QPaintEvent;

namespace kivaro {

class Favicons;

// One result line: icon tile, title and detail, the right-hand label and arrow, key hints,
// the selection fill. Lives from one render to the next.
class RowView : public QWidget {
    Q_OBJECT

public:
    static constexpr int height = 46;
    static constexpr int sectionTitleHeight = 24;

    // Click and accessibility press; mouse movement over the row.
    std::function<void()> onClick;
    std::function<void()> onHover;
    // The row's actions, for the context menu.
    std::function<QList<RowAction>()> actions;

    // `accent` is the preference accent; a mode colour set with setAccent takes its place.
    // Favicons may be null (no icons are fetched, the stand-by symbols stay).
    RowView(const Row& row, const QColor& accent, Favicons* favicons, QWidget* parent = nullptr);

    // The title drawn above the first row of a section: 24 high, the text 14 from the
    // leading edge and 3 above the bottom.
    static QWidget* sectionTitle(const QString& text, QWidget* parent = nullptr);

    const Row& row() const { return row_; }
    void setAccent(const std::optional<QColor>& modeColor);
    void setSelected(bool selected);
    // Each of these refreshes the right-hand accessory only when the value changes.
    void setRemoveHint(bool on);
    void setNumber(std::optional<int> number);

    bool isSelected() const { return selected_; }
    bool hasFavicon() const { return hasFavicon_; }
    // What the right-hand label says now ("" when hidden), and the symbol in the icon tile.
    QString labelText() const;
    QString iconSymbol() const;
    // What the right-hand side shows now.
    const RowAccessory::Look& look() const { return look_; }
    // The key caps shown: the row's key hints, or ⌘ and the number.
    QWidget* shortcutKeys() const { return shortcutKeys_; }
    QWidget* numberCaps() const { return numberCaps_; }

    // The context menu of the row's actions (destructive ones last, after a separator);
    // nothing without actions.
    std::unique_ptr<QMenu> contextMenu() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    struct Colours;

    void paint();
    void accessory();
    void loadIcon();
    void showFavicon(const QImage& image);
    void click();
    void placeCaps();
    Colours colours() const;
    // Where the title and detail must end: before the label, the caps or the edge.
    int textEnd() const;
    void paintIcon(QPainter& painter, const Colours& colours);
    void paintText(QPainter& painter, const Colours& colours);
    void paintArrow(QPainter& painter, const Colours& colours);

    Row row_;
    QColor preferenceAccent_;
    std::optional<QColor> modeColor_;
    Favicons* favicons_;
    bool selected_ = false;
    bool removeHint_ = false;
    std::optional<int> number_;
    bool hasFavicon_ = false;
    QString symbol_;
    QImage favicon_;
    QPixmap faviconDrawn_;
    RowAccessory::Look look_;
    QWidget* shortcutKeys_ = nullptr;
    QWidget* numberCaps_ = nullptr;
};

} // namespace kivaro
