#include "ui/PanelPalette.h"

#include "panel/Colors.h"

#include <QApplication>

namespace kivaro::PanelPalette {

namespace {

QPalette fixed(const QColor& window, const QColor& text, const QColor& base) {
    QPalette palette;
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::PlaceholderText, Colors::withAlpha(text, 0.45));
    palette.setColor(QPalette::HighlightedText, text);
    palette.setColor(QPalette::Highlight, systemAccent());
    return palette;
}

} // namespace

QPalette forTheme(PanelTheme theme) {
    switch (theme) {
    case PanelTheme::light:
        return fixed(QColor(0xf2, 0xf2, 0xf4), QColor(0x1d, 0x1d, 0x1f), QColor(Qt::white));
    case PanelTheme::dark:
        return fixed(QColor(0x26, 0x26, 0x2a), QColor(0xf5, 0xf5, 0xf7), QColor(0x1e, 0x1e, 0x20));
    case PanelTheme::automatic:
        break;
    }
    return QApplication::palette();
}

bool isDark(const QPalette& palette) {
    return Colors::luminance(palette.color(QPalette::Window)) < 0.3;
}

QColor systemAccent() {
    return QApplication::palette().color(QPalette::Active, QPalette::Highlight);
}

QColor secondaryLabel(const QPalette& palette) {
    return Colors::withAlpha(palette.color(QPalette::WindowText), 0.55);
}

QColor systemRed(const QPalette& palette) {
    return isDark(palette) ? QColor(0xff, 0x45, 0x3a) : QColor(0xff, 0x3b, 0x30);
}

QColor systemGrey() {
    return QColor(0x8e, 0x8e, 0x93);
}

DisplayOptions displayOptions() {
    return {false, !QApplication::isEffectEnabled(Qt::UI_General)};
}

} // namespace kivaro::PanelPalette
