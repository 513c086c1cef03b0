#include "ui/ToastBubble.h"

#include "panel/Colors.h"
#include "panel/FrontWindow.h"
#include "panel/ToastLayout.h"
#include "ui/Desktop.h"
#include "ui/Motion.h"
#include "ui/PanelPalette.h"
#include "ui/ShadowView.h"
#include "ui/Symbols.h"
#include "ui/TintView.h"

#include <QAccessible>
#include <QApplication>
#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>
#include <QSequentialAnimationGroup>

#include <cmath>

namespace kivaro {

namespace {

constexpr int margin = int(ToastLayout::margin);
constexpr int popMilliseconds = 260;
constexpr int fadeInMilliseconds = 80;
constexpr int leaveMilliseconds = 160;
constexpr int growMilliseconds = 300;
constexpr int iconSide = int(ToastLayout::iconSize);

int milliseconds(double seconds) {
    return int(std::lround(seconds * 1000));
}

QPixmap pixmapOf(const QImage& image, qreal ratio) {
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

} // namespace

ToastBubble::ToastBubble(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                          Qt::WindowDoesNotAcceptFocus | Qt::WindowTransparentForInput |
                          Qt::NoDropShadowWindowHint),
      content_(new QWidget(this)), fade_(new QGraphicsOpacityEffect(content_)),
      shadow_(new ShadowView(ToastLayout::cornerRadius, margin, content_)),
      bubble_(new SurfaceView(ToastLayout::cornerRadius, content_)), icon_(new QLabel(bubble_)),
      check_(new QLabel(bubble_)), label_(new QLabel(bubble_)) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    // Fading is drawn by the bubble itself: not every window system fades whole windows.
    fade_->setOpacity(1);
    content_->setGraphicsEffect(fade_);
    display_ = PanelPalette::displayOptions();
    for (QLabel* view : {icon_, check_}) {
        view->setFixedSize(iconSide, iconSide);
        view->setScaledContents(true);
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

void ToastBubble::setDisplay(const DisplayOptions& display) {
    display_ = display;
}

PanelStyle ToastBubble::currentStyle() const {
    // Until the program hands over the appearance settings, the default look.
    return style_.value_or(PanelStyle{.accent = PanelPalette::systemAccent()});
}

bool ToastBubble::isLeaving() const {
    return leaveAnimation_ && leaveAnimation_->state() == QAbstractAnimation::Running;
}

double ToastBubble::opacity() const {
    return fade_->opacity();
}

void ToastBubble::show(const QString& text, const QString& symbol,
                       const std::optional<QString>& done) {
    const PanelStyle style = currentStyle();
    setPalette(PanelPalette::forTheme(style.theme));
    stopAnimations();
    check_->hide();
    icon_->show();
    setIcon(symbol, done, style.accent);

    label_->setText(text);
    const int textWidth = ToastLayout::textWidth(label_->fontMetrics().horizontalAdvance(text) + 1);
    announce(text);

    const std::optional<QRectF> front = Desktop::frontWindow(workspace_, windows_);
    const std::optional<ScreenArea> screen =
        FrontWindow::screen(front, Desktop::mouse(), Desktop::screens());
    const std::optional<QRectF> frame = ToastLayout::frame(front, screen, textWidth);
    if (!frame)
        return;
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
    const int side = int(iconSide * ratio);
    const QImage image = done ? Symbols::image(symbol + Symbols::discSuffix, side,
                                               QColor(Qt::white), PanelPalette::systemGrey())
                              : Symbols::image(symbol, side, accent);
    icon_->setPixmap(pixmapOf(image, ratio));
}

bool ToastBubble::setDoneImage(const std::optional<QString>& done, const QColor& accent) {
    if (!done)
        return false;
    const qreal ratio = devicePixelRatioF();
    check_->setPixmap(pixmapOf(Symbols::image(*done, int(iconSide * ratio), QColor(Qt::white),
                                              Colors::selectionFill(accent)),
                               ratio));
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
}

void ToastBubble::stopAnimations() {
    // Stopped animations delete themselves; a stopped leave never hides the new message.
    const auto running = findChildren<QAbstractAnimation*>(Qt::FindDirectChildrenOnly);
    for (QAbstractAnimation* animation : running)
        animation->stop();
}

void ToastBubble::appear() {
    fade_->setOpacity(1);
    QWidget::show();
    if (display_.reduceMotion)
        return;
    Motion::springIn(*bubble_, 0.8, 6, popMilliseconds, this);
    auto* fade = new QPropertyAnimation(fade_, "opacity", this);
    fade->setDuration(fadeInMilliseconds);
    fade->setStartValue(0.0);
    fade->setEndValue(1.0);
    fade->start(QAbstractAnimation::DeleteWhenStopped);
}

void ToastBubble::bounceIcon() {
    if (display_.reduceMotion)
        return;
    const QPoint rest = icon_->pos();
    auto* bounce = new QPropertyAnimation(icon_, "pos", this);
    bounce->setDuration(280);
    bounce->setKeyValueAt(0, rest);
    bounce->setKeyValueAt(0.4, rest - QPoint(0, 4));
    bounce->setKeyValueAt(1, rest);
    bounce->setEasingCurve(QEasingCurve::OutQuad);
    bounce->start(QAbstractAnimation::DeleteWhenStopped);
}

void ToastBubble::confirm() {
    icon_->hide();
    check_->show();
    if (display_.reduceMotion)
        return;
    Motion::springIn(*check_, 0.4, 0, growMilliseconds, this);
}

void ToastBubble::leave() {
    confirmTimer_.stop();
    if (display_.reduceMotion) {
        hide();
        return;
    }
    const QRect full = bubble_->geometry();
    auto* group = new QParallelAnimationGroup(this);
    auto* shrink = new QPropertyAnimation(bubble_, "geometry", group);
    shrink->setDuration(leaveMilliseconds);
    shrink->setStartValue(full);
    shrink->setEndValue(Motion::scaledAbout(full, 0.92, 4));
    auto* fade = new QPropertyAnimation(fade_, "opacity", group);
    fade->setDuration(leaveMilliseconds);
    QEasingCurve curve(QEasingCurve::BezierSpline);
    curve.addCubicBezierSegment(QPointF(0.4, 0), QPointF(1, 1), QPointF(1, 1));
    fade->setEasingCurve(curve);
    shrink->setEasingCurve(curve);
    fade->setStartValue(1.0);
    fade->setEndValue(0.0);
    group->addAnimation(shrink);
    group->addAnimation(fade);
    // A newer message stops this animation, so it only hides the bubble it faded out.
    connect(group, &QAbstractAnimation::finished, this, [this, full] {
        hide();
        bubble_->setGeometry(full);
    });
    leaveAnimation_ = group;
    group->start(QAbstractAnimation::DeleteWhenStopped);
}

void ToastBubble::announce(const QString& text) {
    setAccessibleName(text);
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

} // namespace kivaro
