#include "windows/whole_set_window.h"

#include <QApplication>
#include <QGridLayout>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>

#include "app_state.h"
#include "platform/text_format.h"
#include "platform/qt/qimage_surface.h"
#include "windows/chart_widget.h"
#include "windows/shell.h"

namespace vantrel {

namespace {

std::optional<Arrow_Key> Arrow_Of(int key) {
    switch (key) {
        case Qt::Key_Left: return Arrow_Key::k_left;
        case Qt::Key_Right: return Arrow_Key::k_right;
        case Qt::Key_Up: return Arrow_Key::k_up;
        case Qt::Key_Down: return Arrow_Key::k_down;
        default: return std::nullopt;
    }
}

}  // namespace

Whole_Set_Window::Whole_Set_Window(Shell& shell, QWidget* parent)
    : Data_Chart_Window(shell, QStringLiteral("Whole Set"), parent),
      HScroll1_(new QScrollBar(Qt::Horizontal, this)),
      VScroll1_(new QScrollBar(Qt::Vertical, this)),
      Timer1(new QTimer(this)) {
    Grid().addWidget(VScroll1_, 0, 1);
    Grid().addWidget(HScroll1_, 1, 0);
    for (QScrollBar* bar : {HScroll1_, VScroll1_}) {
        bar->setRange(0, 0);
        bar->setSingleStep(1);
    }
    Chart_Widget& c = Chart();
    connect(&c, &Chart_Widget::Mouse_Down, this, [this](QPointF at, Qt::MouseButton b, Qt::KeyboardModifiers) { Mouse_Down(at, b); });
    connect(&c, &Chart_Widget::Mouse_Move, this, [this](QPointF at, Qt::MouseButtons b, Qt::KeyboardModifiers) { Mouse_Move(at, b); });
    connect(&c, &Chart_Widget::Mouse_Up, this, [this](QPointF at, Qt::MouseButton b, Qt::KeyboardModifiers) { Mouse_Up(at, b); });
    connect(&c, &Chart_Widget::Key_Down, this, [this](int key, Qt::KeyboardModifiers, bool r) { Key_Down(key, r); });
    connect(&c, &Chart_Widget::Key_Up, this, [this](int key, Qt::KeyboardModifiers, bool r) { Key_Up(key, r); });
    connect(HScroll1_, &QScrollBar::valueChanged, this, &Whole_Set_Window::HScroll_Changed);
    connect(VScroll1_, &QScrollBar::valueChanged, this, &Whole_Set_Window::VScroll_Changed);
    Timer1->setInterval(250);
    connect(Timer1, &QTimer::timeout, this, &Whole_Set_Window::Blink);
    Timer1->start();
}

void Whole_Set_Window::Draw(QImage_Surface& surface, App_State& state) {
    band_shown_ = false;
    marker_shown_ = false;
    Draw_Whole_Set_Chart(surface, state, view_);
    Show_Selected_Data_Location();
}

bool Whole_Set_Window::Ignoring_Input() const { return shell_.Monitoring() || !shell_.State().ds.File_Loaded; }

void Whole_Set_Window::Show_Selected_Data_Location() {
    const Data_Set& ds = shell_.State().ds;
    if (!ds.File_Loaded) return;
    // The location text comes with the chart; the marker follows the Sub Set's bins.
    Set_Marker(false);
    Set_Marker(shell_.State().settings.Contour_Switch_1);
    Move_Scrollers();
    Chart().Changed();
}

void Whole_Set_Window::Move_Scrollers() {
    const App_State& state = shell_.State();
    const Scroll_Ranges r = vantrel::Move_Scrollers(state.ds, state.dec.Num_Bins);
    const QSignalBlocker hold_h(HScroll1_), hold_v(VScroll1_);
    HScroll1_->setRange(0, r.h_max);
    HScroll1_->setPageStep(r.h_page);
    HScroll1_->setValue(r.h_value);
    VScroll1_->setRange(0, r.v_max);
    VScroll1_->setPageStep(std::max(state.ds.Last_Bin - state.ds.First_Bin + 1, 1));
    VScroll1_->setValue(r.v_value);
}

QRect Whole_Set_Window::Fit_Form(QSize inner) {
    const int w = inner.width(), h = inner.height();
    const int left = static_cast<int>(std::lround(0.45 * w));
    return {left, 0, w - left, static_cast<int>(std::lround(h / 3.0))};
}

Chart3d_Cell Whole_Set_Window::Get_Chart3d_DataIndex(QPointF at) const {
    return vantrel::Get_Chart3d_DataIndex(view_.geometry, view_.results, at.x(), at.y());
}

QPointF Whole_Set_Window::Get_Chart3d_DataCoordinate(Chart3d_Cell cell) const {
    double x = 0, y = 0;
    vantrel::Get_Chart3d_DataCoordinate(view_.geometry, view_.results, cell, x, y);
    return {x, y};
}

void Whole_Set_Window::Set_Marker(bool shown) {
    if (shown == marker_shown_) return;
    const Data_Set& ds = shell_.State().ds;
    // Drawn where the Sub Set is, erased where it was drawn.
    if (shown) marker_at_ = {ds.First_Ens, ds.Last_Ens, ds.First_Bin, ds.Last_Bin};
    Toggle_Sub_Set_Marker(Chart().Surface(), view_, ds, marker_at_);
    marker_shown_ = shown;
    Chart().Changed();
}

void Whole_Set_Window::Blink() {
    const App_State& state = shell_.State();
    if (!state.ds.File_Loaded || dragging_ || shell_.Is_Busy()) return;
    Set_Marker(state.settings.Contour_Switch_1 && !marker_shown_);
}

void Whole_Set_Window::Band(QPointF to) {
    QImage_Surface& s = Chart().Surface();
    if (band_shown_) Toggle_Rubber_Band(s, band_from_.x(), band_from_.y(), band_to_.x(), band_to_.y());
    band_to_ = to;
    Toggle_Rubber_Band(s, band_from_.x(), band_from_.y(), band_to_.x(), band_to_.y());
    band_shown_ = true;
    Chart().Changed();
}

void Whole_Set_Window::Mouse_Down(QPointF at, Qt::MouseButton button) {
    if (Ignoring_Input()) return;
    shell_.Stop_Animate();
    if (button != Qt::LeftButton || !armed_ || dragging_) return;
    armed_ = false;
    dragging_ = true;
    Set_Marker(false);
    drag_start_ = Get_Chart3d_DataIndex(at);
    band_from_ = band_to_ = at;
    band_shown_ = false;
    Chart().setCursor(Qt::CrossCursor);
}

void Whole_Set_Window::Mouse_Move(QPointF at, Qt::MouseButtons buttons) {
    if (Ignoring_Input() || !dragging_ || !(buttons & Qt::LeftButton)) return;
    Band(at);
}

void Whole_Set_Window::Mouse_Up(QPointF at, Qt::MouseButton button) {
    if (Ignoring_Input()) return;
    if (button == Qt::RightButton) {
        shell_.Open_Chart_Options(1);
        return;
    }
    if (button != Qt::LeftButton || !dragging_) return;
    if (band_shown_) Toggle_Rubber_Band(Chart().Surface(), band_from_.x(), band_from_.y(), band_to_.x(), band_to_.y());
    band_shown_ = false;
    dragging_ = false;
    Chart().unsetCursor();
    Chart().Changed();
    App_State& state = shell_.State();
    Data_Set& ds = state.ds;
    const auto range = Whole_Selection(ds, view_.results.Ensembles, state.dec.Num_Bins, drag_start_,
                                       Get_Chart3d_DataIndex(at));
    if (!range) return;
    ds.Sel_First_Ens = range->first_ens;
    ds.Sel_Last_Ens = range->last_ens;
    if (!Load_Range(*range)) Redraw();  // the selection text
}

void Whole_Set_Window::Apply_Bins(const Sub_Range& range) {
    Data_Set& ds = shell_.State().ds;
    if (range.first_bin == ds.First_Bin && range.last_bin == ds.Last_Bin) return;
    ds.First_Bin = range.first_bin;
    ds.Last_Bin = range.last_bin;
    shell_.Refresh_Sub_Set();
}

void Whole_Set_Window::Key_Down(int key, bool auto_repeat) {
    if (Ignoring_Input()) return;
    shell_.Stop_Animate();
    if (key == Qt::Key_Space) {
        if (!auto_repeat && !dragging_) armed_ = true;
        return;
    }
    const auto arrow = Arrow_Of(key);
    if (!arrow || in_key_) return;
    in_key_ = true;
    App_State& state = shell_.State();
    if (const auto range = Whole_Arrow_Move(state.ds, state.dec.Num_Bins, *arrow)) {
        if (*arrow == Arrow_Key::k_left || *arrow == Arrow_Key::k_right) {
            shell_.Load_Sub_Set(range->first_ens, range->last_ens);
        } else {
            Apply_Bins(*range);
        }
    }
    Move_Scrollers();
    in_key_ = false;
}

void Whole_Set_Window::Key_Up(int key, bool auto_repeat) {
    if (key == Qt::Key_Space && !auto_repeat) armed_ = false;
}

void Whole_Set_Window::HScroll_Changed(int value) {
    if (!ready_) return;
    if (Ignoring_Input()) {
        Move_Scrollers();
        return;
    }
    ready_ = false;
    HScroll1_->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const Data_Set& ds = shell_.State().ds;
    const Sub_Range range = HScroll_Range(ds, value, HScroll1_->maximum());
    if (range.first_ens != ds.First_Ens) shell_.Load_Sub_Set(range.first_ens, range.last_ens);
    HScroll1_->setEnabled(true);
    QApplication::restoreOverrideCursor();
    ready_ = true;
}

void Whole_Set_Window::VScroll_Changed(int value) {
    if (!ready_) return;
    if (Ignoring_Input()) {
        Move_Scrollers();
        return;
    }
    ready_ = false;
    const App_State& state = shell_.State();
    Apply_Bins(VScroll_Range(state.ds, state.dec.Num_Bins, value, VScroll1_->maximum()));
    ready_ = true;
}

}  // namespace vantrel
