#pragma once

#include "browsers/Action.h"
#include "panel/RowAction.h"

#include <QWidget>

#include <optional>

class QHBoxLayout;

namespace kivaro {

class SymbolView;
class TextLine;

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

    using QWidget::update;
    void update(OpenMode mode, const std::optional<Special>& special,
                const std::optional<RowAction>& primary);

    // One hint: the text (12, medium, secondary) followed by its caps.
    static QWidget* item(const QString& text, const QStringList& keys, QWidget* parent = nullptr);

    // What the bar says, for the accessibility tree and for tests.
    QString modeText() const;
    // The right side's hints in order, each as its text followed by its keys.
    QStringList hints() const;

private:
    void addHint(const QString& text, const QStringList& keys);

    SymbolView* modeIcon_;
    TextLine* modeLabel_;
    QHBoxLayout* right_;
    QStringList hints_;
};

} // namespace kivaro
