#include "ui/RowView.h"

#include "favicons/Favicons.h"
#include "keys/KeyCaps.h"
#include "panel/Colors.h"
#include "ui/Accessible.h"
#include "ui/InkViews.h"
#include "ui/Keycap.h"
#include "ui/Symbols.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

namespace kivaro {

namespace {

constexpr double rowRadius = 14;
constexpr int tileLeading = 9;
constexpr int tileSide = 28;
constexpr double tileRadius = 7;
constexpr int rowIconSide = 18;
// A symbol at 14 points fills about 16 of the icon's 18.
constexpr int symbolSide = 16;
constexpr int textLeading = tileLeading + tileSide + 11;
constexpr int textGap = 14;
constexpr int titleDetailSpacing = 8;
constexpr int smallestDetail = 60;
constexpr int arrowTrailing = 10;
constexpr int arrowTileSide = 26;
constexpr int arrowSide = 13;
constexpr int labelGap = 10;
constexpr int capsTrailing = 12;
constexpr int contextSymbolSide = 16;

QString joined(const QString& first, const QString& second) {
    QStringList parts;
    for (const QString& part : {first, second}) {
        if (!part.isEmpty())
            parts.append(part);
    }
    return parts.join(QStringLiteral(", "));
}

QString standBySymbol(const Row& row) {
    if (row.kind == Row::Kind::history)
        return QStringLiteral("clock");
    if (row.kind == Row::Kind::archived)
        return QStringLiteral("archivebox");
    return row.symbol.isEmpty() ? QStringLiteral("globe") : row.symbol;
}

void addRowActions(QMenu& menu, const QList<RowAction>& actions, const QColor& ink, qreal ratio) {
    const QList<RowAction> shown = ActionOrder::dangerLast(actions);
    const std::optional<qsizetype> separator = ActionOrder::separatorBefore(shown);
    for (qsizetype i = 0; i < shown.size(); ++i) {
        if (separator == i)
            menu.addSeparator();
        QAction* item = menu.addAction(
            QIcon(Symbols::pixmap(shown[i].symbol, contextSymbolSide, ink, ratio)), shown[i].title);
        QObject::connect(item, &QAction::triggered, [run = shown[i].run] {
            if (run)
                run();
        });
    }
}

// The title above a section's first row.
class SectionTitle : public QWidget {
public:
    SectionTitle(const QString& text, QWidget* parent)
        : QWidget(parent),
          label_(new TextLine(Fonts::system(12, QFont::Medium), Ink::secondary(), this)) {
        setFixedHeight(RowView::sectionTitleHeight);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        label_->setText(text);
    }

protected:
    void resizeEvent(QResizeEvent*) override {
        constexpr int leading = 14;
        constexpr int aboveBottom = 3;
        const int labelHeight = label_->sizeHint().height();
        label_->setGeometry(leading, height() - aboveBottom - labelHeight,
                            std::max(0, width() - 2 * leading), labelHeight);
    }

private:
    TextLine* label_;
};

} // namespace

struct RowView::Colours {
    QColor fill;
    QColor row;
    QColor tile;
    QColor symbol;
    QColor title;
    QColor detail;
    QColor label;
    QColor arrowTile;
    QColor arrow;
};

RowView::RowView(const Row& row, const QColor& accent, Favicons* favicons, QWidget* parent)
    : QWidget(parent), row_(row), preferenceAccent_(accent), favicons_(favicons) {
    Accessible::describe(*this, QAccessible::Button, [this] { click(); });
    setAccessibleName(joined(row.title, row.detail));
    setWhatsThis(row.label);
    setFixedHeight(height);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    if (!row.keys.isEmpty())
        shortcutKeys_ = Keycap::row(KeyCaps::native(row.keys), this);
    loadIcon();
    accessory();
}

QWidget* RowView::sectionTitle(const QString& text, QWidget* parent) {
    return new SectionTitle(text, parent);
}

void RowView::setAccent(const std::optional<QColor>& modeColor) {
    modeColor_ = modeColor;
    paint();
}

void RowView::setSelected(bool selected) {
    selected_ = selected;
    Accessible::setSelected(*this, selected);
    paint();
}

void RowView::setRemoveHint(bool on) {
    if (on == removeHint_)
        return;
    removeHint_ = on;
    accessory();
}

void RowView::setNumber(std::optional<int> number) {
    if (number == number_)
        return;
    number_ = number;
    accessory();
}

QString RowView::labelText() const {
    return look_.showsArrow ? look_.label : QString();
}

QString RowView::iconSymbol() const {
    return symbol_;
}

void RowView::accessory() {
    delete numberCaps_;
    numberCaps_ = nullptr;
    look_ = RowAccessory::of(row_, removeHint_, number_);
    if (look_.showsNumber) {
        numberCaps_ = Keycap::row(
            KeyCaps::caps(Modifier::command, QString::number(*number_), KeyCaps::nativeStyle()),
            this);
        numberCaps_->show();
    }
    if (shortcutKeys_)
        shortcutKeys_->setVisible(look_.showsKeys);
    placeCaps();
    paint();
}

void RowView::placeCaps() {
    for (QWidget* caps : {shortcutKeys_, numberCaps_}) {
        if (caps)
            caps->move(width() - capsTrailing - caps->width(), (height - caps->height()) / 2);
    }
}

void RowView::resizeEvent(QResizeEvent*) {
    placeCaps();
}

void RowView::paint() {
    const std::optional<QColor> on =
        selected_ ? std::optional(modeColor_.value_or(preferenceAccent_)) : std::nullopt;
    for (QWidget* caps : {shortcutKeys_, numberCaps_}) {
        if (caps)
            Keycap::style(caps, on);
    }
    update();
}

RowView::Colours RowView::colours() const {
    const QColor fill = Colors::selectionFill(modeColor_.value_or(preferenceAccent_));
    const QColor secondary = Ink::secondary().resolve(palette());
    const QColor red = Ink::red().resolve(palette());
    if (selected_) {
        const QColor onFill = Colors::textOn(fill);
        return {fill,   fill,      Qt::white,
                fill,   onFill,    Colors::withAlpha(onFill, 0.72),
                onFill, Qt::white, look_.removing ? red : fill};
    }
    return {fill,
            Qt::transparent,
            Qt::transparent,
            secondary,
            Ink::label().resolve(palette()),
            secondary,
            secondary,
            Ink::label(0.07).resolve(palette()),
            look_.removing ? red : secondary};
}

void RowView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const Colours paints = colours();
    fillRounded(painter, QRectF(rect()), rowRadius, paints.row);
    paintIcon(painter, paints);
    if (look_.showsArrow)
        paintArrow(painter, paints);
    paintText(painter, paints);
}

