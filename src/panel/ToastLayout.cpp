#include "panel/ToastLayout.h"

#include "panel/Placement.h"

#include <QTextBoundaryFinder>

#include <algorithm>

namespace kivaro::ToastLayout {

namespace {

// Characters as a reader counts them: an emoji or an accented letter is one.
int characters(const QString& text) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int count = 0;
    while (finder.toNextBoundary() > 0)
        ++count;
    return count;
}

} // namespace

int textWidth(double naturalWidth) {
    return std::clamp(int(naturalWidth), 0, maximumTextWidth);
}

double bubbleWidth(int textWidth) {
    return textWidth + textPadding;
}

double duration(const QString& text) {
    return std::max(minimumDuration, 0.8 + 0.05 * characters(text));
}

std::optional<QRectF> frame(const std::optional<QRectF>& front,
                            const std::optional<ScreenArea>& screen, int textWidth) {
    if (!screen)
        return std::nullopt;
    const QRectF& vf = screen->visible;
    const QRectF anchor = Placement::anchor(front, vf);
    const double inset = front ? windowInset : screenInset;
    const double bubble = bubbleWidth(textWidth);
    const double x = Placement::keepInside(anchor.center().x() - bubble / 2 - margin, bubble,
                                           margin, vf.x(), maxX(vf));
    const double y = maxY(anchor) - inset - height - margin;
    return QRectF(x, y, bubble + 2 * margin, height + 2 * margin);
}

} // namespace kivaro::ToastLayout
