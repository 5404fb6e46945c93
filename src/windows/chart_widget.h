#pragma once
// Shows a chart surface that the core draws on, at the screen's full resolution, and
// hands mouse and key events to its window in surface pixels.

#include <QPointF>
#include <QWidget>

#include "platform/qt/qimage_surface.h"

namespace vantrel {

class Chart_Widget : public QWidget {
    Q_OBJECT

public:
    explicit Chart_Widget(QWidget* parent = nullptr);

    QImage_Surface& Surface() { return surface_; }

    // Resizes the surface to the widget's size in device pixels; true when it changed.
    bool Fit_Surface();
    // Repaints the widget from the surface: all of it, or a rectangle in surface pixels.
    void Changed();
    void Changed(const QRect& surface_rect);

signals:
    // Positions in surface pixels.
    void Mouse_Down(QPointF at, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void Mouse_Move(QPointF at, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
    void Mouse_Up(QPointF at, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void Double_Click(QPointF at, Qt::MouseButton button);
    void Key_Down(int key, Qt::KeyboardModifiers modifiers, bool auto_repeat);
    void Key_Up(int key, Qt::KeyboardModifiers modifiers, bool auto_repeat);
    // The widget's size or pixel ratio changed: the window redraws.
    void Size_Changed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    QPointF To_Surface(QPointF widget_point) const;

    QImage_Surface surface_;
};

}  // namespace vantrel
