#include "windows/chart_widget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace vantrel {

Chart_Widget::Chart_Widget(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(64, 48);
}

bool Chart_Widget::Fit_Surface() {
    const double ratio = devicePixelRatioF();
    const int w = std::max(1, static_cast<int>(std::lround(width() * ratio)));
    const int h = std::max(1, static_cast<int>(std::lround(height() * ratio)));
    if (w == surface_.Width() && h == surface_.Height() && ratio == surface_.Pixel_Ratio()) return false;
    surface_.Set_Pixel_Ratio(ratio);
    surface_.Resize(w, h);
    return true;
}

void Chart_Widget::Changed() { update(); }

void Chart_Widget::Changed(const QRect& surface_rect) {
    const double ratio = surface_.Pixel_Ratio();
    update(QRectF(surface_rect.x() / ratio, surface_rect.y() / ratio, surface_rect.width() / ratio,
                  surface_rect.height() / ratio)
               .toAlignedRect());
}

void Chart_Widget::paintEvent(QPaintEvent* event) {
    // Moved to a screen of another pixel ratio: the window draws again at the new one.
    if (devicePixelRatioF() != surface_.Pixel_Ratio()) {
        QMetaObject::invokeMethod(this, &Chart_Widget::Size_Changed, Qt::QueuedConnection);
    }
    QPainter painter(this);
    QImage image = surface_.Image();  // shared, not copied
    image.setDevicePixelRatio(surface_.Pixel_Ratio());
    // Pixel for pixel: the image carries the screen's ratio, so nothing is scaled.
    painter.drawImage(QPointF(0, 0), image);
    const QRectF drawn(0, 0, image.width() / surface_.Pixel_Ratio(), image.height() / surface_.Pixel_Ratio());
    const QRegion outside = QRegion(event->rect()).subtracted(QRegion(drawn.toAlignedRect()));
    for (const QRect& r : outside) painter.fillRect(r, palette().window());
}

void Chart_Widget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    emit Size_Changed();
}

QPointF Chart_Widget::To_Surface(QPointF widget_point) const { return widget_point * surface_.Pixel_Ratio(); }

void Chart_Widget::mousePressEvent(QMouseEvent* event) {
    emit Mouse_Down(To_Surface(event->position()), event->button(), event->modifiers());
}

void Chart_Widget::mouseMoveEvent(QMouseEvent* event) {
    emit Mouse_Move(To_Surface(event->position()), event->buttons(), event->modifiers());
}

void Chart_Widget::mouseReleaseEvent(QMouseEvent* event) {
    emit Mouse_Up(To_Surface(event->position()), event->button(), event->modifiers());
}

void Chart_Widget::mouseDoubleClickEvent(QMouseEvent* event) {
    emit Double_Click(To_Surface(event->position()), event->button());
}

void Chart_Widget::keyPressEvent(QKeyEvent* event) {
    emit Key_Down(event->key(), event->modifiers(), event->isAutoRepeat());
}

void Chart_Widget::keyReleaseEvent(QKeyEvent* event) {
    emit Key_Up(event->key(), event->modifiers(), event->isAutoRepeat());
}

}  // namespace vantrel
