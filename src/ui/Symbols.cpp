#include "ui/Symbols.h"

#include "panel/Colors.h"

#include <QFile>
#include <QPainter>
#include <QPixmapCache>
#include <QSvgRenderer>

namespace kivaro::Symbols {

namespace {

const QString neutralKey = QStringLiteral("neutral");

Table loadTable() {
    QFile file(QStringLiteral(":/symbols/symbols.tsv"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return parse(QString::fromUtf8(file.readAll()));
}

// The table's own icon for the name, without the disc rule.
std::optional<QString> listed(const QString& symbol) {
    const auto found = table().icons.constFind(symbol);
    if (found == table().icons.constEnd())
        return std::nullopt;
    return *found;
}

std::optional<QString> discBase(const QString& symbol) {
    if (!symbol.endsWith(discSuffix) || listed(symbol))
        return std::nullopt;
    return symbol.chopped(discSuffix.size());
}

QString iconPath(const QString& icon) {
    return QStringLiteral(":/symbols/icons/") + icon + QStringLiteral(".svg");
}

// The icon's SVG drawn into `target` within `box`, its strokes in `color`.
void drawGlyph(QPainter& painter, const QString& symbol, const QRectF& box, const QColor& color) {
    QFile file(iconFile(symbol));
    if (!file.open(QIODevice::ReadOnly))
        return;
    QByteArray svg = file.readAll();
    svg.replace("currentColor", Colors::hex(color).toLatin1());
    QSvgRenderer renderer(svg);
    if (!renderer.isValid())
        return;
    painter.save();
    painter.setOpacity(color.alphaF());
    renderer.render(&painter, box);
    painter.restore();
}

} // namespace

Table parse(const QString& text) {
    Table result;
    for (const QString& line : text.split(u'\n')) {
        if (line.startsWith(u'#'))
            continue;
        const QStringList fields = line.trimmed().split(u'\t', Qt::SkipEmptyParts);
        if (fields.size() != 2)
            continue;
        if (fields[0] == neutralKey)
            result.neutral = fields[1];
        else
            result.icons.insert(fields[0], fields[1]);
    }
    return result;
}

const Table& table() {
    static const Table loaded = loadTable();
    return loaded;
}

bool isMapped(const QString& symbol) {
    if (listed(symbol))
        return true;
    const std::optional<QString> base = discBase(symbol);
    return base && listed(*base);
}

QStringList unmapped(const QStringList& symbols) {
    QStringList missing;
    for (const QString& symbol : symbols) {
        if (!isMapped(symbol))
            missing.append(symbol);
    }
    return missing;
}

QString iconFile(const QString& symbol) {
    const std::optional<QString> base = discBase(symbol);
    return iconPath(listed(base.value_or(symbol)).value_or(table().neutral));
}

QImage image(const QString& symbol, int side, const QColor& color,
             const std::optional<QColor>& disc) {
    QImage canvas(side, side, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF whole(0, 0, side, side);
    const std::optional<QString> base = discBase(symbol);
    if (!base && !disc) {
        drawGlyph(painter, symbol, whole, color);
        return canvas;
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(disc.value_or(color));
    painter.drawEllipse(whole);
    const double inset = side * 0.22;
    drawGlyph(painter, base.value_or(symbol), whole.adjusted(inset, inset, -inset, -inset),
              disc ? color : QColor(Qt::white));
    return canvas;
}

QPixmap pixmap(const QString& symbol, int side, const QColor& color, qreal ratio,
               const std::optional<QColor>& disc) {
    const QString key = QStringLiteral("kivaro-symbol:%1:%2:%3:%4:%5")
                            .arg(symbol)
                            .arg(side)
                            .arg(color.rgba(), 0, 16)
                            .arg(disc ? QString::number(disc->rgba(), 16) : QStringLiteral("-"))
                            .arg(ratio);
    QPixmap drawn;
    if (QPixmapCache::find(key, &drawn))
        return drawn;
    drawn = QPixmap::fromImage(image(symbol, qRound(side * ratio), color, disc));
    drawn.setDevicePixelRatio(ratio);
    QPixmapCache::insert(key, drawn);
    return drawn;
}

} // namespace kivaro::Symbols
