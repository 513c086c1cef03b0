#include "ui/ActionMenu.h"

#include "keys/KeyCaps.h"
#include "panel/RowAccessory.h"
#include "ui/Accessible.h"
#include "ui/InkViews.h"
#include "ui/Keycap.h"
#include "ui/ShadowView.h"
#include "ui/Symbols.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>

namespace kivaro {

namespace {

constexpr int itemHeight = 34;
constexpr int itemSpacing = 2;
constexpr int menuListTop = 36;
constexpr int listSide = 6;
constexpr int bottomSpace = 10;
constexpr int separatorRoom = 11;
constexpr double radius = 16;
// Room around the menu for its shadow, which lies in the parent.
constexpr int shadowRoom = 40;

// Runs an action from a copy: running may refill the menu and discard the item.
void runAction(const RowAction& action) {
    const std::function<void()> run = action.run;
    if (run)
        run();
}

} // namespace

ActionItemView::ActionItemView(const RowAction& action, QWidget* parent)
    : QWidget(parent), action_(action),
      caps_(action.shortcut ? Keycap::row(KeyCaps::of(*action.shortcut), this) : nullptr) {
    setFixedHeight(itemHeight);
    setMouseTracking(true);
    setFont(Fonts::system(13));
    Accessible::describe(*this, QAccessible::MenuItem, [this] { runAction(action_); });
    setAccessibleName(action.title);
}

void ActionItemView::setSelected(bool selected) {
    if (selected == selected_)
        return;
    selected_ = selected;
    Accessible::setSelected(*this, selected);
    update();
}

namespace {
constexpr int iconLeading = 10;
constexpr int iconWidth = 18;
constexpr int textLeft = iconLeading + iconWidth + 10;
constexpr int capsTrailing = 8;
constexpr int textBeforeCaps = 10;
} // namespace

int ActionItemView::naturalWidth() const {
    // Advances are rounded; a pixel or two more keeps a title that just fits from being cut.
    const int title = fontMetrics().horizontalAdvance(action_.title) + 2;
    const int caps = caps_ ? caps_->width() + capsTrailing : 0;
    return textLeft + title + textBeforeCaps + caps;
}

void ActionItemView::resizeEvent(QResizeEvent*) {
    if (caps_)
        caps_->move(QWidget::width() - capsTrailing - caps_->width(),
                    (height() - caps_->height()) / 2);
}

void ActionItemView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (selected_)
        fillRounded(painter, QRectF(rect()), 10, Ink::label(0.09).resolve(palette()));
    const Ink ink = action_.danger ? Ink::red() : Ink::label();
    const Ink symbolInk = action_.danger ? Ink::red() : Ink::secondary();
    constexpr int symbolSide = 15;
    painter.drawPixmap(iconLeading + (iconWidth - symbolSide) / 2, (height() - symbolSide) / 2,
                       Symbols::pixmap(action_.symbol, symbolSide, symbolInk.resolve(palette()),
                                       devicePixelRatioF()));
    const int textRight = caps_ ? caps_->x() - textBeforeCaps : QWidget::width() - textBeforeCaps;
    const QRect text(textLeft, 0, std::max(0, textRight - textLeft), height());
    painter.setPen(ink.resolve(palette()));
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter,
                     fontMetrics().elidedText(action_.title, Qt::ElideRight, text.width()));
}

void ActionItemView::mousePressEvent(QMouseEvent*) {
    runAction(action_);
}

void ActionItemView::mouseMoveEvent(QMouseEvent*) {
    if (onHover)
        onHover();
}

ActionMenu::ActionMenu(QWidget* parent)
    : QWidget(parent),
      heading_(new TextLine(Fonts::system(12, QFont::DemiBold), Ink::secondary(), this)) {
    setFocusPolicy(Qt::StrongFocus);
    Accessible::describe(*this, QAccessible::PopupMenu);
    // Hidden first: a hide before the window shows sends no event, and the shadow would
    // stay on for a menu that is not there.
    hide();
    attachShadow();
}

ActionMenu::~ActionMenu() {
    delete shadow_;
}

