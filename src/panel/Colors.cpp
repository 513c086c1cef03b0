#include "panel/Colors.h"

#include <algorithm>
#include <cmath>

namespace kivaro::Colors {

namespace {

double linear(double channel) {
    return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

bool readable(const QColor& fill) {
    return contrastWithWhite(fill) >= readableContrast;
}

std::optional<int> hexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return std::nullopt;
}

} // namespace

QColor brand() {
    return QColor::fromRgb(31, 53, 199);
}

double luminance(const QColor& color) {
    if (!color.isValid())
        return 0;
    const QColor rgb = color.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) +
           0.0722 * linear(rgb.blueF());
}

double contrastWithWhite(const QColor& color) {
    return 1.05 / (luminance(color) + 0.05);
}

QColor selectionFill(const QColor& color) {
    if (!color.isValid() || readable(color))
        return color;
    float hue = 0, saturation = 0, brightness = 0;
    color.toHsv().getHsvF(&hue, &saturation, &brightness);
    const double floor = 0.62 * brightness;
    // Steps counted in whole numbers so that rounding never adds or drops one.
    for (int step = 1;; ++step) {
        const double lowered = brightness - 0.02 * step;
        if (lowered <= floor)
            break;
        const QColor candidate = QColor::fromHsvF(hue < 0 ? 0 : hue, saturation, lowered, 1.0);
        if (readable(candidate))
            return candidate.toRgb();
    }
    return color;
}

QColor textOn(const QColor& fill) {
    return readable(fill) ? QColor(Qt::white) : QColor::fromRgbF(0.08f, 0.08f, 0.08f, 1.0f);
}

std::optional<QColor> fromHex(QStringView text) {
    if (text.startsWith(u'#'))
        text = text.mid(1);
    if (text.size() != 6)
        return std::nullopt;
    int value = 0;
    for (const QChar c : text) {
        const std::optional<int> digit = hexDigit(c);
        if (!digit)
            return std::nullopt;
        value = value * 16 + *digit;
    }
    return QColor::fromRgb((value >> 16) & 0xff, (value >> 8) & 0xff, value & 0xff);
}

QString hex(const QColor& color) {
    const QColor rgb = color.toRgb();
    const auto channel = [](double c) {
        return QStringLiteral("%1").arg(int(std::lround(std::clamp(c, 0.0, 1.0) * 255)), 2, 16,
                                        QLatin1Char('0'));
    };
    return (u'#' + channel(rgb.redF()) + channel(rgb.greenF()) + channel(rgb.blueF())).toUpper();
}

QColor accent(AccentChoice choice, const std::optional<QString>& custom, const QColor& system) {
    switch (choice) {
    case AccentChoice::system:
        return system;
    case AccentChoice::custom:
        return custom ? fromHex(*custom).value_or(brand()) : brand();
    case AccentChoice::brand:
        break;
    }
    return brand();
}

QColor withAlpha(const QColor& color, double alpha) {
    QColor copy = color;
    copy.setAlphaF(float(alpha));
    return copy;
}

} // namespace kivaro::Colors
