#pragma once

#include <QRect>

class QObject;
class QWidget;

namespace kivaro {

// The small animations of the panel and the toast. Widgets cannot be transformed, so a
// scale about the centre is a change of geometry.
namespace Motion {

// `rect` scaled by `scale` about its centre and moved `up` pixels higher.
QRect scaledAbout(const QRect& rect, double scale, int up = 0);

// Springs the widget from `scale` of its size (and `up` pixels higher) back to its geometry
// over `milliseconds`; the animation belongs to `owner` and deletes itself when it ends.
void springIn(QWidget& widget, double scale, int up, int milliseconds, QObject* owner);

} // namespace Motion

} // namespace kivaro
