#pragma once

#include "panel/FieldIcon.h"
#include "panel/PanelStyle.h"

#include <QColor>
#include <QPointer>
#include <QVariantAnimation>
#include <QWidget>

#include <optional>
#include <utility>

class QLabel;
class QLineEdit;

namespace kivaro {

class CommandPanel;
class Favicons;
class FillView;
class ShadowView;
class SurfaceView;
class TintView;
class WindowList;
class Workspace;

// The panel's look: shadow, translucent surface, opacity tint, mode wash and pulse, the mode
// chip, the field icon and the query field. It fills its CommandPanel and places it over the
// browser's front window. Main thread only.
class PanelChrome : public QWidget {
    Q_OBJECT

public:
    static constexpr double radius = 22;
    static constexpr int fieldHeight = 60;
    static constexpr int iconSide = 20;
    static constexpr int iconLeading = 22;

    explicit PanelChrome(CommandPanel& window);

    // Puts the window over the front window found through the adapters (or on the screen
    // under the mouse); returns the window's top edge in desktop coordinates, nothing when
    // there is no screen (the window then stays where it is).
    std::optional<double> place(const Workspace* workspace, const WindowList* windows);

    // Whether the desktop blends the window's clear margin; without it the window is cut to
    // the panel's shape (WindowShape). Asked on every opening.
    void setComposited(bool composited);
    bool isComposited() const { return composited_; }

    // Theme, opacity tint and tone, run on every opening.
    void applyAppearance(const PanelStyle& style, const DisplayOptions& display);
    // The chip, the wash and the field's selection in the current tone.
    void applyTone();
    // The caret and selection of the field in the accent colour.
    void styleEditor();
    // A short radial glow from the chip and a pop of the chip, when a site mode starts.
    void pulse();
    // Shows the icon the field rule chooses, fetching a favicon through `favicons`.
    void updateFieldIcon(const FieldIcon::Input& input, Favicons* favicons);

    // A mode's own colour; the tone falls back to the accent without one.
    void setModeColor(const std::optional<QColor>& color);
    QColor tone() const;
    void showChip(const QString& text);
    // Room kept free at the right of the field (for the Tab hint); 0 for none.
    void setFieldTrailing(int room);

    const PanelStyle& style() const { return style_; }
    const DisplayOptions& display() const { return display_; }
    TintView& tint() const { return *tint_; }
    SurfaceView& surface() const { return *surface_; }
    FillView& wash() const { return *wash_; }
    ShadowView& shadow() const { return *shadow_; }
    QLabel& chip() const { return *chip_; }
    QLabel& fieldIcon() const { return *fieldIcon_; }
    QLineEdit& field() const { return *field_; }
    QString fieldIconHost() const { return fieldIconHost_; }
    // The running pulse's glow, while there is one.
    QWidget* pulseView() const { return pulseView_; }
    QVariantAnimation* pulseAnimation() const { return pulseAnimation_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QRect shape() const;
    QColor symbolColor(FieldIcon::Tint tint) const;
    void showSymbol(const QString& symbol, FieldIcon::Tint tint);
    void showSymbol(const QString& symbol, const QColor& color);
    void showFavicon(const QImage& image);
    void popChip();

    CommandPanel& window_;
    ShadowView* shadow_;
    SurfaceView* surface_;
    TintView* tint_;
    FillView* wash_;
    QLabel* fieldIcon_;
    QLabel* chip_;
    QLineEdit* field_;
    QPointer<QWidget> pulseView_;
    QPointer<QVariantAnimation> pulseAnimation_;
    PanelStyle style_;
    DisplayOptions display_;
    std::optional<QColor> modeColor_;
    QString fieldIconHost_;
    int fieldTrailing_ = 0;
    bool composited_ = true;
    // The symbol the field icon shows, when it shows one rather than a favicon.
    std::optional<std::pair<QString, FieldIcon::Tint>> symbol_;
};

} // namespace kivaro
