#include "loading/file_loading.h"

#include <algorithm>
#include <thread>

#include "decode/bb_decoder.h"
#include "decode/decode_ensemble.h"
#include "decode/ensemble_walk.h"
#include "decode/file_survey.h"
#include "decode/scanner.h"
#include "loading/range_by_records.h"
#include "loading/series_bins.h"
#include "loading/skip_length.h"
#include "loading/slot_pipeline.h"
#include "platform/binary_file.h"
#include "platform/program_messages.h"
#include "platform/text_format.h"
#include "processing/velocity_processing.h"

namespace vantrel {

namespace {

constexpr int k_failure_limit = k_search_failure_limit;  // scanner failures in one file before a load gives up
constexpr double k_seconds_per_day = 86400;
// Below this many slots a second thread costs more than it overlaps.
constexpr std::int64_t k_pipeline_min_slots = 64;

bool Animating(const Menu_State& menus) { return menus.Animate_Contour || menus.Animate_Profile || menus.Animate_Series; }

// The file or set as one stream; a member that cannot be read ends the command.
Outcome Open_Stream(Binary_File& file, const std::vector<File_Set_Member>& members) {
    if (Open_Members(file, members)) return {};
    return Failure(Outcome_Kind::k_invalid_file, file.Open_Error());
}

// A member that vanished or shrank while the stream was read.
Outcome Stream_Read_Outcome(const Binary_File& file) {
    if (file.Read_Error().empty()) return {};
    return Failure(Outcome_Kind::k_invalid_file, file.Read_Error());
}

// Decodes the ensemble in Ens_Buffer into slot Sub_Count; false when no decoder ran.
// Nothing of an earlier ensemble stays in the slot: what the decode did not write is
// cleared, through every bin the arrays hold, before processing reads it. Bins past this
// ensemble's own may hold an earlier load's wider set-up, and later ensembles may show them.
bool Decode_Current_Ensemble(Open_State& app, const Decode_Options& opt) {
    const bool decoded = Decode_Ensemble(app.dec, app.ds, opt);
    Clear_Unwritten(app.ds, app.ds.Sub_Count, k_max_bins, app.dec.Slot_Written);
    return decoded;
}

// A memory record (two data types, over 8000 bytes) has no clock or ensemble number: it takes
// no slot, in the Whole Set as in the Sub Set, and is only noted. True when Ens_Buffer holds one.
bool Passed_Memory_Record(Open_State& app) {
    if (!Is_NVRAM_Ensemble(app.dec)) return false;
    app.load.NVRAM_Flag = true;
    return true;
}

// Decodes and processes the ensemble in Ens_Buffer into slot Sub_Count.
void Load_Current_Ensemble(Open_State& app) {
    if (Decode_Current_Ensemble(app, Decode_Options_Of(app))) Process_Decoded_Ensemble(app.dec, app.ds, app.settings);
}

// The thinned walk over the file or set: one ensemble kept, Ens_Step skipped by moving the
// position, which runs on across members as within one file.
Outcome Walk_Whole_Set(Open_State& app, Open_File_Host& host, const std::vector<File_Set_Member>& members) {
    Data_Set& ds = app.ds;
    Decoder_State& dec = app.dec;
    const bool monitoring = app.menus.AutoTrack;
    const std::int32_t max_whole = app.settings.Max_Whole_Ens;
    std::int64_t skip_bytes = 0;  // fixed by the first ensemble loaded, as the skip buffer is
    Skip_Length skip;
    bool first = true;
    double previous = 0;

    Binary_File file;
    if (Outcome opened = Open_Stream(file, members); !opened) return opened;
    int failures = 0;
    while (!file.Eof()) {
        if (ds.Sub_Count >= max_whole || static_cast<std::int64_t>(dec.Cur_Ens_Number) + ds.Ens_Step >= ds.Last_Ens ||
            host.Hooks().Stop()) {
            return {};
        }
        if (!Get_Next_Ensemble(file, dec, ds.File_Loaded, host.Hooks())) {
            if (++failures > k_failure_limit) host.Hooks().stop_requested = true;
            continue;
        }
        failures = 0;
        if (Passed_Memory_Record(app)) continue;
        Load_Current_Ensemble(app);
        const double t = Convert_Time(ds, ds.Sub_Count);
        ds.Orientation_Count += (dec.Sys_Config & 0x80) ? -1 : 1;
        if (first) {
            first = false;
            ds.First_Ens = dec.Cur_Ens_Number;
            skip_bytes = (static_cast<std::int64_t>(dec.Ens_Bytes) + 2) * ds.Ens_Step;
            previous = t;
        }
        ds.Sum_Interval += Time_Step(previous, t);
        previous = t;
        ++ds.Sub_Count;

        skip.Note(dec);
        if (skip.Varies()) {
            ds.File_Lengths_Vary = true;
            skip_bytes = skip.Bytes(ds.Ens_Step);
        }
        // A skip past the end of the stream ends the walk at the next read.
        if (ds.Ens_Step > 0) file.Seek(file.Position() + skip_bytes);
        if (!monitoring) host.Hooks().Percent(static_cast<int>(static_cast<std::int64_t>(ds.Sub_Count) * 100 / max_whole));
    }
    return Stream_Read_Outcome(file);
}

// Steps 4 to 12 of the open command for a chosen name.
Outcome Load_File(Open_State& app, Open_File_Host& host, const std::string& name) {
    Data_Set& ds = app.ds;
    Decoder_State& dec = app.dec;
    const bool monitoring = app.menus.AutoTrack;
    host.Show_Busy_Pointer(true);
    if (Binary_File probe; !probe.Open(name)) return Failure(Outcome_Kind::k_invalid_file, probe.Open_Error());
    app.load.File_Name = name;
    host.Hooks().stop_requested = false;
    // Bins as decoded so far: the arrays widen with the file's, and a narrow file leaves
    // most of its pages untouched.
    Allocate_Data_Set(ds, true, app.settings.Max_Sub_Ens, app.settings.Max_Whole_Ens, dec.Num_Bins);
    app.file_set = Test_For_File_Set(name, app.menus.MultiFile);
    if (!Show_File_Stats(ds, dec, Decode_Options_Of(app), app.file_set, app.Info_Text, name, host.Hooks())) {
        ds.File_Loaded = false;
        host.Show_Info_Text(app.Info_Text);
        // A member that cannot be read is named, not taken for a file without ensembles.
        Binary_File set;
        if (Outcome opened = Open_Stream(set, File_Set_Members(name, app.file_set)); !opened) return opened;
        return Failure(Outcome_Kind::k_no_valid_ensembles, k_not_enough_valid);
    }
    if (!monitoring) {
        host.Hooks().Percent(0);
        host.Show_Progress("Loading Whole Set...");
    }
    host.Set_Caption("Vantrel - " + name);

    ds.Sub_Count = 0;
    ds.Ens_Step = Whole_Ens_Step(ds.First_Ens, ds.Last_Ens, app.settings.Max_Whole_Ens);
    dec.Cur_Ens_Number = 0;
    ds.Sum_Interval = 0;
    ds.Orientation_Count = 0;
    dec.Pressure_Agree_Count = 0;
    if (Outcome walked = Walk_Whole_Set(app, host, File_Set_Members(name, app.file_set)); !walked) {
        // A member that vanished or became unreadable since the survey ends the command.
        host.Hide_Progress();
        return walked;
    }

    if (!monitoring) host.Hooks().Percent(0);
    host.Hide_Progress();
    ds.First_Bin = 1;
    ds.Last_Bin = dec.Num_Bins;
    if (ds.Sub_Count < 2) {
        // One ensemble makes no chart: said as for a file without any, not left blank.
        ds.File_Loaded = false;
        app.Info_Text += std::string(k_not_enough_valid) + "\r\n";
        host.Show_Info_Text(app.Info_Text);
        return Failure(Outcome_Kind::k_too_few, k_not_enough_valid);
    }
    Copy_To_Whole_Set(ds, dec.Num_Bins);
    ds.File_Loaded = true;
    ds.Sel_First_Ens = ds.Whole_First_Ens;
    ds.Sel_Last_Ens = ds.File_Last_Ens;

    const std::int64_t n = static_cast<std::int64_t>(dec.Cur_Ens_Number) - ds.File_First_Ens;
    ds.Avg_Interval = n >= 1 ? ds.Sum_Interval / static_cast<double>(n) : 0;
    app.Info_Text += Average_Interval_Line(ds.Avg_Interval) + "\r\n";
    host.Show_Info_Text(app.Info_Text);
    host.Prepare_Whole_Set_Window();
    Map_Series_Bins(ds, app.settings, dec.Num_Bins);

    if (monitoring) {
        // Monitoring shows the newest ensembles.
        const std::int64_t newest = static_cast<std::int64_t>(ds.File_Last_Ens) - app.settings.Max_Sub_Ens + 1;
        if (newest >= ds.First_Ens) ds.First_Ens = static_cast<std::int32_t>(newest);
        if (ds.Cursor_Ens < ds.First_Ens || ds.Cursor_Ens > ds.Last_Ens) ds.Cursor_Ens = ds.Last_Ens;
    }
    const std::int32_t last = static_cast<std::int32_t>(
        std::min<std::int64_t>(static_cast<std::int64_t>(ds.First_Ens) + app.settings.Max_Sub_Ens - 1, INT32_MAX));
    if (Read_File_Selection(app, host, ds.First_Ens, last, true)) host.Refresh_Sub_Set_Window();
    host.Draw_Whole_Set_Window();
    return {};
}

}  // namespace

std::int32_t Whole_Ens_Step(std::int32_t first_ens, std::int32_t last_ens, std::int32_t max_whole_ens) {
    if (max_whole_ens < 1) return 0;
    const std::int64_t step = (static_cast<std::int64_t>(last_ens) - first_ens + 1) / max_whole_ens;
    return static_cast<std::int32_t>(std::max<std::int64_t>(step, 0));
}

double Convert_Time(const Data_Set& ds, std::int32_t slot) {
    const auto s = static_cast<std::size_t>(slot);
    return ds.Sub_Time(3, s) * 3600.0 + ds.Sub_Time(4, s) * 60.0 + ds.Sub_Time(5, s) + ds.Sub_Time(6, s) / 100.0;
}

double Time_Step(double previous, double t) {
    const double dt = t - previous;
    return dt < 0 ? dt + k_seconds_per_day : dt;
}

std::string Average_Interval_Line(double seconds) {
    const double h = static_cast<double>(static_cast<std::int64_t>(seconds / 3600));
    const double rest = seconds - h * 3600;
    const double m = static_cast<double>(static_cast<std::int64_t>(rest / 60));
    const double s = rest - m * 60;
    return "Average Ensemble Interval " + Format(h, "00") + ":" + Format(m, "00") + ":" + Format(s, "00.00");
}

Outcome Open_File(Open_State& app, Open_File_Host& host, const std::string& pending_name) {
    if (app.load.Busy) return Failure(Outcome_Kind::k_busy);
    app.load.Busy = true;
    app.load.Flip = app.menus.Flip_Checked;
    std::string name;
    Outcome outcome = Failure(Outcome_Kind::k_cancelled);
    try {
        host.Stop_Animation();
        if (!app.menus.AutoTrack) host.Hide_Data_Windows();
        host.Enable_File_Menus(false);
        name = pending_name.empty() ? host.Choose_File_Name() : pending_name;
        if (!name.empty()) outcome = Load_File(app, host, name);
    } catch (const std::bad_alloc&) {
        // Arrays too large for the memory left end the command.
        outcome = Failure(Outcome_Kind::k_out_of_memory, k_out_of_memory);
        host.Hide_Progress();
    }
    if (!name.empty()) host.Add_Recent_File(name);
    host.Show_Busy_Pointer(false);
    host.Enable_File_Menus(true);
    host.Refresh_Options_Dialog();
    host.Refresh_Track_Vector();
    app.load.Busy = false;
    return outcome;
}

std::int64_t Ensemble_Start_Position(std::int32_t FEns, std::int32_t file_first_ens, std::int32_t ens_bytes) {
    return (static_cast<std::int64_t>(FEns) - file_first_ens) * (static_cast<std::int64_t>(ens_bytes) + 2) + 1;
}

namespace {

// Where the Sub Set load starts: the position one length implies when ensemble FEns is
// there; else (lengths vary, or records of no ensemble lie between equal ones) the ensemble
// found by its number, or the estimate when the file has none from FEns on.
std::int64_t Sub_Set_Start(const Open_State& app, const std::vector<File_Set_Member>& members, std::int32_t FEns) {
    const Data_Set& ds = app.ds;
    const std::int64_t fixed = Ensemble_Start_Position(FEns, ds.File_First_Ens, app.dec.Ens_Bytes);
    if (!ds.File_Lengths_Vary &&
        Ensemble_Is_At(members, app.dec.Data_Structure, fixed, static_cast<std::int64_t>(app.dec.Ens_Bytes) + 2, FEns)) {
        return fixed;
    }
    const std::int64_t estimate = ds.File_Lengths_Vary
                                      ? Mean_Length_Estimate(FEns, ds.File_First_Ens, ds.File_Last_Ens, app.file_set.File_Size)
                                      : fixed;
    const std::int64_t found = Ensemble_Position_By_Number(members, app.dec.Data_Structure, estimate, FEns);
    return found > 0 ? found : estimate;
}

}  // namespace

Outcome Read_File_Selection(Open_State& app, Open_File_Host& host, std::int32_t FEns, std::int32_t LEns, bool ShowProgress) {
    Data_Set& ds = app.ds;
    Decoder_State& dec = app.dec;
    LEns = std::min(LEns, ds.File_Last_Ens);
    const std::int64_t n = std::max<std::int64_t>(static_cast<std::int64_t>(LEns) - FEns + 1, 1);
    ds.Sub_Count = 0;
    ds.Last_Ens = 0;
    if (app.load.File_Name.empty()) return Failure(Outcome_Kind::k_nothing_loaded);
    host.Hooks().stop_requested = false;

    const bool progress = ShowProgress && !Animating(app.menus) && !app.menus.AutoTrack;
    if (progress) {
        host.Hooks().Percent(0);
        host.Show_Progress("Loading Sub Set...");
    }
    const auto members = File_Set_Members(app.load.File_Name, app.file_set);
    const std::int64_t start_position = Sub_Set_Start(app, members, FEns);
    ds.Sub_Sum_Interval = 0;

    const std::int64_t max_sub = app.settings.Max_Sub_Ens;
    const std::int32_t slots = ds.Sub_Slots();
    double previous = 0;
    // Each slot is processed, and its error velocities summed while it is still in the cache,
    // on a second thread as the next one is decoded; the arrays are widened only once it is idle.
    const bool threaded = std::thread::hardware_concurrency() > 1 &&
                          std::min({n, max_sub + 1, std::int64_t{slots}}) >= k_pipeline_min_slots;
    Slot_Pipeline pipeline(ds, app.settings, threaded);
    Decode_Options options = Decode_Options_Of(app);
    options.Before_Widen = [&pipeline] { pipeline.Drain(); };
    Binary_File file;
    if (Outcome opened = Open_Stream(file, members); !opened) {
        if (progress) host.Hide_Progress();
        return opened;
    }
    file.Seek(std::max<std::int64_t>(start_position, 1));
    int failures = 0;
    while (!file.Eof()) {
        if (ds.Sub_Count - 1 >= max_sub || ds.Sub_Count >= n || ds.Sub_Count >= slots || host.Hooks().Stop()) {
            break;
        }
        if (!Get_Next_Ensemble(file, dec, ds.File_Loaded, host.Hooks())) {
            if (++failures > k_failure_limit) host.Hooks().stop_requested = true;
            continue;
        }
        failures = 0;
        if (Passed_Memory_Record(app)) continue;
        const bool decoded = Decode_Current_Ensemble(app, options);
        pipeline.Process(Slot_Setup_Of(dec), static_cast<std::size_t>(ds.Sub_Count),
                         ds.Bin_Work.Size() != 0 ? Error_Velocity_Bins(dec, ds) : -1, decoded);
        const double t = Convert_Time(ds, ds.Sub_Count);
        if (ds.Sub_Count == 0) {
            ds.First_Ens = dec.Cur_Ens_Number;
            previous = t;
        }
        ds.Sub_Sum_Interval += Time_Step(previous, t);
        previous = t;
        ++ds.Sub_Count;
        if (progress) host.Hooks().Percent(static_cast<int>(static_cast<std::int64_t>(ds.Sub_Count) * 100 / n));
    }
    pipeline.Drain();
    if (Outcome read = Stream_Read_Outcome(file); !read) {
        if (progress) host.Hide_Progress();
        return read;
    }
    if (ds.Sub_Count == 0) {
        if (progress) host.Hide_Progress();
        return Failure(Outcome_Kind::k_nothing_loaded, {}, start_position);
    }
    ds.Last_Ens = ds.First_Ens + ds.Sub_Count - 1;
    if (ds.Cursor_Ens > ds.Last_Ens) ds.Cursor_Ens = ds.Last_Ens;
    if (ds.Cursor_Ens < ds.First_Ens) ds.Cursor_Ens = ds.First_Ens;
    // The running sums hold every bin the statistics need unless the bin count grew during the load.
    const int bins = ds.Bin_Work.Size() != 0 ? Error_Velocity_Bins(dec, ds) : 0;
    if (bins <= pipeline.Sums().fewest_bins && ds.Bin_Work.Size() != 0) {
        Store_Error_Velocity_Statistics(pipeline.Sums(), ds, bins, ds.Sub_Count);
    } else {
        Error_Velocity_Statistics(dec, ds);
    }
    host.Hide_Progress();
    host.Refresh_Track_Vector();
    return {};
}

}  // namespace vantrel
