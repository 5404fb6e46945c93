#pragma once
// Opening a file: the survey, the thinned walk into the Whole Set and the first Sub Set;
// and the Sub Set load of a range of ensembles, found by byte position.

#include <cstdint>
#include <string>

#include "loading/open_state.h"
#include "platform/outcome.h"
#include "platform/progress.h"

namespace vantrel {

// What the loaders ask of the windows. Every call does nothing unless the shell that
// owns the windows overrides it.
class Open_File_Host {
public:
    virtual ~Open_File_Host() = default;

    // The file dialog; an empty name cancels the command.
    virtual std::string Choose_File_Name() { return {}; }
    virtual void Stop_Animation() {}
    virtual void Hide_Data_Windows() {}  // data viewer, Sub Set and Whole Set windows
    virtual void Enable_File_Menus(bool /*enabled*/) {}
    virtual void Show_Busy_Pointer(bool /*busy*/) {}
    virtual void Set_Caption(const std::string& /*caption*/) {}
    virtual void Add_Recent_File(const std::string& /*name*/) {}

    // The progress window; its bar ProgressBar1 follows the percent of Hooks().
    virtual void Show_Progress(const std::string& /*caption*/) {}
    virtual void Hide_Progress() {}

    virtual void Show_Info_Text(const std::string& /*text*/) {}
    virtual void Prepare_Whole_Set_Window() {}  // scroll bars reset, chart prepared
    virtual void Draw_Whole_Set_Window() {}
    virtual void Refresh_Sub_Set_Window() {}
    virtual void Refresh_Track_Vector() {}
    virtual void Refresh_Options_Dialog() {}

    // The one progress channel of every load: percent, yield and the stop flag, which
    // each load clears when it starts.
    virtual Progress_Hooks& Hooks() { return hooks_; }

private:
    Progress_Hooks hooks_;
};

// The open command: chooses the file (pending_name, else the host's dialog), surveys it,
// walks it into the Whole Set, then loads the first Sub Set. Ok: the Whole Set and the first
// Sub Set are in place and File_Loaded is true. Otherwise k_too_few (fewer than two ensembles
// walked), k_no_valid_ensembles (Info_Text ends in the message), k_invalid_file (the file or a
// member of its set could not be read), k_cancelled (no name chosen) or k_busy.
Outcome Open_File(Open_State& app, Open_File_Host& host, const std::string& pending_name = {});

// Ensembles skipped after each one kept so that at most max_whole_ens are walked.
std::int32_t Whole_Ens_Step(std::int32_t first_ens, std::int32_t last_ens, std::int32_t max_whole_ens);

// Time of day of a Sub Set slot in seconds (hundredths included).
double Convert_Time(const Data_Set& ds, std::int32_t slot);

// Seconds from one time of day to the next, across midnight when the clock went back.
double Time_Step(double previous, double t);

// "Average Ensemble Interval hh:mm:ss.ss" for an interval in seconds.
std::string Average_Interval_Line(double seconds);

// Loads ensembles FEns..LEns (LEns cut to File_Last_Ens, at most Max_Sub_Ens + 1) of the
// last opened file or set into the Sub Set, starting at the byte position that equal
// ensemble lengths imply. Ok when at least one ensemble was loaded; k_nothing_loaded (with
// the start position) when none was, k_invalid_file when a member could not be opened.
Outcome Read_File_Selection(Open_State& app, Open_File_Host& host, std::int32_t FEns, std::int32_t LEns, bool ShowProgress);

// Byte position (from 1) in the stream of the file or set where ensemble FEns starts.
std::int64_t Ensemble_Start_Position(std::int32_t FEns, std::int32_t file_first_ens, std::int32_t ens_bytes);

}  // namespace vantrel
