#include "ui/Desktop.h"

#include "panel/FrontWindow.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace kivaro::Desktop {

double primaryHeight() {
    const QScreen* primary = QGuiApplication::primaryScreen();
    return primary ? primary->geometry().height() : 0;
}

QList<ScreenArea> screens() {
    QList<QScreen*> all = QGuiApplication::screens();
    const QScreen* primary = QGuiApplication::primaryScreen();
    std::stable_partition(all.begin(), all.end(), [primary](QScreen* s) { return s == primary; });
    const double height = primaryHeight();
    QList<ScreenArea> areas;
    for (const QScreen* screen : all)
        areas.append({flipped(QRectF(screen->geometry()), height),
                      flipped(QRectF(screen->availableGeometry()), height)});
    return areas;
}

QPointF mouse() {
    const QPoint position = QCursor::pos();
    return {double(position.x()), primaryHeight() - position.y()};
}

QRect toWindowGeometry(const QRectF& frame) {
    const QRectF flippedFrame = flipped(frame, primaryHeight());
    return {int(std::lround(flippedFrame.x())), int(std::lround(flippedFrame.y())),
            int(std::lround(flippedFrame.width())), int(std::lround(flippedFrame.height()))};
}

QRectF fromWindowGeometry(const QRect& geometry) {
    return flipped(QRectF(geometry), primaryHeight());
}

std::optional<QRectF> frontWindow(const Workspace* workspace, const WindowList* windows) {
    if (!workspace || !windows)
        return std::nullopt;
    return FrontWindow::frame(*workspace, *windows, screens());
}

} // namespace kivaro::Desktop
