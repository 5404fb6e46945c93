#pragma once
// The "&Animate" menu: the Sub Set stepped along the file, the profile stepped through the
// Sub Set, the series bins stepped toward the top of the chart. Frames come from a timer,
// so the event loop runs between any two of them and the windows and menus keep answering;
// unchecking "&Go" (the menu, Stop_Animate) ends an animation at its next frame.

#include <QObject>
#include <functional>

class QTimer;

namespace vantrel {

class Shell;
class Sub_Set_Window;
class Whole_Set_Window;
struct Main_Menus;

class Animator : public QObject {
    Q_OBJECT

public:
    enum class Kind { k_none, k_contour, k_profile, k_series };
    static constexpr int k_frame_ms = 30;

    Animator(Shell& shell, const Main_Menus& menus, Whole_Set_Window& whole, Sub_Set_Window& sub, QObject* parent);

    // "&Go" (index 0, start or stop) and "&Rewind" (index 1) of each animation.
    void Click(Kind kind, int index);
    // The items answer only with a file loaded; "&Rewind" not while its animation runs.
    void Update_Enabling(bool loaded);
    Kind Running() const { return running_; }

    // After a series frame that moved the bins: the windows that show them follow.
    std::function<void()> on_series_moved;

private:
    void Start(Kind kind);
    void Frame();
    void Finish();
    void Rewind(Kind kind);

    Shell& shell_;
    const Main_Menus& menus_;
    Whole_Set_Window& whole_;
    Sub_Set_Window& sub_;
    QTimer* timer_;
    Kind running_ = Kind::k_none;
    int next_value_ = 0, step_ = 1, frames_left_ = 0;
};

}  // namespace vantrel
