#pragma once
// What child windows ask of the main window. Tests give a window a fake shell.

#include <cstdint>
#include <string>

namespace vantrel {

struct App_State;
class Progress_Hooks;

// Long operations that hold the program-wide busy state.
enum class Busy_Work { k_load, k_export, k_animation, k_monitor_reload };

class Shell {
public:
    virtual ~Shell() = default;

    virtual App_State& State() = 0;

    // Loads ensembles first..last into the Sub Set and redraws the windows that show it;
    // false when nothing was loaded or the shell is busy.
    virtual bool Load_Sub_Set(std::int32_t first, std::int32_t last) = 0;
    // Redraws the Sub Set window (its bin range changed, nothing to load) and the Whole Set
    // window's marker.
    virtual void Refresh_Sub_Set() = 0;
    // Opens the current file again (recent-file item 1) without a dialog.
    virtual void Reopen() = 0;
    // Redraws the Whole Set window with contour code what, reloads the Sub Set and redraws it.
    virtual void Show_Selected_Data(std::int32_t what) = 0;
    // The chart options dialog on tab 1..5.
    virtual void Open_Chart_Options(int tab) = 0;
    // The user changed Series_Bins: the choice is kept in the settings and the options
    // dialog's bin list shows it.
    virtual void Series_Bins_Changed() = 0;
    // The data viewer shows Cursor_Ens, while "&Viewer" is checked.
    virtual void Update_Viewer() = 0;
    // The data viewer shows Sub Set slot e at contour row r (0 = the top row), while
    // "&Viewer" is checked: the Sub Set window's pointer moved over that cell.
    virtual void Update_Data_View(std::int32_t e, std::int32_t r) = 0;
    virtual void Show_Trend() = 0;
    // Removes the check marks of the three animation "&Go" items.
    virtual void Stop_Animate() = 0;
    virtual bool Monitoring() const = 0;
    // One of the program's fixed messages, in a message box (or on stderr when quiet).
    virtual void Show_Message(const std::string& text) = 0;

    // The busy state: while it is held every command that loads or writes is disabled.
    // Begin_Busy is refused (false) when the state is already held.
    virtual bool Is_Busy() const = 0;
    virtual bool Begin_Busy(Busy_Work work) = 0;
    virtual void End_Busy() = 0;
    // Percent, yield and stop for the running work; the progress window's Stop sets stop.
    virtual Progress_Hooks& Hooks() = 0;
};

// Holds the shell's busy state for one scope; held() is false when it was refused.
class Busy_Scope {
public:
    Busy_Scope(Shell& shell, Busy_Work work) : shell_(shell), held_(shell.Begin_Busy(work)) {}
    ~Busy_Scope() {
        if (held_) shell_.End_Busy();
    }
    Busy_Scope(const Busy_Scope&) = delete;
    Busy_Scope& operator=(const Busy_Scope&) = delete;
    bool held() const { return held_; }

private:
    Shell& shell_;
    bool held_;
};

}  // namespace vantrel
