#include "windows/sub_set_window.h"

#include <QScreen>
#include <cmath>

#include "app_state.h"
#include "platform/qt/qimage_surface.h"
#include "windows/chart_widget.h"
#include "windows/shell.h"

namespace vantrel {

namespace {

constexpr double k_border_grip = 3;  // pixels inside a pane's edge that catch the border

}  // namespace

Sub_Set_Window::Sub_Set_Window(Shell& shell, QWidget* parent) : Data_Chart_Window(shell, QStringLiteral("Sub Set"), parent) {
    Chart_Widget& c = Chart();
    c.setMouseTracking(true);
    connect(&c, &Chart_Widget::Mouse_Down, this, [this](QPointF at, Qt::MouseButton b, Qt::KeyboardModifiers) { Mouse_Down(at, b); });
    connect(&c, &Chart_Widget::Mouse_Move, this, [this](QPointF at, Qt::MouseButtons b, Qt::KeyboardModifiers) { Mouse_Move(at, b); });
    connect(&c, &Chart_Widget::Mouse_Up, this, [this](QPointF at, Qt::MouseButton b, Qt::KeyboardModifiers) { Mouse_Up(at, b); });
    connect(&c, &Chart_Widget::Double_Click, this, &Sub_Set_Window::Double_Click);
    connect(&c, &Chart_Widget::Key_Down, this, [this](int key, Qt::KeyboardModifiers, bool r) { Key_Down(key, r); });
    connect(&c, &Chart_Widget::Key_Up, this, [this](int key, Qt::KeyboardModifiers, bool r) { Key_Up(key, r); });
}

void Sub_Set_Window::Draw(QImage_Surface& surface, App_State& state) {
    locator_.reset();
    drag_shown_ = false;
    // The contour image is never wider than the screen, in device pixels.
    const QScreen* on = screen();
    const int screen_width =
        on ? static_cast<int>(std::lround(on->geometry().width() * surface.Pixel_Ratio())) : surface.Width();
    Draw_Sub_Set_Window(surface, state, view_, std::max(screen_width, surface.Width()));
    Lines(true, true);
}

QRect Sub_Set_Window::Fit_Form(QSize inner) {
    const int third = static_cast<int>(std::lround(inner.height() / 3.0));
    return {0, third, inner.width(), inner.height() - third};
}

bool Sub_Set_Window::Ignoring_Input() const { return shell_.Monitoring() || !shell_.State().ds.File_Loaded; }

Chart3d_Cell Sub_Set_Window::Get_Chart3d_DataIndex(QPointF at) const {
    const QPointF p = In_Contour(at);
    return vantrel::Get_Chart3d_DataIndex(view_.contour.geometry, view_.contour.results, p.x(), p.y());
}

std::int32_t Sub_Set_Window::Get_Series_DataIndex(QPointF at) const {
    return Get_Chart3d_DataIndex({at.x(), view_.contour.geometry.top}).e;
}

std::int32_t Sub_Set_Window::Get_Profile_DataIndex(QPointF at) const {
    return Get_Chart3d_DataIndex({Left() + view_.contour.geometry.left, at.y()}).b;
}

QPointF Sub_Set_Window::Get_Chart3d_DataCoordinate(Chart3d_Cell cell) const {
    double x = 0, y = 0;
    vantrel::Get_Chart3d_DataCoordinate(view_.contour.geometry, view_.contour.results, cell, x, y);
    return {x + Left(), y};
}

void Sub_Set_Window::Lines(bool profile, bool series) {
    QImage_Surface& s = Chart().Surface();
    const Data_Set& ds = shell_.State().ds;
    if (profile) Toggle_Profile_Line(s, view_.contour, ds, Left());
    if (series) Toggle_Series_Line(s, view_.contour, ds, Left());
    Chart().Changed();
}

bool Sub_Set_Window::Move_Cursor(std::int32_t delta) {
    Data_Set& ds = shell_.State().ds;
    if (!ds.File_Loaded) return false;
    Set_Locator(std::nullopt);
    Lines(true, false);
    const bool moved = Step_Cursor_Ens(ds, delta);
    Lines(true, false);
    if (moved) {
        Show_Profile_Data();
        shell_.Update_Viewer();
    }
    return moved;
}

void Sub_Set_Window::Set_Cursor(std::int32_t ensemble) {
    const Data_Set& ds = shell_.State().ds;
    Move_Cursor(std::clamp(ensemble, ds.First_Ens, ds.Last_Ens) - ds.Cursor_Ens);
}

bool Sub_Set_Window::Move_Series(std::int32_t delta) {
    Data_Set& ds = shell_.State().ds;
    if (!ds.File_Loaded) return false;
    Set_Locator(std::nullopt);
    Lines(false, true);
    const bool moved = Shift_Series_Bins(ds, delta);
    Lines(false, true);
    if (moved) {
        shell_.Series_Bins_Changed();
        Show_Series_And_Ancillary_Data();
    }
    return moved;
}

void Sub_Set_Window::Show_Profile_Data() {
    App_State& state = shell_.State();
    if (!state.ds.File_Loaded) return;
    Set_Locator(std::nullopt);
    Draw_Sub_Set_Profile(Chart().Surface(), Chart_Sources_Of(state), view_);
    Chart().Changed();
}

void Sub_Set_Window::Show_Series_And_Ancillary_Data() {
    App_State& state = shell_.State();
    if (!state.ds.File_Loaded) return;
    Set_Locator(std::nullopt);
    Draw_Sub_Set_Series(Chart().Surface(), Chart_Sources_Of(state), state.candles, view_);
    Chart().Changed();
}

void Sub_Set_Window::Force_Statistics_Display() { Redraw(); }

void Sub_Set_Window::Set_Locator(std::optional<double> x) {
    QImage_Surface& s = Chart().Surface();
    const Sub_Set_Layout& l = view_.layout;
    // Across the profile pane, or across the contour plot and the series pane below it.
    const auto toggle = [&](double at) {
        const double top = at < l.profile_width ? 0 : view_.contour.geometry.top;
        Toggle_Inverting_Line(s, at, top, at, l.height - 1, 2);
    };
    if (locator_) toggle(*locator_);
    locator_ = x;
    if (locator_) toggle(*locator_);
    Chart().Changed();
}

void Sub_Set_Window::Toggle_Drag_Line(QPointF at) {
    QImage_Surface& s = Chart().Surface();
    const Sub_Set_Layout& l = view_.layout;
    switch (drag_) {
        case Drag::k_band:
        case Drag::k_series_band:
        case Drag::k_profile_band: Toggle_Rubber_Band(s, from_.x(), from_.y(), at.x(), at.y()); break;
        case Drag::k_series_border: Toggle_Inverting_Line(s, l.contour_left, at.y(), l.width - 1, at.y(), 2); break;
        case Drag::k_profile_border: Toggle_Inverting_Line(s, at.x(), 0, at.x(), l.height - 1, 2); break;
        case Drag::k_none: return;
    }
    drag_shown_ = !drag_shown_;
    Chart().Changed();
}

void Sub_Set_Window::Mouse_Down(QPointF at, Qt::MouseButton button) {
    if (Ignoring_Input() || button != Qt::LeftButton || drag_ != Drag::k_none) return;
    const Sub_Set_Layout& l = view_.layout;
    const Sub_Set_Pane pane = Pane_At(l, at.x(), at.y());
    if (pane == Sub_Set_Pane::k_series && at.y() - l.series_top < k_border_grip) {
        drag_ = Drag::k_series_border;
    } else if (pane == Sub_Set_Pane::k_profile && at.x() > l.profile_width - k_border_grip) {
        drag_ = Drag::k_profile_border;
    } else if (pane == Sub_Set_Pane::k_contour && armed_) {
        armed_ = false;
        drag_ = Drag::k_band;
        drag_start_ = Get_Chart3d_DataIndex(at);
    } else if (pane == Sub_Set_Pane::k_series) {
        drag_ = Drag::k_series_band;
        drag_start_ = {Get_Series_DataIndex(at), 0};
    } else if (pane == Sub_Set_Pane::k_profile) {
        drag_ = Drag::k_profile_band;
        drag_start_ = {0, Get_Profile_DataIndex(at)};
    } else {
        return;
    }
    Set_Locator(std::nullopt);
    from_ = to_ = at;
    drag_shown_ = false;
    if (Is_Band(drag_)) {
        Chart().setCursor(Qt::CrossCursor);
    } else {
        Toggle_Drag_Line(at);
    }
}

void Sub_Set_Window::Mouse_Move(QPointF at, Qt::MouseButtons buttons) {
    if (Ignoring_Input()) return;
    if (drag_ != Drag::k_none) {
        if (drag_shown_) Toggle_Drag_Line(to_);
        to_ = at;
        if (buttons & Qt::LeftButton) {
            Toggle_Drag_Line(to_);
        } else if (!Is_Band(drag_)) {
            // The button came up outside the window: the border drag ends where it was.
            drag_ = Drag::k_none;
            Redraw();
        }
        return;
    }
    const Data_Set& ds = shell_.State().ds;
    const Chart3d_Geometry& g = view_.contour.geometry;
    switch (Pane_At(view_.layout, at.x(), at.y())) {
        case Sub_Set_Pane::k_contour: {
            Set_Locator(std::nullopt);
            const QPointF p = In_Contour(at);
            if (!Inside_Plot(g, p.x(), p.y())) return;
            const Chart3d_Cell cell = Get_Chart3d_DataIndex(at);
            row_ = cell.b;
            shell_.Update_Data_View(cell.e, cell.b);
            return;
        }
        case Sub_Set_Pane::k_series: {
            const double x = at.x() - Left();
            if (x < g.left || x >= g.Plot_Right()) {
                Set_Locator(std::nullopt);
                return;
            }
            shell_.Update_Data_View(Get_Series_DataIndex(at), row_);
            break;
        }
        case Sub_Set_Pane::k_profile:
            row_ = Get_Profile_DataIndex(at);
            shell_.Update_Data_View(ds.Cursor_Ens - ds.First_Ens, row_);
            break;
    }
    Set_Locator(buttons == Qt::NoButton ? std::optional<double>(at.x()) : std::nullopt);
}

void Sub_Set_Window::Mouse_Up(QPointF at, Qt::MouseButton button) {
    if (Ignoring_Input()) return;
    if (button == Qt::RightButton && Pane_At(view_.layout, at.x(), at.y()) == Sub_Set_Pane::k_contour) {
        shell_.Open_Chart_Options(1);
        return;
    }
    if (button != Qt::LeftButton || drag_ == Drag::k_none) return;
    if (drag_shown_) Toggle_Drag_Line(to_);
    const Drag ended = drag_;
    drag_ = Drag::k_none;
    Chart().unsetCursor();
    Settings& settings = shell_.State().settings;
    switch (ended) {
        case Drag::k_series_border:
            settings.Sub_Window_Ratio_1 = Series_Border_Ratio(at.y(), view_.layout.height);
            Redraw();
            break;
        case Drag::k_profile_border:
            settings.Sub_Window_Ratio_2 = Profile_Border_Ratio(at.x(), view_.layout.width);
            Redraw();
            break;
        case Drag::k_band:
        case Drag::k_series_band:
        case Drag::k_profile_band: Zoom(ended, at); break;
        case Drag::k_none: break;
    }
}

void Sub_Set_Window::Zoom(Drag band, QPointF at) {
    Data_Set& ds = shell_.State().ds;
    std::optional<Sub_Range> range;
    switch (band) {
        case Drag::k_band: range = Sub_Selection(ds, drag_start_, Get_Chart3d_DataIndex(at)); break;
        case Drag::k_series_band: range = Series_Selection(ds, drag_start_.e, Get_Series_DataIndex(at)); break;
        case Drag::k_profile_band: {
            // All bins of the Sub Set are loaded: fewer of them need no load.
            range = Profile_Selection(ds, drag_start_.b, Get_Profile_DataIndex(at));
            if (!range) return;
            ds.First_Bin = range->first_bin;
            ds.Last_Bin = range->last_bin;
            shell_.Refresh_Sub_Set();
            return;
        }
        default: return;
    }
    if (range) Load_Range(*range);
}

void Sub_Set_Window::Double_Click(QPointF at, Qt::MouseButton button) {
    if (Ignoring_Input() || button != Qt::LeftButton) return;
    App_State& state = shell_.State();
    Data_Set& ds = state.ds;
    const Chart3d_Geometry& g = view_.contour.geometry;
    const Sub_Set_Pane pane = Pane_At(view_.layout, at.x(), at.y());
    const QPointF p = In_Contour(at);
    if (pane == Sub_Set_Pane::k_contour && Inside_Plot(g, p.x(), p.y())) {
        Set_Cursor(ds.First_Ens + Get_Chart3d_DataIndex(at).e);
    } else if (pane == Sub_Set_Pane::k_contour && p.x() >= g.Plot_Right() && p.y() >= g.top && p.y() < g.Plot_Bottom()) {
        // On the bin axis: that bin's series on or off.
        Set_Locator(std::nullopt);
        Lines(false, true);
        const bool toggled = Toggle_Series_Bin(ds, ds.Last_Bin - Get_Chart3d_DataIndex(at).b);
        Lines(false, true);
        if (toggled) shell_.Series_Bins_Changed();
        Show_Series_And_Ancillary_Data();
    } else if (pane == Sub_Set_Pane::k_series && state.candles.candles > 0) {
        const std::int32_t candle = Pick_Candle(p.x(), g.left, g.Plot_Width(), state.candles.candles);
        if (candle < 0) return;
        state.candles.selected = candle;
        shell_.Show_Trend();
        Show_Series_And_Ancillary_Data();
    }
}

void Sub_Set_Window::Key_Down(int key, bool auto_repeat) {
    if (Ignoring_Input()) return;
    if (key == Qt::Key_Space) {
        if (!auto_repeat && drag_ == Drag::k_none) armed_ = true;
        return;
    }
    if (in_key_) return;
    in_key_ = true;
    switch (key) {
        case Qt::Key_Left: Move_Cursor(-1); break;
        case Qt::Key_Right: Move_Cursor(1); break;
        case Qt::Key_Up: Move_Series(1); break;
        case Qt::Key_Down: Move_Series(-1); break;
        default: break;
    }
    in_key_ = false;
}

void Sub_Set_Window::Key_Up(int key, bool auto_repeat) {
    if (key == Qt::Key_Space && !auto_repeat) armed_ = false;
}

}  // namespace vantrel
