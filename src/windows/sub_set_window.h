#pragma once
// The Sub Set window: the Sub Set's contour chart with its profile and series panes.

#include "charts/sub_set_layout.h"
#include "windows/data_chart_window.h"

namespace vantrel {

class Sub_Set_Window : public Data_Chart_Window {
    Q_OBJECT

public:
    explicit Sub_Set_Window(Shell& shell, QWidget* parent = nullptr);

    const Sub_Set_View& View() const { return view_; }

protected:
    void Draw(QImage_Surface& surface, App_State& state) override;

private:
    Sub_Set_View view_;
};

}  // namespace vantrel
