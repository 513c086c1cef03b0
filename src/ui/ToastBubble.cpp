#include "ui/ToastBubble.h"

#include "panel/Colors.h"
#include "panel/FrontWindow.h"
#include "panel/ToastLayout.h"
#include "platform/Workspace.h"
#include "ui/Desktop.h"
#include "ui/Motion.h"
#include "ui/PanelPalette.h"
#include "ui/ShadowView.h"
#include "ui/Symbols.h"
#include "ui/TintView.h"
#include "ui/WindowShape.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>

#include <cmath>

namespace kivaro {

namespace {

constexpr int margin = int(ToastLayout::margin);
constexpr int popMilliseconds = 260;
constexpr int fadeInMilliseconds = 80;
constexpr int leaveMilliseconds = 160;
constexpr int growMilliseconds = 300;
constexpr int checkFadeMilliseconds = 60;
constexpr int bounceMilliseconds = 280;
constexpr int iconSide = int(ToastLayout::iconSize);

int milliseconds(double seconds) {
    return int(std::lround(seconds * 1000));
}

QPropertyAnimation* leavePart(Transform& motion, const char* property, double to, QObject* group) {
    auto* part = new QPropertyAnimation(&motion, property, group);
    part->setDuration(leaveMilliseconds);
    part->setStartValue(motion.property(property));
    part->setEndValue(to);
    QEasingCurve curve(QEasingCurve::BezierSpline);
    curve.addCubicBezierSegment(QPointF(0.4, 0), QPointF(1, 1), QPointF(1, 1));
    part->setEasingCurve(curve);
    return part;
}

} // namespace

ToastBubble::ToastBubble(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                          Qt::WindowDoesNotAcceptFocus | Qt::WindowTransparentForInput |
                          Qt::NoDropShadowWindowHint),
      display_(PanelPalette::displayOptions), screens_(Desktop::screens),
      content_(new QWidget(this)), motion_(&Motion::transformOf(*content_)),
      shadow_(new ShadowView(ToastLayout::cornerRadius, margin, content_)),
      bubble_(new SurfaceView(ToastLayout::cornerRadius, content_)), icon_(new QLabel(bubble_)),
      check_(new QLabel(bubble_)), label_(new QLabel(bubble_)) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    // Fading and scaling are drawn by the bubble itself: not every window system fades whole
    // windows, and none scales them.
    for (QLabel* view : {icon_, check_}) {
        view->setFixedSize(iconSide, iconSide);
        view->setAlignment(Qt::AlignCenter);
    }
    check_->hide();
    QFont font = label_->font();
    font.setPixelSize(13);
    font.setWeight(QFont::DemiBold);
    label_->setFont(font);
    label_->setTextFormat(Qt::PlainText);
    hideTimer_.setSingleShot(true);
    confirmTimer_.setSingleShot(true);
    connect(&hideTimer_, &QTimer::timeout, this, &ToastBubble::leave);
    connect(&confirmTimer_, &QTimer::timeout, this, &ToastBubble::confirm);
}

ToastBubble& ToastBubble::shared() {
    static QPointer<ToastBubble> instance;
    if (!instance) {
        instance = new ToastBubble;
        // Widgets must go before the application object does.
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, instance.data(),
                         [] { delete instance.data(); });
    }
    return *instance;
}

void ToastBubble::setDesktop(const Workspace* workspace, const WindowList* windows) {
    workspace_ = workspace;
    windows_ = windows;
}

void ToastBubble::setStyle(const PanelStyle& style) {
    style_ = style;
}

void ToastBubble::setDisplaySource(std::function<DisplayOptions()> source) {
    display_ = std::move(source);
}

void ToastBubble::setDisplay(const DisplayOptions& display) {
    display_ = [display] { return display; };
}

void ToastBubble::setScreens(std::function<QList<ScreenArea>()> screens) {
    screens_ = std::move(screens);
}

PanelStyle ToastBubble::currentStyle() const {
    // Until the program hands over the appearance settings, the default look.
    return style_.value_or(PanelStyle{.accent = PanelPalette::systemAccent()});
}

bool ToastBubble::isLeaving() const {
    return leaveAnimation_ && leaveAnimation_->state() == QAbstractAnimation::Running;
}

double ToastBubble::opacity() const {
    return motion_->opacity();
}

std::optional<QRectF> ToastBubble::placement(int textWidth) const {
    const QList<ScreenArea> screens = screens_ ? screens_() : QList<ScreenArea>();
    const std::optional<QRectF> front = screens.isEmpty() || !workspace_ || !windows_
                                            ? std::nullopt
                                            : FrontWindow::frame(*workspace_, *windows_, screens);
    return ToastLayout::frame(front, FrontWindow::screen(front, Desktop::mouse(), screens),
                              textWidth);
}

