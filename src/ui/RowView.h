#pragma once

#include "panel/RowAction.h"
#include "search/Row.h"

#include <QColor>
#include <QList>
#include <QWidget>

#include <functional>
#include <optional>

class QContextMenuEvent;
class QLabel;
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

    // Click and accessibility press; mouse movement over the row.
    std::function<void()> onClick;
    std::function<void()> onHover;
    // The row's actions, for the context menu.
    std::function<QList<RowAction>()> actions;

    // `accent` is the preference accent; a mode colour set with setAccent takes its place.
    // Favicons may be null (no icons are fetched, the stand-by symbols stay).
    RowView(const Row& row, const QColor& accent, Favicons* favicons, QWidget* parent = nullptr);

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

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void paint();
    void accessory();
    void loadIcon();

    Row row_;
    QColor preferenceAccent_;
    std::optional<QColor> modeColor_;
    Favicons* favicons_;
    bool selected_ = false;
    bool removeHint_ = false;
    std::optional<int> number_;
    bool hasFavicon_ = false;
    QString symbol_;
};

} // namespace kivaro
