#include "ui/InkViews.h"

#include "ui/Accessible.h"
#include "ui/Symbols.h"

#include <QPainter>

namespace kivaro {

SymbolView::SymbolView(int side, const Ink& ink, QWidget* parent)
    : QWidget(parent), side_(side), ink_(ink) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFixedSize(side, side);
}

void SymbolView::setSymbol(const QString& symbol) {
    symbol_ = symbol;
    update();
}

void SymbolView::paintEvent(QPaintEvent*) {
    if (symbol_.isEmpty())
        return;
    QPainter painter(this);
    const QPixmap drawn =
        Symbols::pixmap(symbol_, side_, ink_.resolve(palette()), devicePixelRatioF());
    painter.drawPixmap((width() - side_) / 2, (height() - side_) / 2, drawn);
}

TextLine::TextLine(const QFont& font, const Ink& ink, QWidget* parent)
    : QWidget(parent), ink_(ink) {
    Accessible::describe(*this, QAccessible::StaticText);
    setFont(font);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void TextLine::setText(const QString& text) {
    if (text == text_)
        return;
    text_ = text;
    setAccessibleName(text);
    updateGeometry();
    update();
}

void TextLine::setInk(const Ink& ink) {
    ink_ = ink;
    update();
}

QString TextLine::shownText() const {
    return fontMetrics().elidedText(text_, Qt::ElideRight, width());
}

QSize TextLine::sizeHint() const {
    return {fontMetrics().horizontalAdvance(text_) + 1, fontMetrics().height()};
}

QSize TextLine::minimumSizeHint() const {
    return {0, fontMetrics().height()};
}

void TextLine::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(ink_.resolve(palette()));
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter, shownText());
}

} // namespace kivaro