void ToastBubble::show(const QString& text, const QString& symbol,
                       const std::optional<QString>& done) {
    announce(text);
    const int textWidth = ToastLayout::textWidth(label_->fontMetrics().horizontalAdvance(text) + 1);
    // Without a screen nothing is shown, and a message on its way out finishes leaving.
    const std::optional<QRectF> frame = placement(textWidth);
    if (!frame)
        return;
    reduceMotion_ = display_ ? display_().reduceMotion : false;
    composited_ = !workspace_ || workspace_->compositing();
    const PanelStyle style = currentStyle();
    setPalette(PanelPalette::forTheme(style.theme));
    stopAnimations();
    check_->hide();
    icon_->show();
    setIcon(symbol, done, style.accent);
    label_->setText(text);
    setGeometry(Desktop::toWindowGeometry(*frame));
    layoutBubble(textWidth);

    hideTimer_.stop();
    confirmTimer_.stop();
    appear();
    if (setDoneImage(done, style.accent))
        confirmTimer_.start(milliseconds(ToastLayout::confirmDelay));
    else
        bounceIcon();
    hideTimer_.start(milliseconds(ToastLayout::duration(text)));
}

void ToastBubble::setIcon(const QString& symbol, const std::optional<QString>& done,
                          const QColor& accent) {
    const qreal ratio = devicePixelRatioF();
    icon_->setPixmap(done ? Symbols::pixmap(symbol + Symbols::discSuffix, ToastLayout::discSize,
                                            QColor(Qt::white), ratio, PanelPalette::systemGrey())
                          : Symbols::pixmap(symbol, ToastLayout::glyphSize, accent, ratio));
}

bool ToastBubble::setDoneImage(const std::optional<QString>& done, const QColor& accent) {
    if (!done)
        return false;
    check_->setPixmap(Symbols::pixmap(*done, ToastLayout::discSize, QColor(Qt::white),
                                      devicePixelRatioF(), Colors::selectionFill(accent)));
    return true;
}

void ToastBubble::layoutBubble(int textWidth) {
    content_->setGeometry(rect());
    shadow_->setGeometry(rect());
    bubble_->setGeometry(rect().adjusted(margin, margin, -margin, -margin));
    const int iconTop = (int(ToastLayout::height) - iconSide) / 2;
    icon_->move(int(ToastLayout::iconLeading), iconTop);
    check_->move(icon_->pos());
    const int labelLeft =
        int(ToastLayout::iconLeading + ToastLayout::iconSize + ToastLayout::iconGap);
    label_->setText(label_->fontMetrics().elidedText(label_->text(), Qt::ElideRight, textWidth));
    label_->setGeometry(labelLeft, 0, textWidth, int(ToastLayout::height));
    WindowShape::fit(*this, *shadow_, *bubble_, composited_);
}

bool ToastBubble::movesWindow() const {
    // A window cut to its shape cannot scale or fade: its clear pixels would show black.
    return !reduceMotion_ && composited_;
}

void ToastBubble::stopAnimations() {
    // Stopped animations delete themselves; a stopped leave never hides the new message.
    const auto running = findChildren<QAbstractAnimation*>(Qt::FindDirectChildrenOnly);
    for (QAbstractAnimation* animation : running)
        animation->stop();
    for (QWidget* view : {static_cast<QWidget*>(icon_), static_cast<QWidget*>(check_)})
        Motion::transformOf(*view).reset();
    motion_->reset();
}

void ToastBubble::appear() {
    QWidget::show();
    if (!movesWindow())
        return;
    Motion::springIn(*content_, 0.8, 6, popMilliseconds, this);
    Motion::fadeIn(*content_, fadeInMilliseconds, this);
}

void ToastBubble::bounceIcon() {
    if (reduceMotion_)
        return;
    auto* bounce = new QPropertyAnimation(&Motion::transformOf(*icon_), "lift", this);
    bounce->setDuration(bounceMilliseconds);
    bounce->setKeyValueAt(0, 0.0);
    bounce->setKeyValueAt(0.4, 4.0);
    bounce->setKeyValueAt(1, 0.0);
    bounce->setEasingCurve(QEasingCurve::OutQuad);
    bounce->start(QAbstractAnimation::DeleteWhenStopped);
}

void ToastBubble::confirm() {
    icon_->hide();
    check_->show();
    if (reduceMotion_)
        return;
    Motion::springIn(*check_, 0.4, 0, growMilliseconds, this);
    Motion::fadeIn(*check_, checkFadeMilliseconds, this);
}

void ToastBubble::leave() {
    confirmTimer_.stop();
    if (!movesWindow()) {
        hide();
        return;
    }
    auto* group = new QParallelAnimationGroup(this);
    group->addAnimation(leavePart(*motion_, "scale", 0.92, group));
    group->addAnimation(leavePart(*motion_, "lift", 4, group));
    group->addAnimation(leavePart(*motion_, "opacity", 0, group));
    // A newer message stops this animation, so it only hides the bubble it faded out.
    connect(group, &QAbstractAnimation::finished, this, &QWidget::hide);
    leaveAnimation_ = group;
    group->start(QAbstractAnimation::DeleteWhenStopped);
}

void ToastBubble::announce(const QString& text) {
    setAccessibleName(text);
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

} // namespace kivaro
