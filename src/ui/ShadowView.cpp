#include "ui/ShadowView.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <vector>

namespace kivaro {

namespace {

// One pass of a running-sum box blur over the alpha channel, along rows or columns.
void boxBlur(std::vector<float>& alpha, int width, int height, int radius, bool rows) {
    const int lines = rows ? height : width;
    const int length = rows ? width : height;
    std::vector<float> line(size_t(length), 0.0f);
    const auto at = [&](int l, int i) -> float& {
        return rows ? alpha[size_t(l * width + i)] : alpha[size_t(i * width + l)];
    };
    const float window = float(2 * radius + 1);
    for (int l = 0; l < lines; ++l) {
        float sum = 0;
        for (int i = -radius; i <= radius; ++i)
            sum += (i >= 0 && i < length) ? at(l, i) : 0.0f;
        for (int i = 0; i < length; ++i) {
            line[size_t(i)] = sum / window;
            const int out = i - radius;
            const int in = i + radius + 1;
            sum += (in < length ? at(l, in) : 0.0f) - (out >= 0 ? at(l, out) : 0.0f);
        }
        for (int i = 0; i < length; ++i)
            at(l, i) = line[size_t(i)];
    }
}

QPainterPath rounded(const QRect& rect, double radius) {
    QPainterPath path;
    path.addRoundedRect(QRectF(rect), radius, radius);
    return path;
}

// Three box passes come close to a Gaussian blur of the given radius.
QImage blurredShape(const QSize& size, const QRect& shape, double radius) {
    QImage mask(size, QImage::Format_Alpha8);
    mask.fill(0);
    {
        QPainter painter(&mask);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(rounded(shape.translated(0, ShadowView::offset), radius), Qt::black);
    }
    const int width = size.width();
    const int height = size.height();
    std::vector<float> alpha(size_t(width * height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            alpha[size_t(y * width + x)] = mask.constScanLine(y)[x] / 255.0f;
    // Three passes of 8 spread each edge over the whole 24 points of the blur radius.
    const int pass = std::max(1, ShadowView::blur / 3);
    for (int i = 0; i < 3; ++i) {
        boxBlur(alpha, width, height, pass, true);
        boxBlur(alpha, width, height, pass, false);
    }
    QImage shadow(size, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < height; ++y) {
        auto* out = reinterpret_cast<QRgb*>(shadow.scanLine(y));
        for (int x = 0; x < width; ++x)
            out[x] = qRgba(0, 0, 0, int(alpha[size_t(y * width + x)] * ShadowView::opacity * 255));
    }
    return shadow;
}

} // namespace

ShadowView::ShadowView(double radius, int inset, QWidget* parent)
    : QWidget(parent), radius_(radius), inset_(inset) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

QRect ShadowView::shape() const {
    return rect().adjusted(inset_, inset_, -inset_, -inset_);
}

QImage ShadowView::shadowImage() const {
    if (cache_.size() == size())
        return cache_;
    if (size().isEmpty())
        return {};
    QImage shadow = blurredShape(size(), shape(), radius_);
    // The cut-out: nothing of the shadow inside the shape itself.
    QPainter painter(&shadow);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
    painter.fillPath(rounded(shape(), radius_), Qt::black);
    painter.end();
    cache_ = shadow;
    return cache_;
}

void ShadowView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, shadowImage());
}

} // namespace kivaro
