#pragma once

#include <QColor>
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <QStringList>

#include <optional>

namespace kivaro {

// The program names its icons by macOS system-symbol names ("magnifyingglass", "pin.slash");
// one table (resources/symbols.tsv) maps each to an icon of the bundled SVG set.
namespace Symbols {

// The table: symbol name → icon name, and the neutral icon for names it does not know.
struct Table {
    QHash<QString, QString> icons;
    QString neutral;

    bool operator==(const Table&) const = default;
};

// Reads the table's text: one "name<TAB>icon" a line, '#' comments, the name "neutral" for
// the fallback. Malformed lines are skipped.
Table parse(const QString& text);

// The compiled-in table.
const Table& table();

// A name ending in ".circle.fill" that the table lacks is drawn as its base name in a disc.
inline const QString discSuffix = QStringLiteral(".circle.fill");

// Whether the name has an icon of its own (directly, or as a disc of a mapped base name).
bool isMapped(const QString& symbol);

// The names of `symbols` that have no icon, in the given order.
QStringList unmapped(const QStringList& symbols);

// The SVG file of the icon the name stands for (the neutral one when unmapped).
QString iconFile(const QString& symbol);

// The symbol drawn `side` pixels square in `color`. A disc symbol (or any symbol given a
// `disc` colour) is a filled disc with the glyph inside: the disc in `disc` (or `color`),
// the glyph in `color` (or white).
QImage image(const QString& symbol, int side, const QColor& color,
             const std::optional<QColor>& disc = std::nullopt);

// The same drawn for a screen of `ratio` device pixels per point, `side` points square;
// drawings are cached, so views may ask for them on every paint.
QPixmap pixmap(const QString& symbol, int side, const QColor& color, qreal ratio,
               const std::optional<QColor>& disc = std::nullopt);

} // namespace Symbols

} // namespace kivaro
