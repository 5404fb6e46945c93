#include "windows/core_link.h"

#include <stdexcept>

#include "dataset/save_range.h"
#include "platform/binary_file.h"
#include "windows/main_window.h"

namespace vantrel {

std::string Main_Open_Host::Choose_File_Name() { return window_.Choose_Open_Name(); }
void Main_Open_Host::Stop_Animation() { window_.Stop_Animate(); }
void Main_Open_Host::Hide_Data_Windows() { window_.Hide_Forms(); }
void Main_Open_Host::Show_Busy_Pointer(bool busy) { window_.Show_Busy_Pointer(busy); }
void Main_Open_Host::Set_Caption(const std::string& caption) { window_.Set_Caption(caption); }
void Main_Open_Host::Add_Recent_File(const std::string& name) { window_.Add_Recent(name); }
void Main_Open_Host::Show_Progress(const std::string& caption) { window_.Show_Progress(caption); }
void Main_Open_Host::Set_Progress(int percent) { window_.Set_Progress(percent); }
void Main_Open_Host::Hide_Progress() { window_.Hide_Progress(); }
void Main_Open_Host::Show_Info_Text(const std::string& text) { window_.Show_Info_Text(text); }
void Main_Open_Host::Draw_Whole_Set_Window() { window_.Redraw_Whole(); }
void Main_Open_Host::Refresh_Sub_Set_Window() { window_.Redraw_Sub(); }
Progress_Hooks& Main_Open_Host::Hooks() { return window_.Hooks(); }

Open_Report Run_Open_File(App_State& app, Open_File_Host& host, const std::string& pending_name) {
    switch (Open_File(app, host, pending_name)) {
        case Open_Outcome::k_loaded: return Open_Report::k_loaded;
        case Open_Outcome::k_too_few: return Open_Report::k_not_loaded;
        case Open_Outcome::k_survey_failed: return Open_Report::k_survey_failed;
        case Open_Outcome::k_failed: return Open_Report::k_invalid_file;
        case Open_Outcome::k_cancelled:
        case Open_Outcome::k_busy: break;
    }
    return Open_Report::k_cancelled;
}

bool Run_Read_File_Selection(App_State& app, Open_File_Host& host, std::int32_t first, std::int32_t last) {
    try {
        return Read_File_Selection(app, host, first, last, true);
    } catch (const std::exception&) {
        // A member of the set that vanished since the open.
        host.Hide_Progress();
        return false;
    }
}

void Reallocate_Sub_Set(App_State& app) {
    Allocate_Data_Set(app.ds, false, app.settings.Max_Sub_Ens, app.settings.Max_Whole_Ens);
}

Save_Report Run_Save_Range(const App_State& app, const std::string& target, std::int32_t F, std::int32_t L) {
    try {
        switch (Save_Ensemble_Range(app, target, F, L)) {
            case Save_Outcome::k_written: return Save_Report::k_written;
            case Save_Outcome::k_refused: return Save_Report::k_refused;
            case Save_Outcome::k_nothing: return Save_Report::k_nothing;
        }
    } catch (const std::exception&) {
        return Save_Report::k_failed;
    }
    return Save_Report::k_nothing;
}

std::int64_t Watched_Length(const App_State& app, const std::string& name) {
    if (name.empty() || !File_Exists(name)) return -1;
    const File_Set_State set = Test_For_File_Set(name, app.menus);
    return File_Set_Size(File_Set_Members(name, set));
}

}  // namespace vantrel
