#pragma once
// The Whole Set window: the titled contour chart of the whole file, the blinking Sub Set
// marker, the space-and-drag selection, the arrow keys and the two scroll bars that move
// the Sub Set through the file.

#include <QPointF>

#include "charts/chart_interaction.h"
#include "windows/data_chart_window.h"

class QScrollBar;
class QTimer;

namespace vantrel {

class Whole_Set_Window : public Data_Chart_Window {
    Q_OBJECT

public:
    explicit Whole_Set_Window(Shell& shell, QWidget* parent = nullptr);

    const Contour_View& View() const { return view_; }

    // "Sub: first to last" in the title area, the marker drawn again, the bars' steps set.
    void Show_Selected_Data_Location();
    // The scroll bars at the current Sub Set.
    void Move_Scrollers();
    // Left 0.45 W, top 0, width 0.55 W, height H / 3 of the main window's inner size.
    static QRect Fit_Form(QSize inner);
    Chart3d_Cell Get_Chart3d_DataIndex(QPointF at) const;
    QPointF Get_Chart3d_DataCoordinate(Chart3d_Cell cell) const;

    QScrollBar& HScroll1() { return *HScroll1_; }
    QScrollBar& VScroll1() { return *VScroll1_; }
    bool Marker_Shown() const { return marker_shown_; }
    bool Dragging() const { return dragging_; }

protected:
    void Draw(QImage_Surface& surface, App_State& state) override;

private:
    void Mouse_Down(QPointF at, Qt::MouseButton button);
    void Mouse_Move(QPointF at, Qt::MouseButtons buttons);
    void Mouse_Up(QPointF at, Qt::MouseButton button);
    void Key_Down(int key, bool auto_repeat);
    void Key_Up(int key, bool auto_repeat);
    void HScroll_Changed(int value);
    void VScroll_Changed(int value);
    void Blink();
    void Set_Marker(bool shown);
    void Band(QPointF to);
    void Apply_Bins(const Sub_Range& range);
    bool Ignoring_Input() const;

    Contour_View view_;
    QScrollBar* HScroll1_;
    QScrollBar* VScroll1_;
    QTimer* Timer1;
    bool armed_ = false, dragging_ = false, ready_ = true, in_key_ = false;
    bool marker_shown_ = false;
    Sub_Range marker_at_;
    Chart3d_Cell drag_start_;
    QPointF band_from_, band_to_;
    bool band_shown_ = false;
};

}  // namespace vantrel
