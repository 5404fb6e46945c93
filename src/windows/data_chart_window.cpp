#include "windows/data_chart_window.h"

#include <QVBoxLayout>

#include "app_state.h"
#include "windows/chart_widget.h"
#include "windows/shell.h"

namespace vantrel {

Data_Chart_Window::Data_Chart_Window(Shell& shell, const QString& caption, QWidget* parent)
    : QWidget(parent), shell_(shell), chart_(new Chart_Widget(this)) {
    setWindowTitle(caption);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(chart_);
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
