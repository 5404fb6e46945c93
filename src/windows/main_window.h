#pragma once
// The main window "Vantrel": the frame that holds every other window, its menus, start-up,
// the recent-files list, the open and save commands, monitoring, and shutdown.

#include <QMainWindow>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app_state.h"
#include "platform/progress.h"
#include "settings/recent_files.h"
#include "windows/main_menus.h"
#include "windows/shell.h"

class QMdiArea;
class QMdiSubWindow;
class QTimer;

namespace vantrel {

class About_Box;
class Animator;
class Chart_Options_Dialog;
class Export_Window;
class Data_Viewer_Window;
class File_Details_Window;
class Help_Window;
class Information_Window;
class Progress_Window;
class Sub_Set_Window;
class Track_Vector_Window;
class Trend_Window;
class Whole_Set_Window;

// Where the program keeps its own files, and whether it may write them.
struct Shell_Paths {
    std::filesystem::path options_file;  // VTRLOps.Txt
    std::filesystem::path recent_file;   // VTRLFile.txt, beside it
    bool persist = true;                 // false: read nothing, write nothing (pictures)
};

// The settings file and the recent-files file for a program living in program_folder.
Shell_Paths Default_Shell_Paths(const std::filesystem::path& program_folder);

class Main_Window : public QMainWindow, public Shell {
    Q_OBJECT

public:
    explicit Main_Window(Shell_Paths paths, QWidget* parent = nullptr);
    ~Main_Window() override;

    // Start-up: size, settings, recent files, then the command line's file (with
    // monitoring when it ends in " -Mdddd"). arguments follow the program's name.
    void Start(const std::vector<std::string>& arguments);
    // Places the child windows (and, when the settings are the user's, the main window)
    // as the settings' window geometry says, after Align_Forms.
    void Place_Windows();

    // Shell.
    App_State& State() override { return state_; }
    bool Load_Sub_Set(std::int32_t first, std::int32_t last) override;
    void Refresh_Sub_Set() override;
    void Reopen() override;
    void Show_Selected_Data(std::int32_t what) override;
    void Open_Chart_Options(int tab) override;
    void Series_Bins_Changed() override;
    void Update_Viewer() override;
    void Update_Data_View(std::int32_t e, std::int32_t r) override;
    void Show_Trend() override;
    void Stop_Animate() override;
    bool Monitoring() const override { return state_.menus.AutoTrack; }
    void Show_Message(const std::string& text) override { Show_Message(QString::fromStdString(text)); }
    bool Is_Busy() const override { return busy_.has_value(); }
    bool Begin_Busy(Busy_Work work) override;
    void End_Busy() override;
    Progress_Hooks& Hooks() override { return hooks_; }

    // Menu commands.
    void Open_File_Now(const std::string& pending_name = {});  // "&Open", a recent file, a reload
    void Open_Recent(int index);                                // recent-file item 1..8
    void Save_Range(bool selected);                             // "Save Selected Set", "Save Sub Set"
    void Max_Ensembles();
    void Copy_Form(int index);
    void Paint(int index);
    void Flip_Over(bool checked);
    void Align_Forms();
    void Show_About();
    void Show_Details();
    void Show_Help();
    void Show_Export();  // "E&xport": Load_Folders of the export window
    void AutoTrack_Click(bool on);
    void TrackInt_Click();
    void Timer1_Tick();

    // The window side of the open command (the core calls these through its host).
    std::string Choose_Open_Name();
    void Hide_Forms();
    void Show_Busy_Pointer(bool busy);
    void Set_Caption(const std::string& caption);
    void Add_Recent(const std::string& name);
    void Show_Progress(const std::string& caption);
    void Set_Progress(int percent);
    void Hide_Progress();
    void Show_Info_Text(const std::string& text);
    void Redraw_Whole();
    void Redraw_Sub();
    // The Sub Set was loaded again: the track vector window computes and draws anew.
    void Refresh_Track();
    void Refresh_Options_Dialog();

    void Show_Message(const QString& text);

