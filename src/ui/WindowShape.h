#pragma once

#include <QRect>
#include <QRegion>

class QWidget;

namespace kivaro {

class ShadowView;
class SurfaceView;

// A translucent window that draws its own shadow in a clear margin (the panel, the toast), on
// a desktop that may not blend windows. With a compositing manager the margin shows what lies
// behind and holds the shadow. Without one clear pixels show black, so the window is cut to
// the rounded shape of its surface, the surface is drawn opaque and the shadow is left out.
namespace WindowShape {

// The rounded rectangle as a region of whole pixels.
QRegion rounded(const QRect& shape, double radius);

// Run on every resize of `window` and whenever `composited` may have changed.
void fit(QWidget& window, ShadowView& shadow, SurfaceView& surface, bool composited);

} // namespace WindowShape

} // namespace kivaro
