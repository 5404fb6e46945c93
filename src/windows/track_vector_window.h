#pragma once
// The track vector window "Vantrel Track Vector Time Series": long-track and cross-track
// series of the selected bins under a text panel, with its projection, animation and
// display menus.

#include <QWidget>
#include <array>

#include "analysis/track_chart.h"

class QAction;
class QMenu;

namespace vantrel {

class Chart_Widget;
class Shell;

class Track_Vector_Window : public QWidget {
    Q_OBJECT

public:
    explicit Track_Vector_Window(Shell& shell, QWidget* parent = nullptr);

    // Redraws everything, computing the components first when they are due.
    void Show_Track_Vector_Data();
    // The Sub Set or the options changed: the components are computed again, then drawn.
    void Sub_Set_Changed();
    // Draws again when the cursor ensemble is not the one marked.
    void Cursor_Moved();
    // "&Animate" loads Sub Sets and "&Reference" may reopen the file: both wait while the
    // program is busy, as the main window's menus do.
    void Enable_Data_Menus(bool enabled);

    const Track_View& View() const { return view_; }
    Chart_Widget& Chart() { return *chart_; }
    // The tool tip last set by a pointer move over the charts.
    const QString& Tip() const { return tip_; }

    // The window's menu items, as the tests and the main window reach them.
    QAction* Quit_Seismic = nullptr;
    std::array<QAction*, 3> Animate_Track{}, Select_Auto{}, Speed_Units{}, Depth_Units{};
    QAction* Select_Reference = nullptr;
    QMenu* Animate_Menu = nullptr;
    QAction* LeftToRight = nullptr;
    std::array<QAction*, 8> Select_Font_Size{};
    QAction* Select_Font_Bold = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Build_Menus();
    void Sync_Menus();
    void Choose_Projection(int index);
    void Animate(int index);
    void Mouse_Move(QPointF at);
    void Draw_Locator(double x);

    Shell& shell_;
    Chart_Widget* chart_;
    Track_View view_;
    bool RotateTrack = true;
    std::int32_t marked_cursor_ = -1;
    double locator_x_ = -1;  // surface x of the drawn locator line, -1 for none
    QString tip_;
};

}  // namespace vantrel
