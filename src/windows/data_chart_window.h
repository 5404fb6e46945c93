#pragma once
// What the Whole Set and Sub Set windows share: one chart widget that fills the window,
// drawn again when its size changes, but not while the arrays are being refilled.

#include <QWidget>

#include "charts/chart_interaction.h"

class QGridLayout;

namespace vantrel {

struct App_State;
class Chart_Widget;
class QImage_Surface;
class Shell;

class Data_Chart_Window : public QWidget {
    Q_OBJECT

public:
    Data_Chart_Window(Shell& shell, const QString& caption, QWidget* parent = nullptr);

    // Draws the chart (cleared when no file is loaded).
    void Redraw();
    // Draws again when a resize came while the program was busy.
    void Redraw_If_Pending();

    Chart_Widget& Chart() { return *chart_; }

protected:
    // Draws the loaded data filling surface.
    virtual void Draw(QImage_Surface& surface, App_State& state) = 0;
    // Loads the range's ensembles showing its bins; a failed load keeps the bins as they were.
    bool Load_Range(const Sub_Range& range);
    // The chart sits at row 0, column 0; a window adds its own controls around it.
    QGridLayout& Grid() { return *grid_; }
    Shell& shell_;

private:
    void Size_Changed();

    QGridLayout* grid_;
    Chart_Widget* chart_;
    bool pending_ = false;
};

}  // namespace vantrel
