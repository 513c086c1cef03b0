#pragma once

#include "browsers/Action.h"
#include "panel/RowAction.h"

#include <QWidget>

#include <optional>

class QHBoxLayout;
class QLabel;

namespace kivaro {

// The bar along the bottom of the panel: the open mode (or the special mode) on the left,
// the selected row's primary action and "Actions ⌘K" on the right.
class ActionBar : public QWidget {
    Q_OBJECT

public:
    static constexpr int height = 38;

    // A special mode's title and symbol: developer tools or a site search.
    struct Special {
        QString title;
        QString symbol;
    };

    explicit ActionBar(QWidget* parent = nullptr);

    void update(OpenMode mode, const std::optional<Special>& special,
                const std::optional<RowAction>& primary);

    // What the bar says, for the accessibility tree and for tests.
    QString modeText() const;
    // The right side's hints in order, each as its text followed by its keys.
    QStringList hints() const;

private:
    QLabel* modeIcon_;
    QLabel* modeLabel_;
    QHBoxLayout* right_;
};

} // namespace kivaro
