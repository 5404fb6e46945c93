#include "export/netcdf_export.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <vector>

#include "dataset/file_set.h"
#include "decode/bb_decoder.h"
#include "decode/decode_ensemble.h"
#include "decode/scanner.h"
#include "export/export_common.h"
#include "platform/binary_file.h"
#include "platform/program_messages.h"
#include "platform/output_file.h"
#include "processing/beam_geometry.h"
#include "processing/velocity_processing.h"

namespace vantrel {

namespace {

constexpr int k_failure_limit = 1000;  // scanner failures in a row before the walk gives up
// Ensembles decoded into slots of their own before the writer gathers them together.
constexpr std::size_t k_block_slots = 16;
// Bins the slots hold until a file asks for more. At 256 a velocity slot takes 4096 bytes,
// and every slot's cells would fall into the same few cache sets; the raw copies are
// spaced by a stride that is not a multiple of 4096 either.
constexpr int k_slot_bins = k_max_bins - 4;
constexpr std::size_t k_raw_stride = 8 * (k_max_bins + 4);  // values per slot

const char* Reference_Name(std::int32_t reference) {
    static constexpr const char* k_names[6] = {"None", "Bottom Track", "Navigation (KORVA)", "GPS(GGA)", "GPS(VTG)",
                                               "Water Mass (BK <>1)"};
    return reference >= 0 && reference < 6 ? k_names[reference] : k_names[0];
}

std::string End_Of_Profile_Names(const Settings& settings) {
    static constexpr const char* k_names[k_eop_option_count] = {"BT Depth", "RSSI Bump Detection", "Cos(BeamAngle)",
                                                                "Cut 1 Bin", "Cut 2 Bins"};
    std::string names;
    for (int i = 0; i < k_eop_option_count; ++i) {
        if (!settings.EoP_Options[static_cast<std::size_t>(i)]) continue;
        if (!names.empty()) names += ", ";
        names += k_names[i];
    }
    return names.empty() ? "None" : names;
}

Netcdf_Layout Make_Layout(const Netcdf_Request& request, const Decoder_State& dec) {
    Netcdf_Layout layout;
    layout.bins = static_cast<std::size_t>(std::clamp(dec.Num_Bins, 1, k_max_bins));
    layout.processed = !request.raw;
    layout.coordinate_system = Coordinate_System_Name(dec.Coord_Transform);
    // Processing turns beam coordinates into earth ones and leaves the others as they are.
    layout.earth = layout.coordinate_system == "beam" || layout.coordinate_system == "earth";
    layout.reference = Reference_Name(request.settings.Vel_Reference);
    return layout;
}

Netcdf_Attributes Opening_Attributes(const Netcdf_Request& request, const Decoder_State& dec, std::int64_t source_bytes,
                                     std::size_t members) {
    const Beam_Geometry g = Make_Beam_Geometry(dec.Sys_Config);
    const std::string name = std::filesystem::path(request.source).filename().string();
    Netcdf_Attributes a = {
        {"Conventions", std::string("CF-1.8")},
        {"title", std::string("Current profiler ensembles of ") + name},
        {"source", std::string("current profiler ensemble file")},
        {"history", "converted from " + name + " by Vantrel " + std::string(Options_Version())},
        {"program", std::string("Vantrel")},
        {"program_version", std::string(Options_Version())},
        {"source_file", name},
        {"source_file_size", source_bytes},
        {"source_file_count", static_cast<std::int64_t>(members)},
        {"system", System_Text(dec)},
        {"firmware_version", dec.FW_Version},
        {"bins", static_cast<std::int64_t>(dec.Num_Bins)},
        {"bin_size_m", dec.Bin_Size},
        {"first_cell_distance_m", dec.Bin1_Dist},
        {"beam_angle_degree", static_cast<double>(std::lround(g.theta * k_rad_to_deg))},
        {"facing", std::string(g.facing_up ? "up" : "down")},
        {"beam_pattern", std::string(g.convex ? "convex" : "concave")},
        {"coordinate_system", std::string(Coordinate_System_Name(dec.Coord_Transform))},
        {"pings_per_ensemble", static_cast<std::int64_t>(dec.Pings_Per_Ens)},
        {"profiling_mode", static_cast<std::int64_t>(dec.Profiling_Mode)},
        {"processing", std::string(request.raw ? "raw: decoded values only" : "processed")},
    };
    if (!request.raw) {
        a.emplace_back("velocity_reference", std::string(Reference_Name(request.settings.Vel_Reference)));
        a.emplace_back("end_of_profile", End_Of_Profile_Names(request.settings));
    }
    a.emplace_back("velocity_scale", request.settings.Vel_Scale);
    a.emplace_back("bt_velocity_scale", request.settings.BT_Vel_Scale);
    return a;
}

// Same cells at the same distances: a bin index means the same range in both.
bool Same_Cells(const Decoder_State& a, const Decoder_State& b) {
    return a.Num_Bins == b.Num_Bins && a.Bin_Size == b.Bin_Size && a.Bin1_Dist == b.Bin1_Dist &&
           ((a.Sys_Config ^ b.Sys_Config) & 0x80) == 0;
}

bool Same_Setup(const Decoder_State& a, const Decoder_State& b) {
    return Same_Cells(a, b) && a.Coord_Transform == b.Coord_Transform;
}

Netcdf_Outcome Failure(Netcdf_Status status, std::string message) {
    Netcdf_Outcome o;
    o.status = status;
    o.message = std::move(message);
    return o;
}

Netcdf_Outcome Refusal(const Outcome& o) {
    if (o == Outcome_Kind::k_target_is_input) return Failure(Netcdf_Status::k_same_file, o.message);
    if (o == Outcome_Kind::k_overwrite_refused) return Failure(Netcdf_Status::k_refused, o.message);
    return Failure(Netcdf_Status::k_failed, o.message);
}

// The walk itself: every ensemble the scanner finds in the file or set, as dump walks a file.
class Converter {
public:
    Converter(const Netcdf_Request& request, Progress_Hooks& progress) : request_(request), progress_(progress) {
        Allocate_Data_Set(ds_, false, static_cast<std::int32_t>(k_block_slots) - 1, 1, k_slot_bins);
        raw_vel_.resize(k_raw_stride * k_block_slots);
    }

