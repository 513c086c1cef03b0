#include "ui/PanelChrome.h"

#include "favicons/Favicons.h"
#include "panel/Colors.h"
#include "panel/Placement.h"
#include "ui/CommandPanel.h"
#include "ui/Desktop.h"
#include "ui/Ink.h"
#include "ui/Motion.h"
#include "ui/PanelPalette.h"
#include "ui/ShadowView.h"
#include "ui/Symbols.h"
#include "ui/TintView.h"
#include "ui/WindowShape.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QVariantAnimation>

namespace kivaro {

namespace {

constexpr int pulseMilliseconds = 700;
constexpr int chipPopMilliseconds = 320;
constexpr int chipHeight = 26;

// The glow of a pulse: a radial gradient in the tone, growing from the chip's centre while it
// fades, clipped to the panel's shape.
class PulseView : public QWidget {
public:
    PulseView(QWidget* parent, const QPointF& centre, double diameter, const QColor& tone)
        : QWidget(parent), centre_(centre), diameter_(diameter), tone_(tone) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

    void setProgress(double progress) {
        progress_ = progress;
        update();
    }

    // Opacity through 0.9, 0.7 and 0 at 0, 0.4 and 1 of the way.
    static double opacityAt(double progress) {
        if (progress < 0.4)
            return 0.9 - 0.2 * progress / 0.4;
        return 0.7 * (1 - (progress - 0.4) / 0.6);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath clip;
        clip.addRoundedRect(QRectF(rect()), PanelChrome::radius, PanelChrome::radius);
        painter.setClipPath(clip);
        painter.setOpacity(opacityAt(progress_));
        const double scale = 0.04 + 0.96 * progress_;
        QRadialGradient glow(centre_, diameter_ / 2 * scale);
        glow.setColorAt(0, Colors::withAlpha(tone_, 0.42));
        glow.setColorAt(0.35, Colors::withAlpha(tone_, 0.12));
        glow.setColorAt(1, Colors::withAlpha(tone_, 0));
        painter.fillRect(rect(), glow);
    }

private:
    QPointF centre_;
    double diameter_;
    QColor tone_;
    double progress_ = 0;
};

} // namespace

PanelChrome::PanelChrome(CommandPanel& window)
    : QWidget(&window), window_(window),
      shadow_(new ShadowView(radius, int(Placement::margin), this)),
      surface_(new SurfaceView(radius, this)), tint_(new TintView(radius, this)),
      wash_(new FillView(radius, this)), fieldIcon_(new QLabel(this)), chip_(new QLabel(this)),
      field_(new QLineEdit(this)) {
    setAttribute(Qt::WA_TranslucentBackground);
    fieldIcon_->setFixedSize(iconSide, iconSide);
    fieldIcon_->setScaledContents(true);
    fieldIcon_->setAttribute(Qt::WA_TransparentForMouseEvents);
    chip_->hide();
    chip_->setContentsMargins(9, 0, 9, 0);
    chip_->setFixedHeight(chipHeight);
    chip_->setFont(Fonts::system(14, QFont::DemiBold));
    // No border, no background, no focus ring: the surface shows through.
    field_->setFrame(false);
    QFont fieldFont = field_->font();
    fieldFont.setPixelSize(19);
    field_->setFont(fieldFont);
    field_->setAttribute(Qt::WA_MacShowFocusRect, false);
    field_->setPlaceholderText(QStringLiteral("Search or enter URL"));
    field_->setAccessibleName(QStringLiteral("Search tabs, history and commands"));
    QPalette clear = field_->palette();
    clear.setColor(QPalette::Base, Qt::transparent);
    field_->setPalette(clear);
    window.routeKeysOf(field_);
    window.setFocusProxy(field_);
    resize(window.size());
    showSymbol(QStringLiteral("magnifyingglass"), FieldIcon::Tint::secondary);
}

QRect PanelChrome::shape() const {
    const int margin = int(Placement::margin);
    return rect().adjusted(margin, margin, -margin, -margin);
}

void PanelChrome::resizeEvent(QResizeEvent*) {
    shadow_->setGeometry(rect());
    const QRect inside = shape();
    for (QWidget* layer : {static_cast<QWidget*>(surface_), static_cast<QWidget*>(tint_),
                           static_cast<QWidget*>(wash_)})
        layer->setGeometry(inside);
    if (pulseView_)
        pulseView_->setGeometry(inside);
    const int iconTop = inside.top() + fieldHeight / 2 - iconSide / 2;
    fieldIcon_->move(inside.left() + iconLeading, iconTop);
    int fieldLeft = inside.left() + iconLeading + iconSide + 12;
    if (chip_->isVisibleTo(this)) {
        chip_->adjustSize();
        chip_->move(fieldLeft, inside.top() + (fieldHeight - chipHeight) / 2);
        fieldLeft += chip_->width() + 8;
    }
    const int trailing = std::max(20, fieldTrailing_);
    field_->setGeometry(fieldLeft, inside.top(), inside.right() - trailing - fieldLeft,
                        fieldHeight);
    WindowShape::fit(window_, *shadow_, *surface_, composited_);
}

void PanelChrome::setComposited(bool composited) {
    composited_ = composited;
    WindowShape::fit(window_, *shadow_, *surface_, composited_);
}

std::optional<double> PanelChrome::place(const Workspace* workspace, const WindowList* windows) {
    const std::optional<Placement::Frame> frame =
        Placement::panel(Desktop::frontWindow(workspace, windows), Desktop::mouse(),
                         Desktop::screens(), QSizeF(window_.size()));
    if (!frame)
        return std::nullopt;
    window_.setGeometry(Desktop::toWindowGeometry(frame->window));
    return frame->top;
}

void PanelChrome::applyAppearance(const PanelStyle& style, const DisplayOptions& display) {
    style_ = style;
    display_ = display;
    window_.setPalette(PanelPalette::forTheme(style.theme));
    surface_->setSolid(display.reduceTransparency);
    // Symbols take the theme's secondary colour.
    if (symbol_)
        showSymbol(symbol_->first, symbolColor(symbol_->second));
    tint_->setStrength(tintStrength(style.opacity, display.reduceTransparency));
    applyTone();
}

void PanelChrome::setModeColor(const std::optional<QColor>& color) {
    modeColor_ = color;
}

QColor PanelChrome::tone() const {
    return modeColor_.value_or(style_.accent);
}

void PanelChrome::applyTone() {
    const QColor fill = Colors::selectionFill(tone());
    const QColor text = Colors::textOn(fill);
    chip_->setStyleSheet(
        QStringLiteral("QLabel { background: %1; color: %2; border-radius: 13px; }")
            .arg(Colors::hex(fill), Colors::hex(text)));
    wash_->setColor(Colors::withAlpha(tone(), modeColor_ ? 0.07 : 0));
    QPalette fieldPalette = field_->palette();
    fieldPalette.setColor(QPalette::Highlight, Colors::withAlpha(tone(), 0.22));
    field_->setPalette(fieldPalette);
}

void PanelChrome::styleEditor() {
    // Qt draws the caret in the text colour; only the selection takes the accent.
    QPalette fieldPalette = field_->palette();
    fieldPalette.setColor(QPalette::Highlight, Colors::withAlpha(style_.accent, 0.22));
    field_->setPalette(fieldPalette);
}

void PanelChrome::showChip(const QString& text) {
    chip_->setText(text);
    chip_->setVisible(!text.isEmpty());
    resizeEvent(nullptr);
}

void PanelChrome::setFieldTrailing(int room) {
    fieldTrailing_ = room;
    resizeEvent(nullptr);
}

void PanelChrome::pulse() {
    if (display_.reduceMotion)
        return;
    if (pulseView_)
        pulseView_->deleteLater();
    const QRect inside = shape();
    const QPointF centre = QRectF(chip_->geometry()).center() - QPointF(inside.topLeft());
    // Measured on the whole window, margin included, so the glow reaches every corner early.
    const double diameter = 2.2 * std::max(width(), height());
    auto* glow = new PulseView(this, centre, diameter, tone());
    glow->setGeometry(inside);
    glow->stackUnder(fieldIcon_);
    glow->show();
    pulseView_ = glow;
    auto* animation = new QVariantAnimation(glow);
    animation->setDuration(pulseMilliseconds);
    animation->setEasingCurve(QEasingCurve::OutCubic);
    animation->setStartValue(0.0);
    animation->setEndValue(1.0);
    connect(animation, &QVariantAnimation::valueChanged, glow,
            [glow](const QVariant& value) { glow->setProgress(value.toDouble()); });
    connect(animation, &QVariantAnimation::finished, glow, &QObject::deleteLater);
    pulseAnimation_ = animation;
    animation->start();
    popChip();
}

void PanelChrome::popChip() {
    if (!chip_->isVisibleTo(this))
        return;
    Motion::springIn(*chip_, 0.7, 0, chipPopMilliseconds, chip_);
}

QColor PanelChrome::symbolColor(FieldIcon::Tint tint) const {
    return tint == FieldIcon::Tint::accent ? style_.accent
                                           : PanelPalette::secondaryLabel(window_.palette());
}

void PanelChrome::showSymbol(const QString& symbol, FieldIcon::Tint tint) {
    symbol_ = {symbol, tint};
    showSymbol(symbol, symbolColor(tint));
}

void PanelChrome::showSymbol(const QString& symbol, const QColor& color) {
    // Drawn once per symbol and colour: the icon is set again on every keystroke.
    fieldIcon_->setPixmap(Symbols::pixmap(symbol, iconSide, color, devicePixelRatioF()));
}

void PanelChrome::showFavicon(const QImage& image) {
    symbol_.reset();
    fieldIcon_->setPixmap(QPixmap::fromImage(image));
}

void PanelChrome::updateFieldIcon(const FieldIcon::Input& input, Favicons* favicons) {
    const FieldIcon::Choice choice = FieldIcon::choose(input);
    if (!choice.host) {
        showSymbol(choice.symbol, choice.tint);
        return;
    }
    const QString host = *choice.host;
    fieldIconHost_ = host;
    std::optional<QImage> known;
    if (favicons) {
        QPointer<PanelChrome> self(this);
        known = favicons->image(host, [self, host](const QImage& image) {
            // Only while the field still shows that host.
            if (self && self->fieldIconHost_ == host)
                self->showFavicon(image);
        });
    }
    if (known)
        showFavicon(*known);
    else
        showSymbol(choice.symbol, choice.tint);
}

} // namespace kivaro
