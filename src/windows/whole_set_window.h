#pragma once
// The Whole Set window: the titled contour chart of the whole file.

#include "charts/contour.h"
#include "windows/data_chart_window.h"

namespace vantrel {

class Whole_Set_Window : public Data_Chart_Window {
    Q_OBJECT

public:
    explicit Whole_Set_Window(Shell& shell, QWidget* parent = nullptr);

    const Contour_View& View() const { return view_; }

protected:
    void Draw(QImage_Surface& surface, App_State& state) override;

private:
    Contour_View view_;
};

}  // namespace vantrel
