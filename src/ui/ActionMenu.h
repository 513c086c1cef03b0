#pragma once

#include "panel/RowAction.h"

#include <QList>
#include <QWidget>

#include <functional>

class QKeyEvent;
class QLabel;
class QVBoxLayout;

namespace kivaro {

class ActionItemView;

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

    int selected() const { return selected_; }
    // The actions in display order.
    const QList<RowAction>& shown() const { return shown_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* heading_;
    QVBoxLayout* list_;
    QList<RowAction> shown_;
    QList<ActionItemView*> items_;
    int selected_ = 0;
};

} // namespace kivaro
