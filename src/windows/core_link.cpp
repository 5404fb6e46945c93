#include "windows/core_link.h"

#include "dataset/data_set.h"
#include "loading/save_range.h"
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
void Main_Open_Host::Hide_Progress() { window_.Hide_Progress(); }
void Main_Open_Host::Show_Info_Text(const std::string& text) { window_.Show_Info_Text(text); }
void Main_Open_Host::Draw_Whole_Set_Window() { window_.Redraw_Whole(); }
void Main_Open_Host::Refresh_Sub_Set_Window() { window_.Redraw_Sub(); }
void Main_Open_Host::Refresh_Track_Vector() { window_.Refresh_Track(); }
void Main_Open_Host::Refresh_Options_Dialog() { window_.Refresh_Options_Dialog(); }
Progress_Hooks& Main_Open_Host::Hooks() { return window_.Hooks(); }

Outcome Run_Open_File(App_State& app, Open_File_Host& host, const std::string& pending_name) {
    return Open_File(app, host, pending_name);
}

bool Run_Read_File_Selection(App_State& app, Open_File_Host& host, std::int32_t first, std::int32_t last) {
    return Read_File_Selection(app, host, first, last, true).Ok();
}

void Reallocate_Sub_Set(App_State& app) {
    Allocate_Data_Set(app.ds, false, app.settings.Max_Sub_Ens, app.settings.Max_Whole_Ens, Profile_Bins(app.ds));
}

Outcome Run_Save_Range(const App_State& app, const std::string& target, std::int32_t F, std::int32_t L) {
    return Save_Ensemble_Range(app, target, F, L);
}

std::int64_t Watched_Length(const App_State& app, const std::string& name) {
    if (name.empty() || !File_Exists(name)) return -1;
    const File_Set_State set = Test_For_File_Set(name, app.menus.MultiFile);
    return File_Set_Size(File_Set_Members(name, set));
}

}  // namespace vantrel
