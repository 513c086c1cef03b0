#pragma once

#include "panel/RowAction.h"

#include <QList>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <optional>

class QKeyEvent;

namespace kivaro {

class ShadowView;
class TextLine;

// One line of the menu: the action's symbol, title and keys. A click runs the action; the
// mouse moving over it selects it.
class ActionItemView : public QWidget {
    Q_OBJECT

public:
    std::function<void()> onHover;

    explicit ActionItemView(const RowAction& action, QWidget* parent = nullptr);

    const RowAction& action() const { return action_; }
    bool isSelected() const { return selected_; }
    void setSelected(bool selected);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    RowAction action_;
    QWidget* caps_;
    bool selected_ = false;
};

// The ⌘K menu over the lower right of the panel: the selected row's actions, the
// destructive ones last after a separator. Return runs the selected action, Esc dismisses,
// the arrows move with wrapping.
class ActionMenu : public QWidget {
    Q_OBJECT

public:
    static constexpr int width = 340;

    // Run on Esc; the controller closes the menu and gives the field the keyboard back.
    std::function<void()> onDismiss;

    explicit ActionMenu(QWidget* parent = nullptr);

    // Fills the menu for the row titled `title`, selects the first action and takes focus.
    void present(const QString& title, const QList<RowAction>& actions);
    // 34 per item, 2 between items, 36 + 10 around them, 11 more for a separator.
    int preferredHeight() const;
    // Moves the selection by `delta`, wrapping; nothing without actions.
    void move(int delta);
    using QWidget::move;

    int selected() const { return selected_; }
    // The actions in display order.
    const QList<RowAction>& shown() const { return shown_; }
    const QList<ActionItemView*>& items() const { return items_; }
    // Where the separator line is drawn, when the menu holds both kinds of action.
    std::optional<qsizetype> separatorBefore() const { return separatorAt_; }

    ~ActionMenu() override;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void select(int index);
    void layoutItems();
    // The shadow lies in the parent, around the menu, because a widget paints only inside
    // itself.
    void attachShadow();
    void placeShadow();
    QColor menuFill() const;

    TextLine* heading_;
    QList<RowAction> shown_;
    QList<ActionItemView*> items_;
    std::optional<qsizetype> separatorAt_;
    int separatorY_ = 0;
    int selected_ = 0;
    QPointer<ShadowView> shadow_;
};

} // namespace kivaro
