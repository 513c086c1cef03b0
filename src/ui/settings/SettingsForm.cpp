#include "ui/settings/SettingsForm.h"

#include "panel/Colors.h"
#include "panel/KeyPress.h"
#include "ui/PanelPalette.h"
#include "ui/Symbols.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

namespace kivaro {

namespace {

constexpr int highlightMs = 2200;

QLabel* titleLabel(const QString& text, int pointSize, bool bold, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    label->setFont(font);
    label->setWordWrap(true);
    return label;
}

} // namespace

Toggle::Toggle(QWidget* parent) : QAbstractButton(parent) {
    setCheckable(true);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
}

QSize Toggle::sizeHint() const {
    return {38, 22};
}

void Toggle::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF track = QRectF(rect()).adjusted(1, 1, -1, -1);
    const QColor on = palette().color(QPalette::Highlight);
    const QColor off = Colors::withAlpha(palette().color(QPalette::WindowText), 0.18);
    painter.setPen(Qt::NoPen);
    painter.setBrush(isChecked() ? on : off);
    if (!isEnabled())
        painter.setOpacity(0.45);
    painter.drawRoundedRect(track, track.height() / 2, track.height() / 2);
    const double knob = track.height() - 4;
    const double x = isChecked() ? track.right() - knob - 2 : track.left() + 2;
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRectF(x, track.top() + 2, knob, knob));
}

QPixmap symbolTile(const QString& symbol, const QColor& tint, int side, qreal ratio) {
    QPixmap tile(QSize(side, side) * ratio);
    tile.setDevicePixelRatio(ratio);
    tile.fill(Qt::transparent);
    QPainter painter(&tile);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    // A translucent tint (the shortcuts pane's) sits on grey so it shows on white.
    if (tint.alpha() < 255)
        painter.setBrush(QColor(99, 99, 102));
    else
        painter.setBrush(tint);
    painter.drawRoundedRect(QRectF(0, 0, side, side), side * 0.24, side * 0.24);
    const int glyph = qRound(side * 0.6);
    const QImage image = Symbols::image(symbol, int(glyph * ratio), Qt::white);
    const double offset = (side - glyph) / 2.0;
    painter.drawImage(QRectF(offset, offset, glyph, glyph), image);
    return tile;
}

QLabel* noteLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 0.88);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, PanelPalette::secondaryLabel(palette));
    label->setPalette(palette);
    return label;
}

SettingsForm::SettingsForm(SettingsPane pane, QWidget* parent)
    : QScrollArea(parent), pane_(pane), page_(new QWidget), pageLayout_(new QVBoxLayout(page_)) {
    setObjectName(pane.rawValue());
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    pageLayout_->setContentsMargins(28, 24, 28, 28);
    pageLayout_->setSpacing(14);
    auto* header = new QHBoxLayout;
    header->setSpacing(14);
    auto* icon = new QLabel(page_);
    icon->setPixmap(symbolTile(pane.symbol(), pane.tint(), 44, devicePixelRatioF()));
    header->addWidget(icon, 0, Qt::AlignTop);
    auto* words = new QVBoxLayout;
    words->setSpacing(2);
    words->addWidget(titleLabel(pane.title(), 20, true, page_));
    words->addWidget(noteLabel(KeyPress::nativeText(pane.description()), page_));
    header->addLayout(words, 1);
    pageLayout_->addLayout(header);
    pageLayout_->addStretch(1);
    setWidget(page_);
}

void SettingsForm::beginCard(const QString& title) {
    const int at = pageLayout_->count() - 1; // before the stretch
    if (!title.isEmpty()) {
        auto* heading = titleLabel(title, 11, true, page_);
        heading->setContentsMargins(4, 8, 0, 0);
        pageLayout_->insertWidget(at, heading);
    }
    auto* card = new QFrame(page_);
    card->setObjectName(QStringLiteral("card"));
    card->setStyleSheet(
        QStringLiteral("QFrame#card { background: palette(base); border-radius: 10px;"
                       " border: 1px solid rgba(128,128,128,50); }"));
    card_ = new QVBoxLayout(card);
    card_->setContentsMargins(14, 6, 14, 6);
    card_->setSpacing(0);
    pageLayout_->insertWidget(pageLayout_->count() - 1, card);
}

QWidget* SettingsForm::separatedRow() {
    if (!card_)
        beginCard();
    if (card_->count() > 0) {
        auto* line = new QFrame;
        line->setFixedHeight(1);
        line->setStyleSheet(QStringLiteral("background: rgba(128,128,128,45);"));
        card_->addWidget(line);
    }
    auto* row = new QWidget;
    row->setAutoFillBackground(false);
    card_->addWidget(row);
    return row;
}

QWidget* SettingsForm::addRow(const QString& id, const QString& title, QWidget* control,
                              const QString& note) {
    QWidget* row = separatedRow();
    auto* column = new QVBoxLayout(row);
    column->setContentsMargins(0, 9, 0, 9);
    column->setSpacing(4);
    auto* line = new QHBoxLayout;
    auto* label = new QLabel(title, row);
    label->setWordWrap(true);
    line->addWidget(label, 1);
    if (control)
        line->addWidget(control, 0, Qt::AlignRight | Qt::AlignVCenter);
    column->addLayout(line);
    if (!note.isEmpty())
        column->addWidget(noteLabel(note, row));
    if (!id.isEmpty())
        anchors_.insert(id, row);
    return row;
}

QWidget* SettingsForm::addWidget(const QString& id, QWidget* widget) {
    QWidget* row = separatedRow();
    auto* column = new QVBoxLayout(row);
    column->setContentsMargins(0, 9, 0, 9);
    column->addWidget(widget);
    if (!id.isEmpty())
        anchors_.insert(id, row);
    return row;
}

QLabel* SettingsForm::addFooter(const QString& text) {
    auto* label = noteLabel(text, page_);
    label->setContentsMargins(4, 0, 4, 0);
    pageLayout_->insertWidget(pageLayout_->count() - 1, label);
    return label;
}

void SettingsForm::reload() {
    for (const auto& reader : std::as_const(readers_))
        reader();
}

void SettingsForm::reveal(const QString& id) {
    QWidget* row = anchors_.value(id);
    if (!row)
        return;
    page_->layout()->activate();
    ensureWidgetVisible(row, 0, 40);
    row->setAutoFillBackground(true);
    QPalette palette = row->palette();
    palette.setColor(QPalette::Window, Colors::withAlpha(palette.color(QPalette::Highlight), 0.16));
    row->setPalette(palette);
    QTimer::singleShot(highlightMs, row, [row] { row->setAutoFillBackground(false); });
}

} // namespace kivaro
