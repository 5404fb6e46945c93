#include "windows/data_chart_window.h"

#include <QGridLayout>

#include "app_state.h"
#include "windows/chart_widget.h"
#include "windows/shell.h"

namespace vantrel {

Data_Chart_Window::Data_Chart_Window(Shell& shell, const QString& caption, QWidget* parent)
    : QWidget(parent), shell_(shell), grid_(new QGridLayout(this)), chart_(new Chart_Widget(this)) {
    setWindowTitle(caption);
    grid_->setContentsMargins(0, 0, 0, 0);
    grid_->setSpacing(0);
    grid_->addWidget(chart_, 0, 0);
    connect(chart_, &Chart_Widget::Size_Changed, this, &Data_Chart_Window::Size_Changed);
}

void Data_Chart_Window::Redraw() {
    pending_ = false;
    chart_->Fit_Surface();
    QImage_Surface& surface = chart_->Surface();
    App_State& state = shell_.State();
    if (state.ds.File_Loaded) {
        Draw(surface, state);
    } else {
        surface.Clear();
    }
    chart_->Changed();
}

bool Data_Chart_Window::Load_Range(const Sub_Range& range) {
    Data_Set& ds = shell_.State().ds;
    const std::int32_t old_first = ds.First_Bin, old_last = ds.Last_Bin;
    ds.First_Bin = range.first_bin;
    ds.Last_Bin = range.last_bin;
    if (shell_.Load_Sub_Set(range.first_ens, range.last_ens)) return true;
    ds.First_Bin = old_first;
    ds.Last_Bin = old_last;
    return false;
}

void Data_Chart_Window::Redraw_If_Pending() {
    if (pending_) Redraw();
}

void Data_Chart_Window::Size_Changed() {
    if (shell_.Is_Busy()) {
        pending_ = true;
        return;
    }
    Redraw();
}

}  // namespace vantrel
