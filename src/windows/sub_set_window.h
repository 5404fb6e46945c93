#pragma once
// The Sub Set window: the Sub Set's contour chart with its profile and series panes, the
// profile and series lines, zoom by rectangle, the locator line, the pane borders and the
// candle pick.

#include <QPointF>
#include <optional>

#include "charts/chart_interaction.h"
#include "charts/sub_set_layout.h"
#include "windows/data_chart_window.h"

namespace vantrel {

class Sub_Set_Window : public Data_Chart_Window {
    Q_OBJECT

public:
    explicit Sub_Set_Window(Shell& shell, QWidget* parent = nullptr);

    const Sub_Set_View& View() const { return view_; }

    // Left 0, top H / 3, width W, height 2 H / 3 of the main window's inner size.
    static QRect Fit_Form(QSize inner);
    // Cell of the contour, sample of the series pane, bin of the profile pane under a point
    // of the window's surface (the last two as contour cells: the panes line up with it).
    Chart3d_Cell Get_Chart3d_DataIndex(QPointF at) const;
    std::int32_t Get_Series_DataIndex(QPointF at) const;
    std::int32_t Get_Profile_DataIndex(QPointF at) const;
    QPointF Get_Chart3d_DataCoordinate(Chart3d_Cell cell) const;

    // Cursor_Ens moved by delta (keys, the profile animation): line and profile pane follow.
    bool Move_Cursor(std::int32_t delta);
    void Set_Cursor(std::int32_t ensemble);
    // The series bins one bin up (+1) or down (-1); false when nothing moved.
    bool Move_Series(std::int32_t delta);
    void Show_Profile_Data();
    void Show_Series_And_Ancillary_Data();
    void Force_Statistics_Display();
    bool Locator_Shown() const { return locator_.has_value(); }

protected:
    void Draw(QImage_Surface& surface, App_State& state) override;

private:
    // A rubber band over the contour or one of the panes, or a pane border.
    enum class Drag { k_none, k_band, k_series_band, k_profile_band, k_series_border, k_profile_border };
    static bool Is_Band(Drag d) { return d == Drag::k_band || d == Drag::k_series_band || d == Drag::k_profile_band; }

    void Mouse_Down(QPointF at, Qt::MouseButton button);
    void Mouse_Move(QPointF at, Qt::MouseButtons buttons);
    void Mouse_Up(QPointF at, Qt::MouseButton button);
    void Double_Click(QPointF at, Qt::MouseButton button);
    void Key_Down(int key, bool auto_repeat);
    void Key_Up(int key, bool auto_repeat);
    bool Ignoring_Input() const;
    double Left() const { return view_.layout.contour_left; }
    QPointF In_Contour(QPointF at) const { return {at.x() - Left(), at.y()}; }
    void Toggle_Drag_Line(QPointF at);
    void Set_Locator(std::optional<double> x);
    void Lines(bool profile, bool series);
    void Zoom(Drag band, QPointF at);

    Sub_Set_View view_;
    bool armed_ = false, in_key_ = false;
    Drag drag_ = Drag::k_none;
    Chart3d_Cell drag_start_;
    QPointF from_, to_;
    bool drag_shown_ = false;
    std::optional<double> locator_;
    std::int32_t row_ = 0;
};

}  // namespace vantrel