void RowView::paintIcon(QPainter& painter, const Colours& paints) {
    const QRectF tile(tileLeading, (height - tileSide) / 2.0, tileSide, tileSide);
    fillRounded(painter, tile, tileRadius, paints.tile);
    const qreal ratio = devicePixelRatioF();
    if (hasFavicon_) {
        if (faviconDrawn_.isNull()) {
            faviconDrawn_ =
                QPixmap::fromImage(favicon_.scaled(QSize(rowIconSide, rowIconSide) * ratio,
                                                   Qt::KeepAspectRatio, Qt::SmoothTransformation));
            faviconDrawn_.setDevicePixelRatio(ratio);
        }
        const QSizeF drawn = faviconDrawn_.deviceIndependentSize();
        painter.drawPixmap(
            QPointF(tile.center().x() - drawn.width() / 2, tile.center().y() - drawn.height() / 2),
            faviconDrawn_);
        return;
    }
    const QPixmap symbol = Symbols::pixmap(symbol_, symbolSide, paints.symbol, ratio);
    painter.drawPixmap(
        QPointF(tile.center().x() - symbolSide / 2.0, tile.center().y() - symbolSide / 2.0),
        symbol);
}

void RowView::paintArrow(QPainter& painter, const Colours& paints) {
    const QRectF tile(width() - arrowTrailing - arrowTileSide, (height - arrowTileSide) / 2.0,
                      arrowTileSide, arrowTileSide);
    fillRounded(painter, tile, tileRadius, paints.arrowTile);
    painter.drawPixmap(
        QPointF(tile.center().x() - arrowSide / 2.0, tile.center().y() - arrowSide / 2.0),
        Symbols::pixmap(look_.arrowSymbol, arrowSide, paints.arrow, devicePixelRatioF()));
    if (look_.label.isEmpty())
        return;
    painter.setFont(Fonts::system(13));
    painter.setPen(paints.label);
    const QRectF label(0, 0, tile.left() - labelGap, height);
    painter.drawText(label, Qt::AlignRight | Qt::AlignVCenter, look_.label);
}

