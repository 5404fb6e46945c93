#pragma once
// Every call from the windows into the core's open, load and save procedures, and the
// open command's host: the window side of opening, implemented by the main window.

#include <cstdint>
#include <string>

#include "app_state.h"
#include "loading/file_loading.h"

namespace vantrel {

class Main_Window;

class Main_Open_Host final : public Open_File_Host {
public:
    explicit Main_Open_Host(Main_Window& window) : window_(window) {}

    std::string Choose_File_Name() override;
    void Stop_Animation() override;
    void Hide_Data_Windows() override;
    void Show_Busy_Pointer(bool busy) override;
    void Set_Caption(const std::string& caption) override;
    void Add_Recent_File(const std::string& name) override;
    void Show_Progress(const std::string& caption) override;
    void Hide_Progress() override;
    void Show_Info_Text(const std::string& text) override;
    void Draw_Whole_Set_Window() override;
    void Refresh_Sub_Set_Window() override;
    void Refresh_Track_Vector() override;
    void Refresh_Options_Dialog() override;
    Progress_Hooks& Hooks() override;

private:
    Main_Window& window_;
};

// The open command with pending_name (empty: the file dialog). The outcome's message is
// the program's text to show, empty when there is none.
Outcome Run_Open_File(App_State& app, Open_File_Host& host, const std::string& pending_name);

// Read_File_Selection with the progress window; true when something was loaded.
bool Run_Read_File_Selection(App_State& app, Open_File_Host& host, std::int32_t first, std::int32_t last);

// Resizes the Sub Set arrays for a new Max_Sub_Ens; the Whole Set keeps its contents.
void Reallocate_Sub_Set(App_State& app);

// Copies ensembles F..L of the open file or set into target.
Outcome Run_Save_Range(const App_State& app, const std::string& target, std::int32_t F, std::int32_t L);

// Bytes of the file, or of all members of the set it opens, -1 when it cannot be read.
std::int64_t Watched_Length(const App_State& app, const std::string& name);

}  // namespace vantrel