    // Tests and pictures: the parts a user sees.
    const Main_Menus& Menus() const { return menus_; }
    Whole_Set_Window& Whole() { return *whole_; }
    Sub_Set_Window& Sub() { return *sub_; }
    QMdiSubWindow& Whole_Frame() { return *whole_frame_; }
    QMdiSubWindow& Sub_Frame() { return *sub_frame_; }
    Information_Window& Info() { return *info_; }
    QMdiSubWindow& Info_Frame() { return *info_frame_; }
    About_Box* About() { return about_; }
    Help_Window* Help() { return help_; }
    Chart_Options_Dialog* Options() { return options_; }
    Export_Window* Exporter() { return export_; }
    File_Details_Window& Details() { return *details_; }
    QMdiSubWindow& Details_Frame() { return *details_frame_; }
    Data_Viewer_Window& Viewer() { return *viewer_; }
    QMdiSubWindow& Viewer_Frame() { return *viewer_frame_; }
    Track_Vector_Window& Track() { return *track_; }
    QMdiSubWindow& Track_Frame() { return *track_frame_; }
    Trend_Window& Trend() { return *trend_; }
    QMdiSubWindow& Trend_Frame() { return *trend_frame_; }
    QMdiArea& Mdi() { return *mdi_; }
    Progress_Window& Progress() { return *progress_; }
    Animator& Animation() { return *animator_; }
    const Recent_Files& Recent() const { return recent_; }
    std::int32_t Monitor_Interval() const { return monitor_interval_; }
    // How long a long load may run between event-loop turns; 0 turns it at every report.
    void Set_Yield_Interval_Ms(std::int64_t ms) { yield_ms_ = ms; }
    int Opens_Finished() const { return opens_finished_; }
    const QString& Last_Message() const { return last_message_; }

    // Replaces the file dialogs (save: the save dialog); tests and scripts.
    std::function<std::string(bool save)> file_chooser;
    // Messages go to stderr instead of message boxes.
    bool quiet = false;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Connect_Menus();
    void Update_Menu_Enabling();
    Chart_Options_Dialog& Options_Dialog();  // created when first asked for
    void Show_Views_After_Load();
    std::string Choose_Save_Name();
    std::string Watched_File() const;
    void Store_Window_Settings();
    void Shutdown();
    void Yield_If_Due();

    App_State state_;
    Shell_Paths paths_;
    Main_Menus menus_;
    QMdiArea* mdi_;
    Whole_Set_Window* whole_;
    Sub_Set_Window* sub_;
    QMdiSubWindow* whole_frame_;
    QMdiSubWindow* sub_frame_;
    Information_Window* info_;
    QMdiSubWindow* info_frame_;
    About_Box* about_ = nullptr;
    Help_Window* help_ = nullptr;
    Chart_Options_Dialog* options_ = nullptr;
    Export_Window* export_ = nullptr;
    File_Details_Window* details_;
    QMdiSubWindow* details_frame_;
    Data_Viewer_Window* viewer_;
    QMdiSubWindow* viewer_frame_;
    Track_Vector_Window* track_;
    QMdiSubWindow* track_frame_;
    Trend_Window* trend_;
    QMdiSubWindow* trend_frame_;
    Progress_Window* progress_;
    QTimer* Timer1;
    Animator* animator_ = nullptr;
    Progress_Hooks hooks_;
    Recent_Files recent_;

    std::optional<Busy_Work> busy_;
    bool busy_pointer_ = false;
    bool close_pending_ = false;
    bool shut_down_ = false;
    int opens_finished_ = 0;
    QString last_message_;
    std::int64_t last_yield_ms_ = -1000;
    std::int64_t yield_ms_ = 30;

    // Monitoring.
    std::string Monitor_File;
    std::int32_t monitor_interval_ = 5;  // s
    std::int32_t monitor_counter_ = 0;   // s since the last check
    std::optional<std::int64_t> last_length_;
    bool saved_switch_1_ = true;
};

}  // namespace vantrel