int RowView::textEnd() const {
    int end = width();
    if (look_.showsArrow) {
        const int labelRight = width() - arrowTrailing - arrowTileSide - labelGap;
        end = labelRight - QFontMetrics(Fonts::system(13)).horizontalAdvance(look_.label);
    }
    for (const QWidget* caps : {shortcutKeys_, numberCaps_}) {
        if (caps && caps->isVisibleTo(this))
            end = std::min(end, caps->x());
    }
    return end - textGap;
}

void RowView::paintText(QPainter& painter, const Colours& paints) {
    const QFont titleFont = Fonts::system(14, QFont::Medium);
    const QFont detailFont = Fonts::system(13);
    const QFontMetrics titleMetrics(titleFont);
    const QFontMetrics detailMetrics(detailFont);
    const int room = std::max(0, textEnd() - textLeading);
    const QString title = titleMetrics.elidedText(row_.title, Qt::ElideRight, room);
    const int titleWidth = titleMetrics.horizontalAdvance(title);
    // Both sit on the title's baseline, the pair centred in the row.
    const int baseline = (height - titleMetrics.height()) / 2 + titleMetrics.ascent();
    painter.setFont(titleFont);
    painter.setPen(paints.title);
    painter.drawText(textLeading, baseline, title);
    const int detailRoom = room - titleWidth - titleDetailSpacing;
    // A detail cut down to a few letters says nothing: then it gives way entirely.
    if (row_.detail.isEmpty() || detailRoom < smallestDetail)
        return;
    painter.setFont(detailFont);
    painter.setPen(paints.detail);
    painter.drawText(textLeading + titleWidth + titleDetailSpacing, baseline,
                     detailMetrics.elidedText(row_.detail, Qt::ElideRight, detailRoom));
}

void RowView::loadIcon() {
    switch (row_.kind) {
    case Row::Kind::command:
    case Row::Kind::mode:
        symbol_ = row_.symbol;
        return;
    case Row::Kind::search:
        symbol_ = QStringLiteral("magnifyingglass");
        return;
    default:
        break;
    }
    if (row_.host.isEmpty()) {
        symbol_ = QStringLiteral("globe");
        return;
    }
    symbol_ = standBySymbol(row_);
    if (!favicons_)
        return;
    QPointer<RowView> self(this);
    const std::optional<QImage> known = favicons_->image(row_.host, [self](const QImage& image) {
        // A row discarded by a newer render drops its icon.
        if (self)
            self->showFavicon(image);
    });
    if (known)
        showFavicon(*known);
}

void RowView::showFavicon(const QImage& image) {
    if (image.isNull())
        return;
    favicon_ = image;
    faviconDrawn_ = QPixmap();
    hasFavicon_ = true;
    symbol_.clear();
    paint();
}

void RowView::click() {
    // Copied: running the row may discard this view.
    const std::function<void()> run = onClick;
    if (run)
        run();
}

void RowView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        click();
}

void RowView::mouseMoveEvent(QMouseEvent*) {
    if (onHover)
        onHover();
}

std::unique_ptr<QMenu> RowView::contextMenu() const {
    const QList<RowAction> list = actions ? actions() : QList<RowAction>();
    if (list.isEmpty())
        return nullptr;
    auto menu = std::make_unique<QMenu>();
    addRowActions(*menu, list, menu->palette().color(QPalette::WindowText), devicePixelRatioF());
    return menu;
}

void RowView::contextMenuEvent(QContextMenuEvent* event) {
    if (onHover)
        onHover();
    const std::unique_ptr<QMenu> menu = contextMenu();
    if (menu)
        menu->exec(event->globalPos());
}

} // namespace kivaro