void ActionMenu::attachShadow() {
    delete shadow_;
    shadow_ = parentWidget() ? new ShadowView(radius, shadowRoom, parentWidget()) : nullptr;
    placeShadow();
}

void ActionMenu::placeShadow() {
    if (!shadow_)
        return;
    shadow_->setGeometry(geometry().adjusted(-shadowRoom, -shadowRoom, shadowRoom, shadowRoom));
    shadow_->setVisible(isVisibleTo(parentWidget()));
    shadow_->stackUnder(this);
}

bool ActionMenu::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::ParentChange:
        attachShadow();
        break;
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
        placeShadow();
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

void ActionMenu::present(const QString& title, const QList<RowAction>& actions) {
    heading_->setText(title);
    setAccessibleName(title);
    shown_ = ActionOrder::dangerLast(actions);
    separatorAt_ = ActionOrder::separatorBefore(shown_);
    selected_ = 0;
    for (ActionItemView* item : std::as_const(items_)) {
        // Later: an item may be the one whose click brought the menu here.
        item->hide();
        item->deleteLater();
    }
    items_.clear();
    for (qsizetype i = 0; i < shown_.size(); ++i) {
        auto* item = new ActionItemView(shown_[i], this);
        item->onHover = [this, i] {
            if (i != selected_)
                select(int(i));
        };
        item->show();
        items_.append(item);
    }
    layoutItems();
    select(0);
    setFocus(Qt::OtherFocusReason);
}

int ActionMenu::preferredHeight() const {
    const int count = std::max(1, int(shown_.size()));
    return itemHeight * count + itemSpacing * (count - 1) + menuListTop + bottomSpace +
           (separatorAt_ ? separatorRoom : 0);
}

int ActionMenu::preferredWidth() const {
    int widest = width;
    for (const ActionItemView* item : items_)
        widest = std::max(widest, item->naturalWidth() + 2 * listSide);
    return std::min(widest, maximumWidth);
}

void ActionMenu::move(int delta) {
    const int count = int(shown_.size());
    if (count == 0)
        return;
    select(((selected_ + delta) % count + count) % count);
}

void ActionMenu::select(int index) {
    selected_ = index;
    for (qsizetype i = 0; i < items_.size(); ++i)
        items_[i]->setSelected(i == index);
}

void ActionMenu::layoutItems() {
    heading_->setGeometry(16, 12, std::max(0, QWidget::width() - 32),
                          heading_->sizeHint().height());
    int y = menuListTop;
    for (qsizetype i = 0; i < items_.size(); ++i) {
        if (separatorAt_ == i) {
            separatorY_ = y + (separatorRoom - itemSpacing) / 2;
            y += separatorRoom;
        }
        items_[i]->setGeometry(listSide, y, QWidget::width() - 2 * listSide, itemHeight);
        y += itemHeight + itemSpacing;
    }
}

void ActionMenu::resizeEvent(QResizeEvent*) {
    layoutItems();
}

void ActionMenu::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF outline = QRectF(rect()).adjusted(0.25, 0.25, -0.25, -0.25);
    QPainterPath shape;
    shape.addRoundedRect(outline, radius, radius);
    // A menu over the rows must keep them from showing through: nearly opaque.
    painter.fillPath(shape, menuFill());
    painter.setPen(QPen(Ink::label(0.12).resolve(palette()), 0.5));
    painter.drawPath(shape);
    if (separatorAt_) {
        const int inset = listSide + 6;
        painter.fillRect(QRectF(inset, separatorY_, QWidget::width() - 2 * inset, 1),
                         Ink::label(0.1).resolve(palette()));
    }
}

QColor ActionMenu::menuFill() const {
    const QColor window = palette().color(QPalette::Window);
    // Lifted a little off the panel, the way a menu sits above its window.
    return (window.lightnessF() < 0.5 ? window.lighter(125) : window.lighter(104));
}

void ActionMenu::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (selected_ < shown_.size())
            runAction(shown_[selected_]);
        return;
    case Qt::Key_Escape:
        if (onDismiss)
            onDismiss();
        return;
    case Qt::Key_Up:
        move(-1);
        return;
    case Qt::Key_Down:
        move(+1);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

} // namespace kivaro