    Netcdf_Outcome Run() {
        const File_Set_State set =
            request_.opened_set ? *request_.opened_set : Test_For_File_Set(request_.source, request_.multifile);
        const std::vector<File_Set_Member> members = File_Set_Members(request_.source, set);
        outcome_.source_bytes = File_Set_Size(members);
        members_ = members.size();
        // The members read as one stream: an ensemble cut across two is converted whole.
        Binary_File stream;
        if (!Open_Members(stream, members)) return Failure(Netcdf_Status::k_invalid_source, stream.Open_Error());
        if (outcome_.source_bytes < 0) return Failure(Netcdf_Status::k_invalid_source, k_invalid_file);
        std::vector<std::string> inputs{request_.source, request_.settings_file};
        for (const File_Set_Member& m : members) inputs.push_back(m.name);
        Output_File temporary;
        // The netCDF library opens its file by name.
        if (const Outcome opened = temporary.Open(request_.target, inputs, Existing_Output::k_refuse, true); !opened)
            return Refusal(opened);
        dec_.Data_Structure = Determine_File_Data_Structure(stream, dec_, progress_);
        if (dec_.Data_Structure == k_structure_unknown) return Failure(Netcdf_Status::k_no_ensembles, "Not enough VALID ensembles");

        temporary_ = &temporary;
        const bool walked = Walk(stream);
        if (!walked || !stream.Read_Error().empty()) {
            writer_.reset();  // closed before the temporary file is removed
            if (!walked) return Failure(Netcdf_Status::k_stopped, "Conversion stopped");
            return Failure(Netcdf_Status::k_invalid_source, stream.Read_Error());
        }
        if (!writer_) return Failure(Netcdf_Status::k_no_ensembles, "no ensembles to convert");
        Write_Block();
        outcome_.ensembles = static_cast<std::int64_t>(writer_->Steps());
        writer_->Finish({{"ensembles", outcome_.ensembles},
                         {"skipped_records", outcome_.skipped_records},
                         {"skipped_bytes", outcome_.skipped_bytes},
                         {"memory_records", outcome_.memory_records},
                         {"ensembles_with_other_setup", other_setup_}});
        writer_.reset();
        if (const Outcome committed = temporary.Commit(); !committed) return Refusal(committed);
        progress_.Percent(100);
        outcome_.status = Netcdf_Status::k_written;
        return outcome_;
    }

private:
    // False when stopped.
    bool Walk(Binary_File& file) {
        std::int64_t end = 1;  // position after the last ensemble found
        int failures = 0;
        while (!file.Eof()) {
            if (progress_.Stop()) return false;
            if (!Get_Next_Ensemble(file, dec_, file_loaded_, progress_)) {
                if (++failures > k_failure_limit) break;
                continue;
            }
            failures = 0;
            const std::int64_t after = file.Position();
            Count_Gap(after - (static_cast<std::int64_t>(dec_.Ens_Bytes) + 2) - end);
            end = after;
            // A memory record has no clock or number: as a time step it would have no time.
            if (Is_NVRAM_Ensemble(dec_)) {
                ++outcome_.memory_records;
                continue;
            }
            Convert_Current();
            progress_.Yield();
            if (outcome_.source_bytes > 0) progress_.Percent(static_cast<int>(after * 99 / outcome_.source_bytes));
        }
        Count_Gap(file.Length() + 1 - end);
        return !progress_.Stop();
    }

    void Count_Gap(std::int64_t bytes) {
        if (bytes <= 0) return;
        ++outcome_.skipped_records;
        outcome_.skipped_bytes += bytes;
    }

    void Convert_Current() {
        const std::size_t slot = steps_.size();
        ds_.Sub_Count = static_cast<std::int32_t>(slot);
        Decode_Ensemble(dec_, ds_, Decode_Options_Of(request_.settings, false));
        // Only what the decode left out is cleared: most ensembles write every part they had.
        // Bins beyond any decoded so far in any slot are still zero.
        cleared_bins_ = std::max(cleared_bins_, std::clamp(dec_.Num_Bins, 0, k_max_bins));
        Clear_Unwritten(ds_, ds_.Sub_Count, cleared_bins_, dec_.Slot_Written);
        const std::int32_t number = dec_.Cur_Ens_Number;
        if ((request_.first && number < *request_.first) || (request_.last && number > *request_.last)) return;
        const auto bins = static_cast<std::size_t>(std::clamp(dec_.Num_Bins, 0, k_max_bins));
        std::int16_t* raw = raw_vel_.data() + slot * k_raw_stride;
        std::copy_n(ds_.Sub_Vel.Slice(slot), std::min(ds_.Sub_Vel.Slice_Size(), bins * ds_.Sub_Vel.Extent(0)), raw);
        if (!request_.raw) {
            Cut_End_Of_Profile(dec_, ds_, request_.settings);
            Transform_And_Reference(dec_, ds_, request_.settings);
        }
        if (!writer_) {
            first_setup_ = dec_;
            writer_ = std::make_unique<Netcdf_Writer>(temporary_->Temporary_Path(), request_.target,
                                                      Make_Layout(request_, dec_), dec_,
                                                      request_.deflate_level,
                                                      Opening_Attributes(request_, dec_, outcome_.source_bytes, members_));
        } else if (!Same_Setup(first_setup_, dec_)) {
            ++other_setup_;
        }
        Ensemble_Setup setup = Ensemble_Setup_Of(dec_);
        // Values of other cells under the first set-up's range would stand at wrong depths.
        setup.other_cells = !Same_Cells(first_setup_, dec_);
        steps_.push_back({ds_, slot, setup, raw});
        if (steps_.size() == k_block_slots) Write_Block();
    }

    void Write_Block() {
        writer_->Append(steps_.data(), steps_.size());
        steps_.clear();
    }

    const Netcdf_Request& request_;
    Progress_Hooks& progress_;
    Data_Set ds_;
    Decoder_State dec_, first_setup_;
    bool file_loaded_ = false;
    int cleared_bins_ = 0;
    std::size_t members_ = 1;
    std::vector<std::int16_t> raw_vel_;  // per slot
    std::vector<Ensemble_View> steps_;   // slots 0.. decoded and kept, not yet appended
    Output_File* temporary_ = nullptr;
    std::unique_ptr<Netcdf_Writer> writer_;
    std::int64_t other_setup_ = 0;
    Netcdf_Outcome outcome_;
};

}  // namespace

Netcdf_Outcome Convert_To_Netcdf(const Netcdf_Request& request, Progress_Hooks& progress) {
    try {
        return Converter(request, progress).Run();
    } catch (const std::exception& e) {
        return Failure(Netcdf_Status::k_failed, e.what());
    }
}

}  // namespace vantrel
